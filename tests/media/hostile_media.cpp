#include "media/hostile_media.h"

#include <sys/stat.h>

#include <cstring>
#include <stdexcept>

#include "pictures/gif_writer.h"
#include "tools/game_json.h"

namespace qv::testing {

namespace {

std::vector<uint8_t> Be32(uint32_t v) {
  return {static_cast<uint8_t>(v >> 24), static_cast<uint8_t>(v >> 16),
          static_cast<uint8_t>(v >> 8), static_cast<uint8_t>(v)};
}

std::vector<uint8_t> Header(int format, int tracks, int division, uint32_t length = 6) {
  std::vector<uint8_t> h = {'M', 'T', 'h', 'd'};
  auto l = Be32(length);
  h.insert(h.end(), l.begin(), l.end());
  for (int v : {format, tracks, division}) {
    h.push_back(static_cast<uint8_t>(v >> 8));
    h.push_back(static_cast<uint8_t>(v));
  }
  h.resize(h.size() + (length - 6), 0);
  return h;
}

std::vector<uint8_t> Track(const std::vector<uint8_t>& events) {
  std::vector<uint8_t> t = {'M', 'T', 'r', 'k'};
  auto l = Be32(static_cast<uint32_t>(events.size()));
  t.insert(t.end(), l.begin(), l.end());
  t.insert(t.end(), events.begin(), events.end());
  return t;
}

std::vector<uint8_t> Join(std::initializer_list<std::vector<uint8_t>> parts) {
  std::vector<uint8_t> all;
  for (const auto& part : parts)
    all.insert(all.end(), part.begin(), part.end());
  return all;
}

// A note of a second and the end of the track.
const std::vector<uint8_t> kNote = {0x00, 0xC0, 0x00, 0x00, 0x90, 60,   100,  0x81,
                                    0x40, 0x80, 60,   0,    0x00, 0xFF, 0x2F, 0x00};

std::vector<uint8_t> Before(std::vector<uint8_t> events) {
  events.insert(events.end(), kNote.begin(), kNote.end());
  return events;
}

void Write(const std::filesystem::path& file, const std::vector<uint8_t>& bytes) {
  std::filesystem::create_directories(file.parent_path());
  FILE* out = std::fopen(file.c_str(), "wb");
  if (out == nullptr) throw std::runtime_error("cannot write " + file.string());
  if (!bytes.empty()) std::fwrite(bytes.data(), 1, bytes.size(), out);
  std::fclose(out);
}

}  // namespace

std::vector<NamedFile> RefusedMidis() {
  std::vector<uint8_t> many_tracks = Header(1, 128, 96);
  for (int i = 0; i < 128; ++i) {
    auto t = Track(kNote);
    many_tracks.insert(many_tracks.end(), t.begin(), t.end());
  }
  return {
      {"header7.mid", Join({Header(0, 1, 96, 7), Track(kNote)})},
      {"smpte.mid", Join({Header(0, 1, 0xE728), Track(kNote)})},
      {"fewer.mid", Join({Header(1, 2, 96), Track(kNote)})},
      {"escape.mid", Join({Header(0, 1, 96), Track(Before({0x00, 0xF7, 0x02, 0x01, 0x02}))})},
      {"tempo.mid", Join({Header(0, 1, 96), Track(Before({0x00, 0xFF, 0x51, 0x02, 0x07, 0xA1}))})},
      {"empty.mid", Join({Header(1, 2, 96), Track({}), Track({})})},
      {"runmeta.mid",
       Join({Header(0, 1, 96), Track(Before({0x00, 0xFF, 0x03, 0x00, 0x00, 0x3C, 0x40}))})},
      {"datafirst.mid", Join({Header(0, 1, 96), Track(Before({0x00, 60, 100}))})},
      {"tracks128.mid", many_tracks},
      {"cc200.mid", Join({Header(0, 1, 96), Track(Before({0x00, 0xB0, 200, 0x01}))})},
      {"endlength.mid",
       Join({Header(0, 1, 96), Track({0x00, 0x90, 60, 100, 0x00, 0xFF, 0x2F, 0x01, 0x00})})},
  };
}

std::vector<uint8_t> RepeatedFrameGif(int canvas_w, int canvas_h, int left, int top, int width,
                                      int height, int frames) {
  GifLayout layout;
  layout.width = canvas_w;
  layout.height = canvas_h;
  layout.colors = {0x000000, 0xFF0000};
  layout.frames = {SolidFrame(left, top, width, height, 1)};
  const std::vector<uint8_t> one = WriteGif(layout);
  // The logical screen (13 bytes) and its colour table, then the frame, then the trailer.
  size_t head = 13;
  if ((one[10] & 0x80) != 0) head += 3u << ((one[10] & 7) + 1);
  std::vector<uint8_t> gif(one.begin(), one.begin() + static_cast<std::ptrdiff_t>(head));
  for (int i = 0; i < frames; ++i)
    gif.insert(gif.end(), one.begin() + static_cast<std::ptrdiff_t>(head), one.end() - 1);
  gif.push_back(0x3B);
  return gif;
}

std::vector<uint8_t> LowRateWav(size_t bytes) {
  std::vector<uint8_t> wav(44 + bytes);
  auto le = [&](size_t at, uint32_t v, int n) {
    for (int i = 0; i < n; ++i)
      wav[at + i] = static_cast<uint8_t>(v >> (8 * i));
  };
  std::memcpy(wav.data(), "RIFF", 4);
  le(4, static_cast<uint32_t>(36 + bytes), 4);
  std::memcpy(wav.data() + 8, "WAVEfmt ", 8);
  le(16, 16, 4);
  le(20, 1, 2);      // PCM
  le(22, 1, 2);      // mono
  le(24, 11025, 4);  // rate
  le(28, 11025, 4);  // bytes a second
  le(32, 1, 2);      // block
  le(34, 8, 2);      // bits
  std::memcpy(wav.data() + 36, "data", 4);
  le(40, static_cast<uint32_t>(bytes), 4);
  for (size_t i = 0; i < bytes; ++i)
    wav[44 + i] = static_cast<uint8_t>(128 + ((i / 25) % 2 == 0 ? 40 : -40));
  return wav;
}

// Scene 1: twenty GIFs of four 4096 x 4096 frames (5 GB if all were decoded), an 11 MiB
// WAV of 8-bit samples as its entry sound, a refused MIDI soundtrack. Scene 2: a GIF of
// 300 huge frames on a 1 x 1 canvas, one of frames wider than its canvas that costs too
// much work, pictures and sounds that are FIFOs or links out of the folder. Scenes 3 to
// 10: the other refused MIDI soundtracks. Scene 11: an MP3 soundtrack that is no MP3.
// Scenes 12 and 13: entry movies that are an AVI header over garbage and an empty file.
void WriteHostileGame(const std::filesystem::path& game, const std::filesystem::path& outside) {
  const auto gfx = game / "resource" / "gfx";
  const auto mmedia = game / "resource" / "mmedia";
  const auto midis = RefusedMidis();
  tools::Json scenes = tools::Json::array();
  for (size_t i = 0; i < midis.size(); ++i) {
    tools::Json scene = {{"SoundtrackFile", midis[i].first}};
    Write(mmedia / midis[i].first, midis[i].second);
    scenes.push_back(scene);
  }
  scenes.push_back({{"SoundtrackFile", "junk.mp3"}});
  Write(mmedia / "junk.mp3", std::vector<uint8_t>(4096, 0xFF));
  std::vector<uint8_t> avi(65536);
  for (size_t i = 0; i < avi.size(); ++i)
    avi[i] = static_cast<uint8_t>((i * 2654435761u) >> 13);
  const uint8_t header[] = {'R', 'I', 'F', 'F', 0xF8, 0xFF, 0,   0,
                            'A', 'V', 'I', ' ', 'L',  'I',  'S', 'T'};
  std::memcpy(avi.data(), header, sizeof header);
  Write(mmedia / "broken.avi", avi);
  Write(mmedia / "empty.avi", {});
  scenes.push_back({{"EntryMovie", "broken.avi"}});
  scenes.push_back({{"EntryMovie", "empty.avi"}});

  const auto big = RepeatedFrameGif(4096, 4096, 0, 0, 4096, 4096, 4);
  tools::Json objects = tools::Json::array();
  for (int i = 1; i <= 20; ++i) {
    const std::string name = "big" + std::to_string(i) + ".gif";
    Write(gfx / name, big);
    objects.push_back({{"ObjType", 0}, {"ObjS0", name}});
  }
  scenes[0]["Objects"] = objects;
  scenes[0]["EntrySoundA"] = "long.wav";
  Write(mmedia / "long.wav", LowRateWav(size_t{11} << 20));

  Write(gfx / "offcanvas.gif", RepeatedFrameGif(1, 1, 0, 0, 4096, 4096, 300));
  Write(gfx / "wide.gif", RepeatedFrameGif(64, 64, 0, 0, 4096, 64, 2000));
  Write(outside / "out.gif", RepeatedFrameGif(8, 8, 0, 0, 8, 8, 1));
  Write(outside / "out.wav", LowRateWav(1000));
  std::filesystem::create_symlink(outside / "out.gif", gfx / "out.gif");
  std::filesystem::create_symlink(outside / "out.wav", mmedia / "out.wav");
  for (const auto& fifo : {gfx / "pipe.gif", mmedia / "pipe.wav"}) {
    if (::mkfifo(fifo.c_str(), 0600) != 0) throw std::runtime_error("mkfifo " + fifo.string());
  }
  scenes[1]["Objects"] = {{{"ObjType", 0}, {"ObjS0", "offcanvas.gif"}},
                          {{"ObjType", 0}, {"ObjS0", "wide.gif"}},
                          {{"ObjType", 0}, {"ObjS0", "out.gif"}},
                          {{"ObjType", 0}, {"ObjS0", "pipe.gif"}}};
  scenes[1]["EntrySoundA"] = "pipe.wav";
  scenes[1]["EntrySoundB"] = "out.wav";
  tools::BuildGame({{"Scenes", scenes}}, game);
}

std::string HostileGameScript() {
  // Each expect message looks at the boxes since the one before: one a scene.
  std::string script = R"(new-game
expect message "Error #7: Out of memory"
scene 2
expect message "Error #481: Invalid picture"
)";
  for (int scene = 3; scene <= 11; ++scene) {
    script += "scene " + std::to_string(scene) +
              "\nexpect message \"ERROR PLAYING MIDI FILE.  \\rErr #321 :  Invalid file format\"\n";
  }
  script +=
      "scene 12\nexpect message \"ERROR PLAYING MP3 FILE.  \\rErr #321 :  Invalid file format\"\n"
      "scene 13\nexpect message \"Error playing AVI: 'broken.avi'\"\n"
      "scene 14\nexpect message \"Error playing AVI: 'empty.avi'\"\nexpect scene 14\n";
  return script;
}

}  // namespace qv::testing
