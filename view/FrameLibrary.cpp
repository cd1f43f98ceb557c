#include "view/FrameLibrary.h"

#include "game/Bmp.h"
#include "game/FileIo.h"


namespace brakkon {
namespace {

constexpr std::uint32_t White = 0xFFFFFFFFu;
constexpr std::size_t FileHeaderSize = 14;
constexpr std::size_t CoreHeaderSize = 12;

std::uint32_t ReadLe(const std::vector<std::uint8_t>& bytes, std::size_t at, std::size_t width)
{
    std::uint32_t value = 0;
    for (std::size_t i = 0; i < width; ++i) value |= static_cast<std::uint32_t>(bytes[at + i]) << (8 * i);
    return value;
}

} // namespace

bool IsMonochrome(const Bitmap& bitmap)
{
    const std::vector<std::uint8_t>& bytes = bitmap.Bytes;
    if (bytes.size() < FileHeaderSize + 16) return false;
    // The bit count follows the width and height: 16-bit fields in a core
    // header, 32-bit ones in the others.
    const std::uint32_t headerSize = ReadLe(bytes, FileHeaderSize, 4);
    const std::size_t at = FileHeaderSize + (headerSize == CoreHeaderSize ? 10 : 14);
    return ReadLe(bytes, at, 2) == 1;
}

QImage FrameImage(const Bitmap& bitmap)
{
    const auto count = static_cast<std::size_t>(bitmap.Width) * static_cast<std::size_t>(bitmap.Height);
    if (bitmap.Width <= 0 || bitmap.Height <= 0 || bitmap.Pixels.size() != count) return {};
    QImage image(bitmap.Width, bitmap.Height, bitmap.Transparent ? QImage::Format_ARGB32_Premultiplied : QImage::Format_RGB32);
    if (image.isNull()) return {};
    const std::uint32_t key = IsMonochrome(bitmap) ? White : bitmap.TransparentColour();
    for (std::int32_t y = 0; y < bitmap.Height; ++y) {
        auto* line = reinterpret_cast<std::uint32_t*>(image.scanLine(y));
        const std::uint32_t* source = bitmap.Pixels.data() + static_cast<std::size_t>(y) * static_cast<std::size_t>(bitmap.Width);
        for (std::int32_t x = 0; x < bitmap.Width; ++x) {
            const std::uint32_t pixel = source[x] | 0xFF000000u;
            line[x] = bitmap.Transparent && pixel == (key | 0xFF000000u) ? 0u : pixel;
        }
    }
    return image;
}

QImage LoadTransparentPicture(const std::filesystem::path& path)
{
    const auto bytes = ReadFileBytes(path);
    Bitmap bitmap;
    if (!bytes || !DecodeBmp(*bytes, bitmap)) return {};
    bitmap.Transparent = true;
    return FrameImage(bitmap);
}

FramePicture CutFrame(const Bitmap& bitmap)
{
    QImage image = FrameImage(bitmap);
    if (image.isNull() || image.format() != QImage::Format_ARGB32_Premultiplied) return {image, QPoint()};
    QRect visible;
    for (int y = 0; y < image.height(); ++y) {
        const auto* line = reinterpret_cast<const std::uint32_t*>(image.constScanLine(y));
        for (int x = 0; x < image.width(); ++x)
            if (line[x] != 0) visible |= QRect(x, y, 1, 1);
    }
    if (visible.isEmpty()) return {};
    return {image.copy(visible), visible.topLeft()};
}

void FrameLibrary::Rebuild(const std::vector<ImageGroup>& images)
{
    frames_.clear();
    frames_.resize(images.size());
    for (std::size_t g = 0; g < images.size(); ++g) {
        frames_[g].resize(images[g].size());
        for (std::size_t i = 0; i < images[g].size(); ++i) {
            frames_[g][i].reserve(images[g][i].size());
            for (const Bitmap& bitmap : images[g][i]) frames_[g][i].push_back(CutFrame(bitmap));
        }
    }
}

const FramePicture* FrameLibrary::Frame(std::int32_t group, std::int32_t image, std::int32_t frame) const
{
    if (group < 0 || image < 0 || frame < 0) return nullptr;
    const auto g = static_cast<std::size_t>(group), i = static_cast<std::size_t>(image), f = static_cast<std::size_t>(frame);
    if (g >= frames_.size() || i >= frames_[g].size() || f >= frames_[g][i].size()) return nullptr;
    return &frames_[g][i][f];
}

} // namespace brakkon
