// The ends of the DirectSound scale, WAV decoding of good and hostile files, the MIDI
// check and the sound cache; and sound channels and music in a running game: responders
// that wait for a sound, channels replaced and stopped, the error boxes, the soundtrack's
// rules, the MP3 loop and the music switch. The game runs headless on the recording sound
// device.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstring>

#include "engine/engine_harness.h"
#include "platform/audio.h"
#include "platform/music_files.h"
#include "platform/sound_files.h"

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

using platform::MusicKind;
using ::testing::Contains;
using ::testing::ElementsAre;
using ::testing::IsEmpty;

// Scene 1: slot 3 is a responder waiting for "bell.wav" that adds 1 to flag 50.
constexpr const char* kBellGame = R"({"Scenes": [{"Objects": [
    {"Slot": 3, "ObjType": 5, "ObjN0": 2, "ObjS0": "bell.wav",
     "ObjN12": 1, "ObjN13": 50, "ObjN14": 1, "ObjN15": 1}]}]})";

// The bell game with more sounds: a.wav, b.wav, rain.wav, Theme.MID and loop.mp3 exist.
class SoundGame : public EngineHarness {
 public:
  SoundGame() : EngineHarness(kBellGame) {
    for (const char* name : {"a.wav", "b.wav", "rain.wav"}) {
      dir().Write(std::string("resource/mmedia/") + name, SilentWav());
    }
    dir().Write("resource/mmedia/Theme.MID", OneNoteMidi());
    dir().Write("resource/mmedia/loop.mp3", ToneMp3());
  }
};

std::string MediaFolder(const EngineHarness& h) {
  return (h.dir().path() / "resource" / "mmedia").string() + "/";
}

TEST(PlayWav, AWatchedSoundFiresItsResponderOnAnyChannelAndPlaysNothing) {
  SoundGame h;
  h.LoadScene(1);
  h.audio().ClearCalls();
  h.sound().PlayWav("bell.wav", false, 7, 0, 0);
  EXPECT_EQ(h.state().Flags[50], 1);
  EXPECT_THAT(h.Lines(), Contains("[Resp Index # 3] 'bell.wav' played. Taking action..."));
  h.sound().PlayWav("bell.wav", true, 18, 0, 0);
  EXPECT_THAT(h.audio().calls(), IsEmpty()) << "PlayWav played nothing itself";
  EXPECT_FALSE(h.audio().channel(7).playing);
  EXPECT_FALSE(h.audio().channel(18).playing);

  h.sound().PlayWAVQVX("bell.wav", false, 7, 0, 0);
  EXPECT_TRUE(h.audio().channel(7).playing) << "PlayWAVQVX has no responder check";
  h.sound().PlayWav("Bell.wav", false, 8, 0, 0);
  EXPECT_EQ(h.audio().channel(8).file, "Bell.wav") << "the name must match exactly";
}

TEST(PlayWav, ABusyChannelIsReplacedAndFailuresShowTheErrorBoxAndDisturbNothingElse) {
  SoundGame h;
  h.dir().Write("resource/mmedia/junk.wav", std::string("this is no sound"));
  h.sound().PlayWAVQVX("a.wav", true, 5, 0, 0);
  h.sound().PlayWav("rain.wav", true, 6, 0, 0);
  h.sound().PlayWav("b.wav", false, 5, -500, -1000);
  const auto& five = h.audio().channel(5);
  EXPECT_EQ(five.file, "b.wav");
  EXPECT_FALSE(five.loop);
  EXPECT_EQ(five.pan, -500);
  EXPECT_EQ(five.volume, -1000);
  EXPECT_EQ(h.audio().channel(6).file, "rain.wav");
  h.sound().StopWav(5);
  h.sound().StopWav(5);  // again: harmless
  EXPECT_FALSE(h.audio().channel(5).playing);
  EXPECT_TRUE(h.audio().channel(6).playing);
  EXPECT_TRUE(h.Boxes().empty());

  h.sound().PlayWAVQVX("a.wav", true, 5, 0, 0);
  h.sound().PlayWav("gone2.wav", false, 5, -100, -300);
  h.sound().PlayWAVQVX("gone2.wav", false, 16, 0, 0);
  h.sound().PlayWav("gone2.wav", false, 14, 0, 0);
  h.sound().PlayWAVQVX("junk.wav", false, 5, 0, 0);
  h.sound().PlayWAVQVX("a.wav", false, 25, 0, 0);
  h.sound().PlayWav("..\\..\\outside.wav", false, 2, 0, 0);
  EXPECT_THAT(h.Boxes(), ElementsAre("Error playing WAV file.  File 'gone2.wav' - Ch5 - Pan-100 - "
                                     "Vol-300\rErr #53 : File not found",
                                     "Error playing WAV file.  File 'gone2.wav' - Channel16 - Pan0 "
                                     "- Vol0\rErr #53 : File not found",
                                     "Error playing WAV file.  File 'gone2.wav' - Channel14 - Pan0 "
                                     "- Vol0\rErr #53 : File not found",
                                     "Error playing WAV file.  File 'junk.wav' - Channel5 - Pan0 - "
                                     "Vol0\rErr #321 : Invalid file format",
                                     "Error playing WAV file.  File 'a.wav' - Channel25 - Pan0 - "
                                     "Vol0\rErr #9 : Subscript out of range",
                                     "Error playing WAV file.  File '..\\..\\outside.wav' - Ch2 - "
                                     "Pan0 - Vol0\rErr #52 : Bad file name or number"));
  EXPECT_EQ(h.audio().channel(5).file, "a.wav") << "the failing plays left channel 5 alone";
  EXPECT_TRUE(h.audio().channel(5).playing);
}

TEST(Soundtrack, TheSameNameInAnyCaseRestartsNothingANewVolumeOnlyChangesTheVolume) {
  SoundGame h;
  h.sound().PlayWAVQVX("a.wav", true, 19, 0, 0);
  h.music().Soundtrack("Theme.MID", -500, false);
  EXPECT_FALSE(h.audio().channel(19).playing) << "the old soundtrack channel stopped";
  EXPECT_THAT(h.audio().calls(), Contains("PlayMusic(MIDI, Theme.MID, -500, True)"));
  EXPECT_EQ(h.music().CurrentSoundtrack, "Theme.MID");
  h.ClearLog();

  h.music().Soundtrack("theme.mid", -500, false);
  EXPECT_THAT(h.audio().calls(), IsEmpty());
  h.music().Soundtrack("THEME.mid", -800, false);
  EXPECT_THAT(h.audio().calls(), ElementsAre("SetMusicVolume(-800)"));
  EXPECT_THAT(h.Lines(), ElementsAre("Soundtrack volume changed to '-800'."));
  EXPECT_EQ(h.music().CurrentSoundtrack, "Theme.MID") << "the name as first given";
  h.ClearLog();

  h.music().Soundtrack("theme.mid", -800, true);
  EXPECT_THAT(h.audio().calls(),
              ElementsAre("StopMusic()", "PlayMusic(MIDI, theme.mid, -800, True)"));
  EXPECT_THAT(h.Lines(), ElementsAre("Soundtrack changed to 'theme.mid'."));
}

TEST(Soundtrack, AWavLoopsOnChannel19AnyOtherExtensionStopsTheMusicAndStopSndtrkStopsAll) {
  SoundGame h;
  h.music().Soundtrack("rain.wav", -300, false);
  EXPECT_EQ(h.audio().channel(19).file, "rain.wav");
  EXPECT_TRUE(h.audio().channel(19).loop);
  h.audio().ClearCalls();
  h.music().Soundtrack("RAIN.WAV", -100, false);
  EXPECT_THAT(h.audio().calls(), ElementsAre("SetGains(19, 0, -100)")) << "its volume there";

  h.music().Soundtrack("Theme.MID", 0, false);
  h.audio().ClearCalls();
  h.music().Soundtrack("tune.ogg", -200, false);
  EXPECT_THAT(h.audio().calls(), ElementsAre("StopMusic()")) << "and plays nothing";
  EXPECT_EQ(h.music().CurrentSoundtrack, "Theme.MID") << "nothing else changes";
  EXPECT_THAT(h.Lines(), Contains("Soundtrack changed to 'tune.ogg'."));

  h.music().Soundtrack("loop.mp3", 0, false);
  h.sound().PlayWAVQVX("rain.wav", true, 19, 0, 0);
  h.music().Soundtrack("(STOP Sndtrk)", 0, false);
  EXPECT_FALSE(h.audio().channel(19).playing);
  EXPECT_FALSE(h.audio().music().running);
  EXPECT_FALSE(h.music().Mp3Timer->Enabled());
  EXPECT_EQ(h.music().CurrentSoundtrack, "");
  EXPECT_THAT(h.Lines(), Contains("Soundtrack stopped."));
}

TEST(Soundtrack, AnMp3StartsAgainFromTheBeginningAtItsEndOnAnMp3TimerTick) {
  SoundGame h;
  h.music().Soundtrack("loop.mp3", -400, false);
  EXPECT_THAT(h.audio().calls(), Contains("PlayMusic(MP3, loop.mp3, -400, False)"));
  h.audio().ClearCalls();
  h.loop().PassTime(1800);
  EXPECT_THAT(h.audio().calls(), IsEmpty()) << "still playing: the ticks change nothing";
  h.audio().EndMusic();
  h.loop().PassTime(599);
  EXPECT_THAT(h.audio().calls(), IsEmpty());
  h.loop().PassTime(1);
  EXPECT_THAT(h.audio().calls(), ElementsAre("RestartMusic()"));
  h.music().StopMP3();
  h.audio().EndMusic();
  h.loop().PassTime(1200);
  EXPECT_THAT(h.audio().calls(), ElementsAre("RestartMusic()", "StopMusic()"))
      << "a stopped MP3 is not started again";
}

TEST(Music, MidiAndMp3ThatFailShowTheirBoxesAndKeepTheNewName) {
  SoundGame h;
  h.music().Soundtrack("gone.mid", -100, false);
  h.music().Soundtrack("gone.mp3", -100, false);
  EXPECT_THAT(h.Boxes(),
              ElementsAre("ERROR PLAYING MIDI FILE.  \rErr #53 :  File not found\rPath = " +
                              MediaFolder(h) + "\rFilename = gone.mid",
                          "ERROR PLAYING MP3 FILE.  \rErr #53 :  File not found\rPath = " +
                              MediaFolder(h) + "\rFilename = gone.mp3"));
  EXPECT_EQ(h.music().CurrentSoundtrack, "gone.mp3");
  EXPECT_FALSE(h.music().Mp3Timer->Enabled());
  h.music().StopMIDI();  // players that never started: nothing happens
  h.music().SetMP3Volume(-100);
  EXPECT_EQ(h.Boxes().size(), 2u);
}

TEST(Music, StopAllSoundsAndANewGameLeaveTheButtonsChannelAndForgetTheSoundtrack) {
  SoundGame h;
  h.music().Soundtrack("loop.mp3", 0, false);
  h.sound().PlayWAVQVX("a.wav", false, 18, 0, 0);
  h.sound().PlayWAVQVX("b.wav", false, 20, 0, 0);
  h.engine().StopAllSounds();
  EXPECT_TRUE(h.audio().channel(18).playing);
  EXPECT_FALSE(h.audio().channel(20).playing);
  EXPECT_FALSE(h.audio().music().running);
  EXPECT_FALSE(h.music().Mp3Timer->Enabled());
  h.engine().ResetGameState();
  EXPECT_EQ(h.music().CurrentSoundtrack, "");
}

TEST(Music, TheSwitchStopsTheSoundtrackKeepsItsNameAndStartsItAgain) {
  SoundGame h;
  h.music().Soundtrack("loop.mp3", -300, false);
  h.audio().ClearCalls();
  h.ClearLog();
  h.music().ToggleMusic();
  EXPECT_FALSE(h.music().MusicOn);
  EXPECT_THAT(h.audio().calls(), ElementsAre("StopMusic()"));
  EXPECT_EQ(h.music().CurrentSoundtrack, "loop.mp3");
  EXPECT_TRUE(h.screen().MsgStatus->Visible());
  EXPECT_EQ(h.screen().Msg->Caption(), "MUSIC OFF");
  h.audio().ClearCalls();
  h.music().ToggleMusic();
  EXPECT_TRUE(h.music().MusicOn);
  EXPECT_THAT(h.audio().calls(), ElementsAre("StopMusic()", "ReleaseMusic()",
                                             "PlayMusic(MP3, loop.mp3, -300, False)"));
  EXPECT_EQ(h.screen().Msg->Caption(), "MUSIC ON");
  EXPECT_THAT(h.Lines(), ElementsAre("Music toggled off", "Music toggled on",
                                     "Soundtrack changed to 'loop.mp3'."));
  h.loop().PassTime(1000);  // less than the message's time
  EXPECT_TRUE(h.screen().MsgStatus->Visible());
  h.loop().PassTime(2000);
  EXPECT_FALSE(h.screen().MsgStatus->Visible()) << "MsgTimer hides the message line again";
}

}  // namespace
}  // namespace qv::testing
