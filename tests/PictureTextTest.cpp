// Pictures files: grids, legend, derived drawings, frames placed in the
// library, the faults a reader must name, and the files unpack writes.
#include "game/Bmp.h"
#include "game/FileIo.h"
#include "content/PictureText.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <ostream>

namespace brakkon {

void PrintTo(const Drawing& d, std::ostream* os)
{
    *os << d.Width << "x" << d.Height << " {";
    for (const auto p : d.Pixels) *os << " " << std::hex << p << std::dec;
    *os << " }";
}

namespace {

namespace fs = std::filesystem;

constexpr std::uint32_t K = 0xFF000000, W = 0xFFFFFFFF, R = 0xFFFF0000, Y = 0xFFFFFF00, L = 0xFF00FF00,
                        F = KeyColour;

TextResult Read(const std::string& body, PictureBook& book, const fs::path& folder = "/nonexistent")
{
    return ReadPictures(TextSource::FromString("p.txt", "brakkon-pictures 1\n" + body), folder, book);
}

Drawing Grid(std::int32_t w, std::int32_t h, std::vector<std::uint32_t> pixels)
{
    return {w, h, std::move(pixels)};
}

// A 2 x 3 drawing whose every pixel differs, facing up: its top row is k w.
const std::string Arrow = "draw arrow 2 3\nkw\nry\nl.\n";
const Drawing ArrowDrawing = Grid(2, 3, {K, W, R, Y, L, F});

TEST(PictureText, AGridIsReadThroughTheStandardLegend)
{
    PictureBook book;
    const auto r = Read("# sixteen letters and the key\ndraw all 17 1\nkmgonptserlybfaw.\n", book);
    ASSERT_TRUE(r) << r.Message;
    const Drawing& d = book.Drawings.at("all");
    const std::vector<std::uint32_t> expected = {0xFF000000, 0xFF800000, 0xFF008000, 0xFF808000, 0xFF000080,
                                                 0xFF800080, 0xFF008080, 0xFFC0C0C0, 0xFF808080, 0xFFFF0000,
                                                 0xFF00FF00, 0xFFFFFF00, 0xFF0000FF, 0xFFFF00FF, 0xFF00FFFF,
                                                 0xFFFFFFFF, 0xFFFF00FF};
    EXPECT_EQ(d, Grid(17, 1, expected));
    EXPECT_EQ(book.DrawnAt.at("all"), "p.txt:3");
}

TEST(PictureText, ColourLinesAddAndRedefineCharacters)
{
    PictureBook book;
    const auto r = Read("colour Q #123456\ncolour k white\ndraw a 2 1\nQk\n", book);
    ASSERT_TRUE(r) << r.Message;
    EXPECT_EQ(book.Drawings.at("a"), Grid(2, 1, {0xFF123456, W}));
}

struct DeriveCase {
    const char* name;
    const char* change;
    Drawing expected;
};

TEST(PictureText, DerivedDrawingsTurnMirrorAndRecolour)
{
    const std::vector<DeriveCase> cases = {
        // Facing up, turned right: the top row becomes the right column.
        {"turn right", "turn right", Grid(3, 2, {L, R, K, F, Y, W})},
        {"turn left", "turn left", Grid(3, 2, {W, Y, F, K, R, L})},
        {"turn half", "turn half", Grid(2, 3, {F, L, Y, R, W, K})},
        {"four right turns are none", "turn right turn right turn right turn right", ArrowDrawing},
        {"mirror left-right", "mirror left-right", Grid(2, 3, {W, K, Y, R, F, L})},
        {"mirror top-bottom", "mirror top-bottom", Grid(2, 3, {L, F, R, Y, K, W})},
        // All pairs apply at once, so two colours swap.
        {"recolour swaps", "recolour k=w w=k", Grid(2, 3, {W, K, R, Y, L, F})},
        {"recolour then turn", "recolour y=l turn half", Grid(2, 3, {F, L, L, R, W, K})},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        PictureBook book;
        const auto r = Read(Arrow + "derive out arrow " + c.change + "\n", book);
        ASSERT_TRUE(r) << r.Message;
        EXPECT_EQ(book.Drawings.at("out"), c.expected);
        EXPECT_EQ(book.Drawings.at("arrow"), ArrowDrawing); // the base is left as it was
    }
}

TEST(PictureText, AnOverlayKeepsThePixelsMarkedWithADash)
{
    PictureBook book;
    const auto r = Read(Arrow + "overlay changed arrow\n-a\n--\nw-\n", book);
    ASSERT_TRUE(r) << r.Message;
    EXPECT_EQ(book.Drawings.at("changed"), Grid(2, 3, {K, 0xFF00FFFF, R, Y, W, F}));
}

TEST(PictureText, FramesTilesAndTurningPlaceDrawingsInTheLibrary)
{
    PictureBook book;
    const auto r = Read(Arrow + "frame 3 1 2 opaque arrow\ntile 5 transparent arrow\nturning 7 transparent arrow arrow\n",
                        book);
    ASSERT_TRUE(r) << r.Message;
    ASSERT_EQ(book.Frames.size(), 2u + 8u);
    const PlacedFrame& f = book.Frames[0];
    EXPECT_EQ(std::tie(f.Group, f.Image, f.Frame, f.Transparent), std::make_tuple(3, 1, 2, false));
    EXPECT_EQ(f.Where, "p.txt:6");
    const PlacedFrame& t = book.Frames[1];
    EXPECT_EQ(std::tie(t.Group, t.Image, t.Frame, t.Transparent), std::make_tuple(0, 0, 5, true));
    // Images 0 to 3 are the directions left, right, up, down of a drawing facing up.
    const Drawing expected[4] = {Rotated(ArrowDrawing, Turn::Left), Rotated(ArrowDrawing, Turn::Right), ArrowDrawing,
                                 Rotated(ArrowDrawing, Turn::Half)};
    for (std::size_t i = 2; i < book.Frames.size(); ++i) {
        const PlacedFrame& p = book.Frames[i];
        EXPECT_EQ(p.Group, 7);
        EXPECT_TRUE(p.Transparent);
        EXPECT_EQ(p.Frame, static_cast<std::int32_t>((i - 2) / 4));
        EXPECT_EQ(p.Picture, expected[p.Image]);
    }
}

struct BadPictures {
    const char* name;
    std::string body; ///< after the version line
    const char* message;
};

TEST(PictureText, DamageIsRefusedWithTheFileAndLine)
{
    const std::vector<BadPictures> cases = {
        {"grid line too short", "draw a 3 2\nkkk\nkk\n", "p.txt:4: a grid line of 'a' has 2 characters; the drawing is 3 wide"},
        {"grid line too long", "draw a 2 1\nkkk\n", "p.txt:3: a grid line of 'a' has 3 characters; the drawing is 2 wide"},
        {"grid cut short", "draw a 2 3\nkk\nkk\n", "p.txt:4: the grid of 'a' ends after 2 of 3 lines"},
        {"unknown palette character", "draw a 3 1\nkZk\n", "p.txt:3: character 'Z' in column 2 is not in the legend"},
        {"keep character outside an overlay", "draw a 2 1\nk-\n", "p.txt:3: character '-' in column 2 is not in the legend"},
        {"size zero", "draw a 0 3\n", "p.txt:2: the size of a drawing is two numbers from 1 to 1024"},
        {"size too large", "draw a 1025 1\n", "p.txt:2: the size of a drawing is two numbers from 1 to 1024"},
        {"size not a number", "draw a 2x 2\n", "p.txt:2: the size of a drawing is two numbers from 1 to 1024"},
        {"draw without a size", "draw a\n", "p.txt:2: expected 'draw NAME WIDTH HEIGHT'"},
        {"bad name", "draw a/b 1 1\nk\n", "p.txt:2: bad drawing name 'a/b'"},
        {"name twice", Arrow + "draw arrow 1 1\nk\n", "p.txt:6: the drawing 'arrow' is already defined at p.txt:2"},
        {"unknown colour name", "colour Q orange\n", "p.txt:2: unknown colour 'orange'"},
        {"bad hex colour", "colour Q #12345G\n", "p.txt:2: unknown colour '#12345G'"},
        {"colour for the keep character", "colour - red\n", "p.txt:2: '-' cannot stand for a colour"},
        {"overlay of nothing", "overlay b a\n", "p.txt:2: no drawing named 'a' is defined above"},
        {"overlay cut short", Arrow + "overlay b arrow\n--\n", "p.txt:7: the grid of 'b' ends after 1 of 3 lines"},
        {"derive without a change", Arrow + "derive b arrow\n", "p.txt:6: expected 'derive NAME BASE' and at least one change"},
        {"unknown change", Arrow + "derive b arrow shrink\n", "p.txt:6: unknown change 'shrink'"},
        {"unknown turn", Arrow + "derive b arrow turn around\n", "p.txt:6: unknown change 'turn around'"},
        {"turn without a word", Arrow + "derive b arrow turn\n", "p.txt:6: 'turn' needs a word after it"},
        {"recolour without pairs", Arrow + "derive b arrow recolour\n", "p.txt:6: 'recolour' needs pairs like y=l"},
        {"recolour of an unknown character", Arrow + "derive b arrow recolour Z=k\n",
         "p.txt:6: recolour pair 'Z=k' names a character not in the legend"},
        {"frame index too large", Arrow + "frame 1000 0 0 opaque arrow\n", "p.txt:6: group '1000' is not a number from 0 to 999"},
        {"negative frame", Arrow + "frame 1 0 -1 opaque arrow\n", "p.txt:6: frame '-1' is not a number from 0 to 999"},
        {"frame mode", Arrow + "frame 1 0 0 clear arrow\n", "p.txt:6: expected 'opaque' or 'transparent', found 'clear'"},
        {"frame of nothing", "frame 1 0 0 opaque ghost\n", "p.txt:2: no drawing named 'ghost' is defined above"},
        {"missing BMP file", "bmp 1 0 0 opaque none.bmp\n", "p.txt:2: cannot read the BMP file 'none.bmp'"},
        {"BMP outside the folder", "bmp 1 0 0 opaque ../x.bmp\n", "p.txt:2: bad BMP file name '../x.bmp'"},
        {"missing picture file", "picture 1 0 0 opaque art/none.png\n",
         "p.txt:2: The picture file \"/nonexistent/art/none.png\" cannot be read."},
        {"picture outside the folder", "picture 1 0 0 opaque ../x.png\n",
         "p.txt:2: '../x.png' must be a path relative to the pictures file"},
        {"unknown statement", "paint a\n", "p.txt:2: unknown statement 'paint'"},
        {"group count missing", "group 1\n", "p.txt:2: expected 'group GROUP IMAGES'"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        PictureBook book;
        const auto r = Read(c.body, book);
        ASSERT_FALSE(r);
        EXPECT_EQ(r.Message.rfind(c.message, 0), 0u) << r.Message;
    }
}

TEST(PictureText, ABookOfMoreThanSixteenMillionPixelsIsRefused)
{
    std::string body = "draw big 1024 1024\n";
    const std::string row = std::string(1024, 'k') + "\n";
    for (int y = 0; y < 1024; ++y) body += row;
    PictureBook book;
    ASSERT_TRUE(Read(body + "turning 1 opaque big big big\n", book)); // 13 million pixels
    PictureBook more;
    const auto r = Read(body + "turning 1 opaque big big big big\n", more);
    EXPECT_EQ(r.Message, "p.txt:1027: the pictures hold more than 16777216 pixels in all");
}

TEST(PictureText, TheVersionLineIsChecked)
{
    const std::vector<std::pair<std::string, std::string>> cases = {
        {"", "p.txt: empty file; the first line must be 'brakkon-pictures 1'"},
        {"brakkon-pictures 2\n", "p.txt:1: version '2' of brakkon-pictures is not known; this tool reads version 1"},
        {"brakkon-pictures\n", "p.txt:1: the first line must be 'brakkon-pictures 1', found 'brakkon-pictures'"},
        {"draw a 1 1\nk\n", "p.txt:1: the first line must be 'brakkon-pictures 1', found 'draw a 1 1'"},
    };
    for (const auto& [text, message] : cases) {
        PictureBook book;
        const auto r = ReadPictures(TextSource::FromString("p.txt", text), "/nonexistent", book);
        EXPECT_EQ(r.Message, message);
    }
}

} // namespace
} // namespace brakkon
