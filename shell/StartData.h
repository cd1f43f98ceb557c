// The files the main window reads when it is first shown: "Game.dat" and the
// scene "Game".
//
// "Game.dat" is the Game Editor's last save when there is one (in an
// installed game, $XDG_DATA_HOME/brakkon/Game.dat), else the file installed
// with the game. A damaged save is reported, naming it, and left as it is;
// the installed file is played in its place. Every failure reaches the player
// once through the error seam, with the file and the reason as its detail.
#pragma once

#include "game/Records.h"

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace brakkon {

inline constexpr std::string_view MsgGameDataNotFound = "\"Game.dat\" file not found";
inline constexpr std::string_view MsgSceneNotFound = "\"Game\" file not found";

/// Where start-up looks for "Game.dat".
struct StartDataFiles {
    std::filesystem::path Installed; ///< beside the executable
    std::filesystem::path User;      ///< the Game Editor's save, when that is another file; else empty
};

/// The files of a game whose files lie in `appPath`.
[[nodiscard]] StartDataFiles StartDataFilesOf(const std::filesystem::path& appPath);

/// Loads the user's file when there is one and it reads whole, else the
/// installed one, into `game`. Returns the file loaded; empty when none was.
std::filesystem::path LoadStartGameData(const StartDataFiles& files, GameType& game);

/// The file LoadStartGameData would load now, found without reporting
/// anything: the one a replay is checked against before the window loads it.
[[nodiscard]] std::filesystem::path StartGameDataPath(const StartDataFiles& files);

/// Loads the scene "Game" of `appPath` into the working gate; a missing one
/// is reported with where the game looked. True when it was loaded.
bool LoadStartScene(const std::filesystem::path& appPath, GateType& gate);

/// "Game.dat" and the scene "Game" read ahead, while the intro shows, with
/// what their reading reported held back. The window takes them when it
/// shows: each report reaches the player then, in its order, as if the file
/// had been read at that moment.
class StartFilesAhead {
public:
    /// Reads both files of `appPath` now; nothing is reported yet.
    explicit StartFilesAhead(const std::filesystem::path& appPath);

    /// LoadStartGameData into `game`, from what was read: says the data
    /// file's reports and returns the file loaded, empty when none was.
    std::filesystem::path TakeData(GameType& game);
    /// LoadStartScene into `gate`, from what was read: says the scene's
    /// reports and returns whether it was loaded.
    bool TakeScene(GateType& gate);

private:
    struct Held {
        std::string Message;
        std::string Detail;
    };
    static void Say(std::vector<Held>& reports);

    GameType game_;
    std::filesystem::path dataPath_;
    std::vector<Held> dataReports_;
    GateType scene_;
    bool sceneLoaded_ = false;
    std::vector<Held> sceneReports_;
};

} // namespace brakkon
