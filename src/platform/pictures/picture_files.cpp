#include "platform/pictures/picture_files.h"

#include <cstring>
#include <fstream>
#include <system_error>

#include "core/vb_error.h"
#include "platform/regular_file.h"

namespace qv::platform {

namespace fs = std::filesystem;

uint64_t DecodedBytes(const Picture& picture) {
  uint64_t bytes = 0;
  for (const ImagePtr& frame : picture.frames) {
    if (frame) bytes += uint64_t{4} * static_cast<uint64_t>(frame->width()) * frame->height();
  }
  return bytes;
}

PicturePtr DecodePictureFile(const fs::path& path, const PictureLimits& limits) {
  std::error_code ec;
  fs::file_status status = fs::status(path, ec);
  if (fs::is_directory(status)) Raise(kErrPathFileAccess);
  CheckOrdinaryFile(path);  // opened without blocking: a FIFO is refused, not waited on
  std::ifstream in(path, std::ios::binary);
  if (!in) Raise(kErrPathFileAccess);

  char magic[4] = {};
  in.read(magic, sizeof magic);
  if (in.gcount() == sizeof magic && std::memcmp(magic, "GIF8", 4) == 0) {
    in.seekg(0);
    return DecodeGif(in, limits);
  }

  // A still picture is read whole; no sensible one is larger than its decoded pixels.
  uintmax_t size = fs::file_size(path, ec);
  if (ec) Raise(kErrPathFileAccess);
  if (size > limits.max_decoded_bytes) Raise(kErrInvalidPicture);
  std::vector<uint8_t> bytes(static_cast<size_t>(size));
  in.clear();
  in.seekg(0);
  in.read(reinterpret_cast<char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
  if (in.bad()) Raise(kErrPathFileAccess);
  bytes.resize(static_cast<size_t>(in.gcount()));  // the file may have shrunk meanwhile
  return DecodeStill(bytes, limits);
}

PictureFiles::PictureFiles(uint64_t cache_bytes, PictureLimits limits)
    : cache_bytes_(cache_bytes), limits_(limits) {}

PictureFiles::~PictureFiles() {
  if (limits_.memory != nullptr) limits_.memory->RemoveReclaimer(reclaimer_);
}

void PictureFiles::UseMemoryBudget(MemoryBudget& memory) {
  ClearCache();
  if (limits_.memory != nullptr) limits_.memory->RemoveReclaimer(reclaimer_);
  limits_.memory = &memory;
  reclaimer_ = memory.AddReclaimer([this] { ClearCache(); });
}

PicturePtr PictureFiles::Load(const fs::path& path) {
  std::error_code ec;
  fs::path full = fs::absolute(path, ec).lexically_normal();
  if (ec) full = path;
  std::string key = full.string();
  auto found = entries_.find(key);

  fs::file_status status = fs::status(full, ec);
  if (!fs::exists(status)) {
    if (found != entries_.end()) Forget(found->second);
    Raise(kErrFileNotFound);
  }
  if (fs::is_directory(status)) Raise(kErrPathFileAccess);
  if (!fs::is_regular_file(status)) Raise(kErrFileNotFound);
  uintmax_t size = fs::file_size(full, ec);
  if (ec) Raise(kErrPathFileAccess);
  fs::file_time_type modified = fs::last_write_time(full, ec);
  if (ec) Raise(kErrPathFileAccess);

  if (found != entries_.end()) {
    EntryList::iterator entry = found->second;
    if (entry->file_size == size && entry->modified == modified) {
      recent_.splice(recent_.begin(), recent_, entry);
      return entry->picture;
    }
    Forget(entry);  // changed on disk
  }

  PicturePtr picture = DecodePictureFile(full, limits_);
  // A load nested in the decode's events may have cached the same file meanwhile.
  if (auto again = entries_.find(key); again != entries_.end()) Forget(again->second);
  uint64_t bytes = DecodedBytes(*picture);
  recent_.push_front({full, size, modified, picture, bytes});
  entries_[key] = recent_.begin();
  cached_bytes_ += bytes;
  Trim();
  return picture;
}

const BuiltinPictures& PictureFiles::builtins() {
  if (!builtins_) builtins_ = std::make_unique<BuiltinPictures>();
  return *builtins_;
}

void PictureFiles::ClearCache() {
  entries_.clear();
  recent_.clear();
  cached_bytes_ = 0;
}

void PictureFiles::Forget(EntryList::iterator entry) {
  cached_bytes_ -= entry->bytes;
  entries_.erase(entry->path.string());
  recent_.erase(entry);
}

// Drops the least recently loaded pictures until the cache fits its budget; the newest
// stays even when it alone is larger.
void PictureFiles::Trim() {
  while (cached_bytes_ > cache_bytes_ && recent_.size() > 1)
    Forget(std::prev(recent_.end()));
}

}  // namespace qv::platform
