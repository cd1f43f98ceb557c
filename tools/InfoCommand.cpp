// brakkon-data info: a summary of a data file or a saved game.
#include "tools/DataCommands.h"
#include "game/ByteStream.h"
#include "game/FileIo.h"
#include "game/GameData.h"
#include "content/GateJson.h"
#include "game/RecordFields.h"
#include "game/SavedGame.h"

#include <cstdio>

namespace brakkon {
namespace {

void PrintGateSummary(const GateType& g)
{
    // The running totals on one line, the gate's own figures on the next.
    const auto header = GateHeaderFields();
    for (std::size_t i = 0; i < header.size(); ++i) {
        std::printf("  %.*s %d", static_cast<int>(header[i].Name.size()), header[i].Name.data(), header[i].Get(g));
        if (i + 1 == GateRunningFieldCount || i + 1 == header.size()) std::printf("\n");
    }
    std::size_t cells = 0;
    for (const auto& column : g.Cells) cells += column.size();
    std::printf("  %zu sprites, %zu columns, %zu cells\n", g.Sprites.size(), g.Cells.size(), cells);
}

void PrintSummary(const AnyGameFile& file)
{
    const GameType& game = file.Game;
    if (file.FileKind == AnyGameFile::Kind::SavedGame) {
        std::printf("saved game\n");
        PrintGateSummary(*game.Gate);
        return;
    }
    std::printf("game data: field %d x %d cells of %d x %d pixels\n", game.Cols, game.Rows, game.CellWidth,
                game.CellHeight);
    std::printf("%zu gates\n", game.Gates.size());
    for (std::size_t i = 0; i < game.Gates.size(); ++i) {
        std::printf("gate %zu\n", i);
        PrintGateSummary(*game.Gates[i]);
    }
    std::printf("%zu image groups\n", game.Images.size());
    for (std::size_t g = 0; g < game.Images.size(); ++g) {
        std::printf("  group %zu:", g);
        for (const auto& image : game.Images[g]) std::printf(" %zu", image.size());
        std::printf(" frames\n");
    }
}

std::string InfoJson(const AnyGameFile& file, bool brief)
{
    const GameType& game = file.Game;
    JsonWriter j;
    j.BeginObject();
    if (file.FileKind == AnyGameFile::Kind::SavedGame) {
        j.Key("kind").String("savedgame");
        j.Key("Gate");
        WriteGateJson(j, *game.Gate);
    } else {
        j.Key("kind").String("gamedata");
        j.Member("Cols", game.Cols).Member("Rows", game.Rows);
        j.Member("CellWidth", game.CellWidth).Member("CellHeight", game.CellHeight);
        j.Key("Gates").BeginArray();
        for (const auto& gate : game.Gates) WriteGateJson(j, *gate, brief);
        j.EndArray();
        j.Key("Images");
        WriteImageCountsJson(j, game.Images);
    }
    j.EndObject();
    return j.Text();
}

} // namespace

IoResult LoadAnyGameFile(const std::filesystem::path& path, AnyGameFile& out)
{
    std::string why;
    const auto bytes = ReadFileBytes(path, &why);
    if (!bytes) return IoResult::DataIo(why).Of(path);
    if (bytes->size() < 4) return IoResult::DataIo(WhyEndsEarly).Of(path);
    const std::int32_t magic = ByteReader(*bytes).ReadInt32();
    if (magic == GameDataMagic) {
        out.FileKind = AnyGameFile::Kind::GameData;
        return DecodeGameDataFile(*bytes, &out.Game).Of(path);
    }
    if (magic == SavedGameMagic) {
        out.FileKind = AnyGameFile::Kind::SavedGame;
        return DecodeSavedGame(*bytes, *out.Game.Gate).Of(path);
    }
    return IoResult::FileFormat("is neither a data file nor a saved game of this game").Of(path);
}

int RunInfo(const CommandArgs& args)
{
    std::vector<std::string> files;
    bool json = false;
    bool brief = false;
    for (const auto& a : args) {
        if (a == "--json")
            json = true;
        else if (a == "--brief")
            brief = true;
        else
            files.push_back(a);
    }
    if (files.size() != 1 || (brief && !json)) {
        std::fputs("usage: brakkon-data info FILE [--json [--brief]]\n", stderr);
        return 2;
    }
    AnyGameFile file;
    if (!Reported(LoadAnyGameFile(files[0], file))) return 1;
    if (json)
        std::printf("%s\n", InfoJson(file, brief).c_str());
    else
        PrintSummary(file);
    return 0;
}

} // namespace brakkon
