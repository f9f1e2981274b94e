// Real sound through SDL2_mixer: SDL's disk audio driver writes what the player mixes to a
// file in real time, and the tests read the samples back. Volume, pan, looping, MIDI
// through FluidSynth and MP3 are checked by ear, as it were.
//
// data/tone.mp3 is our own: half a second of a 440 Hz sine, encoded by us with
// libavcodec's LAME encoder (22050 Hz mono, 32 kbit/s).

#include <gtest/gtest.h>
#include <unistd.h>

#include <chrono>
#include <cmath>
#include <cstdlib>
#include <functional>
#include <thread>

#include "core/vb_error.h"
#include "media/hostile_media.h"
#include "platform/music_files.h"
#include "platform/sdl/sdl_mixer_audio.h"
#include "sound/wav_writer.h"
#include "test_support.h"

#ifndef QV_SOUND_TEST_DATA
#define QV_SOUND_TEST_DATA ""
#endif

namespace qv::testing {
namespace {

using platform::MusicKind;
using platform::SdlMixerAudio;

constexpr double kFrameRate = 44100.0;

// The mixed output: 16-bit stereo frames at 44100 Hz.
struct Output {
  std::vector<int16_t> samples;

  // The loudest sample of one side (0 left, 1 right) between two times, in seconds.
  int Peak(int side, double from = 0.0, double to = 1e9) const {
    const size_t frames = samples.size() / 2;
    const auto first = static_cast<size_t>(std::max(0.0, from * kFrameRate));
    const auto last = std::min(frames, static_cast<size_t>(to * kFrameRate));
    int peak = 0;
    for (size_t f = first; f < last; ++f) {
      peak = std::max(peak, std::abs(static_cast<int>(samples[2 * f + static_cast<size_t>(side)])));
    }
    return peak;
  }
  int Peak(double from = 0.0, double to = 1e9) const {
    return std::max(Peak(0, from, to), Peak(1, from, to));
  }
  double seconds() const { return static_cast<double>(samples.size() / 2) / kFrameRate; }
};

class DiskAudio : public ::testing::Test {
 protected:
  void SetUp() override {
    out_ = dir_.path() / "mixed.raw";
    setenv("SDL_AUDIODRIVER", "disk", 1);
    setenv("SDL_DISKAUDIOFILE", out_.c_str(), 1);
  }

  // Opens the device, does `act`, lets it play for `ms` of real time, closes it and
  // reads back what was mixed.
  Output Record(const std::function<void(SdlMixerAudio&)>& act, int ms) {
    {
      SdlMixerAudio audio;
      act(audio);
      std::this_thread::sleep_for(std::chrono::milliseconds(ms));
    }
    const auto bytes = ReadBytes(out_);
    Output output;
    output.samples.resize(bytes.size() / 2);
    for (size_t i = 0; i < output.samples.size(); ++i) {
      output.samples[i] = static_cast<int16_t>(bytes[2 * i] | (bytes[2 * i + 1] << 8));
    }
    return output;
  }

  // Plays one sound on channel 1 and records it.
  Output RecordPlay(const std::filesystem::path& file, int pan, int volume, int ms = 400) {
    return Record(
        [&](SdlMixerAudio& a) { a.Play(1, file.filename().string(), file, false, pan, volume); },
        ms);
  }

  std::filesystem::path Sound(const std::string& name, const std::vector<uint8_t>& bytes) {
    return dir_.Write(name, bytes);
  }

  TempDir dir_;
  std::filesystem::path out_;
};

TEST_F(DiskAudio, FullVolumeIsLoudSilentVolumeIsSilentAndPanSilencesTheFarSide) {
  const auto tone = Sound("tone.wav", ToneWav(1.0, 440.0, 16000));
  const Output loud = RecordPlay(tone, 0, 0);
  ASSERT_GT(loud.seconds(), 0.2);
  EXPECT_GT(loud.Peak(0), 14000);
  EXPECT_GT(loud.Peak(1), 14000);

  const Output quiet = RecordPlay(tone, 0, -2000);
  EXPECT_NEAR(quiet.Peak(), 1600, 200) << "-2000 is a tenth";

  EXPECT_EQ(RecordPlay(tone, 0, -10000).Peak(), 0);

  const Output left = RecordPlay(tone, -10000, 0);
  EXPECT_GT(left.Peak(0), 14000);
  EXPECT_EQ(left.Peak(1), 0) << "pan -10000 leaves the right side silent";
}

TEST_F(DiskAudio, ALoopingSoundSoundsAfterItsOwnLengthAndAStopOrAVolumeChangeReachesIt) {
  const auto blip = Sound("blip.wav", ToneWav(0.1, 440.0, 16000));
  const Output looped =
      Record([&](SdlMixerAudio& a) { a.Play(3, "blip.wav", blip, true, 0, 0); }, 700);
  EXPECT_GT(looped.Peak(0.4, 0.6), 14000);
  const Output once =
      Record([&](SdlMixerAudio& a) { a.Play(3, "blip.wav", blip, false, 0, 0); }, 700);
  EXPECT_EQ(once.Peak(0.4, 0.6), 0);
  const Output stopped = Record(
      [&](SdlMixerAudio& a) {
        a.Play(3, "blip.wav", blip, true, 0, 0);
        std::this_thread::sleep_for(std::chrono::milliseconds(200));
        a.Stop(3);
      },
      500);
  EXPECT_EQ(stopped.Peak(0.45, 0.7), 0);

  const auto tone = Sound("tone.wav", ToneWav(1.0, 440.0, 8000));
  const Output lowered = Record(
      [&](SdlMixerAudio& a) {
        a.Play(1, "tone.wav", tone, false, 0, 0);
        std::this_thread::sleep_for(std::chrono::milliseconds(200));
        a.SetVolume(1, -10000);
      },
      400);
  EXPECT_GT(lowered.Peak(0.0, 0.15), 7000);
  EXPECT_EQ(lowered.Peak(0.35, 0.6), 0) << "a volume change reaches the playing sound";
}

TEST_F(DiskAudio, MidiThroughTheSoundfontAndMp3ProduceSound) {
  const auto midi = Sound("note.mid", OneNoteMidi());
  const Output piano = Record(
      [&](SdlMixerAudio& a) { a.PlayMusic(MusicKind::kMidi, "note.mid", midi, 0, true); }, 900);
  EXPECT_GT(piano.Peak(0.1, 0.9), 500);

  const std::filesystem::path mp3 = std::filesystem::path(QV_SOUND_TEST_DATA) / "tone.mp3";
  bool ended = false;
  const Output tone = Record(
      [&](SdlMixerAudio& a) {
        a.PlayMusic(MusicKind::kMp3, "tone.mp3", mp3, 0, false);
        std::this_thread::sleep_for(std::chrono::milliseconds(900));
        ended = a.MusicEnded();
        a.RestartMusic();  // as Mp3Timer does at the end
      },
      400);
  EXPECT_TRUE(ended) << "half a second of MP3 has played to its end";
  EXPECT_GT(tone.Peak(0.1, 0.4), 5000);
  // Ended: silence until it starts again, and then it sounds again. (Where exactly in
  // the recording depends on how busy the machine is.)
  double silent_from = 0.1;
  while (silent_from < tone.seconds() && tone.Peak(silent_from, silent_from + 0.01) > 0)
    silent_from += 0.01;
  double sounds_again = silent_from;
  while (sounds_again < tone.seconds() && tone.Peak(sounds_again, sounds_again + 0.01) == 0)
    sounds_again += 0.01;
  EXPECT_GT(sounds_again - silent_from, 0.1) << "silence after the end";
  EXPECT_GT(tone.Peak(sounds_again, sounds_again + 0.2), 5000) << "and then it sounds again";
}

TEST_F(DiskAudio, TheOutputClosesAfterTwoIdleChecksAndTheNextSoundOrPieceOpensIt) {
  const auto tone = Sound("tone.wav", ToneWav(0.3, 440.0, 16000));
  const std::filesystem::path mp3 = std::filesystem::path(QV_SOUND_TEST_DATA) / "tone.mp3";
  const Output reopened = Record(
      [&](SdlMixerAudio& a) {
        a.Play(1, "tone.wav", tone, true, 0, 0);
        a.PlayMusic(MusicKind::kMp3, "tone.mp3", mp3, 0, false);
        a.ReleaseIdleOutput();
        a.ReleaseIdleOutput();
        EXPECT_TRUE(a.output_open()) << "a looping sound plays";
        a.Stop(1);
        std::this_thread::sleep_for(std::chrono::milliseconds(900));
        ASSERT_TRUE(a.MusicEnded());
        a.ReleaseIdleOutput();
        EXPECT_TRUE(a.output_open()) << "one idle check is not enough";
        a.ReleaseIdleOutput();
        EXPECT_FALSE(a.output_open()) << "nothing plays: the output goes";
        a.Stop(1);  // harmless while closed
        a.SetVolume(1, -100);
        a.RestartMusic();
        EXPECT_TRUE(a.output_open()) << "the piece started again opens it";
        a.StopMusic();
        a.ReleaseIdleOutput();
        a.ReleaseIdleOutput();
        ASSERT_FALSE(a.output_open());
        a.Play(2, "tone.wav", tone, false, 0, 0);
        EXPECT_TRUE(a.output_open()) << "so does a sound";
      },
      250);
  // The disk driver starts its file again when the output opens: what is in it is the
  // last sound, at full volume.
  EXPECT_GT(reopened.Peak(0.0, 0.2), 14000);
}

// Runs `body` under an alarm: a hang kills the test program (SIGALRM) instead of
// stopping the suite.
void MustEnd(const std::function<void()>& body) {
  alarm(30);
  body();
  alarm(0);
}

TEST_F(DiskAudio, EveryRefusedMidiIsRefusedAtOnceAndNeverHangsTheMixer) {
  for (const auto& [name, bytes] : RefusedMidis()) {
    const auto file = Sound(name, bytes);
    MustEnd([&] {
      int error = 0;
      const Output out = Record(
          [&](SdlMixerAudio& a) {
            a.PlayMusic(MusicKind::kMidi, "note.mid", Sound("note.mid", OneNoteMidi()), 0, true);
            error = VbErrorNumber([&] { a.PlayMusic(MusicKind::kMidi, name, file, 0, true); });
            a.Play(1, "tone.wav", Sound("tone.wav", ToneWav(0.3)), false, 0, 0);
            a.Stop(1);  // Mix_HaltChannel while the music plays
            a.StopMusic();
            a.ReleaseMusic();
          },
          100);
      EXPECT_EQ(error, kErrInvalidFileFormat) << name;
    });
    // Past the check, FluidSynth itself is handed the file: it plays nothing, and
    // rendering returns instead of reading the file again and again. (The controller
    // beyond 127 is refused for FluidSynth's sake: it would write past its tables; the
    // chunk of another kind FluidSynth fails on.)
    if (name == "controller_beyond_127.mid" || name == "other_chunk.mid") continue;
    MustEnd([&] {
      platform::MidiSynth synth(platform::kDefaultSoundfont);
      auto piece = synth.Open(bytes);
      std::vector<float> block(2 * 4096);
      float loudest = 0.0f;
      for (int i = 0; i < 20; ++i) {
        if (piece->Render(block.data(), 4096) < 4096) piece->Rewind();
        for (float sample : block)
          loudest = std::max(loudest, std::abs(sample));
      }
      EXPECT_LT(loudest, 1e-4f) << name;
    });
  }
}

TEST_F(DiskAudio, MusicVolumeFollowsTheChannelsCurveDownToSilenceAtMinus10000) {
  const auto mp3 = std::filesystem::path(QV_SOUND_TEST_DATA) / "tone.mp3";
  const auto peak_at = [&](int volume) {
    return Record([&](SdlMixerAudio& a) { a.PlayMusic(MusicKind::kMp3, "t", mp3, volume, false); },
                  400)
        .Peak(0.1, 0.4);
  };
  const double full = peak_at(0);
  ASSERT_GT(full, 5000);
  for (int volume : {-2000, -5000}) {
    const double db = 20.0 * std::log10(peak_at(volume) / full) * 100.0;
    EXPECT_NEAR(db, volume, 100.0) << "within 1 dB at " << volume;
  }
  EXPECT_GT(peak_at(-6000), 0) << "-6000 is faint, not silent";
  EXPECT_EQ(peak_at(-10000), 0);
}

TEST_F(DiskAudio, AMissingSoundfontFailsTheMidiOnly) {
  const auto midi = Sound("note.mid", OneNoteMidi());
  platform::SdlAudioConfig config;
  config.soundfont = dir_.path() / "none.sf2";
  SdlMixerAudio audio(config);
  const std::string error =
      VbErrorText([&] { audio.PlayMusic(MusicKind::kMidi, "note.mid", midi, 0, true); });
  EXPECT_EQ(error.rfind(std::to_string(kErrFileNotFound) + " ", 0), 0u) << error;
  EXPECT_NE(error.find("none.sf2"), std::string::npos) << error;
  EXPECT_EQ(audio.music().kind, MusicKind::kNone);
}

}  // namespace
}  // namespace qv::testing
