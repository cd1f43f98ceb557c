// Writing PNG files through libpng's simplified writer: 8-bit RGBA,
// deflate-compressed, marked as sRGB (the colours of our drawings are meant
// as any screen shows them).
#include "content/Png.h"

#include <png.h>

namespace brakkon {

std::vector<std::uint8_t> EncodePng(std::int32_t width, std::int32_t height, const std::vector<std::uint32_t>& pixels)
{
    const auto count = static_cast<std::size_t>(width) * static_cast<std::size_t>(height);
    if (width <= 0 || height <= 0 || pixels.size() != count) return {};
    std::vector<std::uint8_t> rgba;
    rgba.reserve(4 * count);
    for (const std::uint32_t p : pixels)
        rgba.insert(rgba.end(), {static_cast<std::uint8_t>(p >> 16), static_cast<std::uint8_t>(p >> 8),
                                 static_cast<std::uint8_t>(p), static_cast<std::uint8_t>(p >> 24)});

    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    image.width = static_cast<png_uint_32>(width);
    image.height = static_cast<png_uint_32>(height);
    image.format = PNG_FORMAT_RGBA;
    // The first call measures, the second writes.
    png_alloc_size_t size = 0;
    if (png_image_write_to_memory(&image, nullptr, &size, 0, rgba.data(), 0, nullptr) == 0) return {};
    std::vector<std::uint8_t> png(size);
    if (png_image_write_to_memory(&image, png.data(), &size, 0, rgba.data(), 0, nullptr) == 0) return {};
    png.resize(size);
    return png;
}

} // namespace brakkon
