// brakkon-data draw: one drawing of a source folder as a BMP or PNG file
// (the status-line icons beside the executable, the desktop icons); a PNG
// may be scaled to a width, its height in proportion.
#include "game/Bmp.h"
#include "content/ContentSources.h"
#include "tools/DataCommands.h"
#include "game/FileIo.h"
#include "content/Png.h"
#include "content/TextSource.h"

#include <algorithm>
#include <cstdio>

namespace brakkon {

int RunDraw(const CommandArgs& allArgs)
{
    const auto endsWith = [](const std::string& s, std::string_view tail) {
        return s.size() >= tail.size() && s.compare(s.size() - tail.size(), tail.size(), tail) == 0;
    };
    // "--size N" may stand anywhere; the rest are the three names.
    CommandArgs args;
    std::int32_t size = 0;
    bool badSize = false;
    for (std::size_t i = 0; i < allArgs.size(); ++i) {
        if (allArgs[i] != "--size") {
            args.push_back(allArgs[i]);
            continue;
        }
        badSize = badSize || size != 0 || i + 1 == allArgs.size() || !ParseInt(allArgs[++i], size) || size < 1 ||
                  size > MaxDrawingSide;
    }
    const bool png = args.size() == 3 && endsWith(args[2], ".png");
    if (badSize || args.size() != 3 || !(png || endsWith(args[2], ".bmp")) || (size != 0 && !png)) {
        std::fputs("usage: brakkon-data draw SRCDIR NAME OUT.bmp|OUT.png [--size WIDTH (PNG only)]\n", stderr);
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
    if (!png) {
        bytes = EncodeBmp(d.Width, d.Height, d.Pixels);
    } else {
        // In a PNG the key colour becomes see-through, before any scaling so
        // that it never tints an edge.
        Drawing clear = d;
        for (auto& p : clear.Pixels)
            if (p == KeyColour) p = 0x00000000;
        if (size != 0) {
            const auto height = static_cast<std::int32_t>(std::int64_t{d.Height} * size / std::max(1, d.Width));
            clear = Scaled(clear, size, std::max(1, height));
        }
        bytes = EncodePng(clear.Width, clear.Height, clear.Pixels);
    }
    if (bytes.empty() || !WriteFileAtomically(args[2], bytes)) {
        std::fprintf(stderr, "brakkon-data draw: cannot write '%s'\n", args[2].c_str());
        return 1;
    }
    return 0;
}

} // namespace brakkon
