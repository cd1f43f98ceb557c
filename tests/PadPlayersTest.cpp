// Which pad plays which player and what its inputs press, without a window:
// the pads' events in, the players' presses and releases and their keys out.
#include "shell/PadPlayers.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace brakkon {
namespace {

PadEvent Added(int pad) { return {PadEvent::Kind::Added, pad}; }
PadEvent Removed(int pad) { return {PadEvent::Kind::Removed, pad}; }
PadEvent Button(int pad, PadButton button, bool down) { return {PadEvent::Kind::Button, pad, button, down}; }
PadEvent Axis(int pad, PadAxis axis, int value)
{
    return {PadEvent::Kind::Axis, pad, PadButton::Other, false, axis, static_cast<std::int16_t>(value)};
}

/// A request as "player:input+" (pressed) or "player:input-" (released).
std::string Text(const PadRequest& r)
{
    static const char* const inputs[] = {"Left", "Right", "Up", "Down", "Fire", "Choose", "Start"};
    return std::to_string(r.Player + 1) + ":" + inputs[static_cast<std::size_t>(r.Input)] + (r.Pressed ? "+" : "-");
}

struct MapperCase {
    const char* name;
    std::vector<PadEvent> events;
    std::vector<std::string> requests;
};

class PadMapping : public ::testing::TestWithParam<MapperCase> {};

TEST_P(PadMapping, GivesThePlayersPresses)
{
    PadMapper mapper;
    std::vector<PadRequest> requests;
    for (const PadEvent& event : GetParam().events) mapper.Feed(event, requests);
    std::vector<std::string> texts;
    for (const PadRequest& r : requests) texts.push_back(Text(r));
    EXPECT_EQ(texts, GetParam().requests);
}

INSTANTIATE_TEST_SUITE_P(
    PadPlayers, PadMapping,
    ::testing::Values(
        MapperCase{"FirstPadPlayerOneSecondPlayerTwo",
                   {Added(30), Added(4), Button(4, PadButton::DpadUp, true), Button(30, PadButton::DpadUp, true)},
                   {"2:Up+", "1:Up+"}},
        MapperCase{"AThirdPadFindsNoPlayer",
                   {Added(1), Added(2), Added(3), Button(3, PadButton::Start, true)},
                   {}},
        MapperCase{"AnUnknownPadIsIgnored", {Added(1), Button(9, PadButton::South, true), Removed(9)}, {}},
        MapperCase{"APadAddedTwiceKeepsItsPlayer",
                   {Added(1), Added(2), Added(1), Button(2, PadButton::DpadLeft, true)},
                   {"2:Left+"}},
        MapperCase{"SouthFiresAndChoosesEastOnlyFires",
                   {Added(1), Button(1, PadButton::South, true), Button(1, PadButton::East, true),
                    Button(1, PadButton::South, false), Button(1, PadButton::East, false)},
                   {"1:Fire+", "1:Choose+", "1:Choose-", "1:Fire-"}},
        MapperCase{"DpadAndStickTogetherHoldUntilBothLetGo",
                   {Added(1), Button(1, PadButton::DpadLeft, true), Axis(1, PadAxis::LeftX, -30000),
                    Button(1, PadButton::DpadLeft, false), Axis(1, PadAxis::LeftX, 0)},
                   {"1:Left+", "1:Left-"}},
        MapperCase{"TheStickPastItsDeadZoneOnly",
                   {Added(1), Axis(1, PadAxis::LeftY, StickDeadZone), Axis(1, PadAxis::LeftY, StickDeadZone + 1),
                    Axis(1, PadAxis::LeftY, -StickDeadZone - 1)},
                   {"1:Down+", "1:Up+", "1:Down-"}}, // changes reported in the inputs' order
        MapperCase{"PulledOutReleasesAllItHeld",
                   {Added(1), Button(1, PadButton::South, true), Axis(1, PadAxis::LeftX, 32767), Removed(1),
                    Button(1, PadButton::South, false)},
                   {"1:Fire+", "1:Choose+", "1:Right+", "1:Right-", "1:Fire-", "1:Choose-"}},
        MapperCase{"APadPluggedInLaterTakesTheFirstFreePlayer",
                   {Added(1), Added(2), Removed(1), Added(3), Button(3, PadButton::DpadDown, true),
                    Button(2, PadButton::DpadDown, true)},
                   {"1:Down+", "2:Down+"}},
        MapperCase{"APadPluggedInAgainStartsWithNothingHeld",
                   {Added(1), Button(1, PadButton::DpadUp, true), Removed(1), Added(1), Button(1, PadButton::DpadUp, false),
                    Button(1, PadButton::Start, true)},
                   {"1:Up+", "1:Up-", "1:Start+"}}),
    [](const ::testing::TestParamInfo<MapperCase>& info) { return std::string(info.param.name); });

struct KeyCase {
    bool playing;
    int player;
    PadInput input;
    KeyCode key;
};

TEST(PadPlayers, EachInputPressesItsPlayersKeyInPlayAndTheMenusInTheMenu)
{
    const KeyCase cases[] = {
        {true, 0, PadInput::Left, VkLeft},
        {true, 0, PadInput::Down, VkDown},
        {true, 0, PadInput::Fire, VkSpace},
        {true, 0, PadInput::Choose, 0},
        {true, 1, PadInput::Up, VkLetter('T')},
        {true, 1, PadInput::Right, VkLetter('H')},
        {true, 1, PadInput::Fire, VkLetter('A')},
        {true, 1, PadInput::Start, VkF1},
        {false, 0, PadInput::Up, VkUp},
        {false, 1, PadInput::Down, VkDown}, // either pad works the menu
        {false, 1, PadInput::Choose, VkReturn},
        {false, 0, PadInput::Fire, 0},       // the east button does nothing in the menu
        {false, 0, PadInput::Left, 0},
        {false, 0, PadInput::Start, VkF1},
    };
    MainState state;
    for (const KeyCase& c : cases) {
        state.Playing = c.playing;
        EXPECT_EQ(PadKey(state, c.player, c.input), c.key)
            << "playing " << c.playing << ", player " << c.player + 1 << ", input " << static_cast<int>(c.input);
    }
    state.Playing = true;
    state.Player2.FireKey = VkLetter('Q'); // the keys come from the players' records
    EXPECT_EQ(PadKey(state, 1, PadInput::Fire), VkLetter('Q'));
}

} // namespace
} // namespace brakkon
