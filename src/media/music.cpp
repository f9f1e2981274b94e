#include "media/music.h"

#include <exception>

#include "core/procedure.h"
#include "core/text.h"
#include "core/vb_error.h"

namespace qv::media {

using platform::MusicKind;

namespace {

constexpr std::string_view kStopSoundtrack = "(stop sndtrk)";

}  // namespace

Music::Music(platform::EventLoop& loop, MessageBoxService& boxes, SoundChannels& sound)
    : Mp3Timer(std::make_unique<ui::Timer>(loop.timers(), "Mp3Timer")),
      boxes_(boxes),
      sound_(sound) {
  Mp3Timer->SetEnabled(false);
  Mp3Timer->SetInterval(kMp3TimerMs);
  // An MP3 plays once; at its end the timer starts it again, for ever.
  Mp3Timer->on_tick = [this] {
    RunProcedure(boxes_, "Mp3Timer_Timer", [this] {
      platform::AudioDevice& audio = sound_.audio();
      if (Mp3Loaded() && audio.MusicEnded()) audio.RestartMusic();
    });
  };
}

void Music::Progress(std::string_view text) {
  if (on_progress) on_progress(text);
}

bool Music::MidiLoaded() const {
  return sound_.audio().music().kind == MusicKind::kMidi;
}

bool Music::Mp3Loaded() const {
  return sound_.audio().music().kind == MusicKind::kMp3;
}

void Music::Soundtrack(const std::string& name, int32_t volume, bool force) {
  RunProcedure(boxes_, "Soundtrack", [&] {
    const std::string extension = LastThreeLower(name);
    // Names compare as the Windows file system compares them (É = é).
    const bool same_name = EqualsIgnoreCaseCp1252(name, CurrentSoundtrack);
    if (same_name && volume == CurrentSoundtrackVolume && !force) return;
    if (same_name && volume != CurrentSoundtrackVolume) {
      CurrentSoundtrackVolume = volume;
      if (extension == "mp3") {
        SetMP3Volume(volume);
      } else if (extension == "wav") {
        sound_.SetSoundtrackWavVolume(volume);
      } else if (extension == "mid") {
        SetMIDIVolume(volume);
      }
      Progress("Soundtrack volume changed to '" + PlainNum(volume) + "'.");
      return;
    }
    StopMP3();
    StopMIDI();
    sound_.StopWav(kSoundtrackChannel);
    if (LowerAscii(name) == kStopSoundtrack) {
      CurrentSoundtrack.clear();
      Progress("Soundtrack stopped.");
      return;
    }
    if (extension == "mp3") {
      CurrentSoundtrack = name;
      CurrentSoundtrackVolume = volume;
      PlayMP3(name, volume, 0);
    } else if (extension == "wav") {
      CurrentSoundtrack = name;
      CurrentSoundtrackVolume = volume;
      sound_.PlayWAVQVX(name, true, kSoundtrackChannel, 0, volume);
    } else if (extension == "mid") {
      CurrentSoundtrack = name;
      CurrentSoundtrackVolume = volume;
      PlayMIDI(name, volume);
    }
    Progress("Soundtrack changed to '" + name + "'.");
  });
}

void Music::ToggleMusic() {
  if (!MusicOn) {
    MusicOn = true;
    Progress("Music toggled on");
    if (!CurrentSoundtrack.empty()) {
      // Forced: the same name and volume start it again.
      Soundtrack(CurrentSoundtrack, CurrentSoundtrackVolume, true);
    }
    if (on_message) on_message("MUSIC ON");
    return;
  }
  MusicOn = false;
  Progress("Music toggled off");
  if (!CurrentSoundtrack.empty()) {
    const std::string extension = LastThreeLower(CurrentSoundtrack);
    if (extension == "mp3") {
      StopMP3();
    } else if (extension == "wav") {
      sound_.StopWav(kSoundtrackChannel);
    } else if (extension == "mid") {
      StopMIDI();
    }
  }
  if (on_message) on_message("MUSIC OFF");
}

template <typename Body>
void Music::RunPlayer(std::string_view heading, const std::string& name, Body&& body) {
  RunReporting(
      boxes_,
      [&] {
        return ErrorBoxFormat{std::string(heading),
                              "\rErr #",
                              false,
                              " :  ",
                              "\rPath = " + sound_.MediaFolderText() + "\rFilename = " + name,
                              BoxIcon::kNone};
      },
      std::forward<Body>(body));
}

void Music::PlayMIDI(const std::string& name, int32_t volume) {
  RunPlayer("ERROR PLAYING MIDI FILE.  ", name, [&] {
    sound_.audio().PlayMusic(MusicKind::kMidi, name, sound_.SoundFile(name), volume, true);
  });
}

void Music::StopMIDI() {
  if (MidiLoaded()) sound_.audio().StopMusic();
}

void Music::SetMIDIVolume(int32_t volume) {
  if (MidiLoaded()) sound_.audio().SetMusicVolume(volume);
}

void Music::PlayMP3(const std::string& name, int32_t volume, int32_t /*balance*/) {
  RunPlayer("ERROR PLAYING MP3 FILE.  ", name, [&] {
    platform::AudioDevice& audio = sound_.audio();
    if (Mp3Loaded()) audio.ReleaseMusic();
    audio.PlayMusic(MusicKind::kMp3, name, sound_.SoundFile(name), volume, false);
    Mp3Timer->SetEnabled(true);
  });
}

void Music::StopMP3() {
  Mp3Timer->SetEnabled(false);
  if (Mp3Loaded()) sound_.audio().StopMusic();
}

void Music::SetMP3Volume(int32_t volume) {
  if (Mp3Loaded()) sound_.audio().SetMusicVolume(volume);
}

bool Music::TerminateEngine() {
  try {
    if (Mp3Loaded()) sound_.audio().ReleaseMusic();
    return true;
  } catch (const std::exception&) {
    return false;
  }
}

}  // namespace qv::media
