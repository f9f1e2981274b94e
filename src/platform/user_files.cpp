#include "platform/user_files.h"

#include <SDL.h>
#include <SDL_image.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <fstream>
#include <stdexcept>
#include <system_error>

#include "platform/sdl_handles.h"

namespace qv::platform {

namespace {

constexpr const char* kFolderName = "quorvex-player";

std::filesystem::path Home() {
  const char* home = std::getenv("HOME");
  return home && *home ? std::filesystem::path(home) : std::filesystem::current_path();
}

// An XDG base directory: the variable when it names an absolute path, else the default
// under the home folder.
std::filesystem::path BaseFolder(const char* variable, const char* fallback) {
  const char* value = std::getenv(variable);
  if (value && *value && std::filesystem::path(value).is_absolute()) return value;
  return Home() / fallback;
}

}  // namespace

std::filesystem::path ConfigFolder() {
  return BaseFolder("XDG_CONFIG_HOME", ".config") / kFolderName;
}

std::filesystem::path DataFolder() {
  return BaseFolder("XDG_DATA_HOME", ".local/share") / kFolderName;
}

bool FolderWritable(const std::filesystem::path& folder) {
  std::error_code ec;
  if (!std::filesystem::is_directory(folder, ec)) return false;
  return access(folder.c_str(), W_OK | X_OK) == 0;
}

std::optional<std::filesystem::path> PicturesFolder() {
  // user-dirs.dirs holds lines such as XDG_PICTURES_DIR="$HOME/Pictures".
  std::ifstream dirs(BaseFolder("XDG_CONFIG_HOME", ".config") / "user-dirs.dirs");
  std::string line;
  while (std::getline(dirs, line)) {
    const std::string key = "XDG_PICTURES_DIR=\"";
    if (line.rfind(key, 0) != 0 || line.back() != '"') continue;
    std::string value = line.substr(key.size(), line.size() - key.size() - 1);
    if (value.rfind("$HOME", 0) == 0) value = Home().string() + value.substr(5);
    std::error_code ec;
    // A pictures folder that is the home folder itself means none was chosen.
    if (std::filesystem::is_directory(value, ec) &&
        !std::filesystem::equivalent(value, Home(), ec)) {
      return std::filesystem::path(value);
    }
  }
  return std::nullopt;
}

WriteError::WriteError(const std::string& what, int error)
    : std::runtime_error(what + ": " + std::strerror(error)), error_(error) {}

void WriteFileAtomically(const std::filesystem::path& file, const std::string& bytes) {
  std::error_code ec;
  const std::filesystem::path folder = file.parent_path().empty() ? "." : file.parent_path();
  std::filesystem::create_directories(folder, ec);
  if (ec) throw WriteError("cannot make the folder " + folder.string(), ec.value());
  // What earlier writes of this file left when they were killed half-way goes first.
  const std::string prefix = "." + file.filename().string() + ".";
  for (auto it = std::filesystem::directory_iterator(folder, ec);
       !ec && it != std::filesystem::directory_iterator(); it.increment(ec)) {
    const std::string name = it->path().filename().string();
    if (name.size() == prefix.size() + 6 && name.rfind(prefix, 0) == 0) {
      std::error_code ignored;
      std::filesystem::remove(it->path(), ignored);
    }
  }
  std::string temporary = (folder / (prefix + "XXXXXX")).string();
  const int fd = ::mkostemp(temporary.data(), O_CLOEXEC);
  if (fd < 0) throw WriteError("cannot write in " + folder.string(), errno);
  // Every failure from here on removes the temporary and leaves the old file alone.
  auto fail = [&](const std::string& what, int error, bool close_it) {
    if (close_it) ::close(fd);
    ::unlink(temporary.c_str());
    throw WriteError(what, error);
  };
  size_t done = 0;
  while (done < bytes.size()) {
    const ssize_t wrote = ::write(fd, bytes.data() + done, bytes.size() - done);
    if (wrote < 0 && errno == EINTR) continue;
    if (wrote <= 0) fail("cannot write " + file.string(), wrote < 0 ? errno : ENOSPC, true);
    done += static_cast<size_t>(wrote);
  }
  if (::fchmod(fd, 0644) != 0 || ::fsync(fd) != 0)
    fail("cannot write " + file.string(), errno, true);
  if (::close(fd) != 0) fail("cannot write " + file.string(), errno, false);
  if (::rename(temporary.c_str(), file.c_str()) != 0) {
    fail("cannot replace " + file.string(), errno, false);
  }
  // The rename itself must reach the disk too.
  const int dir = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (dir >= 0) {
    ::fsync(dir);
    ::close(dir);
  }
}

LocalTime LocalTimeNow() {
  const std::time_t now = std::time(nullptr);
  std::tm parts{};
  localtime_r(&now, &parts);
  return LocalTime{parts.tm_year + 1900, parts.tm_mon + 1, parts.tm_mday,
                   parts.tm_hour,        parts.tm_min,     parts.tm_sec};
}

void WritePng(const Image& image, const std::filesystem::path& file) {
  SurfacePtr surface(SDL_CreateRGBSurfaceWithFormatFrom(
      const_cast<uint32_t*>(image.pixels().data()), image.width(), image.height(), 32,
      image.width() * 4, SDL_PIXELFORMAT_ARGB8888));
  if (!surface) throw std::runtime_error(std::string("cannot make the picture: ") + SDL_GetError());
  std::error_code ec;
  std::filesystem::create_directories(file.parent_path(), ec);
  if (IMG_SavePNG(surface.get(), file.c_str()) != 0) {
    throw std::runtime_error("cannot write " + file.string() + ": " + IMG_GetError());
  }
}

}  // namespace qv::platform
