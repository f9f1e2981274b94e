#include "app/game_locator.h"

#include <system_error>

#include "app/command_line.h"
#include "data/game_folder.h"

namespace qv::app {

namespace fs = std::filesystem;

bool IsGameFolder(const fs::path& dir) {
  std::error_code ec;
  if (!fs::is_directory(dir, ec)) return false;
  return fs::is_directory(data::GameFolder(dir).Resolve("resource"), ec);
}

fs::path ExecutableFolder(const char* argv0) {
  std::error_code ec;
  // Linux names the running executable here; elsewhere the name it was started by.
  fs::path exe = fs::read_symlink("/proc/self/exe", ec);
  if (ec || exe.empty()) {
    exe = fs::weakly_canonical(fs::absolute(argv0 ? argv0 : "", ec), ec);
  }
  return exe.parent_path();
}

fs::path LocateGame(const std::optional<fs::path>& game_dir, const fs::path& executable_folder,
                    const fs::path& demo_folder) {
  if (game_dir) {
    std::error_code ec;
    if (!fs::exists(*game_dir, ec)) {
      throw UsageError("game folder \"" + game_dir->string() + "\" does not exist");
    }
    if (!IsGameFolder(*game_dir)) {
      throw UsageError("\"" + game_dir->string() +
                       "\" is not a game folder: it holds no resource folder");
    }
    return *game_dir;
  }
  if (IsGameFolder(executable_folder)) return executable_folder;
  if (IsGameFolder(demo_folder)) return demo_folder;
  throw UsageError(
      "no game to play: name a game folder (the folder holding resource/); "
      "neither the player's folder \"" +
      executable_folder.string() + "\" nor the demo game's \"" + demo_folder.string() +
      "\" holds one");
}

}  // namespace qv::app
