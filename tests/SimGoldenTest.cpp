// Golden replays of brakkon-sim: key scripts over a data file built here,
// whose --json output must not change. The scripts and the expected output
// live in tests/golden/NAME.keys and NAME.json; tests/golden/README.md says
// when and how to regenerate them. The output is kept laid out for review,
// one sprite or effect a line, without the cell grid.
#include "game/FileIo.h"
#include "tests/RunTool.h"
#include "game/SavedGame.h"
#include "tests/SimSupport.h"
#include "tests/TempFolder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <stdexcept>

namespace brakkon {
namespace {

namespace fs = std::filesystem;
using test::RunTool;

struct GoldenCase {
    const char* name;
    std::vector<std::string> args; ///< besides --data, --keys and --json
    bool savedGame;                ///< --load the step-1 game
};

class SimGolden : public ::testing::TestWithParam<GoldenCase> {
protected:
    static void SetUpTestSuite()
    {
        dir_ = std::make_unique<test::TempFolder>("brakkon-golden");
        ASSERT_TRUE(test::WriteSimGameData(*dir_ / "Game.dat"));
        ASSERT_TRUE(SaveGameFile(*dir_ / "step1.gam", test::SavedStepOneGame()));
    }
    static void TearDownTestSuite() { dir_.reset(); }

    static inline std::unique_ptr<test::TempFolder> dir_;
};

std::string ReadText(const fs::path& path)
{
    const auto bytes = ReadFileBytes(path);
    return bytes ? std::string(bytes->begin(), bytes->end()) : std::string();
}

// A JSON value as brakkon-sim writes it: a scalar's text, or an object's or
// an array's items in order.
struct JsonNode {
    std::string Text;
    char Open = 0;                 ///< '{' or '[' for a container
    std::vector<std::string> Keys; ///< quoted, one an item; empty in an array
    std::vector<JsonNode> Items;
};

std::string JsonString(std::string_view json, std::size_t& at)
{
    const std::size_t start = at++;
    while (json.at(at) != '"') at += json[at] == '\\' ? 2 : 1;
    return std::string(json.substr(start, ++at - start));
}

// Reads compact JSON; malformed text throws std::out_of_range.
JsonNode ParseJson(std::string_view json, std::size_t& at)
{
    JsonNode node;
    const char c = json.at(at);
    if (c == '"') {
        node.Text = JsonString(json, at);
    } else if (c != '{' && c != '[') {
        const std::size_t end = json.find_first_of(",]}", at);
        node.Text = json.substr(at, end - at);
        at = end;
    } else {
        node.Open = c;
        const char close = c == '{' ? '}' : ']';
        for (++at; json.at(at) != close;) {
            if (c == '{') {
                node.Keys.push_back(JsonString(json, at));
                if (json.at(at++) != ':') throw std::out_of_range("':' expected");
            }
            node.Items.push_back(ParseJson(json, at));
            if (json.at(at) == ',') ++at;
        }
        ++at;
    }
    return node;
}

// One line for a container of scalars; otherwise one line per item, two
// blanks deeper than the container.
std::string Layout(const JsonNode& node, std::size_t depth = 0)
{
    if (node.Open == 0) return node.Text;
    const bool flat = std::none_of(node.Items.begin(), node.Items.end(), [](const JsonNode& i) { return i.Open; });
    const std::string pad = flat ? std::string() : "\n" + std::string(2 * depth + 2, ' ');
    std::string out(1, node.Open);
    for (std::size_t i = 0; i < node.Items.size(); ++i) {
        const std::string key = node.Keys.empty() ? std::string() : node.Keys[i] + ": ";
        out += (i > 0 ? (flat ? ", " : ",") : "") + pad + key + Layout(node.Items[i], depth + 1);
    }
    if (!flat) out += "\n" + std::string(2 * depth, ' ');
    return out + (node.Open == '{' ? '}' : ']');
}

// brakkon-sim's --json output laid out as the golden files keep it, without
// the cells of the working gate.
std::string GoldenText(std::string_view json)
{
    std::size_t at = 0;
    JsonNode end = ParseJson(json, at);
    for (std::size_t i = 0; i < end.Keys.size(); ++i) {
        JsonNode& gate = end.Items[i];
        if (end.Keys[i] != "\"Gate\"") continue;
        for (std::size_t j = 0; j < gate.Keys.size(); ++j)
            if (gate.Keys[j] == "\"Cells\"") {
                gate.Keys.erase(gate.Keys.begin() + static_cast<std::ptrdiff_t>(j));
                gate.Items.erase(gate.Items.begin() + static_cast<std::ptrdiff_t>(j));
                break;
            }
    }
    return Layout(end) + "\n";
}

TEST_P(SimGolden, OutputIsUnchanged)
{
    const GoldenCase& c = GetParam();
    const fs::path golden = fs::path(BRAKKON_GOLDEN_DIR) / c.name;
    std::vector<std::string> args = {"--data", (*dir_ / "Game.dat").string(), "--keys", golden.string() + ".keys",
                                     "--json"};
    if (c.savedGame) args.insert(args.end(), {"--load", (*dir_ / "step1.gam").string()});
    args.insert(args.end(), c.args.begin(), c.args.end());

    const auto run = RunTool(BRAKKON_SIM_TOOL, args);
    ASSERT_EQ(run.ExitCode, 0) << run.Err;
    std::string got;
    ASSERT_NO_THROW(got = GoldenText(run.Out)) << run.Out;
    const fs::path expected = golden.string() + ".json";
    if (std::getenv("BRAKKON_UPDATE_GOLDEN") != nullptr) {
        ASSERT_TRUE(WriteFileAtomically(expected, std::vector<std::uint8_t>(got.begin(), got.end())));
        GTEST_SKIP() << "rewrote " << expected;
    }
    const std::string want = ReadText(expected);
    ASSERT_FALSE(want.empty()) << "no golden output " << expected;
    EXPECT_TRUE(got == want) << "the replay of " << c.name << " changed; tests/golden/README.md says how to regenerate";
}

INSTANTIATE_TEST_SUITE_P(
    Replays, SimGolden,
    ::testing::Values(
        GoldenCase{"fort_one_player", {"--gate", "0", "--players", "1", "--seed", "3", "--ticks", "700"}, false},
        GoldenCase{"corridor_two_players", {"--gate", "1", "--players", "2", "--ticks", "2000"}, false},
        GoldenCase{"pause_two_players",
                   {"--gate", "0", "--players", "2", "--seed", "11", "--ticks", "400", "--interval", "40"},
                   false},
        GoldenCase{"saved_game_step4", {"--step", "4", "--seed", "5", "--ticks", "300"}, true}),
    test::CaseName);

} // namespace
} // namespace brakkon
