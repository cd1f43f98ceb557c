// A computer player: plays player 1 or player 2 of a simulated game by
// pressing and releasing that player's keys, tick slot by tick slot, as a
// person at the keyboard would. It is a tool for measuring the gates, not a
// cheat.
//
// It decides only from what the window shows (see BotField.h for exactly
// which fields it reads), plus what it remembers of earlier slots: the keys
// it holds, when it last fired, and how each tank in sight was seen to move.
// It never reads the random generator, EnemiesLeft, an enemy's Armour, its
// chances or its step counters, nor the players' requests; its only effect on
// the game is the key events it adds. The same gate, slot by slot, gives the
// same keys, so a game with bots is as deterministic as one from a script.
//
// How it plays, a defender first:
//  1. An enemy shell coming at its tank: it turns to face it and shoots it.
//  2. An enemy in front, in its row or column: it fires, leading a moving
//     target; never a shot that would break the base or its last brick.
//  3. On the grid it chooses where to go: a cell in line with an enemy,
//     nearest by driving distance (cells in an enemy's line of fire weigh
//     more), the enemies nearest the base first, not far from its post; it
//     shoots its way through walls that its shells break, but not through the
//     base's bricks. A bonus close by is taken. Its post watches the most
//     open way to the base (down its column or along its row); a second
//     player watches the next.
//  4. Whatever it chose, a shell in sight that would strike its tank within
//     a cell's drive makes it stand, back off or turn aside instead.
// Between two cells it drives on; blocked there for long, it backs off.
#pragma once

#include "sim/BotField.h"
#include "game/MainState.h"
#include "sim/SimKeys.h"

#include <optional>
#include <vector>

namespace brakkon {

class Bot : public KeyPlayer {
public:
    /// Ticks from one press of the fire key to the next: about five shots a
    /// second, as fast as a person keeps hammering a key.
    static constexpr std::int64_t FireGap = 12;

    /// Plays `player` (1 or 2) of a game whose movement step is `moveStep`.
    explicit Bot(std::int32_t player, std::int32_t moveStep = DefaultMoveStep);

    /// What to do in the coming slot.
    struct Plan {
        std::optional<std::int32_t> Move; ///< hold the key of this direction
        std::optional<std::int32_t> Face; ///< turn on the spot to this direction (tap its key)
        bool Fire = false;                ///< press the fire key
    };

    void Keys(const GateType& gate, std::int64_t slot, std::vector<KeyEvent>& out) override;

    /// The decision for `slot` from the field as it stands; remembers what it
    /// needs for the next slots (Keys calls it; tests call it on made fields).
    Plan Decide(const BotField& field, std::int64_t slot);

    std::size_t Entry() const { return entry_; }

private:
    struct Track {
        std::int32_t Left = -1, Top = -1;
        std::int64_t Moved = -100; ///< slot in which it was last seen to move
    };
    struct Goal {
        BotCell Cell{-1, -1};
        std::int32_t Face = DirUp;
    };

    /// Where it drives from a cell: the first step of its way, or the way to
    /// face where it is at its goal.
    struct Route {
        BotCell From{-1, -1};
        std::int64_t Slot = 0;
        std::optional<std::int32_t> Way;
        bool AtGoal = false;
    };
    struct Incoming {
        std::int32_t Way = DirUp; ///< the direction from its tank toward it
        std::int64_t Ticks = 0;   ///< ticks until it strikes
    };

    void Watch(const BotField& field, std::int64_t slot);
    Plan Intend(const BotField& field, std::int64_t slot);
    Plan Evade(const BotField& field, Plan plan) const;
    std::optional<Incoming> IncomingShell(const BotField& field) const;
    Route FindRoute(const BotField& field, BotCell here, std::int64_t slot);
    std::optional<Goal> ChooseGoal(const BotField& field, const std::array<std::int32_t, BotField::Cells>& dist);
    Goal Home(const BotField& field, const std::array<std::int32_t, BotField::Cells>& dist) const;
    void ToKeys(const Plan& plan, const BotSprite& me, std::int64_t slot, std::vector<KeyEvent>& out);

    std::size_t entry_;
    std::int32_t moveStep_;
    PlayerType keys_;
    KeyCode held_ = 0;          ///< the movement key it holds down
    bool fireDown_ = false;     ///< the fire key is down (released in the next slot)
    std::int64_t lastFire_ = -1000;
    BotField field_;            ///< what it sees in this slot
    std::vector<Track> tracks_; ///< by entry number
    std::vector<double> speeds_;
    std::int32_t target_ = -1;  ///< the enemy it is after, by entry number
    Goal goal_;                 ///< where it was going in the last slot
    Route route_;               ///< its way from the cell it last thought on
    std::int32_t lastLeft_ = -1, lastTop_ = -1;
    std::int32_t stuck_ = 0;    ///< slots it held a key without moving
    std::vector<BotCell> avoid_; ///< a cell it could not drive into (an unseen tank)
    std::int64_t avoidUntil_ = 0;
};

} // namespace brakkon
