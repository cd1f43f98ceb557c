#include "platform/ErrorBox.h"

#include <QApplication>
#include <QMessageBox>

namespace brakkon {
namespace {

QString FromView(std::string_view text) { return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())); }

} // namespace

void ShowErrorBox(std::string_view message, std::string_view detail, QWidget* fallback)
{
    // Over the window the player works in (the Game Editor stays on top of the game's).
    QWidget* over = QApplication::activeWindow() != nullptr ? QApplication::activeWindow() : fallback;
    QMessageBox box(QMessageBox::Critical, QStringLiteral("Error"), FromView(message), QMessageBox::Ok, over);
    box.setInformativeText(FromView(detail)); // which file, and why
    box.exec();
}

} // namespace brakkon
