// WAV files of the sound effects: one channel of signed 16-bit PCM in a
// RIFF/WAVE container with a "fmt " chunk and a "data" chunk, nothing else.
#pragma once

#include <cstdint>
#include <span>
#include <vector>

namespace brakkon::audio {

inline constexpr std::uint32_t EffectSampleRate = 22050; ///< samples per second of every effect
inline constexpr std::size_t WavHeaderSize = 44;          ///< bytes before the first sample

/// The bytes of a complete WAV file holding the samples at the given rate
/// (little-endian throughout; the data chunk is padded to an even length,
/// which 16-bit samples always are).
[[nodiscard]] std::vector<std::uint8_t> EncodeWav(std::span<const std::int16_t> samples,
                                                  std::uint32_t sampleRate);

/// Turns samples in -1..1 into 16-bit PCM, rounding to nearest and clamping
/// anything outside the range.
[[nodiscard]] std::vector<std::int16_t> ToPcm16(std::span<const double> samples);

} // namespace brakkon::audio
