#pragma once
// Folders of the machine the player needs to know about: whether it may write into a
// folder, and the user's own data folder (XDG) where a game that lies on a disc or in a
// read-only folder keeps its saved games.

#include <filesystem>

namespace qv::platform {

// True when the folder exists and this process may create files in it (a read-only
// mount or missing permissions make it false).
bool FolderWritable(const std::filesystem::path& folder);

// $XDG_DATA_HOME/quorvex-player, or ~/.local/share/quorvex-player.
std::filesystem::path UserDataFolder();

}  // namespace qv::platform
