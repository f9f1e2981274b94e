#pragma once
// Sound files made by the tests: WAVs of PCM or float samples, a sine tone and silence,
// and a one-note MIDI file.

#include <cmath>
#include <cstdint>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace qv::testing {

// A canonical 44-byte-header WAV around `data`: samples of `bits` bits, interleaved when
// stereo; format tag 1 is PCM, 3 floats.
inline std::vector<uint8_t> WavOf(const std::vector<uint8_t>& data, int rate, int channels = 1,
                                  int bits = 16, int tag = 1) {
  std::vector<uint8_t> out(44);
  size_t at = 0;
  auto put = [&](uint32_t v, int bytes) {
    for (int i = 0; i < bytes; ++i)
      out[at++] = static_cast<uint8_t>(v >> (8 * i));
  };
  auto tag4 = [&](const char* t) {
    for (int i = 0; i < 4; ++i)
      out[at++] = static_cast<uint8_t>(t[i]);
  };
  const auto frame = static_cast<uint32_t>(channels * bits / 8);
  tag4("RIFF");
  put(static_cast<uint32_t>(36 + data.size()), 4);
  tag4("WAVE");
  tag4("fmt ");
  put(16, 4);
  put(static_cast<uint32_t>(tag), 2);
  put(static_cast<uint32_t>(channels), 2);
  put(static_cast<uint32_t>(rate), 4);
  put(static_cast<uint32_t>(rate) * frame, 4);
  put(frame, 2);
  put(static_cast<uint32_t>(bits), 2);
  tag4("data");
  put(static_cast<uint32_t>(data.size()), 4);
  out.insert(out.end(), data.begin(), data.end());
  return out;
}

// The same of 16-bit samples.
inline std::vector<uint8_t> MakeWav(const std::vector<int16_t>& samples, int rate = 22050,
                                    int channels = 1) {
  std::vector<uint8_t> data;
  for (int16_t s : samples) {
    data.push_back(static_cast<uint8_t>(s));
    data.push_back(static_cast<uint8_t>(static_cast<uint16_t>(s) >> 8));
  }
  return WavOf(data, rate, channels);
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
