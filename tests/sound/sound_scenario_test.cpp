// Sound channels and music in a running game: responders that wait for a sound, channels
// replaced and stopped, the error boxes, the soundtrack's rules, the MP3 loop and the
// music switch. The game runs headless on the recording sound device.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "engine/engine_harness.h"

namespace qv::testing {
namespace {

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
