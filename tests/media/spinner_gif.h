#pragma once
// An animated GIF for the scenarios and the idle-CPU benchmark: `frames` full-size
// frames, each a band of a different colour, shown `delay_cs` centiseconds each, played
// again `loop` times after the first pass (0: for ever).

#include <cstdint>
#include <vector>

#include "pictures/gif_writer.h"

namespace qv::testing {

inline std::vector<uint8_t> SpinnerGif(int frames, int width, int height, int delay_cs,
                                       int loop = 0) {
  GifLayout design;
  design.width = width;
  design.height = height;
  design.loop = loop;
  design.colors.clear();
  for (int i = 0; i < 32; ++i) {
    design.colors.push_back(static_cast<uint32_t>(i) * 0x070503u + 0x202020u);
  }
  for (int i = 0; i < frames; ++i) {
    GifFrameLayout frame = SolidFrame(0, 0, width, height, 0);
    // A band that moves down the picture frame by frame.
    const int band = height / frames > 0 ? height / frames : 1;
    for (int y = i * band; y < (i + 1) * band && y < height; ++y) {
      for (int x = 0; x < width; ++x) {
        frame.indexes[static_cast<size_t>(y) * width + x] = static_cast<uint8_t>(1 + i % 31);
      }
    }
    frame.control = true;
    frame.delay_cs = delay_cs;
    design.frames.push_back(std::move(frame));
  }
  return WriteGif(design);
}

}  // namespace qv::testing
