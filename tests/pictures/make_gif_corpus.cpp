// Writes the seed corpus of the GIF fuzz target: make_gif_corpus OUT_DIR.
// Small files that reach every part of the decoder: a still, an animation with
// transparency and every disposal, interlace with a local colour map, frames outside
// the canvas, and a file that breaks off.

#include <cstdio>
#include <filesystem>
#include <fstream>

#include "pictures/gif_writer.h"

using qv::testing::Controlled;
using qv::testing::GifFrameSpec;
using qv::testing::GifSpec;
using qv::testing::SolidFrame;
using qv::testing::WriteGif;

namespace {

void Save(const std::filesystem::path& dir, const char* name, const std::vector<uint8_t>& bytes) {
  std::ofstream(dir / name, std::ios::binary)
      .write(reinterpret_cast<const char*>(bytes.data()),
             static_cast<std::streamsize>(bytes.size()));
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: make_gif_corpus OUT_DIR\n");
    return 2;
  }
  std::filesystem::path dir = argv[1];
  std::filesystem::create_directories(dir);

  GifSpec still;
  still.width = still.height = 1;
  still.frames = {SolidFrame(0, 0, 1, 1, 1)};
  Save(dir, "still.gif", WriteGif(still));

  GifSpec animated;
  animated.width = animated.height = 6;
  animated.colors = {0x000000, 0xFF0000, 0x00FF00, 0x0000FF};
  animated.loop = 0;
  GifFrameSpec spotted = SolidFrame(1, 1, 4, 4, 2);
  for (size_t i = 0; i < spotted.indexes.size(); i += 3)
    spotted.indexes[i] = 0;
  animated.frames = {Controlled(SolidFrame(0, 0, 6, 6, 1), 1, -1, 10), Controlled(spotted, 3, 0, 5),
                     Controlled(SolidFrame(2, 2, 2, 2, 3), 2, 0, 5),
                     Controlled(SolidFrame(0, 0, 3, 3, 0), 0, 0, 0)};
  std::vector<uint8_t> animated_bytes = WriteGif(animated);
  Save(dir, "animated_transparent.gif", animated_bytes);
  animated_bytes.resize(animated_bytes.size() - 6);
  Save(dir, "truncated.gif", animated_bytes);

  GifSpec woven;
  woven.width = 3;
  woven.height = 9;
  GifFrameSpec interlaced = SolidFrame(0, 0, 3, 9, 0);
  for (size_t i = 0; i < interlaced.indexes.size(); ++i) {
    interlaced.indexes[i] = static_cast<uint8_t>(i % 4);
  }
  interlaced.interlace = true;
  interlaced.local_colors = {0x102030, 0x405060, 0x708090, 0xA0B0C0};
  woven.frames = {interlaced};
  Save(dir, "interlaced_local_colours.gif", WriteGif(woven));

  GifSpec outside;
  outside.width = outside.height = 2;
  outside.loop = 3;
  outside.frames = {Controlled(SolidFrame(1, 1, 3, 2, 1), 2, -1, 0),
                    Controlled(SolidFrame(5, 0, 1, 1, 0), 3, -1, 0), SolidFrame(0, 0, 1, 1, 1)};
  Save(dir, "outside_canvas.gif", WriteGif(outside));
  return 0;
}
