#pragma once
// Writes GIFs with giflib's encoder, so tests, the benchmarks and the fuzz target make
// exactly the pictures they need.

#include <cstdint>
#include <vector>

namespace qv::testing {

struct GifFrameLayout {
  int left = 0;
  int top = 0;
  int width = 0;
  int height = 0;
  std::vector<uint8_t> indexes;        // width x height colour indexes, row by row
  bool control = false;                // write a graphic control block with the three below
  int delay_cs = 0;                    // centiseconds
  int transparent = -1;                // -1 = none
  int disposal = 0;                    // 0 unspecified, 1 keep, 2 background, 3 previous
  bool interlace = false;              // the rows are stored in the four interlace passes
  std::vector<uint32_t> local_colors;  // 0xRRGGBB; empty = the global colours
};

struct GifLayout {
  int width = 0;  // the logical screen
  int height = 0;
  std::vector<uint32_t> colors = {0x000000, 0xFFFFFF};  // global colours, 0xRRGGBB
  int loop = -1;  // NETSCAPE2.0 loop count; -1 = no such block
  std::vector<GifFrameLayout> frames;
};

// A frame of one colour index.
GifFrameLayout SolidFrame(int left, int top, int width, int height, uint8_t index);

// `frame` with a graphic control block.
GifFrameLayout Controlled(GifFrameLayout frame, int disposal, int transparent = -1,
                          int delay_cs = 0);

std::vector<uint8_t> WriteGif(const GifLayout& design);

// A still picture of one colour: black for index 0, white for 1.
std::vector<uint8_t> SolidGif(int width, int height, uint8_t index = 1);

}  // namespace qv::testing
