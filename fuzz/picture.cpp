// Fuzzes the picture reader of the Game Editor and the content tools (BMP in
// every form, PNG through libpng): arbitrary bytes must never be read outside
// them, and whatever decodes must become a frame that the reader of
// "Game.dat" gives back pixel for pixel, of 4 or 24 bits, in which every
// fully transparent pixel shows the key colour and every other its own.
#include "game/Bmp.h"
#include "game/PictureImport.h"
#include "content/Png.h"

#include <cstdint>
#include <cstdlib>
#include <span>

namespace {

void Require(bool condition)
{
    if (!condition) std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    using namespace brakkon;
    const PictureResult read = DecodePicture(std::span<const std::uint8_t>(data, size), DecodePng);
    Require(read.Decoded.has_value() == read.Problem.empty());
    if (!read.Decoded) return 0;
    const Picture& picture = *read.Decoded;
    Require(picture.Width > 0 && picture.Height > 0);
    Require(picture.Pixels.size() ==
            static_cast<std::size_t>(picture.Width) * static_cast<std::size_t>(picture.Height));

    const Bitmap frame = FrameFromPicture(picture);
    Require(frame.Transparent && frame.Bytes.size() > 30);
    Require(frame.Bytes[14] == 40 && (frame.Bytes[28] == 4 || frame.Bytes[28] == 24));
    Bitmap stored;
    Require(DecodeBmp(frame.Bytes, stored));
    Require(stored.Width == picture.Width && stored.Height == picture.Height && stored.Pixels == frame.Pixels);
    const std::uint32_t key = frame.TransparentColour();
    for (std::size_t i = 0; i < picture.Pixels.size(); ++i) {
        const std::uint32_t p = picture.Pixels[i];
        Require(frame.Pixels[i] == ((p >> 24) == 0 ? key : (p | 0xFF000000u)));
    }
    return 0;
}
