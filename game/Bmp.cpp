// Placeholder until the codec lands: refuses every image.
#include "Bmp.h"

namespace brakkon {

std::optional<std::size_t> MeasureBmp(std::span<const std::uint8_t>) { return std::nullopt; }
bool DecodeBmp(std::span<const std::uint8_t>, Bitmap&) { return false; }
std::vector<std::uint8_t> EncodeBmp(std::int32_t, std::int32_t, const std::vector<std::uint32_t>&) { return {}; }
Bitmap MakeBitmap(std::int32_t width, std::int32_t height, std::vector<std::uint32_t> pixels, bool transparent)
{
    Bitmap b;
    b.Width = width;
    b.Height = height;
    b.Pixels = std::move(pixels);
    b.Transparent = transparent;
    return b;
}

} // namespace brakkon
