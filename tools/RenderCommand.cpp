// brakkon-data render: the content of a data file as PNG pictures for people
// to look at: the image library, every stored gate with tanks put on it, and
// the working gate of each saved game named.
#include "tools/DataCommands.h"
#include "game/GameData.h"
#include "content/PictureSheets.h"
#include "game/SavedGame.h"

#include <cstdio>

namespace brakkon {

int RunRender(const CommandArgs& args)
{
    if (args.size() < 2) {
        std::fputs("usage: brakkon-data render DATAFILE DIR [SAVEDGAME...]\n", stderr);
        return 2;
    }
    GameType game;
    if (!LoadGameDataFile(args[0], game)) return 1;
    const std::filesystem::path dir = args[1];
    std::vector<std::pair<std::filesystem::path, Drawing>> pictures;
    pictures.emplace_back(dir / "library.png", LibrarySheet(game.Images, 3));
    for (std::size_t i = 0; i < game.Gates.size(); ++i) {
        char name[32];
        std::snprintf(name, sizeof name, "gate-%02zu.png", i);
        pictures.emplace_back(dir / name, ComposeField(game.Images, *StagedGate(game, i)));
    }
    for (std::size_t i = 2; i < args.size(); ++i) {
        GateType saved;
        if (!LoadGameFile(args[i], saved)) return 1;
        const std::filesystem::path name = std::filesystem::path(args[i]).filename().string() + ".png";
        pictures.emplace_back(dir / name, ComposeField(game.Images, saved));
    }
    for (const auto& [path, picture] : pictures) {
        if (TextResult r = WritePngFile(path, picture); !r) {
            std::fprintf(stderr, "brakkon-data render: %s\n", r.Message.c_str());
            return 1;
        }
        std::printf("%s\n", path.c_str());
    }
    return 0;
}

} // namespace brakkon
