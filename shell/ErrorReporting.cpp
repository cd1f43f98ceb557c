#include "shell/ErrorReporting.h"

#include "game/ErrorReport.h"
#include "platform/ErrorBox.h"

#include <QPointer>

namespace brakkon {

void InstallErrorBox(QWidget* parent)
{
    QPointer<QWidget> owner(parent);
    SetErrorHandler([owner](std::string_view message, std::string_view detail) {
        ShowErrorBox(message, detail, owner.data());
    });
}

} // namespace brakkon
