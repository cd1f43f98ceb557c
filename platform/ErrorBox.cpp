#include "platform/ErrorBox.h"

#include "game/ErrorReport.h"

#include <QApplication>
#include <QMessageBox>
#include <QPointer>

namespace brakkon {
namespace {

QString FromView(std::string_view text) { return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())); }

} // namespace

void InstallErrorBox(QWidget* parent)
{
    QPointer<QWidget> owner(parent);
    SetErrorHandler([owner](std::string_view message, std::string_view detail) {
        // Over the window the player works in (the Game Editor stays on top of the game's).
        QWidget* over = QApplication::activeWindow() != nullptr ? QApplication::activeWindow() : owner.data();
        QMessageBox box(QMessageBox::Critical, QStringLiteral("Error"), FromView(message), QMessageBox::Ok, over);
        box.setInformativeText(FromView(detail)); // which file, and why
        box.exec();
    });
}

} // namespace brakkon
