// Writing a score as a Standard MIDI File, format 1: a tempo track (title,
// metre, tempo) followed by one track per score track (name, program,
// volume, notes). Every track ends at the end of the score, so a player that
// loops the file keeps the full length of the last bar.
#pragma once

#include "content/Score.h"

#include <cstdint>
#include <vector>

namespace brakkon::audio {

/// Appends a MIDI variable-length quantity: seven bits per byte, most
/// significant first, the high bit set on all but the last byte. Values above
/// 0x0FFFFFFF do not fit and throw std::out_of_range.
void AppendVarLen(std::vector<std::uint8_t>& out, std::uint32_t value);

/// The microseconds per quarter note of a tempo in quarter notes per minute.
[[nodiscard]] std::uint32_t MicrosecondsPerQuarter(std::uint32_t tempo);

/// The bytes of the whole MIDI file of a score. Same score, same bytes.
[[nodiscard]] std::vector<std::uint8_t> EncodeMidi(const Score& score);

} // namespace brakkon::audio
