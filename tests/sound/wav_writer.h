#pragma once
// Sound files made by the tests: WAVs of 16-bit PCM from samples, a sine tone and
// silence, and a one-note MIDI file.

#include <cmath>
#include <cstdint>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace qv::testing {

// A canonical 44-byte-header WAV of 16-bit samples (interleaved when stereo).
inline std::vector<uint8_t> MakeWav(const std::vector<int16_t>& samples, int rate = 22050,
                                    int channels = 1) {
  const auto data_bytes = static_cast<uint32_t>(samples.size() * 2);
  std::vector<uint8_t> out(44 + data_bytes);
  size_t at = 0;
  auto put = [&](uint32_t v, int bytes) {
    for (int i = 0; i < bytes; ++i)
      out[at++] = static_cast<uint8_t>(v >> (8 * i));
  };
  auto tag = [&](const char* t) {
    for (int i = 0; i < 4; ++i)
      out[at++] = static_cast<uint8_t>(t[i]);
  };
  tag("RIFF");
  put(36 + data_bytes, 4);
  tag("WAVE");
  tag("fmt ");
  put(16, 4);
  put(1, 2);  // PCM
  put(static_cast<uint32_t>(channels), 2);
  put(static_cast<uint32_t>(rate), 4);
  put(static_cast<uint32_t>(rate * channels * 2), 4);
  put(static_cast<uint32_t>(channels * 2), 2);
  put(16, 2);
  tag("data");
  put(data_bytes, 4);
  for (int16_t s : samples)
    put(static_cast<uint16_t>(s), 2);
  return out;
}

// A mono sine tone of `seconds` at `hz`, peak `amplitude`.
inline std::vector<uint8_t> ToneWav(double seconds, double hz = 440.0, int amplitude = 16000,
                                    int rate = 22050) {
  std::vector<int16_t> samples(static_cast<size_t>(seconds * rate));
  for (size_t i = 0; i < samples.size(); ++i) {
    samples[i] =
        static_cast<int16_t>(amplitude * std::sin(2 * M_PI * hz * static_cast<double>(i) / rate));
  }
  return MakeWav(samples, rate);
}

// A short silent WAV: a sound that exists and plays, for tests about who plays what.
inline std::vector<uint8_t> SilentWav() {
  return MakeWav(std::vector<int16_t>(64, 0));
}

// A Standard MIDI File: one piano note, middle C, held for a second.
inline std::vector<uint8_t> OneNoteMidi() {
  return {'M',  'T',  'h',  'd', 0, 0, 0, 6,  0, 0, 0, 1, 0, 96,  // one track, 96 ticks a beat
          'M',  'T',  'r',  'k', 0, 0, 0, 16,                     // 16 bytes of events:
          0x00, 0xC0, 0x00,                                       // piano
          0x00, 0x90, 60,   100,                                  // note on
          0x81, 0x40, 0x80, 60,  0,                               // 192 ticks (a second): off
          0x00, 0xFF, 0x2F, 0x00};                                // end of track
}

#ifdef QV_SOUND_TEST_DATA
// A short MP3 of a tone (mpg123 decodes it as the real device does).
inline std::vector<uint8_t> ToneMp3() {
  std::ifstream in(std::string(QV_SOUND_TEST_DATA) + "/tone.mp3", std::ios::binary);
  return {std::istreambuf_iterator<char>(in), {}};
}
#endif

}  // namespace qv::testing
