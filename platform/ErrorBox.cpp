#include "ErrorBox.h"

#include "ErrorReport.h"

#include <QMessageBox>
#include <QPointer>

namespace brakkon {

void InstallErrorBox(QWidget* parent)
{
    QPointer<QWidget> owner(parent);
    SetErrorHandler([owner](std::string_view message) {
        QMessageBox::critical(owner.data(), QStringLiteral("Error"),
                              QString::fromUtf8(message.data(), static_cast<qsizetype>(message.size())));
    });
}

} // namespace brakkon
