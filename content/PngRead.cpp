// Reading PNG pictures for the content tools, through libpng's simplified
// reader: any PNG (palette, grey, 16 bits, interlaced) comes out as 8-bit
// RGBA. The size is checked against the picture bounds before the pixels are
// decoded, so a small file cannot ask for a huge buffer.
#include "game/Bmp.h"
#include "content/Png.h"

#include <png.h>

#include <new>

namespace brakkon {

PictureResult DecodePng(std::span<const std::uint8_t> bytes)
{
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    const auto damaged = [&image] {
        PictureResult r{std::nullopt, std::string("it is a damaged PNG picture (") + image.message + ")"};
        png_image_free(&image);
        return r;
    };
    if (png_image_begin_read_from_memory(&image, bytes.data(), bytes.size()) == 0) return damaged();
    const std::int64_t width = image.width;
    const std::int64_t height = image.height;
    if (std::string problem = PictureSizeProblem(width, height); !problem.empty()) {
        png_image_free(&image);
        return {std::nullopt, std::move(problem)};
    }
    image.format = PNG_FORMAT_RGBA;
    std::vector<std::uint8_t> rgba;
    try {
        rgba.resize(PNG_IMAGE_SIZE(image));
    } catch (const std::bad_alloc&) {
        png_image_free(&image);
        return {std::nullopt, "there is not enough memory for it"};
    }
    if (png_image_finish_read(&image, nullptr, rgba.data(), 0, nullptr) == 0) return damaged();

    Picture picture;
    picture.Width = static_cast<std::int32_t>(width);
    picture.Height = static_cast<std::int32_t>(height);
    picture.Pixels.resize(static_cast<std::size_t>(width * height));
    for (std::size_t i = 0; i < picture.Pixels.size(); ++i) {
        const std::uint8_t* p = rgba.data() + 4 * i;
        picture.Pixels[i] = (static_cast<std::uint32_t>(p[3]) << 24) | (static_cast<std::uint32_t>(p[0]) << 16) |
                            (static_cast<std::uint32_t>(p[1]) << 8) | p[2];
    }
    return {std::move(picture), {}};
}

} // namespace brakkon
