// Gate files: the map and its legend, the faults a reader must name, and
// writing any stored gate so that it reads back whole.
#include "game/GameData.h"
#include "content/GateText.h"
#include "tests/TestSupport.h"

#include <gtest/gtest.h>

namespace brakkon {
namespace {

std::string Map(const std::vector<std::string>& changes = {})
{
    std::vector<std::string> rows(FieldRows, std::string(FieldCols, '.'));
    for (std::size_t i = 0; i < changes.size() && i < rows.size(); ++i)
        if (!changes[i].empty()) rows[i] = changes[i]; // an empty change keeps the row open
    std::string text = "map\n";
    for (const auto& r : rows) text += r + "\n";
    return text;
}

const std::string Header = "brakkon-gate 1\nTank 5\nLargeTank 2\nZJC 3\nKC 1\nTotal 20\nNextGate 4\nGround 15\n";

TextResult Read(const std::string& text, GateType& gate)
{
    return ReadGateText(TextSource::FromString("g.txt", text), gate);
}

using test::ExpectSameGate;

TEST(GateText, HeaderAndMapMakeTheGateAsTheEditorWould)
{
    GateType gate;
    const auto r = Read(Header + Map({"*+S#%@~=:TbN.B01239"}), gate);
    ASSERT_TRUE(r) << r.Message;
    EXPECT_EQ(gate.Tank, 5);
    EXPECT_EQ(gate.LargeTank, 2);
    EXPECT_EQ(gate.ZJC, 3);
    EXPECT_EQ(gate.KC, 1);
    EXPECT_EQ(gate.Total, 20);
    EXPECT_EQ(gate.NextGate, 4);
    // The five running totals as the editor's AddGate leaves them, and no sprites.
    EXPECT_EQ(gate.GateNo, 1);
    EXPECT_EQ(gate.PlayTime, 0);
    EXPECT_EQ(gate.Lives1, 3);
    EXPECT_EQ(gate.Lives2, 3);
    EXPECT_EQ(gate.EnemiesLeft, 0);
    EXPECT_TRUE(gate.Sprites.empty());
    ASSERT_TRUE(HasGrid(gate, FieldCols, FieldRows));

    struct Expect {
        int col, bonus, top, block, wall, hardness, ground;
    };
    const std::vector<Expect> row0 = {
        {0, 1, 1, 0, -1, 0, 15},   {1, 2, 2, 0, -1, 0, 15},   {2, 3, 3, 0, -1, 0, 15},  {3, 0, -1, 1, 4, 0, 15},
        {4, 0, -1, 1, 5, 1, 15},   {5, 0, -1, 1, 6, 2, 15},   {6, 0, -1, 2, 7, 0, 15},  {7, 0, -1, 2, 8, 0, 15},
        {8, 0, -1, 2, 9, 0, 15},   {9, 0, 10, 0, -1, 0, 15},  {10, 0, 11, 0, -1, 0, 15}, {11, 0, 12, 0, -1, 0, 15},
        {12, 0, -1, 0, -1, 0, 15}, {13, 0, -1, 1, 0, 0, 15},  {14, 0, -1, 0, 13, 0, 15}, {15, 0, -1, 0, 14, 0, 15},
        {16, 0, -1, 0, 15, 0, 15}, {17, 0, -1, 0, 16, 0, 15}, {18, 0, -1, 0, 22, 0, 15},
    };
    for (const auto& e : row0) {
        SCOPED_TRACE(e.col);
        const CellType& c = *gate.Cells[static_cast<std::size_t>(e.col)][0];
        EXPECT_EQ(c.Bonus, e.bonus);
        EXPECT_EQ(c.TopImage, e.top);
        EXPECT_EQ(c.Block, e.block);
        EXPECT_EQ(c.WallImage, e.wall);
        EXPECT_EQ(c.Hardness, e.hardness);
        EXPECT_EQ(c.GroundImage, e.ground);
    }
    const CellType& last = *gate.Cells[18][13];
    EXPECT_EQ(last.Left, 18 * 32);
    EXPECT_EQ(last.Top, 13 * 32);
    EXPECT_EQ(last.Right, 18 * 32 + 31);
    EXPECT_EQ(last.Bottom, 13 * 32 + 31);
    EXPECT_EQ(last.Dirty, 1);
}

TEST(GateText, LegendLinesCellLinesAndSpritesAddWhatTheMapLacks)
{
    GateType gate;
    const std::string text = Header + "GateNo 7\nEnemiesLeft -2\nlegend W Block=2 WallImage=7 TopImage=10\n"
                                      "legend . GroundImage=16\n" +
                             Map({"W.................."}) + "cell 3 4 Dirty=0 Left=5\nsprite Kind=2 Col=4 Armour=9\nsprite Index=1\n";
    const auto r = Read(text, gate);
    ASSERT_TRUE(r) << r.Message;
    EXPECT_EQ(gate.GateNo, 7);
    EXPECT_EQ(gate.EnemiesLeft, -2);
    const CellType& w = *gate.Cells[0][0];
    EXPECT_EQ(w.Block, 2);
    EXPECT_EQ(w.WallImage, 7);
    EXPECT_EQ(w.TopImage, 10);
    EXPECT_EQ(w.GroundImage, 15);
    EXPECT_EQ(gate.Cells[1][0]->GroundImage, 16); // '.' redefined by the file
    EXPECT_EQ(gate.Cells[3][4]->Dirty, 0);
    EXPECT_EQ(gate.Cells[3][4]->Left, 5);
    EXPECT_EQ(gate.Cells[3][4]->Right, 3 * 32 + 31);
    ASSERT_EQ(gate.Sprites.size(), 2u);
    EXPECT_EQ(gate.Sprites[0]->Kind, 2);
    EXPECT_EQ(gate.Sprites[0]->Col, 4);
    EXPECT_EQ(gate.Sprites[0]->Armour, 9);
    EXPECT_EQ(gate.Sprites[1]->Index, 1);
}

struct BadGate {
    const char* name;
    std::string text;
    const char* message; ///< the whole message begins with this
};

TEST(GateText, DamageIsRefusedWithTheFileAndLine)
{
    const std::string noTotal = "brakkon-gate 1\nTank 5\nLargeTank 2\nZJC 3\nKC 1\nNextGate 4\nGround 15\n";
    const std::vector<BadGate> cases = {
        {"empty file", "", "g.txt: empty file; the first line must be 'brakkon-gate 1'"},
        {"newer version", "brakkon-gate 2\n", "g.txt:1: version '2' of brakkon-gate is not known"},
        {"another kind of file", "brakkon-pictures 1\n", "g.txt:1: the first line must be 'brakkon-gate 1'"},
        {"missing header field", noTotal + Map(), "g.txt:8: 'Total' is missing above the map"},
        {"header field twice", Header + "Total 3\n" + Map(), "g.txt:9: 'Total' is given twice"},
        {"header after the map", Header + Map() + "Tank 3\n", "g.txt:24: 'Tank' must come before the map"},
        {"header not a number", "brakkon-gate 1\nTank five\n", "g.txt:2: expected 'Tank NUMBER'"},
        {"number out of range", "brakkon-gate 1\nTotal 2147483648\n", "g.txt:2: expected 'Total NUMBER'"},
        {"map line too short", Header + Map({"..."}), "g.txt:10: a map line has 3 characters; the field is 19 wide"},
        {"map line too long", Header + Map({"", std::string(20, '.')}),
         "g.txt:11: a map line has 20 characters; the field is 19 wide"},
        {"map cut short", Header + "map\n" + std::string(19, '.') + "\n",
         "g.txt:10: the map ends after 1 of 14 lines"},
        {"unknown map character", Header + Map({"", "", "..X................"}),
         "g.txt:12: map character 'X' in column 3 has no legend entry"},
        {"blank in a map line", Header + Map({"... ..............."}),
         "g.txt:10: map character ' ' in column 4 has no legend entry"},
        {"no map", Header, "g.txt: no 'map' in the file"},
        {"second map", Header + Map() + "map\n", "g.txt:24: a second map"},
        {"unknown statement", Header + "speed 3\n", "g.txt:9: unknown statement 'speed'"},
        {"legend of an unknown field", Header + "legend X Colour=3\n", "g.txt:9: 'Colour' is not a field a legend sets"},
        {"legend with a byte out of range", Header + "legend X Block=256\n", "g.txt:9: 'Block=256': Block takes 0 to 255"},
        {"legend twice", Header + "legend X Block=1\nlegend X Block=2\n", "g.txt:10: the legend character 'X' is defined twice"},
        {"legend pair without a number", Header + "legend X Block=\n", "g.txt:9: expected FIELD=NUMBER, found 'Block='"},
        {"cell before the map", Header + "cell 1 1 Dirty=0\n", "g.txt:9: 'cell' lines come after the map"},
        {"cell outside the field", Header + Map() + "cell 19 0 Dirty=0\n", "g.txt:24: cell 19 0 lies outside the field"},
        {"cell of an unknown field", Header + Map() + "cell 1 1 Hue=0\n", "g.txt:24: unknown field 'Hue'"},
        {"sprite byte out of range", Header + Map() + "sprite Kind=-1\n", "g.txt:24: 'Kind=-1': Kind takes 0 to 255"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        GateType gate;
        gate.Total = 77;
        const auto r = Read(c.text, gate);
        ASSERT_FALSE(r);
        EXPECT_EQ(r.Message.rfind(c.message, 0), 0u) << r.Message;
        EXPECT_EQ(gate.Total, 77); // nothing is handed over from a damaged file
        EXPECT_TRUE(gate.Cells.empty());
    }
}

// Writing and reading back gives the same gate, whatever it holds.
TEST(GateText, AnyStoredGateIsWrittenAndReadBackWhole)
{
    std::vector<std::pair<const char*, std::unique_ptr<GateType>>> gates;
    gates.emplace_back("clear gate", test::MakeGate(3, 3, 5, 2, 20, 1));

    auto shipped = test::MakeGate(2, 2, 0, 0, 8, -1);
    shipped->Lives1 = shipped->Lives2 = 3;
    shipped->Cells[9][13]->Block = BlockWall;
    shipped->Cells[9][13]->WallImage = TileBase;
    shipped->Cells[4][4]->Bonus = BonusShield;
    shipped->Cells[4][4]->TopImage = TileShield;
    gates.emplace_back("a map of standard tiles", std::move(shipped));

    auto odd = test::MakeGate(-1, 0, 7, 0, -5, 99);
    odd->GateNo = 12;
    odd->PlayTime = 3600;
    odd->Lives1 = 0;
    odd->Lives2 = -4;
    odd->EnemiesLeft = 6;
    odd->Cells[0][0]->GroundImage = -2; // not to be mistaken for "the gate's ground"
    odd->Cells[1][0]->Hardness = 2;     // an open cell with a stray hardness
    odd->Cells[2][0]->Dirty = 0;
    odd->Cells[3][0]->Left = -9;
    odd->Cells[3][0]->Bottom = 1000;
    odd->Cells[4][0]->Bonus = 255;
    odd->Cells[5][0]->TopImage = 2147483647;
    for (int c = 0; c < FieldCols; ++c) odd->Cells[static_cast<std::size_t>(c)][5]->GroundImage = 14;
    odd->Sprites.push_back(std::make_unique<SpriteType>(test::SpriteAt(KindEnemy, 3, 4, 2)));
    odd->Sprites.back()->Armour = -3;
    odd->Sprites.back()->Dirty = 200;
    odd->Sprites.push_back(std::make_unique<SpriteType>());
    gates.emplace_back("odd cells, fields and sprites", std::move(odd));

    // Every cell different: more contents than legend characters.
    auto crowded = test::MakeGate();
    for (int c = 0; c < FieldCols; ++c)
        for (int r = 0; r < FieldRows; ++r) crowded->Cells[static_cast<std::size_t>(c)][static_cast<std::size_t>(r)]->WallImage = 100 + c * FieldRows + r;
    gates.emplace_back("more contents than characters", std::move(crowded));

    for (const auto& [name, gate] : gates) {
        SCOPED_TRACE(name);
        std::string text;
        ASSERT_TRUE(WriteGateText(*gate, text));
        GateType back;
        const auto r = Read(text, back);
        ASSERT_TRUE(r) << r.Message << "\n" << text;
        ExpectSameGate(*gate, back);
        std::string again;
        ASSERT_TRUE(WriteGateText(back, again));
        EXPECT_EQ(again, text);
    }
}

TEST(GateText, AGateOfStandardTilesIsWrittenAsAMapAlone)
{
    GateType gate;
    const std::string text = Header + Map({"*+S#%@~=:TbN.B01239"});
    ASSERT_TRUE(Read(text, gate));
    std::string written;
    ASSERT_TRUE(WriteGateText(gate, written));
    EXPECT_EQ(written, "brakkon-gate 1\nTank 5\nLargeTank 2\nZJC 3\nKC 1\nTotal 20\nNextGate 4\nGround 15\n" +
                           Map({"*+S#%@~=:TbN.B01239"}));
}

TEST(GateText, AMapOfAnotherSizeCannotBeWritten)
{
    auto gate = test::MakeGate();
    gate->Cells.pop_back();
    std::string text;
    EXPECT_FALSE(WriteGateText(*gate, text));
}

} // namespace
} // namespace brakkon
