#include "data/game_folder.h"

#include <algorithm>
#include <optional>
#include <system_error>
#include <vector>

#include "core/text.h"
#include "core/vb_error.h"

namespace qv::data {

namespace fs = std::filesystem;

namespace {

bool IsSeparator(char c) {
  return c == '\\' || c == '/';
}

// Splits a relative game path into its parts, refusing anything that could leave the
// game folder.
std::vector<std::string> SplitRelative(std::string_view path) {
  if (!path.empty() && IsSeparator(path.front())) Raise(kErrBadFileName);
  if (path.size() >= 2 && path[1] == ':') Raise(kErrBadFileName);  // drive letter
  std::vector<std::string> parts;
  size_t start = 0;
  while (start <= path.size()) {
    size_t end = start;
    while (end < path.size() && !IsSeparator(path[end]))
      ++end;
    std::string_view part = path.substr(start, end - start);
    if (part == "..") Raise(kErrBadFileName);
    if (part.find('\0') != std::string_view::npos) Raise(kErrBadFileName);
    if (!part.empty() && part != ".") parts.emplace_back(part);
    start = end + 1;
  }
  return parts;
}

bool IsHidden(const fs::path& name) {
  std::string s = name.filename().string();
  return !s.empty() && s.front() == '.';
}

bool IsOrdinaryFile(const fs::directory_entry& entry) {
  std::error_code ec;
  return entry.is_regular_file(ec) && !IsHidden(entry.path());
}

// The entry of `dir` whose name equals `part` ignoring the letter case of Windows-1252;
// an exact match wins.
std::optional<fs::path> FindIgnoringCase(const fs::path& dir, const std::string& part) {
  std::error_code ec;
  fs::path exact = dir / part;
  if (fs::exists(fs::symlink_status(exact, ec))) return exact;
  const std::u32string wanted = FoldedName(part);
  std::optional<fs::path> found;
  for (const auto& entry : fs::directory_iterator(dir, ec)) {
    std::string name = entry.path().filename().string();
    if (FoldedName(name) == wanted && (!found || name < found->filename().string())) {
      found = entry.path();
    }
  }
  return found;
}

// True when `inner` (a real path, links followed) is `outer` or lies within it.
bool Within(const fs::path& inner, const fs::path& outer) {
  auto o = outer.begin();
  for (auto i = inner.begin(); o != outer.end(); ++i, ++o) {
    if (i == inner.end() || *i != *o) return false;
  }
  return true;
}

}  // namespace

GameFolder::GameFolder(const fs::path& root) : root_(fs::absolute(root).lexically_normal()) {
  std::error_code ec;
  real_root_ = fs::weakly_canonical(root_, ec);
  if (ec) real_root_ = root_;
  app_path_ = root_.string();
  if (app_path_.empty() || app_path_.back() != '/') app_path_ += '/';
}

fs::path GameFolder::Resolve(std::string_view game_path) const {
  std::string_view relative = game_path;
  if (relative.substr(0, app_path_.size()) == app_path_) {
    relative.remove_prefix(app_path_.size());
  }
  fs::path current = root_;
  bool exists = true;
  for (const std::string& part : SplitRelative(relative)) {
    if (exists) {
      if (auto match = FindIgnoringCase(current, part)) {
        current = *match;
        continue;
      }
      exists = false;
    }
    current /= part;
  }
  // Links are followed, but not out of the game folder: what lies outside is as
  // missing as a file that is not there.
  if (!Inside(current)) Raise(kErrFileNotFound);
  return current;
}

bool GameFolder::Inside(const fs::path& path) const {
  std::error_code ec;
  const fs::path real = fs::weakly_canonical(path, ec);
  return !ec && Within(real, real_root_);
}

bool GameFolder::FileExists(std::string_view game_path) const {
  // A listing that fails for any reason (a bad name, a missing or unreadable folder)
  // answers false, as a directory listing would.
  try {
    if (game_path.empty()) return false;
    std::error_code ec;
    if (IsSeparator(game_path.back())) {
      fs::path dir = Resolve(game_path);
      for (const auto& entry : fs::directory_iterator(dir, ec)) {
        if (IsOrdinaryFile(entry) && Inside(entry.path())) return true;
      }
      return false;
    }
    size_t cut = game_path.find_last_of("\\/");
    std::string_view folder = cut == std::string_view::npos ? "" : game_path.substr(0, cut + 1);
    std::string_view pattern =
        cut == std::string_view::npos ? game_path : game_path.substr(cut + 1);
    fs::path dir = folder.empty() ? root_ : Resolve(folder);
    for (const auto& entry : fs::directory_iterator(dir, ec)) {
      if (IsOrdinaryFile(entry) && MatchesWildcard(pattern, entry.path().filename().string()) &&
          Inside(entry.path())) {
        return true;
      }
    }
    return false;
  } catch (const VbError&) {
    return false;  // a bad name, or one that leads out of the game folder
  } catch (const fs::filesystem_error&) {
    return false;
  }
}

bool MatchesWildcard(std::string_view pattern, std::string_view name) {
  // "*.*" lists every file, also names without a dot, as a directory listing does.
  if (pattern == "*.*") pattern = "*";
  const std::u32string p = FoldedName(pattern);
  const std::u32string n = FoldedName(name);
  size_t pi = 0, ni = 0, star = std::u32string::npos, resume = 0;
  while (ni < n.size()) {
    if (pi < p.size() && (p[pi] == '?' || p[pi] == n[ni])) {
      ++pi;
      ++ni;
    } else if (pi < p.size() && p[pi] == '*') {
      star = pi++;
      resume = ni;
    } else if (star != std::u32string::npos) {
      pi = star + 1;
      ni = ++resume;
    } else {
      return false;
    }
  }
  while (pi < p.size() && p[pi] == '*')
    ++pi;
  return pi == p.size();
}

}  // namespace qv::data
