// Fuzzes the BMP reader: measuring and decoding arbitrary bytes must never
// read outside them, and whatever decodes must keep the codec's promises:
// one pixel per position, Bytes equal to the measured image, and our own
// encoding of the pixels decoding to the same pixels.
#include "game/Bmp.h"

#include <algorithm>
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
    const std::span<const std::uint8_t> input(data, size);
    const auto length = MeasureBmp(input);
    Bitmap whole;
    const bool decodedWhole = DecodeBmp(input, whole);
    Require(decodedWhole == length.has_value());
    if (!length) return 0;
    Require(*length <= size);

    const auto image = input.first(*length);
    Bitmap bitmap;
    bitmap.Transparent = true;
    Require(DecodeBmp(image, bitmap));
    // Anything after the image changes nothing.
    Require(bitmap.Width == whole.Width && bitmap.Height == whole.Height && bitmap.Pixels == whole.Pixels &&
            bitmap.Bytes == whole.Bytes);
    Require(bitmap.Transparent);
    Require(bitmap.Width > 0 && bitmap.Height > 0);
    Require(bitmap.Pixels.size() == static_cast<std::size_t>(bitmap.Width) * static_cast<std::size_t>(bitmap.Height));
    Require(bitmap.Bytes.size() == image.size() && std::equal(image.begin(), image.end(), bitmap.Bytes.begin()));
    for (const std::uint32_t p : bitmap.Pixels) Require((p >> 24) == 0xFF);

    const auto encoded = EncodeBmp(bitmap.Width, bitmap.Height, bitmap.Pixels);
    Require(MeasureBmp(encoded) == encoded.size());
    Bitmap again;
    Require(DecodeBmp(encoded, again));
    Require(again.Width == bitmap.Width && again.Height == bitmap.Height && again.Pixels == bitmap.Pixels);
    return 0;
}
