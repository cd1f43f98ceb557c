// Shared helpers of the engine suites: a host that records what the engine
// asks of the window, and small builders of game states.
#pragma once

#include "game/GameHost.h"
#include "game/MainState.h"
#include "game/SpriteUpdate.h"
#include "tests/TestSupport.h"

#include <algorithm>
#include <string>
#include <vector>

namespace brakkon::test {

/// Records every call of the engine into the window.
class RecordingHost : public GameHost {
public:
    std::vector<std::string> Calls;     ///< every call by name, effects as "PlayEffect N"
    std::vector<SoundEffect> Effects;   ///< the effects in order
    const GateType* LastDrawn = nullptr;
    int DrawFieldCount = 0;
    int IndicatorCount = 0;
    bool TimersEnabled = true;
    bool MusicEnded = false;             ///< what MusicStopped answers
    bool MenuShown = false;
    std::string Title = "Brakkon";
    bool TitleShown = true;

    void DrawField(const GateType* gate) override
    {
        Calls.emplace_back("DrawField");
        LastDrawn = gate;
        ++DrawFieldCount;
    }
    void PaintChanges(const GateType&) override { Calls.emplace_back("PaintChanges"); }
    void RepaintField() override { Calls.emplace_back("RepaintField"); }
    void ShowIndicators() override
    {
        Calls.emplace_back("ShowIndicators");
        ++IndicatorCount;
    }
    void ShowGateNo() override { Calls.emplace_back("ShowGateNo"); }
    void ShowPlayTime() override { Calls.emplace_back("ShowPlayTime"); }
    void PlayEffect(SoundEffect effect) override
    {
        Calls.push_back("PlayEffect " + std::to_string(EffectCode(effect)));
        Effects.push_back(effect);
    }
    [[nodiscard]] bool MusicStopped() override
    {
        Calls.emplace_back("MusicStopped");
        return MusicEnded;
    }
    void PlayMusic() override
    {
        Calls.emplace_back("PlayMusic");
        MusicEnded = false;
    }
    void SetTitle(std::string_view text, bool shown) override
    {
        Calls.push_back("SetTitle " + std::string(text));
        Title = text;
        TitleShown = shown;
    }
    void ShowMenu(bool shown) override
    {
        Calls.push_back(shown ? "ShowMenu 1" : "ShowMenu 0");
        MenuShown = shown;
    }
    void EnableTimers(bool enabled) override
    {
        Calls.push_back(enabled ? "EnableTimers 1" : "EnableTimers 0");
        TimersEnabled = enabled;
    }

    [[nodiscard]] long CountEffect(SoundEffect effect) const
    {
        return std::count(Effects.begin(), Effects.end(), effect);
    }
    void Clear()
    {
        Calls.clear();
        Effects.clear();
        DrawFieldCount = 0;
        IndicatorCount = 0;
    }
};

/// A library of `frames` empty frames per image: 14 groups of 4 images (group 0
/// holds one image of 20 tiles). Only the counts matter to the engine.
inline void GiveImages(MainState& state, std::size_t frames)
{
    state.Game.Images.assign(GroupCount, ImageGroup(4, ImageFrames(frames)));
    state.Game.Images[0] = ImageGroup(1, ImageFrames(20));
}

/// A working gate with a full clear grid, player 1's tank at (11, 13) and
/// player 2's at (7, 13), both in play with no shield, facing up.
inline void PlayField(MainState& state, bool secondPlayer = true)
{
    state.Game.Gate = MakeGate();
    auto p1 = std::make_unique<SpriteType>(SpriteAt(KindPlayer1, Player1StartCol, PlayerStartRow, 0));
    auto p2 = std::make_unique<SpriteType>(SpriteAt(KindPlayer2, Player2StartCol, PlayerStartRow, 1));
    p1->ImageGroup = GroupPlayer1;
    p2->ImageGroup = GroupPlayer2;
    p1->Direction = p2->Direction = DirUp;
    p2->Active = secondPlayer ? 1 : 0;
    state.Game.Gate->Sprites.push_back(std::move(p1));
    state.Game.Gate->Sprites.push_back(std::move(p2));
}

/// Appends a sprite to the working gate with Index its position; returns it.
inline SpriteType& Add(MainState& state, SpriteType sprite)
{
    auto& sprites = state.Game.Gate->Sprites;
    sprite.Index = static_cast<std::int32_t>(sprites.size());
    sprites.push_back(std::make_unique<SpriteType>(sprite));
    return *sprites.back();
}

/// A sprite of `kind` aligned on (col, row) facing `direction`, at `level`.
inline SpriteType Sprite(std::uint8_t kind, std::int32_t col, std::int32_t row, std::int32_t direction,
                         std::int32_t level = 0)
{
    SpriteType s = SpriteAt(kind, col, row, 0);
    s.Direction = direction;
    s.Level = level;
    if (kind == KindEnemy) {
        s.Armour = 2 * level;
        s.StepPeriod = 1;
    }
    if (kind == KindPlayerShell || kind == KindEnemyShell) s.ImageGroup = GroupShell + level;
    return s;
}

/// Moves a sprite's position by (dx, dy) pixels from its cell, keeping its
/// fields consistent (offsets must stay inside the cell).
inline void Shift(SpriteType& s, std::int32_t dx, std::int32_t dy)
{
    s.OffsetX += dx;
    s.OffsetY += dy;
    s.Left += dx;
    s.Right += dx;
    s.Top += dy;
    s.Bottom += dy;
}

inline CellType& Cell(MainState& state, std::int32_t col, std::int32_t row)
{
    return *state.Game.Gate->Cells[static_cast<std::size_t>(col)][static_cast<std::size_t>(row)];
}

inline void MakeWall(MainState& state, std::int32_t col, std::int32_t row, std::int32_t hardness)
{
    CellType& c = Cell(state, col, row);
    c.Block = BlockWall;
    c.Hardness = hardness;
    c.WallImage = TileWallFirst + hardness;
}

/// Clears every Dirty mark of the working gate.
inline void CleanMarks(MainState& state)
{
    for (auto& column : state.Game.Gate->Cells)
        for (auto& cell : column) cell->Dirty = 0;
    for (auto& s : state.Game.Gate->Sprites) s->Dirty = 0;
}

/// A field with both players in play and two frames per image (shells burst
/// on their second), with a recording host.
struct Play {
    MainState state;
    RecordingHost host;
    Play()
    {
        PlayField(state);
        GiveImages(state, 2);
    }
    GateType& Gate() { return *state.Game.Gate; }
    SpriteType& P1() { return *Gate().Sprites[0]; }
    SpriteType& P2() { return *Gate().Sprites[1]; }
    /// Player 1 holds the movement key of `dir`.
    void Drive1(std::int32_t dir)
    {
        state.Player1.MoveDir = dir;
        state.Player1.MoveIdle = false;
    }
    /// One tick of one sprite.
    void Tick(SpriteType& s) { UpdateSprite(state, host, s); }
};

} // namespace brakkon::test
