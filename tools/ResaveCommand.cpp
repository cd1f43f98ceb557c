// brakkon-data resave: loads a file with the game's loader and writes it
// again with the game's writer, keeping its kind.
#include "tools/DataCommands.h"
#include "game/GameData.h"
#include "game/SavedGame.h"

#include <cstdio>

namespace brakkon {

int RunResave(const CommandArgs& args)
{
    if (args.size() != 2) {
        std::fputs("usage: brakkon-data resave IN OUT\n", stderr);
        return 2;
    }
    AnyGameFile file;
    if (!Reported(LoadAnyGameFile(args[0], file))) return 1;
    const bool saved = file.FileKind == AnyGameFile::Kind::SavedGame ? SaveGameFile(args[1], *file.Game.Gate)
                                                                      : SaveGameDataFile(args[1], file.Game);
    return saved ? 0 : 1;
}

} // namespace brakkon
