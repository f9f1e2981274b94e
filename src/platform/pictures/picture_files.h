#pragma once
// The player's picture loader: pictures from files, decoded once and kept in a cache
// bounded by decoded size, and the built-in pictures (cursors and placeholders).
//
// The cache is keyed by the file's absolute path and remembers the file's size and
// modification time: a file changed on disk is decoded again, and a file that has gone
// raises "File not found" (53) like any missing file. Loading the same unchanged file
// again hands out the same PicturePtr. When the decoded pictures exceed the cache's
// budget, the least recently loaded ones are dropped from the cache; pictures still in
// use elsewhere stay alive through their PicturePtr. A picture that fails to decode is
// not remembered, so a repaired file loads on the next try.

#include <cstdint>
#include <filesystem>
#include <functional>
#include <list>
#include <memory>
#include <string>
#include <unordered_map>

#include "platform/pictures.h"
#include "platform/pictures/builtin_pictures.h"
#include "platform/pictures/picture_decoding.h"

namespace qv::platform {

class PictureFiles final : public PictureLoader {
 public:
  static constexpr uint64_t kDefaultCacheBytes = uint64_t{256} << 20;

  explicit PictureFiles(uint64_t cache_bytes = kDefaultCacheBytes, PictureLimits limits = {});
  ~PictureFiles() override;
  PictureFiles(const PictureFiles&) = delete;
  PictureFiles& operator=(const PictureFiles&) = delete;

  // Decoded pictures count against `memory` from now on; when it runs short, the cache
  // lets go of what only it holds.
  void UseMemoryBudget(MemoryBudget& memory);
  // Runs while a long decode is under way, every few hundredths of a second (the player
  // lets its events run there). Loads may nest inside it.
  void SetYield(std::function<void()> yield) { limits_.yield = std::move(yield); }

  // Loads (or returns the cached) picture at a real path. Raises 53, 75 or 481 as
  // DecodePictureFile does.
  PicturePtr Load(const std::filesystem::path& path) override;

  // The built-in cursors and placeholder pictures, drawn on first use.
  const BuiltinPictures& builtins();

  // Forgets every cached picture (pictures in use stay valid).
  void ClearCache();

  size_t cached_count() const { return entries_.size(); }
  uint64_t cached_bytes() const { return cached_bytes_; }

 private:
  struct Entry {
    std::filesystem::path path;
    uintmax_t file_size = 0;
    std::filesystem::file_time_type modified;
    PicturePtr picture;
    uint64_t bytes = 0;
  };
  using EntryList = std::list<Entry>;  // most recently loaded first

  void Forget(EntryList::iterator entry);
  void Trim();

  uint64_t cache_bytes_;
  PictureLimits limits_;
  EntryList recent_;
  std::unordered_map<std::string, EntryList::iterator> entries_;
  uint64_t cached_bytes_ = 0;
  int reclaimer_ = 0;
  std::unique_ptr<BuiltinPictures> builtins_;
};

}  // namespace qv::platform
