#include "game/StatusLine.h"

namespace brakkon {
namespace {

std::string TwoDigits(std::int64_t value)
{
    std::string text = std::to_string(value);
    return value < 10 ? "0" + text : text;
}

/// The first `count` shown, the rest hidden; a count outside 0..3 leaves all.
std::array<std::optional<bool>, 3> FirstShown(std::int32_t count, std::int32_t least)
{
    std::array<std::optional<bool>, 3> out{};
    if (count < least || count > 3) return out;
    for (std::int32_t i = 0; i < 3; ++i) out[static_cast<std::size_t>(i)] = i < count;
    return out;
}

} // namespace

std::string GateNoText(std::int32_t gateNo) { return "[" + std::to_string(gateNo) + "]"; }

std::string PlayTimeText(std::int32_t playTime)
{
    // / and % truncate toward zero: a negative time, which only a damaged file
    // holds, keeps its minus sign in every part that is not zero.
    const std::int64_t t = playTime;
    return TwoDigits(t / 3600) + ":" + TwoDigits((t / 60) % 60) + ":" + TwoDigits(t % 60);
}

PlayerIndicators IndicatorsFor(const SpriteType* tank, std::int32_t lives)
{
    PlayerIndicators out;
    if (tank == nullptr || !tank->Active) {
        out.Stars.fill(false);
        out.Flowers.fill(false);
        return out;
    }
    // Level 0 shows one star, 2 shows three; lives 0 show no reserve tank.
    if (tank->Level >= 0 && tank->Level <= 2) out.Stars = FirstShown(tank->Level + 1, 1);
    out.Flowers = FirstShown(lives, 0);
    return out;
}

} // namespace brakkon
