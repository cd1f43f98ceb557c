// The four sound effects of the game, synthesised from fixed recipes:
// "Explode.wav" (a noisy blast), "Ding.wav" (the bonus chime), "Gun.wav"
// (a player's shot) and "Move.wav" (an engine rumble that loops).
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string_view>
#include <vector>

namespace brakkon::audio {

enum class Effect { Explode, Ding, Gun, Move };

/// How an effect is named on the command line and which file it becomes.
struct EffectName {
    Effect Kind;                ///< the effect
    std::string_view Name;      ///< command-line name, lower case
    std::string_view FileName;  ///< the file the game opens
};

/// The four effects in a fixed order.
[[nodiscard]] std::span<const EffectName> EffectNames();

/// The effect of a command-line name ("explode", "ding", "gun", "move").
[[nodiscard]] std::optional<Effect> EffectByName(std::string_view name);

/// The effect's samples at EffectSampleRate, in -1..1.
[[nodiscard]] std::vector<double> SynthesiseEffect(Effect effect);

/// The effect as the bytes of a complete WAV file.
[[nodiscard]] std::vector<std::uint8_t> EffectWav(Effect effect);

} // namespace brakkon::audio
