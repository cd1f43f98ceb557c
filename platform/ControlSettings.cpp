#include "platform/ControlSettings.h"

namespace brakkon {
namespace {

const QString IntervalKey = QStringLiteral("Control/Interval");
const QString StepKey = QStringLiteral("Control/Step");
const QString SoundKey = QStringLiteral("Control/Sound");
const QString MusicKey = QStringLiteral("Control/Music");

/// "true" or "false" as the settings write them; anything else is `otherwise`.
bool ReadSwitch(const QSettings& settings, const QString& key, bool otherwise)
{
    const QString text = settings.value(key).toString();
    if (text == QLatin1String("true")) return true;
    if (text == QLatin1String("false")) return false;
    return otherwise;
}

} // namespace

ControlChoice ReadControlChoice(const QSettings& settings, const ControlChoice& defaults)
{
    ControlChoice choice = defaults;
    bool number = false;
    const int interval = settings.value(IntervalKey).toInt(&number);
    if (number && interval >= FastestGameInterval && interval <= SlowestGameInterval) choice.Interval = interval;
    const int step = settings.value(StepKey).toInt(&number);
    if (number && (step == 1 || step == 2 || step == 4)) choice.Step = step;
    choice.Sound = ReadSwitch(settings, SoundKey, defaults.Sound);
    choice.Music = ReadSwitch(settings, MusicKey, defaults.Music);
    return choice;
}

void WriteControlChoice(QSettings& settings, const ControlChoice& choice)
{
    settings.setValue(IntervalKey, choice.Interval);
    settings.setValue(StepKey, choice.Step);
    settings.setValue(SoundKey, choice.Sound);
    settings.setValue(MusicKey, choice.Music);
}

} // namespace brakkon
