// The window's kept scale and full screen and the Game Control dialog's kept
// choices, read from an INI file of any bytes: always a scale of 1 to 4, an
// interval of 1 to 100 ms and a step of 1, 2 or 4, and the defaults unless
// the file says otherwise in the very form the game writes.
#include "platform/ControlSettings.h"
#include "platform/ViewSettings.h"

#include <QSettings>
#include <QTemporaryDir>

#include <cstddef>
#include <cstdint>
#include <fstream>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static const QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("view.ini"));
    {
        std::ofstream out(file.toStdString(), std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
    }
    const QSettings settings(file, QSettings::IniFormat);
    const brakkon::ViewChoice choice = brakkon::ReadViewChoice(settings);
    if (choice.Scale < 1 || choice.Scale > brakkon::MaxViewScale) __builtin_trap();
    if (size == 0 && (choice.Scale != 1 || choice.FullScreen)) __builtin_trap();

    const brakkon::ControlChoice defaults{16, 2, true, false};
    const brakkon::ControlChoice control = brakkon::ReadControlChoice(settings, defaults);
    if (control.Interval < brakkon::FastestGameInterval || control.Interval > brakkon::SlowestGameInterval) __builtin_trap();
    if (control.Step != 1 && control.Step != 2 && control.Step != 4) __builtin_trap();
    if (size == 0 && (control.Interval != 16 || control.Step != 2 || !control.Sound || control.Music)) __builtin_trap();
    return 0;
}
