#include "shell/StartData.h"

#include "platform/DataPaths.h"
#include "game/ErrorReport.h"
#include "game/FileIo.h"
#include "game/GameData.h"
#include "game/SavedGame.h"

#include <cerrno>
#include <utility>

namespace brakkon {
namespace {

bool Exists(const std::filesystem::path& path)
{
    std::error_code error; // an unreadable place counts as no file
    return !path.empty() && std::filesystem::exists(path, error);
}

/// "PATH: why" for a file that is not there.
std::string MissingDetail(const std::filesystem::path& path)
{
    std::error_code error;
    (void)std::filesystem::status(path, error);
    return FullPath(path) + ": " + ErrnoText(error ? error.value() : ENOENT);
}

} // namespace

StartDataFiles StartDataFilesOf(const std::filesystem::path& appPath)
{
    StartDataFiles files{appPath / GameDataFileName, GameDataSavePath(appPath)};
    if (files.User == files.Installed) files.User.clear();
    return files;
}

std::filesystem::path LoadStartGameData(const StartDataFiles& files, GameType& game)
{
    const std::filesystem::path& installed = files.Installed;
    const std::filesystem::path& user = files.User;
    if (Exists(user)) {
        IoResult loaded = LoadGameData(user, game);
        if (loaded) return user;
        // A failed read leaves `game` as it was; the damaged file stays for the player to look at.
        if (!Exists(installed)) {
            Reported(loaded);
            return {};
        }
        loaded.Detail += "\nThe game plays the installed " + FullPath(installed) + " instead.";
        Reported(loaded);
    } else if (!Exists(installed)) {
        std::string looked = "The game looked for ";
        if (!user.empty()) looked += FullPath(user) + " and for ";
        ReportError(MsgGameDataNotFound, looked + FullPath(installed) + ".");
        return {};
    }
    return LoadGameDataFile(installed, game) ? installed : std::filesystem::path();
}

std::filesystem::path StartGameDataPath(const StartDataFiles& files)
{
    if (Exists(files.User)) {
        GameType probe;
        if (LoadGameData(files.User, probe)) return files.User;
    }
    return files.Installed;
}

bool LoadStartScene(const std::filesystem::path& appPath, GateType& gate)
{
    const std::filesystem::path scene = appPath / "Game";
    if (!Exists(scene)) {
        ReportError(MsgSceneNotFound, MissingDetail(scene));
        return false;
    }
    return LoadGameFile(scene, gate);
}

StartFilesAhead::StartFilesAhead(const std::filesystem::path& appPath)
{
    std::vector<Held>* held = &dataReports_;
    const ScopedErrorHandler holding([&held](std::string_view message, std::string_view detail) {
        held->push_back({std::string(message), std::string(detail)});
    });
    dataPath_ = LoadStartGameData(StartDataFilesOf(appPath), game_);
    held = &sceneReports_;
    sceneLoaded_ = LoadStartScene(appPath, scene_);
}

void StartFilesAhead::Say(std::vector<Held>& reports)
{
    for (const Held& report : reports) ReportError(report.Message, report.Detail);
    reports.clear();
}

std::filesystem::path StartFilesAhead::TakeData(GameType& game)
{
    Say(dataReports_);
    if (dataPath_.empty()) return {};
    // What a load sets; the working gate stays the game's own.
    game.Cols = game_.Cols;
    game.Rows = game_.Rows;
    game.CellWidth = game_.CellWidth;
    game.CellHeight = game_.CellHeight;
    game.Gates = std::move(game_.Gates);
    game.Images = std::move(game_.Images);
    return std::exchange(dataPath_, {});
}

bool StartFilesAhead::TakeScene(GateType& gate)
{
    Say(sceneReports_);
    if (!std::exchange(sceneLoaded_, false)) return false;
    gate = std::move(scene_);
    return true;
}

} // namespace brakkon
