#include "bench/FloorFrames.h"

#include "bench/CanvasHost.h"
#include "game/GameData.h"
#include "game/GameFlow.h"
#include "game/Keyboard.h"
#include "sim/GameDriver.h"
#include "view/FieldCanvas.h"

#include <array>

namespace brakkon::bench {
namespace {

constexpr std::int64_t TickMs = 16;
constexpr std::int64_t TicksPerWay = 1000 / TickMs;               ///< one second on one way
constexpr std::array<std::int64_t, 4> FirePresses = {0, 16, 31, 47}; ///< every 250 ms
constexpr std::int64_t FireHeld = 100 / TickMs;

} // namespace

double FloorFrames::RectsPerFrame() const
{
    if (Frames.empty()) return 0;
    std::size_t rects = 0;
    for (const QRegion& frame : Frames) rects += static_cast<std::size_t>(frame.rectCount());
    return static_cast<double>(rects) / static_cast<double>(Frames.size());
}

double FloorFrames::PixelsPerFrame() const
{
    if (Frames.empty()) return 0;
    double pixels = 0;
    for (const QRegion& frame : Frames)
        for (const QRect& rect : frame) pixels += rect.width() * rect.height();
    return pixels / static_cast<double>(Frames.size());
}

Replay HandsSession(const std::filesystem::path& data, std::int64_t seconds)
{
    Replay replay;
    replay.Data = IdentityOfFile(data).value_or(DataIdentity{});
    MainState fresh;
    fresh.Rand.Skip(1234);
    replay.Start = CaptureStart(fresh);
    replay.Events = {{0, ReplayWhat::NewGame, 2}, {0, ReplayWhat::Resume, 0}};
    constexpr std::array<KeyCode, 4> ways1 = {VkUp, VkLeft, VkDown, VkRight};
    constexpr std::array<KeyCode, 4> ways2 = {VkLetter('T'), VkLetter('H'), VkLetter('G'), VkLetter('F')};
    const std::int64_t ticks = seconds * 1000 / TickMs;
    for (std::int64_t t = 0, elapsed = 0, clock = 1000; t < ticks; ++t) {
        const std::int64_t way = t / TicksPerWay;
        const std::int64_t inWay = t % TicksPerWay;
        const auto at1 = static_cast<std::size_t>(way % 4);
        const auto at2 = static_cast<std::size_t>((way + 1) % 4);
        if (inWay == 0) {
            if (way > 0) {
                replay.Events.push_back({t, ReplayWhat::Release, ways1[(at1 + 3) % 4]});
                replay.Events.push_back({t, ReplayWhat::Release, ways2[(at2 + 3) % 4]});
            }
            replay.Events.push_back({t, ReplayWhat::Press, ways1[at1]});
            replay.Events.push_back({t, ReplayWhat::Press, ways2[at2]});
        }
        for (const std::int64_t press : FirePresses) {
            const ReplayWhat what = inWay == press ? ReplayWhat::Press : ReplayWhat::Release;
            if (inWay != press && inWay != press + FireHeld) continue;
            replay.Events.push_back({t, what, VkSpace});
            replay.Events.push_back({t, what, VkLetter('A')});
        }
        for (elapsed += TickMs; elapsed >= clock; clock += 1000) replay.Events.push_back({t, ReplayWhat::Clock, 0});
    }
    replay.Ticks = ticks;
    return replay;
}

std::string RecordFrames(const std::filesystem::path& data, const Replay& replay, FloorFrames& out)
{
    if (std::string refused = DataMismatch(replay, IdentityOfFile(data), data.string()); !refused.empty())
        return refused;
    MainState state;
    if (!LoadGameData(data, state.Game)) return "cannot read " + data.string();
    FieldCanvas canvas(state.Game);
    canvas.LibraryChanged();
    CanvasHost host(canvas);
    out = FloorFrames{};
    out.Frames.reserve(static_cast<std::size_t>(replay.Ticks));
    GameDriver driver(state, host);
    driver.Play(replay);
    while (driver.PlayTick()) {
        // One frame a tick, a tick that starts the next gate included (it
        // draws the whole field).
        out.Frames.push_back(canvas.TakeChangedRegion());
        if (out.First.isNull()) out.First = canvas.Image().copy();
    }
    if (out.Frames.empty()) return "the replay holds no game tick";
    out.Last = canvas.Image().copy();
    return {};
}

} // namespace brakkon::bench
