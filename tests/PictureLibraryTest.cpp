// From pictures files to the image library and back: complete libraries,
// gaps and doubles named, and unpack's files giving back every frame's bytes.
#include "game/Bmp.h"
#include "tests/BmpTestWriter.h"
#include "content/ContentSources.h"
#include "game/FileIo.h"
#include "game/GameData.h"
#include "content/PictureText.h"
#include "content/Png.h"
#include "tests/TestSupport.h"
#include "tests/TempFolder.h"

#include <gtest/gtest.h>

namespace brakkon {
namespace {

namespace fs = std::filesystem;

using test::TempFolder;

TextResult Build(const std::string& body, std::vector<ImageGroup>& images)
{
    PictureBook book;
    if (TextResult r = ReadPictures(TextSource::FromString("p.txt", "brakkon-pictures 1\n" + body), "/nonexistent", book);
        !r)
        return r;
    return BuildLibrary(book, images);
}

const std::string Dots = "draw dot 1 1\nr\ndraw two 2 1\nkw\n";

TEST(PictureLibrary, PlacedFramesMakeTheLibraryWithTheirBytesAndTransparency)
{
    std::vector<ImageGroup> images;
    const auto r = Build(Dots + "frame 0 0 0 opaque two\nframe 0 0 1 transparent dot\nframe 1 1 0 opaque dot\n"
                                "frame 1 0 0 opaque two\n",
                         images);
    ASSERT_TRUE(r) << r.Message;
    ASSERT_EQ(images.size(), 2u);
    ASSERT_EQ(images[0].size(), 1u);
    ASSERT_EQ(images[0][0].size(), 2u);
    ASSERT_EQ(images[1].size(), 2u);
    const Bitmap& two = images[0][0][0];
    EXPECT_FALSE(two.Transparent);
    EXPECT_EQ(two.Bytes, EncodeBmp(2, 1, {0xFF000000, 0xFFFFFFFF}));
    EXPECT_EQ(two.Pixels, (std::vector<std::uint32_t>{0xFF000000, 0xFFFFFFFF}));
    EXPECT_TRUE(images[0][0][1].Transparent);
    EXPECT_EQ(images[1][1][0].Pixels, (std::vector<std::uint32_t>{0xFFFF0000}));
}

TEST(PictureLibrary, DeclaredCountsStateEmptyGroupsAndImages)
{
    std::vector<ImageGroup> images;
    const auto r = Build(Dots + "frame 0 0 0 opaque dot\ngroup 1 3\nimage 1 1 1\nframe 1 1 0 opaque dot\ngroup 2 0\n"
                                "image 1 0 0\nimage 1 2 0\n",
                         images);
    ASSERT_TRUE(r) << r.Message;
    ASSERT_EQ(images.size(), 3u);
    ASSERT_EQ(images[1].size(), 3u);
    EXPECT_TRUE(images[1][0].empty());
    EXPECT_EQ(images[1][1].size(), 1u);
    EXPECT_TRUE(images[1][2].empty());
    EXPECT_TRUE(images[2].empty());
}

struct BadLibrary {
    const char* name;
    std::string body;
    const char* message;
};

TEST(PictureLibrary, GapsDoublesAndWrongCountsAreNamed)
{
    const std::vector<BadLibrary> cases = {
        {"a frame missing", Dots + "frame 0 0 0 opaque dot\nframe 0 0 2 opaque dot\n",
         "the image library: group 0 image 0 frame 1 has no picture"},
        {"an image missing", Dots + "frame 0 1 0 opaque dot\n", "the image library: group 0 image 0 is neither placed nor declared"},
        {"a group missing", Dots + "frame 0 0 0 opaque dot\nframe 2 0 0 opaque dot\n",
         "the image library: group 1 is neither placed nor declared"},
        {"a frame placed twice", Dots + "frame 0 0 0 opaque dot\ntile 0 opaque two\n",
         "p.txt:7: group 0 image 0 frame 0 is already placed at p.txt:6"},
        {"turning over a frame", Dots + "frame 3 2 1 opaque dot\nturning 3 transparent dot dot\n",
         "p.txt:7: group 3 image 2 frame 1 is already placed at p.txt:6"},
        {"fewer images declared than used", Dots + "group 0 1\nframe 0 1 0 opaque dot\n",
         "p.txt:6: group 0 is declared with 1 images, but image 1 is used"},
        {"fewer frames declared than placed", Dots + "image 0 0 1\nframe 0 0 0 opaque dot\nframe 0 0 1 opaque dot\n",
         "p.txt:6: group 0 image 0 is declared with 1 frames, but frame 1 is placed"},
        {"two declarations disagree", Dots + "group 0 1\ngroup 0 2\n", "p.txt:7: group 0 was declared with 1 at p.txt:6"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        std::vector<ImageGroup> images(1);
        const auto r = Build(c.body, images);
        ASSERT_FALSE(r);
        EXPECT_EQ(r.Message, c.message);
        EXPECT_EQ(images.size(), 1u); // left as it was
    }
}

Bitmap FramePixels(std::int32_t w, std::int32_t h, std::vector<std::uint32_t> pixels, bool transparent)
{
    return MakeBitmap(w, h, std::move(pixels), transparent);
}

// A library that needs every way of writing a frame.
std::vector<ImageGroup> AwkwardLibrary()
{
    std::vector<ImageGroup> images(4);
    // Standard colours, the key among them.
    images[0].push_back({FramePixels(3, 2, {0xFFFF00FF, 0xFF000000, 0xFFFFFFFF, 0xFF808000, 0xFF00FFFF, 0xFFFF00FF}, true)});
    // Colours of our own, in two frames that share some and differ in others.
    images[1].push_back({FramePixels(2, 2, {0xFF123456, 0xFF123457, 0xFF000000, 0xFF123456}, false),
                         FramePixels(2, 1, {0xFF123457, 0xFFABCDEF}, true)});
    // More colours than a legend has characters: kept as a BMP file.
    std::vector<std::uint32_t> many(120);
    for (std::size_t i = 0; i < many.size(); ++i) many[i] = 0xFF000000u | static_cast<std::uint32_t>(i * 0x010203u + 7);
    images[1].push_back({FramePixels(12, 10, many, false)});
    images[1].push_back({}); // an empty image
    // A BMP our encoder would not write (5-6-5 bit fields, top row first).
    test::TestBmp foreign;
    foreign.bpp = 16;
    foreign.width = 3;
    foreign.height = -2;
    foreign.compression = 3;
    foreign.masks = {0xF800, 0x07E0, 0x001F};
    foreign.raw = {0xF800, 0x07E0, 0x001F, 0x8410, 0x0821, 0xFFFF};
    Bitmap frame;
    EXPECT_TRUE(DecodeBmp(test::WriteTestBmp(foreign), frame));
    frame.Transparent = true;
    images[2].push_back({frame});
    // images[3]: an empty group.
    return images;
}

TEST(PictureLibrary, UnpackedPicturesFilesGiveBackEveryFrameByteForByte)
{
    const TempFolder folder;
    const auto images = AwkwardLibrary();
    std::vector<std::string> files;
    const auto w = WritePictures(images, folder.path, files);
    ASSERT_TRUE(w) << w.Message;
    ASSERT_EQ(files, (std::vector<std::string>{"group-00.txt", "group-01.txt", "group-02.txt", "group-03.txt"}));
    EXPECT_TRUE(fs::exists(folder.path / "g01-i1-f0.bmp")); // too many colours
    EXPECT_TRUE(fs::exists(folder.path / "g02-i0-f0.bmp")); // foreign bytes
    EXPECT_FALSE(fs::exists(folder.path / "g01-i0-f0.bmp"));

    PictureBook book;
    for (const auto& name : files) {
        TextSource source;
        ASSERT_TRUE(TextSource::Load(folder.path / name, name, source));
        const auto r = ReadPictures(source, folder.path, book);
        ASSERT_TRUE(r) << r.Message;
    }
    std::vector<ImageGroup> back;
    const auto r = BuildLibrary(book, back);
    ASSERT_TRUE(r) << r.Message;
    ASSERT_EQ(back.size(), images.size());
    for (std::size_t g = 0; g < images.size(); ++g) {
        ASSERT_EQ(back[g].size(), images[g].size()) << g;
        for (std::size_t i = 0; i < images[g].size(); ++i) {
            ASSERT_EQ(back[g][i].size(), images[g][i].size());
            for (std::size_t f = 0; f < images[g][i].size(); ++f) {
                SCOPED_TRACE(FrameName(g, i, f));
                EXPECT_EQ(back[g][i][f].Bytes, images[g][i][f].Bytes);
                EXPECT_EQ(back[g][i][f].Transparent, images[g][i][f].Transparent);
            }
        }
    }
}

TEST(PictureLibrary, PictureLinesMakeFramesOfPngAndBmpFilesThatUnpackAndPackAgain)
{
    const TempFolder folder;
    constexpr std::uint32_t Clear = 0x00123456, Red = 0xFFFF0000, Odd = 0xFF123456;
    fs::create_directories(folder / "art");
    ASSERT_TRUE(WriteFileAtomically(folder / "art" / "sprite.png", EncodePng(2, 2, {Clear, Red, Clear, Red})));
    ASSERT_TRUE(WriteFileAtomically(folder / "tile.bmp", EncodeBmp(2, 1, {Odd, Red})));
    PictureBook book;
    const auto text = "brakkon-pictures 1\npicture 0 0 0 transparent art/sprite.png\npicture 0 0 1 opaque tile.bmp\n";
    const auto r = ReadPictures(TextSource::FromString("p.txt", text), folder.path, book);
    ASSERT_TRUE(r) << r.Message;
    std::vector<ImageGroup> images;
    ASSERT_TRUE(BuildLibrary(book, images));
    ASSERT_EQ(images.size(), 1u);
    ASSERT_EQ(images[0][0].size(), 2u);
    const Bitmap& sprite = images[0][0][0];
    EXPECT_TRUE(sprite.Transparent);
    EXPECT_EQ(sprite.Pixels, (std::vector<std::uint32_t>{0xFFFF00FF, Red, 0xFFFF00FF, Red}));
    EXPECT_EQ(sprite.Bytes, EncodeFrameBmp(2, 2, sprite.Pixels)); // 4 bits, standard colours
    const Bitmap& tile = images[0][0][1];
    EXPECT_FALSE(tile.Transparent);
    EXPECT_EQ(tile.Bytes, EncodeFrameBmp(2, 1, {Odd, Red})); // 24 bits

    const TempFolder unpacked;
    std::vector<std::string> files;
    ASSERT_TRUE(WritePictures(images, unpacked.path, files));
    PictureBook back;
    TextSource source;
    ASSERT_TRUE(TextSource::Load(unpacked / files.at(0), files[0], source));
    ASSERT_TRUE(ReadPictures(source, unpacked.path, back));
    std::vector<ImageGroup> again;
    ASSERT_TRUE(BuildLibrary(back, again));
    EXPECT_EQ(again, images);
}

TEST(ContentSources, AWrittenFolderPacksToTheSameBytes)
{
    const TempFolder folder;
    GameType game;
    game.Images = AwkwardLibrary();
    game.Gates.push_back(test::MakeGate(1, 2, 3, 4, 10, 1));
    game.Gates.push_back(test::MakeGate(0, 0, 0, 0, 0, -1));
    game.Gates[1]->Cells[4][5]->Dirty = 0;
    std::vector<std::uint8_t> expected;
    ASSERT_TRUE(EncodeGameDataFile(game, expected));

    const auto w = WriteContentSources(game, folder.path / "src");
    ASSERT_TRUE(w) << w.Message;
    GameType back;
    const auto r = ReadContentSources(folder.path / "src", back);
    ASSERT_TRUE(r) << r.Message;
    std::vector<std::uint8_t> bytes;
    ASSERT_TRUE(EncodeGameDataFile(back, bytes));
    EXPECT_EQ(bytes, expected);
}

struct BadList {
    const char* name;
    std::string text;
    const char* message; ///< after "FOLDER/Game.txt"
};

TEST(ContentSources, TheListFileIsCheckedLineByLine)
{
    const std::vector<BadList> cases = {
        {"wrong kind", "brakkon-gate 1\n", ":1: the first line must be 'brakkon-game 1', found 'brakkon-gate 1'"},
        {"no field line", "brakkon-game 1\n", ": no 'field' line"},
        {"another field size", "brakkon-game 1\nfield 20 14 32 32\n",
         ":2: the game plays on a field of 19 x 14 cells of 32 x 32 pixels: 'field 19 14 32 32'"},
        {"field twice", "brakkon-game 1\nfield 19 14 32 32\nfield 19 14 32 32\n", ":3: 'field' is given twice"},
        {"a path outside", "brakkon-game 1\nfield 19 14 32 32\ngate ../gate.txt\n",
         ":3: '../gate.txt' must be a relative path inside the folder"},
        {"an absolute path", "brakkon-game 1\nfield 19 14 32 32\npictures /etc/passwd\n",
         ":3: '/etc/passwd' must be a relative path inside the folder"},
        {"unknown statement", "brakkon-game 1\nfield 19 14 32 32\nsound boom.wav\n",
         ":3: unknown statement 'sound' (field, pictures, gate)"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const TempFolder folder;
        ASSERT_TRUE(WriteTextFile(folder.path / "Game.txt", c.text));
        GameType game;
        const auto r = ReadContentSources(folder.path, game);
        EXPECT_EQ(r.Message, (folder.path / "Game.txt").string() + c.message);
        EXPECT_TRUE(game.Gates.empty());
    }
    const TempFolder folder;
    ASSERT_TRUE(WriteTextFile(folder.path / "Game.txt", "brakkon-game 1\nfield 19 14 32 32\ngate gates/none.txt\n"));
    GameType game;
    EXPECT_EQ(ReadContentSources(folder.path, game).Message, (folder.path / "gates/none.txt").string() + ": cannot open the file");
    GameType empty;
    EXPECT_EQ(ReadContentSources(folder.path / "missing", empty).Message,
              (folder.path / "missing" / "Game.txt").string() + ": cannot open the file");
}

TEST(TextSource, ControlBytesAndLineEndsAreHandled)
{
    const TempFolder folder;
    ASSERT_TRUE(WriteTextFile(folder.path / "crlf.txt", "brakkon-game 1\r\nfield  19\t14 32 32   \r\n"));
    TextSource source;
    ASSERT_TRUE(TextSource::Load(folder.path / "crlf.txt", "crlf.txt", source));
    ASSERT_EQ(source.LineCount(), 2u);
    EXPECT_EQ(source.Line(1), "field  19\t14 32 32");
    EXPECT_EQ(SplitWords(source.Line(1)), (std::vector<std::string_view>{"field", "19", "14", "32", "32"}));

    ASSERT_TRUE(WriteTextFile(folder.path / "nul.txt", std::string("a\nb\0c\n", 6)));
    EXPECT_EQ(TextSource::Load(folder.path / "nul.txt", "nul.txt", source).Message, "nul.txt:2: a control byte in a text file");
    fs::create_directory(folder.path / "dir");
    EXPECT_EQ(TextSource::Load(folder.path / "dir", "dir", source).Message, "dir: not a regular file");
}

TEST(TextSource, NumbersAreWholeAndInRange)
{
    const std::vector<std::pair<std::string_view, bool>> cases = {
        {"0", true},  {"-1", true},  {"2147483647", true}, {"-2147483648", true}, {"2147483648", false},
        {"", false},  {"-", false},  {"+1", false},        {"1.0", false},        {"0x10", false},
        {" 1", false}, {"1e3", false},
    };
    for (const auto& [word, ok] : cases) {
        std::int32_t value = 42;
        EXPECT_EQ(ParseInt(word, value), ok) << Quoted(word);
        if (!ok) {
            EXPECT_EQ(value, 42);
        }
    }
}

} // namespace
} // namespace brakkon
