// Program entry: the application and its main window.
#include <QApplication>
#include <QWidget>

namespace {

// The play field: 19 x 32 + 1 by 14 x 32 + 1 pixels.
constexpr int FieldClientWidth = 609;
constexpr int FieldClientHeight = 449;

} // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Brakkon"));
    QWidget window;
    window.setWindowTitle(QStringLiteral("Brakkon"));
    window.setFixedSize(FieldClientWidth, FieldClientHeight);
    window.show();
    return QApplication::exec();
}
