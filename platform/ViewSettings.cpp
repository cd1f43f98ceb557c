#include "platform/ViewSettings.h"

namespace brakkon {
namespace {

const QString ScaleKey = QStringLiteral("View/Scale");
const QString FullScreenKey = QStringLiteral("View/FullScreen");

} // namespace

ViewChoice ReadViewChoice(const QSettings& settings)
{
    ViewChoice choice;
    bool number = false;
    const int scale = settings.value(ScaleKey).toInt(&number);
    if (number && scale >= 1 && scale <= MaxViewScale) choice.Scale = scale;
    choice.FullScreen = settings.value(FullScreenKey).toString() == QLatin1String("true");
    return choice;
}

void WriteViewChoice(QSettings& settings, ViewChoice choice)
{
    settings.setValue(ScaleKey, choice.Scale);
    settings.setValue(FullScreenKey, choice.FullScreen);
}

} // namespace brakkon
