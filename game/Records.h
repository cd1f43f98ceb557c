// The plain records of the game and every code that they carry.
//
// GameType holds the whole game: the working gate, the field size, the stored
// gates and the image library. GateType is one gate (level), SpriteType one
// moving thing, CellType one cell of a map. The records have no behaviour: the
// engine, the drawing code and the editors read and write their fields
// directly. SpriteType and CellType are stored in files as fixed raw images
// (96 and 44 bytes, see GateStream.h), so their fields keep this order and
// these widths: "integer" fields are int32_t, "byte" fields are uint8_t.
//
// Lists own what they hold: sprites, cells and gates are separately allocated
// (a shell appended while the tick walks the list must not move the records
// the tick holds).
#pragma once

#include "game/Bitmap.h"

#include <cstdint>
#include <memory>
#include <vector>

namespace brakkon {

// ---- Sprite kinds (SpriteType::Kind) ----
enum SpriteKind : std::uint8_t {
    KindPlayer1 = 0,     ///< player 1's tank, always entry 0 of Sprites in play
    KindPlayer2 = 1,     ///< player 2's tank, always entry 1 of Sprites in play
    KindEnemy = 2,       ///< enemy tank
    KindPlayerShell = 3, ///< shell fired by a player
    KindEnemyShell = 4,  ///< shell fired by an enemy
};

// ---- Directions (sprites, players' requests, image index inside a group) ----
enum Dir : std::int32_t {
    DirLeft = 0,
    DirRight = 1,
    DirUp = 2,
    DirDown = 3,
};

// ---- Bonuses lying in a cell (CellType::Bonus) ----
enum BonusCode : std::uint8_t {
    BonusNone = 0,
    BonusLevelUp = 1,
    BonusExtraLife = 2,
    BonusShield = 3,
};

// ---- Blocks (CellType::Block) ----
enum BlockCode : std::uint8_t {
    BlockOpen = 0,    ///< tanks and shells pass
    BlockWall = 1,    ///< stops tanks and shells; breakable by hardness
    BlockBarrier = 2, ///< stops tanks, shells fly over it
};

// ---- Tile codes: frames of image 0 of group 0 ----
constexpr std::int32_t TileNone = -1;     ///< a layer without a picture
constexpr std::int32_t TileBase = 0;      ///< the base emblem
constexpr std::int32_t TileLevelUp = 1;   ///< bonus icons 1..3 equal their bonus codes
constexpr std::int32_t TileExtraLife = 2;
constexpr std::int32_t TileShield = 3;
constexpr std::int32_t TileWallFirst = 4; ///< walls 4..6, hardness = code - 4
constexpr std::int32_t TileWallLast = 6;
constexpr std::int32_t TileBarrierFirst = 7; ///< barriers 7..9 stop tanks only
constexpr std::int32_t TileBarrierLast = 9;
constexpr std::int32_t TileCoverFirst = 10; ///< covers 10..12, drawn above the sprites
constexpr std::int32_t TileCoverLast = 12;
constexpr std::int32_t TileGroundFirst = 13; ///< grounds and floors from 13 on
constexpr std::int32_t TileDefaultGround = 13;

// ---- Image groups of the library ----
constexpr std::int32_t GroupTiles = 0;        ///< image 0 holds every tile as a frame
constexpr std::int32_t GroupPlayer1 = 1;      ///< + Level (1, 2, 3)
constexpr std::int32_t GroupPlayer2 = 4;      ///< + Level (4, 5, 6)
constexpr std::int32_t GroupEnemyTank = 7;
constexpr std::int32_t GroupEnemyLargeTank = 8;
constexpr std::int32_t GroupEnemyZJC = 9;
constexpr std::int32_t GroupEnemyKC = 10;
constexpr std::int32_t GroupShell = 11;       ///< + Level (11, 12, 13)
constexpr std::int32_t GroupCount = 14;

// ---- The field ----
constexpr std::int32_t FieldCols = 19;
constexpr std::int32_t FieldRows = 14;
constexpr std::int32_t FieldCellWidth = 32;
constexpr std::int32_t FieldCellHeight = 32;
constexpr std::int32_t BaseCol = 9;     ///< the base: bottom row, middle column
constexpr std::int32_t BaseRow = 13;
constexpr std::int32_t Player1StartCol = 11;
constexpr std::int32_t Player2StartCol = 7;
constexpr std::int32_t PlayerStartRow = 13;

/// One moving thing: a player's tank, an enemy tank or a shell.
struct SpriteType {
    std::int32_t Index = 0;         ///< position in Sprites when it was added; never renumbered
    std::uint8_t Kind = 0;          ///< SpriteKind
    std::int32_t ImageGroup = 0;    ///< group of Game.Images it is drawn from
    std::int32_t Direction = 0;     ///< Dir; also the image inside the group
    std::int32_t Frame = 0;         ///< frame now shown; a shell above 0 has struck something
    std::int32_t Level = 0;         ///< power level 0..2
    std::int32_t ReverseChance = 0; ///< enemies: reverse for no reason, 1/10000 (50)
    std::int32_t TurnChance = 0;    ///< enemies: take an open side way at a boundary (3000)
    std::int32_t BackChance = 0;    ///< enemies: turn back when the way ahead is shut (2000)
    std::int32_t FireChance = 0;    ///< enemies: fire in a tick (500)
    std::int32_t StepPeriod = 1;    ///< enemies move once every StepPeriod ticks
    std::int32_t StepCount = 0;     ///< enemies: ticks counted toward StepPeriod
    std::uint8_t Active = 0;        ///< 1 while in play: drawn, moved, able to collide
    std::int32_t Shield = 0;        ///< players: hits ignored while above 0
    std::int32_t Col = 0;           ///< column of the cell holding the left edge
    std::int32_t Row = 0;           ///< row of the cell holding the top edge
    std::int32_t Left = 0;          ///< inclusive pixel rectangle, one cell in size
    std::int32_t Top = 0;
    std::int32_t Right = 0;
    std::int32_t Bottom = 0;
    std::int32_t OffsetX = 0;       ///< pixels from column Col's left edge, 0..CellWidth-1
    std::int32_t OffsetY = 0;       ///< pixels from row Row's top edge, 0..CellHeight-1
    std::int32_t Armour = 0;        ///< enemies: armour left, 2 x Level at entry
    std::uint8_t Dirty = 0;         ///< 1 when it must be drawn again

    friend bool operator==(const SpriteType&, const SpriteType&) = default;
};

/// One cell of a gate's map.
struct CellType {
    std::uint8_t Bonus = 0;         ///< BonusCode lying in the cell
    std::int32_t TopImage = -1;     ///< tile drawn above the sprites; -1 none
    std::uint8_t Block = 0;         ///< BlockCode
    std::int32_t WallImage = -1;    ///< tile drawn over the ground, under the sprites; -1 none
    std::int32_t Hardness = 0;      ///< wall strength 0..2, read only while Block is 1
    std::int32_t GroundImage = TileDefaultGround; ///< tile of the ground, drawn first
    std::int32_t Left = 0;          ///< inclusive pixel rectangle of the cell
    std::int32_t Top = 0;
    std::int32_t Right = 0;
    std::int32_t Bottom = 0;
    std::uint8_t Dirty = 0;         ///< 1 when it must be drawn again

    friend bool operator==(const CellType&, const CellType&) = default;
};

using SpriteList = std::vector<std::unique_ptr<SpriteType>>;
using CellColumn = std::vector<std::unique_ptr<CellType>>;
using CellGrid = std::vector<CellColumn>; ///< indexed [column][row]

/// One gate (level): its map, its moving things, its quotas and the running
/// totals of the game in progress.
struct GateType {
    std::int32_t GateNo = 1;      ///< gate number shown in the status line
    std::int32_t PlayTime = 0;    ///< seconds of play in the game in progress
    std::int32_t Lives1 = 1;      ///< player 1's lives in reserve, 0..3
    std::int32_t Lives2 = 1;      ///< player 2's lives in reserve, 0..3
    std::int32_t EnemiesLeft = 0; ///< enemies still to enter; negative acts as 0
    SpriteList Sprites;           ///< players 0 and 1, then enemies, then shells
    CellGrid Cells;               ///< Cells[Col][Row]
    std::int32_t Tank = 0;        ///< quota of enemy kind "Tank"
    std::int32_t LargeTank = 0;   ///< quota of enemy kind "LargeTank"
    std::int32_t ZJC = 0;         ///< quota of enemy kind "ZJC"
    std::int32_t KC = 0;          ///< quota of enemy kind "KC"
    std::int32_t Total = 0;       ///< enemies of the gate in all
    std::int32_t NextGate = -1;   ///< index of the following gate; outside Gates ends the game
};

/// An image of the library: its frames, the animation steps.
using ImageFrames = std::vector<Bitmap>;
/// A group of the library: one image per direction (or, for group 0, the tiles).
using ImageGroup = std::vector<ImageFrames>;

/// The whole game: one instance for the run.
struct GameType {
    std::unique_ptr<GateType> Gate = std::make_unique<GateType>(); ///< the working gate
    std::int32_t Cols = FieldCols;
    std::int32_t Rows = FieldRows;
    std::int32_t CellWidth = FieldCellWidth;
    std::int32_t CellHeight = FieldCellHeight;
    std::vector<std::unique_ptr<GateType>> Gates; ///< stored gates, indexed from 0
    std::vector<ImageGroup> Images;               ///< Images[group][image][frame]
};

/// A cell as a new gate has it at (col, row): nothing in it, the default
/// ground, its pixel rectangle, marked Dirty.
[[nodiscard]] CellType NewCell(std::int32_t col, std::int32_t row);

/// Deep copy of a gate's lists (records are owned, so a plain copy is not allowed).
SpriteList CloneSprites(const SpriteList& sprites);
CellGrid CloneCells(const CellGrid& cells);

} // namespace brakkon
