#pragma once
// WAV sounds from a game's files, decoded once into the format the channels mix
// (16-bit stereo at 44100 Hz) and kept in a bounded cache. Game files are untrusted:
// a file that is not a WAV, is cut short or claims absurd sizes is refused with
// "Invalid file format" (321) and never read past its end. Decoded samples count
// against the memory budget of the game's media ("Out of memory", 7, when they do not
// fit), reserved from what the header announces before anything is converted. PCM and
// float sounds stream from the file through the converter in pieces, so decoding one
// takes little more memory than its result.

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <list>
#include <memory>
#include <span>
#include <string>
#include <unordered_map>
#include <vector>

#include "platform/memory_budget.h"

namespace qv::platform {

// The format sounds are decoded into.
inline constexpr int kMixRate = 44100;
inline constexpr int kMixChannels = 2;

// The largest sound file read, and the most memory one decoded sound may take.
inline constexpr uintmax_t kMaxSoundFileBytes = uintmax_t{128} << 20;
inline constexpr size_t kMaxDecodedBytes = size_t{256} << 20;

struct DecodedSound {
  std::vector<int16_t> samples;  // interleaved left, right
  MemoryLease lease;             // the samples' share of the memory budget

  size_t bytes() const { return samples.size() * sizeof(int16_t); }
  double seconds() const { return static_cast<double>(samples.size()) / (kMixChannels * kMixRate); }
};

// Reads a whole sound file: VbError 53 when it is not an existing ordinary file (FIFOs
// and devices included), 321 when it is larger than `max_bytes`, 75 when it cannot be
// read.
std::vector<uint8_t> ReadSoundFile(const std::filesystem::path& file,
                                   uintmax_t max_bytes = kMaxSoundFileBytes);

// Decodes a WAV (PCM and float streamed by us; A-law, mu-law and ADPCM as SDL reads
// them) to the mixing format, from memory or from a file. VbError 321 when it is not a
// WAV we can use, 7 when its samples do not fit in the budget, 53/75 as ReadSoundFile.
DecodedSound DecodeWav(std::span<const uint8_t> bytes, MemoryBudget& budget);
DecodedSound DecodeWavFile(const std::filesystem::path& file, MemoryBudget& budget);

// Decoded sounds by file, the most recently used first, within a memory budget. A sound
// in use elsewhere (a channel playing it) stays alive after it leaves the cache.
class SoundCache {
 public:
  static constexpr size_t kDefaultBudget = size_t{64} << 20;

  // `budget_bytes` bounds what the cache keeps for later; the samples themselves count
  // against `memory` (by default a budget of the cache's own).
  explicit SoundCache(size_t budget_bytes = kDefaultBudget, MemoryBudget* memory = nullptr);
  ~SoundCache();
  SoundCache(const SoundCache&) = delete;
  SoundCache& operator=(const SoundCache&) = delete;

  // Decodes into `memory` from now on (call before the first Load).
  void UseMemoryBudget(MemoryBudget& memory);

  // The decoded sound of a file; decoded again only when the file changed on disk.
  // Throws as ReadSoundFile and DecodeWav do.
  std::shared_ptr<const DecodedSound> Load(const std::filesystem::path& file);
  void Clear();

  size_t bytes() const { return bytes_; }
  size_t size() const { return entries_.size(); }

 private:
  struct Entry {
    std::string key;
    uintmax_t file_size = 0;
    std::filesystem::file_time_type written;
    std::shared_ptr<const DecodedSound> sound;
  };

  void Trim();

  size_t budget_;
  MemoryBudget own_memory_;
  MemoryBudget* memory_;
  int reclaimer_ = 0;
  size_t bytes_ = 0;
  std::list<Entry> entries_;  // most recently used first
  std::unordered_map<std::string, std::list<Entry>::iterator> by_key_;
};

}  // namespace qv::platform
