// A fixture of the include arrows' check: editor/ reaching up into shell/.
#include "editor/EditorHost.h"
#include "shell/MainUnit.h"
