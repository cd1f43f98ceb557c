// The sound font reader and its cut on arbitrary bytes: a cut is itself a
// font the reader takes, with the presets, instruments and samples it
// counts; a refusal carries the one message and no bytes. The programs kept
// come from the input's last byte.
#include "content/SoundFont.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::span<const std::uint8_t> bytes{data, size};
    std::bitset<128> programs;
    if (size > 0) programs.set(data[size - 1] & 0x7F);
    const brakkon::SoundFontCut cut = brakkon::CutSoundFont(bytes, programs);
    if (!cut) {
        if (cut.Message != brakkon::MsgSoundFontRefused || !cut.Bytes.empty()) __builtin_trap();
        return 0;
    }
    if (!brakkon::ReadSoundFont(bytes)) __builtin_trap();
    const brakkon::SoundFontRead again = brakkon::ReadSoundFont(cut.Bytes);
    if (!again) __builtin_trap();
    const brakkon::SoundFontTables& f = again.Font;
    if (f.Presets.size() != static_cast<std::size_t>(cut.Presets) + 1 ||
        f.Instruments.size() != static_cast<std::size_t>(cut.Instruments) + 1 ||
        f.Samples.size() != static_cast<std::size_t>(cut.Samples) + 1)
        __builtin_trap();
    for (std::size_t p = 0; p + 1 < f.Presets.size(); ++p)
        if (f.Presets[p].Program != 0 && (f.Presets[p].Program >= 128 || !programs.test(f.Presets[p].Program))) __builtin_trap();
    return 0;
}
