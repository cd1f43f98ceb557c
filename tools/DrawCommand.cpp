// brakkon-data draw: one drawing of a source folder as a BMP or PNG file
// (the status-line icons beside the executable, the desktop icon).
#include "Bmp.h"
#include "ContentSources.h"
#include "DataCommands.h"
#include "FileIo.h"
#include "Png.h"

#include <cstdio>

namespace brakkon {

int RunDraw(const CommandArgs& args)
{
    const auto endsWith = [](const std::string& s, std::string_view tail) {
        return s.size() >= tail.size() && s.compare(s.size() - tail.size(), tail.size(), tail) == 0;
    };
    if (args.size() != 3 || !(endsWith(args[2], ".bmp") || endsWith(args[2], ".png"))) {
        std::fputs("usage: brakkon-data draw SRCDIR NAME OUT.bmp|OUT.png\n", stderr);
        return 2;
    }
    PictureBook book;
    if (TextResult r = ReadPictureSources(args[0], book); !r) {
        std::fprintf(stderr, "brakkon-data draw: %s\n", r.Message.c_str());
        return 1;
    }
    const auto it = book.Drawings.find(args[1]);
    if (it == book.Drawings.end()) {
        std::fprintf(stderr, "brakkon-data draw: no drawing named '%s'\n", args[1].c_str());
        return 1;
    }
    const Drawing& d = it->second;
    std::vector<std::uint8_t> bytes;
    if (endsWith(args[2], ".bmp")) {
        bytes = EncodeBmp(d.Width, d.Height, d.Pixels);
    } else {
        // In a PNG the key colour becomes see-through.
        std::vector<std::uint32_t> pixels = d.Pixels;
        for (auto& p : pixels)
            if (p == KeyColour) p = 0x00000000;
        bytes = EncodePng(d.Width, d.Height, pixels);
    }
    if (bytes.empty() || !WriteFileAtomically(args[2], bytes)) {
        std::fprintf(stderr, "brakkon-data draw: cannot write '%s'\n", args[2].c_str());
        return 1;
    }
    return 0;
}

} // namespace brakkon
