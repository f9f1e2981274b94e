#pragma once
// The game folder: where every name from the game data is looked up. Game data spells
// paths the Windows way ("resource\gfx\Door.GIF"); here '\' and '/' both separate, each
// part matches case-insensitively, and nothing outside the game folder can be reached.

#include <filesystem>
#include <string>
#include <string_view>

namespace qv::data {

class GameFolder {
 public:
  explicit GameFolder(const std::filesystem::path& root);

  // The game folder, always ending in the separator.
  const std::string& AppPath() const { return app_path_; }
  const std::filesystem::path& root() const { return root_; }

  // The real path of a game path: AppPath() + a relative path, or the relative path
  // alone. Existing parts are matched without regard to case (the letters of
  // Windows-1252 too: É = é); parts that do not exist are kept as written. ".." parts,
  // other absolute paths and drive letters raise "Bad file name or number" (52); a path
  // that a symbolic link leads out of the game folder raises "File not found" (53), as
  // if nothing were there.
  std::filesystem::path Resolve(std::string_view game_path) const;

  // True when the path names an existing ordinary file in the game folder (not a folder,
  // not hidden, not a FIFO or device, not reached through a link out of the folder).
  // "*" and "?" in the last part match like a directory listing; a path ending in a
  // separator is true when that folder holds any ordinary file. Never raises.
  bool FileExists(std::string_view game_path) const;

 private:
  // True when the real path (links followed) lies in the game folder.
  bool Inside(const std::filesystem::path& path) const;

  std::filesystem::path root_;
  std::filesystem::path real_root_;  // links followed
  std::string app_path_;
};

// Case-insensitive match (Windows-1252 letters) of a name against a pattern with "*" and
// "?", each "?" one character.
bool MatchesWildcard(std::string_view pattern, std::string_view name);

}  // namespace qv::data
