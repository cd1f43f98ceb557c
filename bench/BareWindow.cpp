// What Qt itself costs to put a window on the screen here: an empty window
// of the field's size, made with the settings the game starts with (no
// OpenGL integration, Qt's own event loop) and nothing else. The game's
// intro is timed against it by scripts/xvfb-start: the time from exec to a
// window mapped that no program of this toolkit goes under on this machine.
//
//   bare_window   (shows "Brakkon bare window" until it is closed)
#include <QApplication>
#include <QWidget>

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_XCB_GL_INTEGRATION")) qputenv("QT_XCB_GL_INTEGRATION", "none");
    if (qEnvironmentVariableIsEmpty("QT_NO_GLIB")) qputenv("QT_NO_GLIB", "1");
    QApplication app(argc, argv);
    QWidget window;
    window.setWindowTitle(QStringLiteral("Brakkon bare window"));
    window.resize(19 * 32, 14 * 32);
    window.show();
    return QApplication::exec();
}
