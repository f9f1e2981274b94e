#pragma once
// The soundtrack and the music: at most one piece of background music at a time, named
// by scenes and responders with a volume. The name's last three letters choose the
// player: "wav" plays on sound channel 19, "mid" as MIDI, "mp3" as MP3 (looped by
// `Mp3Timer`, which starts it again whenever it has played to its end). F1 on the game
// screen switches the music off and on (`ToggleMusic`).
//
// MIDI and MP3 share the sound output's one music stream: starting one replaces the
// other, and each player's stop and volume act only while its own piece is loaded.

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>

#include "core/message_box.h"
#include "media/sound_channels.h"
#include "platform/event_loop.h"
#include "ui/timer.h"

namespace qv::media {

class Music {
 public:
  // How often `Mp3Timer` looks whether the MP3 has reached its end.
  static constexpr int32_t kMp3TimerMs = 600;

  Music(platform::EventLoop& loop, MessageBoxService& boxes, SoundChannels& sound);

  // Where progress lines go (the notify log, while verbose logging is on) and what shows
  // a text on the game screen's message line; unset, they go nowhere.
  std::function<void(std::string_view)> on_progress;
  std::function<void(const std::string&)> on_message;

  // Sets the soundtrack. The same name (in any letter case) with the same volume changes
  // nothing unless `force`; the same name with a new volume only changes the volume;
  // anything else stops the music and starts the new piece. "(stop sndtrk)" stops it.
  void Soundtrack(const std::string& name, int32_t volume, bool force);
  // Forgets the current soundtrack (a new game, a game loaded, back to the menu).
  void ClearSoundtrack() { CurrentSoundtrack.clear(); }
  void StopMP3();
  void StopMIDI();

  // The music switch: off stops the soundtrack and keeps its name; on starts it again.
  // Either way "MUSIC ON" / "MUSIC OFF" shows on the game screen's message line.
  void ToggleMusic();

  // A MIDI piece from resource\mmedia\, repeating without end.
  void PlayMIDI(const std::string& name, int32_t volume);
  void SetMIDIVolume(int32_t volume);
  // An MP3 piece from resource\mmedia\, looped by Mp3Timer. The music stream plays
  // centred: `balance` is accepted for the callers' sake (they pass 0).
  void PlayMP3(const std::string& name, int32_t volume, int32_t balance);
  void SetMP3Volume(int32_t volume);
  // Stops and releases the MP3 player (the exit sequence); false when that failed.
  bool TerminateEngine();

  // The soundtrack now set ("" = none) and its volume; kept in saved games.
  std::string CurrentSoundtrack;
  int32_t CurrentSoundtrackVolume = 0;
  // The music switch; on when the player starts.
  bool MusicOn = true;
  std::unique_ptr<ui::Timer> Mp3Timer;

 private:
  void Progress(std::string_view text);
  // Runs a player's operation; a failure shows "ERROR PLAYING MIDI FILE." (or MP3) with
  // the error, the media folder and the file name.
  template <typename Body>
  void RunPlayer(std::string_view heading, const std::string& name, Body&& body);
  bool MidiLoaded() const;
  bool Mp3Loaded() const;

  MessageBoxService& boxes_;
  SoundChannels& sound_;
};

}  // namespace qv::media
