// brakkon-data: inspects and converts the game's data files with the game's
// own readers and writers.
#include "tools/DataCommands.h"

#include <cstdio>
#include <cstring>
#include <string_view>

namespace {

struct Command {
    std::string_view Name;
    int (*Run)(const brakkon::CommandArgs&);
    std::string_view Usage;
};

constexpr Command Commands[] = {
    {"info", brakkon::RunInfo, "info FILE [--json [--brief]]   describe a data file or a saved game"},
    {"resave", brakkon::RunResave, "resave IN OUT                  load IN and write it to OUT, same kind"},
    {"pack", brakkon::RunPack, "pack SRCDIR OUT                text sources (SRCDIR/Game.txt) to a data file"},
    {"unpack", brakkon::RunUnpack, "unpack FILE DIR                a data file to text sources that pack back"},
    {"draw", brakkon::RunDraw, "draw SRCDIR NAME OUT           one drawing of the sources as .bmp or .png,\n"
                               "                    [--size W]                a PNG scaled to W pixels wide"},
    {"render", brakkon::RunRender, "render FILE DIR [SAVEDGAME...] the library, every gate and saved games as .png"},
};

int Usage()
{
    std::fputs("usage: brakkon-data COMMAND ARGS...\n", stderr);
    for (const auto& c : Commands)
        std::fprintf(stderr, "  brakkon-data %.*s\n", static_cast<int>(c.Usage.size()), c.Usage.data());
    return 2;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc < 2) return Usage();
    const std::string_view name = argv[1];
    for (const auto& c : Commands)
        if (c.Name == name) return c.Run(brakkon::CommandArgs(argv + 2, argv + argc));
    if (name == "--help" || name == "-h") {
        Usage();
        return 0;
    }
    std::fprintf(stderr, "brakkon-data: unknown command '%s'\n", argv[1]);
    return Usage();
}
