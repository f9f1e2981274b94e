#pragma once
// The player's own files in the user's folders (the XDG base directories): its config
// file, where screenshots go, and the saved games of a game whose folder is read-only. Writes are
// atomic: a crash or a full disk never leaves a half-written file in place of the old one.

#include <filesystem>
#include <optional>
#include <stdexcept>
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

// A file could not be written; `error()` is the system's error number (ENOSPC, EACCES, ...).
class WriteError : public std::runtime_error {
 public:
  WriteError(const std::string& what, int error);
  int error() const { return error_; }

 private:
  int error_;
};

// Writes `bytes` to `file` through a temporary file beside it (hidden, named
// ".<name>.XXXXXX", never matching the file's own pattern), flushed to the disk, renamed
// over it, and the folder flushed too: whenever the process or the machine stops, `file`
// holds the old or the new bytes, never a mixture; the temporaries such an end leaves
// are removed by the next write of the file. A failed write (a full disk, a folder
// that cannot be written) leaves `file` as it was and removes the temporary. Makes the
// folder when missing. Throws WriteError saying why.
void WriteFileAtomically(const std::filesystem::path& file, const std::string& bytes);

// The local date and time now, for time stamps the player shows (saved games).
struct LocalTime {
  int year = 0, month = 0, day = 0, hour = 0, minute = 0, second = 0;
};
LocalTime LocalTimeNow();

// Writes an image as a PNG file. Throws std::runtime_error saying why.
void WritePng(const Image& image, const std::filesystem::path& file);

}  // namespace qv::platform
