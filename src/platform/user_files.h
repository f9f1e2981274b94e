#pragma once
// The player's own files in the user's folders (the XDG base directories): its config
// file, where screenshots go, and the saved games of a game whose folder is read-only. Writes are
// atomic: a crash or a full disk never leaves a half-written file in place of the old one.

#include <filesystem>
#include <optional>
#include <string>

#include "platform/image.h"

namespace qv::platform {

// $XDG_CONFIG_HOME/quorvex-player, or ~/.config/quorvex-player.
std::filesystem::path ConfigFolder();
// $XDG_DATA_HOME/quorvex-player, or ~/.local/share/quorvex-player.
std::filesystem::path DataFolder();
// The user's pictures folder (XDG_PICTURES_DIR of user-dirs.dirs) when it exists.
std::optional<std::filesystem::path> PicturesFolder();

// True when the folder exists and this process may create files in it (a read-only
// mount or missing permissions make it false).
bool FolderWritable(const std::filesystem::path& folder);

// Writes `bytes` to `file` through a temporary file beside it, flushed to the disk, then
// renamed over it; makes the folder when missing. Throws std::runtime_error saying why.
void WriteFileAtomically(const std::filesystem::path& file, const std::string& bytes);

// Writes an image as a PNG file. Throws std::runtime_error saying why.
void WritePng(const Image& image, const std::filesystem::path& file);

}  // namespace qv::platform
