#pragma once
// Where the game to play lies: the folder named on the command line, else the player's
// own folder (as a game installed beside the player expects), else the bundled demo.

#include <filesystem>
#include <optional>

namespace qv::app {

// True when `dir` is a game folder: it holds a resource folder, in any letter case.
bool IsGameFolder(const std::filesystem::path& dir);

// The folder of the running executable; from argv0 where the system does not tell.
std::filesystem::path ExecutableFolder(const char* argv0);

// The game to play: `game_dir` when given, which must be a game folder; otherwise
// `executable_folder` when it holds a game, otherwise `demo_folder`. Throws UsageError
// naming the folder when there is no game to play.
std::filesystem::path LocateGame(const std::optional<std::filesystem::path>& game_dir,
                                 const std::filesystem::path& executable_folder,
                                 const std::filesystem::path& demo_folder);

}  // namespace qv::app
