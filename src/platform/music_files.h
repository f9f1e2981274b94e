#pragma once
// Music pieces from a game's files, as both sound devices read them: MIDI files are
// played by FluidSynth with a General MIDI soundfont, MP3 files decoded by mpg123. The
// device with a window renders them into the mix; the headless device opens them the
// very same way and discards the sound, so a file that fails shows the same box with
// and without a window.
//
// Game files are untrusted. FluidSynth reads a MIDI file only when it starts playing it,
// on the audio thread, and tries again for as long as the piece repeats: a file it
// refuses there would hang the sound output. So a MIDI file is checked twice before it
// gets there: by our own reading, which refuses everything FluidSynth's reader refuses
// (and files whose size or event count is absurd), and by a silent trial in FluidSynth
// itself. A piece that still fails, or that plays for no time at all, is never retried
// in a loop. FluidSynth's messages reach standard error at a limited rate.

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <span>
#include <vector>

namespace qv::platform {

// The largest MIDI file read, and the most events one may hold (FluidSynth keeps each
// in memory; real pieces have a few thousand).
inline constexpr size_t kMaxMidiFileBytes = size_t{16} << 20;
inline constexpr size_t kMaxMidiEvents = size_t{1} << 20;

// Checks that bytes are a Standard MIDI File FluidSynth plays: a six-byte header of
// format 0-2 with 1 to 127 tracks and a division in ticks (not SMPTE), the tracks it
// declares in track chunks that fit in the file (FluidSynth fails on chunks of other
// kinds), every event complete (running status, system
// exclusive and meta lengths, the fixed lengths of tempo, time and key signatures and
// end of track), channel messages with data bytes below 128 (FluidSynth does not check
// them, and a controller numbered beyond 127 corrupts its memory), at least one event
// to play, and then FluidSynth's own reading of it.
// VbError 321 when any of that fails.
void CheckMidi(std::span<const uint8_t> bytes);

// A piece being played: 32-bit float stereo at the mixing rate.
class MusicSource {
 public:
  virtual ~MusicSource() = default;
  // Fills `frames` frames (left, right) and returns how many belong to the piece; fewer
  // than asked (the rest silence) once it has played to its end.
  virtual size_t Render(float* out, size_t frames) = 0;
  // Back to the beginning.
  virtual void Rewind() = 0;
};

// Opens an MP3 piece and decodes its first frames; VbError 321 when mpg123 finds no
// sound in the bytes.
std::unique_ptr<MusicSource> OpenMp3(std::vector<uint8_t> bytes);

// The synthesizer that plays MIDI pieces, with its soundfont loaded once. VbError 53 when
// the soundfont is missing, 321 when FluidSynth cannot read it.
class MidiSynth {
 public:
  explicit MidiSynth(const std::filesystem::path& soundfont);
  ~MidiSynth();
  MidiSynth(const MidiSynth&) = delete;
  MidiSynth& operator=(const MidiSynth&) = delete;

  // A piece of bytes that passed CheckMidi, played by this synthesizer. One piece at a
  // time: the previous one must be destroyed first.
  std::unique_ptr<MusicSource> Open(std::vector<uint8_t> bytes);

 private:
  struct Impl;
  std::unique_ptr<Impl> impl_;
};

}  // namespace qv::platform
