// A data file for the simulator's tests: gates drawn as character maps, and
// a small image library (the engine only counts frames: shells burst on their
// second frame).
#pragma once

#include "game/GameData.h"
#include "tests/TestSupport.h"

#include <array>
#include <filesystem>
#include <string_view>

namespace brakkon::test {

/// A map of 14 rows of 19 characters:
///   .  open            b s S  brick, stone, steel walls (hardness 0, 1, 2)
///   w f r  barriers    L E H  level-up, extra-life, shield bonuses
///   t  cover (trees)
using MapRows = std::array<std::string_view, FieldRows>;

inline std::unique_ptr<GateType> GateFromMap(const MapRows& rows, std::int32_t kc, std::int32_t zjc, std::int32_t tank,
                                             std::int32_t largeTank, std::int32_t total, std::int32_t nextGate)
{
    auto gate = MakeGate(kc, zjc, tank, largeTank, total, nextGate);
    for (std::int32_t r = 0; r < FieldRows; ++r) {
        for (std::int32_t c = 0; c < FieldCols; ++c) {
            CellType& cell = *gate->Cells[static_cast<std::size_t>(c)][static_cast<std::size_t>(r)];
            const char ch = static_cast<std::size_t>(c) < rows[static_cast<std::size_t>(r)].size()
                                ? rows[static_cast<std::size_t>(r)][static_cast<std::size_t>(c)]
                                : '.';
            auto wall = [&](std::int32_t hardness) {
                cell.Block = BlockWall;
                cell.Hardness = hardness;
                cell.WallImage = TileWallFirst + hardness;
            };
            auto barrier = [&](std::int32_t tile) {
                cell.Block = BlockBarrier;
                cell.WallImage = tile;
            };
            auto bonus = [&](std::uint8_t code) {
                cell.Bonus = code;
                cell.TopImage = code;
            };
            switch (ch) {
            case 'b': wall(0); break;
            case 's': wall(1); break;
            case 'S': wall(2); break;
            case 'w': barrier(7); break;
            case 'f': barrier(8); break;
            case 'r': barrier(9); break;
            case 'L': bonus(BonusLevelUp); break;
            case 'E': bonus(BonusExtraLife); break;
            case 'H': bonus(BonusShield); break;
            case 't': cell.TopImage = TileCoverFirst; break;
            default: break;
            }
        }
    }
    return gate;
}

/// Tiles in group 0, and two 1 x 1 frames per direction in the other groups.
inline void GiveTinyImages(GameType& game)
{
    Bitmap pixel;
    pixel.Width = 1;
    pixel.Height = 1;
    pixel.Pixels = {0xFF000000u};
    game.Images.assign(GroupCount, ImageGroup(4, ImageFrames(2, pixel)));
    game.Images[GroupTiles] = ImageGroup(1, ImageFrames(20, pixel));
}

// clang-format off
inline constexpr MapRows FortMap = {
    "...................",
    ".bb..ss..b..ss..bb.",
    ".bb..ss..b..ss..bb.",
    ".....w.....w.......",
    "..L..w..SSS..w..H..",
    ".....w.....w.......",
    ".bbb....bbb....bbb.",
    "..t....ttt....t....",
    ".ss..b.....b..ss...",
    ".ss..b..E..b..ss...",
    ".......rrrr........",
    "..bb...........bb..",
    "..bb....bbb....bb..",
    "........b.b........",
};

/// Steel everywhere but the two outer columns and the bottom row: an enemy
/// comes down a side and meets the players' fire along the bottom.
inline constexpr MapRows CorridorMap = {
    ".SSSSSSSSSSSSSSSSS.",
    ".SSSSSSSSSSSSSSSSS.",
    ".SSSSSSSSSSSSSSSSS.",
    ".SSSSSSSSSSSSSSSSS.",
    ".SSSSSSSSSSSSSSSSS.",
    ".SSSSSSSSSSSSSSSSS.",
    ".SSSSSSSSSSSSSSSSS.",
    ".SSSSSSSSSSSSSSSSS.",
    ".SSSSSSSSSSSSSSSSS.",
    ".SSSSSSSSSSSSSSSSS.",
    ".SSSSSSSSSSSSSSSSS.",
    ".SSSSSSSSSSSSSSSSS.",
    ".SSSSSSSSSSSSSSSSS.",
    "........SbS........",
};

inline constexpr MapRows OpenMap = {
    "...................",
    "...................",
    "....H.........L....",
    "...................",
    "......fffffff......",
    "...................",
    "...E...........E...",
    "...................",
    "..sss.........sss..",
    "...................",
    "...................",
    ".........t.........",
    "........bbb........",
    "........b.b........",
};
// clang-format on

/// Four gates: the fort (13 enemies of the example, 20 in all), the corridor
/// (one enemy), an open field crowded with enemies, and an empty gate that
/// never ends. 0 -> 1 -> 2 -> end; gate 3 leads back to 0.
inline GameType SimGameData()
{
    GameType game;
    game.Gates.push_back(GateFromMap(FortMap, 3, 3, 5, 2, 20, 1));
    game.Gates.push_back(GateFromMap(CorridorMap, 0, 1, 0, 0, 1, 2));
    game.Gates.push_back(GateFromMap(OpenMap, 15, 15, 15, 15, 90, -1));
    game.Gates.push_back(GateFromMap(OpenMap, 0, 0, 0, 0, 0, 0));
    GiveTinyImages(game);
    return game;
}

/// A game saved with step 1: offsets that are not multiples of 4, tanks
/// and shells next to the field's edges, shells in flight.
inline GateType SavedStepOneGame()
{
    GateType gate = std::move(*GateFromMap(OpenMap, 1, 1, 0, 0, 4, -1));
    gate.GateNo = 3;
    gate.PlayTime = 500;
    gate.EnemiesLeft = 2;
    CellType& base = *gate.Cells[BaseCol][BaseRow];
    base.Block = BlockWall;
    base.WallImage = TileBase;
    auto add = [&](std::uint8_t kind, std::int32_t col, std::int32_t row, std::int32_t dir, std::int32_t dx,
                   std::int32_t dy) -> SpriteType& {
        SpriteType s = SpriteAt(kind, col, row, static_cast<std::int32_t>(gate.Sprites.size()));
        s.Direction = dir;
        s.OffsetX = dx;
        s.OffsetY = dy;
        s.Left += dx;
        s.Right += dx;
        s.Top += dy;
        s.Bottom += dy;
        gate.Sprites.push_back(std::make_unique<SpriteType>(s));
        return *gate.Sprites.back();
    };
    add(KindPlayer1, 17, 5, DirRight, 31, 0).ImageGroup = GroupPlayer1;
    SpriteType& p2 = add(KindPlayer2, 7, 12, DirDown, 0, 30);
    p2.ImageGroup = GroupPlayer2 + 1;
    p2.Level = 1;
    for (auto [col, dx] : {std::pair{0, 3}, std::pair{15, 1}}) {
        SpriteType& e = add(KindEnemy, col, 1, DirLeft, dx, 0);
        e.ImageGroup = GroupEnemyZJC;
        e.ReverseChance = 50;
        e.TurnChance = 3000;
        e.BackChance = 2000;
        e.FireChance = 500;
    }
    add(KindEnemyShell, 3, 0, DirUp, 0, 2).ImageGroup = GroupShell;
    add(KindPlayerShell, 17, 9, DirRight, 26, 0).ImageGroup = GroupShell;
    add(KindEnemyShell, 12, 12, DirDown, 0, 30).ImageGroup = GroupShell;
    return gate;
}

inline bool WriteSimGameData(const std::filesystem::path& path) { return SaveGameDataFile(path, SimGameData()); }

} // namespace brakkon::test
