// A fixture of the include arrows' check: an include that names no folder.
#include "Records.h"
#include "game/KeyCodes.h"
