// The sound effects the engine asks for, by name, and the file each one plays.
//
// The engine requests an effect through GameHost::PlayEffect; the window's
// sound (view/Sound.h) plays it by priority: the lower its code, the more
// important the effect, so a shot never cuts off an explosion. The two
// explosions play one file and still count as two effects. The files lie
// beside the executable, with the music that loops under them.
#pragma once

#include <array>
#include <cstdint>
#include <string_view>

namespace brakkon {

enum class SoundEffect : std::int32_t {
    Explode = 0,        ///< a player's tank or the base destroyed
    EnemyDestroyed = 1, ///< an enemy tank destroyed
    Bonus = 2,          ///< a player's tank takes a bonus
    Gun = 3,            ///< a player fires a shell
    Move = 4,           ///< the engine's hum; no event of the game asks for it
};

/// The effect files by code.
inline constexpr std::array<std::string_view, 5> EffectFiles = {"Explode.wav", "Explode.wav", "Ding.wav", "Gun.wav",
                                                                "Move.wav"};

/// The music, looped for the whole run.
inline constexpr std::string_view MusicFile = "Music.mid";

/// The effect's code: its index in EffectFiles and its rank (0 first).
[[nodiscard]] constexpr std::int32_t EffectCode(SoundEffect effect) { return static_cast<std::int32_t>(effect); }

/// The file an effect plays.
[[nodiscard]] constexpr std::string_view EffectFile(SoundEffect effect)
{
    return EffectFiles[static_cast<std::size_t>(EffectCode(effect))];
}

} // namespace brakkon
