// The field as the computer player sees it on the screen, and the questions
// it asks of it: where a shell fired now would go and what it would strike,
// and how far each cell is to drive to.
//
// Built afresh for every tick slot from a read-only working gate. It reads
// only what the window shows: of each cell its Block and Hardness (the wall's
// picture), its Bonus and whether a cover lies on it (TopImage 10 to 12); of
// each sprite in play its Kind, ImageGroup (its picture), Direction, Left and
// Top, and of the player's own tank its Level (the stars of the status line).
// Tanks and shells wholly under covers are not seen. Nothing else of the gate
// or of the game's state is read.
#pragma once

#include "game/Records.h"

#include <array>
#include <cstdint>
#include <span>
#include <vector>

namespace brakkon {

/// A cell of the field by column and row.
struct BotCell {
    std::int32_t Col = 0;
    std::int32_t Row = 0;
    friend bool operator==(const BotCell&, const BotCell&) = default;
};

/// A tank or shell in sight.
struct BotSprite {
    std::int32_t Index = 0;      ///< its entry number, which the same tank keeps
    std::uint8_t Kind = 0;       ///< SpriteKind
    std::int32_t ImageGroup = 0; ///< its picture: which kind of enemy, which shell
    std::int32_t Direction = 0;
    std::int32_t Left = 0;
    std::int32_t Top = 0;
    double Speed = 0;            ///< pixels a tick it travels along Direction, as last seen
    std::int32_t Range = 0;      ///< enemy shells: ticks until it bursts on a wall or leaves
};

/// The cell that holds a sprite's centre.
[[nodiscard]] BotCell CentreCell(const BotSprite& s);

/// One step in a direction: (-1, 0) for left and so on.
[[nodiscard]] BotCell StepOf(std::int32_t direction);

class BotField {
public:
    static constexpr std::int32_t Cells = FieldCols * FieldRows;
    static constexpr std::int32_t Far = 1 << 20; ///< the distance of a cell that cannot be reached

    /// The gate as entry `self` of its Sprites (0 or 1) sees it. `moveStep` is
    /// the step the game was set to, which sets the speed of the shells. The
    /// tanks in sight are taken as standing until TakeSpeeds says otherwise.
    BotField(const GateType& gate, std::size_t self, std::int32_t moveStep);
    /// The same before a first look; Look fills it.
    BotField(std::size_t self, std::int32_t moveStep);

    /// Looks at the gate afresh (the field keeps its storage from look to look).
    void Look(const GateType& gate);

    const BotSprite& Me() const { return me_; }
    std::int32_t MyLevel() const { return myLevel_; }
    const std::vector<BotSprite>& Enemies() const { return enemies_; }
    const std::vector<BotSprite>& EnemyShells() const { return enemyShells_; }
    /// The other player's tank when it is in play and seen.
    const std::vector<BotSprite>& Mates() const { return mates_; }

    /// On the field, and the map has the cell.
    [[nodiscard]] bool Inside(BotCell c) const
    {
        return c.Col >= 0 && c.Row >= 0 && c.Col < FieldCols && c.Row < FieldRows && (fullGrid_ || HasCell(c));
    }
    [[nodiscard]] const CellType& At(BotCell c) const;
    /// A tank can drive onto it: open ground.
    [[nodiscard]] bool Drivable(BotCell c) const { return Inside(c) && At(c).Block == BlockOpen; }
    /// A wall that our shells break, other than the base and the bricks in front of it.
    [[nodiscard]] bool Diggable(BotCell c) const;
    [[nodiscard]] static bool IsBase(BotCell c) { return c.Col == BaseCol && c.Row == BaseRow; }

    /// What a shell fired now in `direction` would do.
    struct Shot {
        bool StrikesTarget = false; ///< an enemy tank or an enemy shell is struck first
        bool Harmful = false;       ///< it would break the base, or the last brick before it
        BotCell WallMet{-1, -1};    ///< the wall it would burst on, if any
    };
    [[nodiscard]] Shot Fire(std::int32_t direction) const;

    /// The first tick, up to `horizon`, at which an enemy shell in sight would
    /// strike our tank when it goes on in `direction` (or stands, when not
    /// `moving`); Far when none would.
    [[nodiscard]] std::int32_t StrikeTick(std::int32_t direction, bool moving, std::int32_t horizon) const;

    /// How many enemies in sight face this cell with nothing between, and
    /// enemy shells fly toward it: the cells in a line of fire.
    [[nodiscard]] std::int32_t Danger(BotCell c) const { return danger_[static_cast<std::size_t>(Key(c))]; }

    /// Driving distances (in cells; walls to dig through and cells in an
    /// enemy's line of fire weigh extra) from `from` to every cell, and the
    /// direction of the last step into each. Cells that other tanks cover,
    /// and `avoid`, cannot be entered.
    void Distances(BotCell from, std::span<const BotCell> avoid, std::array<std::int32_t, Cells>& dist,
                   std::array<std::int8_t, Cells>& lastStep) const;

    /// Puts the speeds at which the tanks were seen to move on the tanks in
    /// sight (by entry number; 0 for entries it does not hold).
    void TakeSpeeds(std::span<const double> tankSpeeds);

    [[nodiscard]] static std::int32_t Key(BotCell c) { return c.Row * FieldCols + c.Col; }

private:
    [[nodiscard]] bool HasCell(BotCell c) const;
    /// Ticks until an enemy shell lies on the first wall on its way, or leaves.
    [[nodiscard]] std::int32_t ShellRange(const BotSprite& s) const;
    [[nodiscard]] bool Covered(const SpriteType& s) const;
    void Occupy(const BotSprite& s);

    std::array<bool, Cells> occupied_{}; ///< cells that a tank in sight covers, by Key
    std::array<std::int32_t, Cells> danger_{}; ///< enemies facing each cell, by Key
    mutable std::vector<std::vector<std::int32_t>> buckets_; ///< Distances' work, kept from call to call

    const GateType* gate_ = nullptr;
    std::size_t self_;
    std::int32_t moveStep_;
    bool fullGrid_ = false; ///< the map has all 19 x 14 cells
    std::int32_t myLevel_ = 0;
    BotSprite me_;
    std::vector<BotSprite> enemies_;
    std::vector<BotSprite> enemyShells_;
    std::vector<BotSprite> mates_;
};

} // namespace brakkon
