// Draws what a saved game of any bytes holds, as the window draws it (the
// whole field, then the marked changes) and as brakkon-data renders it. A
// saved game the reader accepts is drawn; one it refuses is drawn from
// whatever gate stream follows its header, since the gates of "Game.dat" come
// with their cells' boxes unchecked. Every position is 32 bits from outside:
// the drawing must stay defined and on its canvas wherever they point.
#include "view/FieldCanvas.h"
#include "game/GateStream.h"
#include "content/PictureSheets.h"
#include "game/SavedGame.h"

#include <cstdlib>

using namespace brakkon;

namespace {

/// A 32 x 32 frame: a key-coloured border round a coloured square, so that a
/// transparent frame is cut to a box that lies inside the frame.
Bitmap Frame(std::uint32_t colour, bool transparent)
{
    Bitmap b;
    b.Width = FieldCellWidth;
    b.Height = FieldCellHeight;
    b.Pixels.assign(static_cast<std::size_t>(b.Width * b.Height), 0xFF00FF00u);
    for (int y = 9; y < 23; ++y)
        for (int x = 5; x < 27; ++x) b.Pixels[static_cast<std::size_t>(y * b.Width + x)] = colour;
    b.Transparent = transparent;
    return b;
}

/// Every group of the game with two frames a direction; 16 tiles, every
/// second one transparent.
GameType Library()
{
    GameType game;
    game.Images.assign(GroupCount, ImageGroup(4, ImageFrames{Frame(0xFF0000FFu, true), Frame(0xFFFF0000u, false)}));
    ImageFrames tiles;
    for (std::uint32_t code = 0; code < 16; ++code) tiles.push_back(Frame(0xFF000000u | (0x101010u * code), code % 2 == 1));
    game.Images[GroupTiles] = ImageGroup{tiles};
    return game;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static GameType game = Library();
    static FieldCanvas canvas(game);
    const std::span<const std::uint8_t> bytes(data, size);

    GateType gate;
    if (!DecodeSavedGame(bytes, gate)) {
        if (size < 8) return 0;
        ByteReader stream(bytes.subspan(8));
        if (!ReadGateFrom(stream, &gate)) return 0;
    }
    canvas.DrawField(&gate);
    canvas.PaintChanges(gate); // the marks as the file holds them
    (void)canvas.TakeChangedRegion();
    if (canvas.Image().size() != QSize(CanvasWidth, CanvasHeight)) std::abort();

    const Drawing picture = ComposeField(game.Images, gate);
    if (picture.Pixels.size() != static_cast<std::size_t>(picture.Width) * static_cast<std::size_t>(picture.Height))
        std::abort();
    return 0;
}
