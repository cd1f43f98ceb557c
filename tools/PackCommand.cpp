// brakkon-data pack and unpack: between a folder of text sources and
// "Game.dat", through the game's own writer and reader.
#include "content/ContentSources.h"
#include "tools/DataCommands.h"
#include "game/GameData.h"

#include <cstdio>

namespace brakkon {

int RunPack(const CommandArgs& args)
{
    if (args.size() != 2) {
        std::fputs("usage: brakkon-data pack SRCDIR OUT\n", stderr);
        return 2;
    }
    GameType game;
    if (TextResult r = ReadContentSources(args[0], game); !r) {
        std::fprintf(stderr, "brakkon-data pack: %s\n", r.Message.c_str());
        return 1;
    }
    return SaveGameDataFile(args[1], game) ? 0 : 1;
}

int RunUnpack(const CommandArgs& args)
{
    if (args.size() != 2) {
        std::fputs("usage: brakkon-data unpack FILE DIR\n", stderr);
        return 2;
    }
    GameType game;
    if (!LoadGameDataFile(args[0], game)) return 1;
    if (TextResult r = WriteContentSources(game, args[1]); !r) {
        std::fprintf(stderr, "brakkon-data unpack: %s\n", r.Message.c_str());
        return 1;
    }
    return 0;
}

} // namespace brakkon
