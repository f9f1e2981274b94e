#include "media/hostile_media.h"

#include <sys/stat.h>

#include <algorithm>
#include <cstring>
#include <stdexcept>

#include "pictures/gif_writer.h"
#include "sound/wav_writer.h"
#include "test_support.h"
#include "tools/game_json.h"

namespace qv::testing {

namespace {

void Write(const std::filesystem::path& file, const std::vector<uint8_t>& bytes) {
  std::filesystem::create_directories(file.parent_path());
  FILE* out = std::fopen(file.c_str(), "wb");
  if (out == nullptr) throw std::runtime_error("cannot write " + file.string());
  if (!bytes.empty()) std::fwrite(bytes.data(), 1, bytes.size(), out);
  std::fclose(out);
}

}  // namespace

std::vector<NamedFile> RefusedMidis() {
  std::vector<NamedFile> files;
  for (const auto& entry : std::filesystem::directory_iterator(QV_MIDI_CORPUS)) {
    const std::string name = entry.path().filename().string();
    if (name != "note.mid") files.emplace_back(name, ReadBytes(entry.path()));
  }
  std::sort(files.begin(), files.end());
  return files;
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
  std::vector<uint8_t> samples(bytes);
  for (size_t i = 0; i < bytes; ++i)
    samples[i] = static_cast<uint8_t>(128 + ((i / 25) % 2 == 0 ? 40 : -40));
  return WavOf(samples, 11025, 1, 8);
}

// Scene 1: twenty GIFs of four 4096 x 4096 frames (5 GB if all were decoded), an 11 MiB
// WAV of 8-bit samples as its entry sound, a refused MIDI soundtrack. Scene 2: a GIF of
// 300 huge frames on a 1 x 1 canvas, one of frames wider than its canvas that costs too
// much work, pictures and sounds that are FIFOs or links out of the folder. The scenes
// after them: the other refused MIDI soundtracks, then an MP3 soundtrack that is no MP3,
// then entry movies that are an AVI header over garbage and an empty file.
void WriteHostileGame(const std::filesystem::path& game, const std::filesystem::path& outside) {
  const auto gfx = game / "resource" / "gfx";
  const auto mmedia = game / "resource" / "mmedia";
  const auto midis = RefusedMidis();
  tools::Json scenes = tools::Json::array();
  for (size_t i = 0; i < midis.size(); ++i) {
    const std::string name = "refused" + std::to_string(i + 1) + ".mid";  // fits the field
    Write(mmedia / name, midis[i].second);
    scenes.push_back({{"SoundtrackFile", name}});
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
  const int midis = static_cast<int>(RefusedMidis().size());
  for (int scene = 3; scene <= midis; ++scene) {
    script += "scene " + std::to_string(scene) +
              "\nexpect message \"ERROR PLAYING MIDI FILE.  \\rErr #321 :  Invalid file format\"\n";
  }
  const auto scene = [&](int after) { return "scene " + std::to_string(midis + after); };
  return script + scene(1) +
         "\nexpect message \"ERROR PLAYING MP3 FILE.  \\rErr #321 :  Invalid file format\"\n" +
         scene(2) + "\nexpect message \"Error playing AVI: 'broken.avi'\"\n" + scene(3) +
         "\nexpect message \"Error playing AVI: 'empty.avi'\"\nexpect " + scene(3) + "\n";
}

}  // namespace qv::testing
