#include "platform/PictureFiles.h"

#include "game/Bmp.h"

#include <QBuffer>
#include <QByteArray>
#include <QImage>
#include <QImageReader>

namespace brakkon {

PictureResult DecodePngWithQt(std::span<const std::uint8_t> bytes)
{
    QByteArray data = QByteArray::fromRawData(reinterpret_cast<const char*>(bytes.data()),
                                              static_cast<qsizetype>(bytes.size()));
    QBuffer buffer(&data);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer, "png");
    const auto damaged = [&reader] {
        return PictureResult{std::nullopt, "it is a damaged PNG picture (" + reader.errorString().toStdString() + ")"};
    };
    const QSize size = reader.size(); // from the header, before any pixel is decoded
    if (!size.isValid()) return damaged();
    const std::int64_t width = size.width();
    const std::int64_t height = size.height();
    if (width > MaxBmpSide || height > MaxBmpSide || width * height > MaxBmpPixels)
        return {std::nullopt, "it is " + std::to_string(width) + " x " + std::to_string(height) + " pixels; at most " +
                                  std::to_string(MaxBmpSide) + " on a side and " + std::to_string(MaxBmpPixels) +
                                  " in all are read"};
    QImage image;
    if (!reader.read(&image)) return damaged();
    image = image.convertToFormat(QImage::Format_ARGB32); // 0xAARRGGBB, not premultiplied
    if (image.isNull()) return {std::nullopt, "there is not enough memory for it"};

    Picture picture;
    picture.Width = image.width();
    picture.Height = image.height();
    picture.Pixels.reserve(static_cast<std::size_t>(picture.Width) * static_cast<std::size_t>(picture.Height));
    for (int y = 0; y < image.height(); ++y) {
        const auto* line = reinterpret_cast<const QRgb*>(image.constScanLine(y));
        picture.Pixels.insert(picture.Pixels.end(), line, line + image.width());
    }
    return {std::move(picture), {}};
}

LoadedFrame LoadPictureFile(const std::filesystem::path& path)
{
    return ReadPictureFrame(path, DecodePngWithQt);
}

} // namespace brakkon
