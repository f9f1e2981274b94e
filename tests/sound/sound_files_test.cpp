// The DirectSound scale, WAV decoding of good and hostile files, the sound cache and the
// recording device's checks.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>

#include "platform/audio.h"
#include "platform/headless/recording_audio.h"
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

TEST(VolumeScale, HundredthsOfADecibelAsDirectSoundMapsThemAndPanAttenuatesTheFarSide) {
  EXPECT_DOUBLE_EQ(VolumeGain(0), 1.0);
  EXPECT_DOUBLE_EQ(VolumeGain(500), 1.0) << "above 0 counts as full";
  EXPECT_NEAR(VolumeGain(-600), std::pow(10.0, -0.3), 1e-12);
  EXPECT_EQ(VolumeGain(-10000), 0.0);
  EXPECT_EQ(VolumeGain(-32768), 0.0) << "below -10000 is silence";
  auto centre = ChannelGains(0, -2000);
  EXPECT_NEAR(centre.left, 0.1, 1e-12);
  EXPECT_NEAR(centre.right, 0.1, 1e-12);
  auto left = ChannelGains(-2000, 0);
  EXPECT_DOUBLE_EQ(left.left, 1.0);
  EXPECT_NEAR(left.right, 0.1, 1e-12);
  auto right = ChannelGains(4000, -2000);
  EXPECT_NEAR(right.right, 0.1, 1e-12);
  EXPECT_NEAR(right.left, 0.001, 1e-12);
  EXPECT_EQ(ChannelGains(INT32_MIN, 0).right, 0.0) << "no overflow at the extreme";
  EXPECT_EQ(ChannelGains(INT32_MAX, 0).left, 0.0);
}

TEST(DecodeWav, MonoAtAnyRateBecomesStereoAtTheMixingRate) {
  const auto wav = ToneWav(0.5, 440.0, 16000, 22050);
  const auto sound = DecodeWav(wav);
  EXPECT_NEAR(sound.seconds(), 0.5, 0.01);
  ASSERT_GT(sound.samples.size(), 1000u);
  int peak = 0;
  for (size_t i = 0; i + 1 < sound.samples.size(); i += 2) {
    EXPECT_EQ(sound.samples[i], sound.samples[i + 1]) << "both sides carry the mono sound";
    peak = std::max(peak, std::abs(static_cast<int>(sound.samples[i])));
  }
  EXPECT_GT(peak, 14000);
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

TEST(RecordingAudio, ChecksChannelsAndFilesAsTheRealDeviceDoes) {
  TempDir dir;
  auto good = dir.Write("good.wav", SilentWav());
  auto junk = dir.Write("junk.wav", std::string("RIFF....not a wave file at all"));
  platform::RecordingAudio audio;
  audio.Play(3, "good.wav", good, true, 100, -200);
  EXPECT_EQ(VbErrorNumber([&] { audio.Play(3, "junk.wav", junk, false, 0, 0); }),
            kErrInvalidFileFormat);
  EXPECT_EQ(VbErrorNumber([&] { audio.Play(3, "none.wav", dir.path() / "none.wav", false, 0, 0); }),
            kErrFileNotFound);
  EXPECT_EQ(audio.channel(3).file, "good.wav") << "a failed play leaves the channel as it was";
  EXPECT_TRUE(audio.channel(3).playing);
  EXPECT_EQ(VbErrorNumber([&] { audio.Play(0, "good.wav", good, false, 0, 0); }), kErrSubscript);
  EXPECT_EQ(VbErrorNumber([&] { audio.Play(21, "good.wav", good, false, 0, 0); }), kErrSubscript);
  audio.Stop(0);
  audio.Stop(99);  // harmless
  audio.Stop(4);   // idle: harmless, not recorded
  audio.Stop(3);
  EXPECT_FALSE(audio.channel(3).playing);
  EXPECT_THAT(audio.calls(),
              ::testing::ElementsAre("Play(3, good.wav, True, 100, -200)", "Stop(3)"));
  EXPECT_EQ(VbErrorNumber([&] {
              audio.PlayMusic(platform::MusicKind::kMp3, "x.mp3", dir.path() / "x.mp3", 0, false);
            }),
            kErrFileNotFound);
  EXPECT_EQ(audio.music().kind, platform::MusicKind::kNone);
}

}  // namespace
}  // namespace qv::testing
