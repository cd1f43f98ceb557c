#include "PictureFile.h"

#include "Bmp.h"
#include "FileIo.h"

namespace brakkon {

PictureFrame LoadPictureFrame(const std::filesystem::path& path)
{
    const std::string name = path.string();
    const auto bytes = ReadFileBytes(path);
    if (!bytes) return {std::nullopt, "The picture file \"" + name + "\" cannot be read."};
    Bitmap frame;
    if (!DecodeBmp(*bytes, frame))
        return {std::nullopt, "\"" + name + "\" is not an uncompressed BMP picture that can be loaded."};
    frame.Transparent = true;
    return {std::move(frame), {}};
}

} // namespace brakkon
