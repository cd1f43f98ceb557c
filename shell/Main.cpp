// Program entry: the application titled "Brakkon", the main window with the
// hidden Game Editor, and the message loop until the main window closes.
#include "ErrorBox.h"
#include "Fonts.h"
#include "ImagesUnit.h"
#include "MainUnit.h"
#include "StartUnit.h"

#include <QApplication>
#include <QSettings>

int main(int argc, char** argv)
{
    // The game draws on a QImage and shows it through the backing store: no
    // OpenGL integration to load at start.
    if (qEnvironmentVariableIsEmpty("QT_XCB_GL_INTEGRATION")) qputenv("QT_XCB_GL_INTEGRATION", "none");
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Brakkon"));
    QApplication::setApplicationDisplayName(QStringLiteral("Brakkon"));
    brakkon::RegisterFontSubstitutions();
    brakkon::MainSeams seams;
    seams.ShowIntro = [] { return brakkon::ShowIntro(QCoreApplication::applicationDirPath().toStdString()); };
    seams.OpenPads = brakkon::OpenSdlPads;
    seams.OpenSettings = [] { return std::make_unique<QSettings>(QStringLiteral("brakkon"), QStringLiteral("brakkon")); };
    brakkon::MainForm window(QCoreApplication::applicationDirPath(), std::move(seams));
    if (window.Cancelled()) return 0;
    brakkon::TImagesForm editor(window); // hidden until F12
    brakkon::InstallErrorBox(&window);
    window.show();
    return QApplication::exec();
}
