// Fuzzes the pictures file reader and the library built from it: damage is
// refused with a message naming the file, and an accepted library's frames
// are written as pictures files that read back to the same bytes.
#include "content/PictureText.h"

#include <cstdlib>
#include <filesystem>
#include <string_view>
#include <unistd.h>

using namespace brakkon;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    PictureBook book;
    const TextResult read = ReadPictures(TextSource::FromString("p.txt", text), "/nonexistent", book);
    if (!read) {
        if (read.Message.rfind("p.txt", 0) != 0) std::abort();
        return 0;
    }
    std::vector<ImageGroup> images;
    if (!BuildLibrary(book, images)) return 0;

    static const std::filesystem::path folder = [] {
        std::string pattern = (std::filesystem::temp_directory_path() / "fuzz-pictures-XXXXXX").string();
        return std::filesystem::path(::mkdtemp(pattern.data()));
    }();
    std::vector<std::string> files;
    if (!WritePictures(images, folder, files)) std::abort();
    PictureBook back;
    for (const auto& name : files) {
        TextSource source;
        if (!TextSource::Load(folder / name, name, source) || !ReadPictures(source, folder, back)) std::abort();
    }
    std::vector<ImageGroup> again;
    if (!BuildLibrary(back, again) || again.size() != images.size()) std::abort();
    for (std::size_t g = 0; g < images.size(); ++g) {
        if (again[g].size() != images[g].size()) std::abort();
        for (std::size_t i = 0; i < images[g].size(); ++i) {
            if (again[g][i].size() != images[g][i].size()) std::abort();
            for (std::size_t f = 0; f < images[g][i].size(); ++f)
                if (again[g][i][f].Bytes != images[g][i][f].Bytes ||
                    again[g][i][f].Transparent != images[g][i][f].Transparent)
                    std::abort();
        }
    }
    return 0;
}
