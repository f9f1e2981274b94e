#pragma once
// WAV sounds from a game's files, decoded once into the format the channels mix
// (16-bit stereo at 44100 Hz) and kept in a bounded cache. Game files are untrusted:
// a file that is not a WAV, is cut short or claims absurd sizes is refused with
// "Invalid file format" (321), never read past its end, and never decoded into more
// memory than a budget allows.

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <list>
#include <memory>
#include <span>
#include <string>
#include <unordered_map>
#include <vector>

namespace qv::platform {

// The format sounds are decoded into.
inline constexpr int kMixRate = 44100;
inline constexpr int kMixChannels = 2;

// The largest sound file read, and the most memory one decoded sound may take.
inline constexpr uintmax_t kMaxSoundFileBytes = uintmax_t{128} << 20;
inline constexpr size_t kMaxDecodedBytes = size_t{256} << 20;

struct DecodedSound {
  std::vector<int16_t> samples;  // interleaved left, right

  size_t bytes() const { return samples.size() * sizeof(int16_t); }
  double seconds() const { return static_cast<double>(samples.size()) / (kMixChannels * kMixRate); }
};

// Reads a whole sound file: VbError 53 when it is not an existing ordinary file, 321 when
// it is larger than kMaxSoundFileBytes, 75 when it cannot be read.
std::vector<uint8_t> ReadSoundFile(const std::filesystem::path& file);

// Decodes the bytes of a WAV file (PCM, float, A-law, mu-law, ADPCM, as SDL reads them) to
// the mixing format. VbError 321 when they are not a WAV it can use.
DecodedSound DecodeWav(std::span<const uint8_t> bytes);

// Checks that bytes are a Standard MIDI File whose every track reads to its end: the
// header, the chunks within the file, and each event's length. FluidSynth only reads a
// file when it starts playing it, and retries one it cannot read for as long as the
// music repeats; a file that fails here is refused with 321 before it gets there.
void CheckMidi(std::span<const uint8_t> bytes);

// Decoded sounds by file, the most recently used first, within a memory budget. A sound
// in use elsewhere (a channel playing it) stays alive after it leaves the cache.
class SoundCache {
 public:
  static constexpr size_t kDefaultBudget = size_t{64} << 20;

  explicit SoundCache(size_t budget_bytes = kDefaultBudget) : budget_(budget_bytes) {}

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
  size_t bytes_ = 0;
  std::list<Entry> entries_;  // most recently used first
  std::unordered_map<std::string, std::list<Entry>::iterator> by_key_;
};

}  // namespace qv::platform
