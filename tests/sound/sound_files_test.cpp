// The ends of the DirectSound scale, WAV decoding of good and hostile files, the MIDI
// check and the sound cache.

#include <gtest/gtest.h>

#include <cstring>

#include "platform/audio.h"
#include "platform/music_files.h"
#include "platform/sound_files.h"
#include "sound/wav_writer.h"
#include "test_support.h"

namespace qv::testing {
namespace {

using platform::ChannelGains;
using platform::VolumeGain;

platform::DecodedSound DecodeWav(std::span<const uint8_t> bytes) {
  static platform::MemoryBudget budget;
  return platform::DecodeWav(bytes, budget);
}

// A copy of `wav` with a little-endian number of `bytes` bytes written at `at`.
std::vector<uint8_t> Patched(std::vector<uint8_t> wav, size_t at, uint32_t value,
                             size_t bytes = 4) {
  for (size_t i = 0; i < bytes; ++i)
    wav[at + i] = static_cast<uint8_t>(value >> (8 * i));
  return wav;
}

TEST(VolumeScale, LoudnessBeyondTheScaleIsFullOrSilentAndPanAddsToTheVolume) {
  // The scale itself is heard through the disk audio device; here its ends.
  EXPECT_DOUBLE_EQ(VolumeGain(500), 1.0) << "above 0 counts as full";
  EXPECT_EQ(VolumeGain(-32768), 0.0) << "below -10000 is silence";
  auto right = ChannelGains(4000, -2000);
  EXPECT_NEAR(right.right, 0.1, 1e-12);
  EXPECT_NEAR(right.left, 0.001, 1e-12);
  EXPECT_EQ(ChannelGains(INT32_MIN, 0).right, 0.0) << "no overflow at the extreme";
  EXPECT_EQ(ChannelGains(INT32_MAX, 0).left, 0.0);
}

TEST(DecodeWav, HostileFilesAreRefusedAsInvalidFileFormat) {
  const auto good = ToneWav(0.2);
  const std::vector<std::vector<uint8_t>> bad = {
      {},                                                     // empty
      std::vector<uint8_t>(good.begin(), good.begin() + 30),  // cut in the header
      std::vector<uint8_t>(200, 'x'),                         // not a WAV at all
      Patched(good, 24, 0),                                   // sample rate 0
      Patched(Patched(good, 24, 1), 28, 2),  // 1 Hz: would become millions of samples
      Patched(good, 22, 0, 2)};              // no channels
  for (size_t i = 0; i < bad.size(); ++i)
    EXPECT_EQ(VbErrorNumber([&] { DecodeWav(bad[i]); }), kErrInvalidFileFormat) << "case " << i;
}

TEST(DecodeWav, ChunkSizesBeyondTheFileReadOnlyWhatIsThere) {
  // The sizes a header claims are not believed: what the file holds plays.
  for (uint32_t claimed : {0x7FFFFFF0u, 0xFFFFFFF0u}) {
    // The data chunk and the whole file.
    const auto wav = Patched(Patched(ToneWav(0.2), 40, claimed), 4, claimed);
    EXPECT_NEAR(DecodeWav(wav).seconds(), 0.2, 0.01) << claimed;
  }
}

TEST(DecodeWav, PcmOfEveryWidthAndFloatStreamToTheSameSoundWithinTheBudget) {
  // One second of a 16-bit tone, and the same samples as 8, 24 and 32 bits and float.
  const auto reference = DecodeWav(ToneWav(1.0, 440.0, 16000, 44100));
  const std::vector<int16_t> tone(reference.samples.begin(), reference.samples.end());
  const std::vector<uint8_t> pcm = ToneWav(1.0, 440.0, 16000, 44100);
  const auto as = [&](int bits, int tag) {
    std::vector<uint8_t> data;
    for (size_t at = 44; at + 1 < pcm.size(); at += 2) {
      const auto v = static_cast<int16_t>(pcm[at] | pcm[at + 1] << 8);
      if (tag == 3) {
        const float x = static_cast<float>(v) / 32768.0f;
        uint8_t b[4];
        std::memcpy(b, &x, 4);
        data.insert(data.end(), b, b + 4);
      } else if (bits == 8) {
        data.push_back(static_cast<uint8_t>((v >> 8) + 128));
      } else {
        data.resize(data.size() + static_cast<size_t>(bits / 8 - 2), 0);
        data.push_back(static_cast<uint8_t>(v));
        data.push_back(static_cast<uint8_t>(v >> 8));
      }
    }
    return WavOf(data, 44100, 1, bits, tag);
  };
  for (const auto& [bits, tag] : {std::pair{8, 1}, {24, 1}, {32, 1}, {32, 3}}) {
    const auto sound = DecodeWav(as(bits, tag));
    ASSERT_EQ(sound.samples.size(), tone.size()) << bits;
    const int tolerance = bits == 8 ? 300 : 2;
    for (size_t i = 0; i < tone.size(); i += 997)
      EXPECT_NEAR(sound.samples[i], tone[i], tolerance) << bits << "-bit, sample " << i;
  }

  // Samples reserve their memory before they are converted, and give it back.
  platform::MemoryBudget budget(uint64_t{1} << 20);
  const auto small = platform::DecodeWav(ToneWav(1.0), budget);  // 176 kB
  EXPECT_EQ(budget.used(), small.lease.bytes());
  EXPECT_EQ(VbErrorNumber([&] { platform::DecodeWav(ToneWav(6.0), budget); }), kErrOutOfMemory);
  EXPECT_EQ(budget.used(), small.lease.bytes());
}

TEST(CheckMidi, KeepsWhatFluidSynthPlaysAndRefusesAChunkItFailsOn) {
  // Each of the refused MIDI files is refused through the real sound device's tests.
  auto note = OneNoteMidi();
  EXPECT_NO_THROW(platform::CheckMidi(note));
  // Running status, and bytes after the end of the track (passed over, as FluidSynth
  // does); a chunk of another kind before the track is refused, as FluidSynth fails on it.
  std::vector<uint8_t> other(note.begin(), note.begin() + 14);
  const std::vector<uint8_t> track = {0x00, 0x90, 60, 100,  0x60, 62,   100,  0x60, 60,  0,
                                      0x00, 62,   0,  0x00, 0xFF, 0x2F, 0x00, 0xDE, 0xAD};
  other.insert(other.end(), {'M', 'T', 'r', 'k', 0, 0, 0, static_cast<uint8_t>(track.size())});
  other.insert(other.end(), track.begin(), track.end());
  EXPECT_NO_THROW(platform::CheckMidi(other));
  other.insert(other.begin() + 14, {'X', 'F', 'I', 'H', 0, 0, 0, 2, 1, 2});
  EXPECT_EQ(VbErrorNumber([&] { platform::CheckMidi(other); }), kErrInvalidFileFormat);
}

TEST(SoundCache, DecodesOnceAgainWhenTheFileChangesAndKeepsWithinItsBudget) {
  TempDir dir;
  // About 176 kB each once decoded (1 s of 16-bit stereo at 44100 Hz is 176400 bytes).
  platform::SoundCache cache(400000);
  auto file = dir.Write("a.wav", ToneWav(0.1));
  auto first = cache.Load(file);
  EXPECT_EQ(cache.Load(file), first) << "the same decoded sound";
  dir.Write("a.wav", ToneWav(0.3));
  auto second = cache.Load(file);
  EXPECT_NE(second, first);
  EXPECT_NEAR(second->seconds(), 0.3, 0.01);
  EXPECT_EQ(cache.size(), 1u);

  std::vector<std::shared_ptr<const platform::DecodedSound>> held;
  for (int i = 0; i < 4; ++i)
    held.push_back(cache.Load(dir.Write("s" + std::to_string(i) + ".wav", ToneWav(1.0))));
  EXPECT_EQ(cache.size(), 2u);
  EXPECT_LE(cache.bytes(), 400000u);
  EXPECT_FALSE(held[0]->samples.empty()) << "a sound in use outlives its cache entry";
  EXPECT_EQ(VbErrorNumber([&] { cache.Load(dir.path() / "missing.wav"); }), kErrFileNotFound);
}

}  // namespace
}  // namespace qv::testing
