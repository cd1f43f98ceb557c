#include "ErrorBox.h"

#include "ErrorReport.h"

#include <QApplication>
#include <QMessageBox>
#include <QPointer>

namespace brakkon {

void InstallErrorBox(QWidget* parent)
{
    QPointer<QWidget> owner(parent);
    SetErrorHandler([owner](std::string_view message) {
        // Over the window the player works in (the Game Editor stays on top of the game's).
        QWidget* over = QApplication::activeWindow() != nullptr ? QApplication::activeWindow() : owner.data();
        QMessageBox::critical(over, QStringLiteral("Error"),
                              QString::fromUtf8(message.data(), static_cast<qsizetype>(message.size())));
    });
}

} // namespace brakkon
