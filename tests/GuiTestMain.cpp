// The GUI suites' entry: one application on Qt's offscreen platform with two
// screens, a large one first (4K: the window fits at every scale) and a small
// one beside it (1280 x 800: the window fits only at scale 1).
#include "platform/Fonts.h"

#include <QApplication>
#include <QDir>
#include <QFile>

#include <gtest/gtest.h>

int main(int argc, char** argv)
{
    const QString screens = QDir::temp().filePath(QStringLiteral("brakkon-gui-tests-screens-%1.json").arg(QCoreApplication::applicationPid()));
    QFile config(screens);
    if (!config.open(QIODevice::WriteOnly) ||
        config.write(R"({"screens": [
            {"name": "large", "x": 0, "y": 0, "width": 3840, "height": 2160, "logicalDpi": 96, "dpr": 1},
            {"name": "small", "x": 3840, "y": 0, "width": 1280, "height": 800, "logicalDpi": 96, "dpr": 1}]})") < 0)
        return 2;
    config.close();
    qputenv("QT_QPA_PLATFORM", "offscreen:configfile=" + screens.toLocal8Bit());
    QApplication app(argc, argv);
    QFile::remove(screens); // read once, at the platform's start
    brakkon::RegisterFontSubstitutions();
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
