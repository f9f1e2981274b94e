// The DirectSound scale, WAV decoding of good and hostile files, the sound cache and the
// recording device's checks.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>

#include "core/vb_error.h"
#include "platform/audio.h"
#include "platform/headless/recording_audio.h"
#include "platform/sound_files.h"
#include "sound/wav_writer.h"
#include "test_support.h"

namespace qv::testing {
namespace {

using platform::ChannelGains;
using platform::DecodeWav;
using platform::VolumeGain;

int ErrorOf(const std::function<void()>& body) {
  try {
    body();
  } catch (const VbError& e) {
    return e.number();
  }
  return 0;
}

void Put32(std::vector<uint8_t>& bytes, size_t at, uint32_t value) {
  for (int i = 0; i < 4; ++i)
    bytes[at + i] = static_cast<uint8_t>(value >> (8 * i));
}

TEST(VolumeScale, HundredthsOfADecibelAsDirectSoundMapsThem) {
  EXPECT_DOUBLE_EQ(VolumeGain(0), 1.0);
  EXPECT_DOUBLE_EQ(VolumeGain(500), 1.0) << "above 0 counts as full";
  EXPECT_NEAR(VolumeGain(-2000), 0.1, 1e-12);
  EXPECT_NEAR(VolumeGain(-600), std::pow(10.0, -0.3), 1e-12);
  EXPECT_EQ(VolumeGain(-10000), 0.0);
  EXPECT_EQ(VolumeGain(-32768), 0.0) << "below -10000 is silence";
}

TEST(VolumeScale, PanAttenuatesTheFarSide) {
  auto centre = ChannelGains(0, -2000);
  EXPECT_NEAR(centre.left, 0.1, 1e-12);
  EXPECT_NEAR(centre.right, 0.1, 1e-12);
  auto left = ChannelGains(-2000, 0);
  EXPECT_DOUBLE_EQ(left.left, 1.0);
  EXPECT_NEAR(left.right, 0.1, 1e-12);
  auto right = ChannelGains(4000, -2000);
  EXPECT_NEAR(right.right, 0.1, 1e-12);
  EXPECT_NEAR(right.left, 0.001, 1e-12);
  EXPECT_EQ(ChannelGains(-10000, 0).right, 0.0);
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
  std::vector<std::vector<uint8_t>> bad;
  bad.push_back({});                                                     // empty
  bad.push_back(std::vector<uint8_t>(good.begin(), good.begin() + 30));  // cut in the header
  std::vector<uint8_t> text(200, 'x');
  bad.push_back(text);  // not a WAV at all
  auto no_rate = good;
  Put32(no_rate, 24, 0);  // sample rate 0
  bad.push_back(no_rate);
  auto crawl = good;
  Put32(crawl, 24, 1);  // 1 Hz: would become millions of samples
  Put32(crawl, 28, 2);
  bad.push_back(crawl);
  auto no_channels = good;
  no_channels[22] = 0;
  no_channels[23] = 0;
  bad.push_back(no_channels);
  for (size_t i = 0; i < bad.size(); ++i) {
    EXPECT_EQ(ErrorOf([&] { DecodeWav(bad[i]); }), kErrInvalidFileFormat) << "case " << i;
  }
}

TEST(DecodeWav, ChunkSizesBeyondTheFileReadOnlyWhatIsThere) {
  // The sizes a header claims are not believed: what the file holds plays.
  for (uint32_t claimed : {0x7FFFFFF0u, 0xFFFFFFF0u}) {
    auto wav = ToneWav(0.2);
    Put32(wav, 40, claimed);  // the data chunk
    Put32(wav, 4, claimed);   // the whole file
    EXPECT_NEAR(DecodeWav(wav).seconds(), 0.2, 0.01) << claimed;
  }
}

TEST(SoundCache, DecodesOnceAndAgainWhenTheFileChanges) {
  TempDir dir;
  auto file = dir.Write("a.wav", ToneWav(0.1));
  platform::SoundCache cache;
  auto first = cache.Load(file);
  EXPECT_EQ(cache.Load(file), first) << "the same decoded sound";
  dir.Write("a.wav", ToneWav(0.3));
  auto second = cache.Load(file);
  EXPECT_NE(second, first);
  EXPECT_NEAR(second->seconds(), 0.3, 0.01);
  EXPECT_EQ(cache.size(), 1u);
}

TEST(SoundCache, KeepsWithinItsBudgetNewestFirst) {
  TempDir dir;
  // About 176 kB each once decoded (1 s of 16-bit stereo at 44100 Hz is 176400 bytes).
  platform::SoundCache cache(400000);
  std::vector<std::shared_ptr<const platform::DecodedSound>> held;
  for (int i = 0; i < 4; ++i) {
    held.push_back(cache.Load(dir.Write("s" + std::to_string(i) + ".wav", ToneWav(1.0))));
  }
  EXPECT_EQ(cache.size(), 2u);
  EXPECT_LE(cache.bytes(), 400000u);
  EXPECT_FALSE(held[0]->samples.empty()) << "a sound in use outlives its cache entry";
  EXPECT_EQ(ErrorOf([&] { cache.Load(dir.path() / "missing.wav"); }), kErrFileNotFound);
}

TEST(RecordingAudio, ChecksChannelsAndFilesAsTheRealDeviceDoes) {
  TempDir dir;
  auto good = dir.Write("good.wav", SilentWav());
  auto junk = dir.Write("junk.wav", std::string("RIFF....not a wave file at all"));
  platform::RecordingAudio audio;
  audio.Play(3, "good.wav", good, true, 100, -200);
  EXPECT_EQ(ErrorOf([&] { audio.Play(3, "junk.wav", junk, false, 0, 0); }), kErrInvalidFileFormat);
  EXPECT_EQ(ErrorOf([&] { audio.Play(3, "none.wav", dir.path() / "none.wav", false, 0, 0); }),
            kErrFileNotFound);
  EXPECT_EQ(audio.channel(3).file, "good.wav") << "a failed play leaves the channel as it was";
  EXPECT_TRUE(audio.channel(3).playing);
  EXPECT_EQ(ErrorOf([&] { audio.Play(0, "good.wav", good, false, 0, 0); }), kErrSubscript);
  EXPECT_EQ(ErrorOf([&] { audio.Play(21, "good.wav", good, false, 0, 0); }), kErrSubscript);
  audio.Stop(0);
  audio.Stop(99);  // harmless
  audio.Stop(4);   // idle: harmless, not recorded
  audio.Stop(3);
  EXPECT_FALSE(audio.channel(3).playing);
  EXPECT_THAT(audio.calls(),
              ::testing::ElementsAre("Play(3, good.wav, True, 100, -200)", "Stop(3)"));
  EXPECT_EQ(ErrorOf([&] {
              audio.PlayMusic(platform::MusicKind::kMp3, "x.mp3", dir.path() / "x.mp3", 0, false);
            }),
            kErrFileNotFound);
  EXPECT_EQ(audio.music().kind, platform::MusicKind::kNone);
}

}  // namespace
}  // namespace qv::testing
