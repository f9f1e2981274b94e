#include "platform/folders.h"

#include <unistd.h>

#include <cstdlib>
#include <system_error>

namespace qv::platform {

bool FolderWritable(const std::filesystem::path& folder) {
  std::error_code ec;
  if (!std::filesystem::is_directory(folder, ec)) return false;
  return access(folder.c_str(), W_OK | X_OK) == 0;
}

std::filesystem::path UserDataFolder() {
  const char* xdg = std::getenv("XDG_DATA_HOME");
  if (xdg != nullptr && xdg[0] == '/') return std::filesystem::path(xdg) / "quorvex-player";
  const char* home = std::getenv("HOME");
  const std::filesystem::path base = home != nullptr && home[0] == '/' ? home : "/tmp";
  return base / ".local/share/quorvex-player";
}

}  // namespace qv::platform
