#pragma once
// Helpers of the game-screen scenarios: pictures written into a fixture game, and a
// harness that plays a scene as the player would (hand, clicks, hovers).

#include <string>
#include <vector>

#include "engine/engine_harness.h"
#include "pictures/gif_writer.h"

namespace qv::testing {

// A GIF of `frames` frames of 8 x 8 pixels, 100 ms each, played once.
inline std::vector<uint8_t> FramesGif(int frames) {
  GifLayout gif;
  gif.width = 8;
  gif.height = 8;
  gif.loop = 1;
  for (int f = 0; f < frames; ++f) {
    GifFrameLayout frame = SolidFrame(0, 0, 8, 8, static_cast<uint8_t>(f % 2));
    frame.control = true;
    frame.delay_cs = 10;
    gif.frames.push_back(frame);
  }
  return WriteGif(gif);
}

// Writes pictures into resource/gfx/ of the harness's game.
inline void WritePictures(const EngineHarness& h, const std::vector<std::string>& names,
                          int frames = 1) {
  for (const auto& name : names)
    h.dir().Write("resource/gfx/" + name, FramesGif(frames));
}

// The items in the bar, slot by slot.
inline std::vector<int16_t> BarItems(EngineHarness& h) {
  std::vector<int16_t> items;
  for (int16_t s = 1; s <= h.inventory().ItemsHeld; ++s)
    items.push_back(h.inventory().Slots[s].Item);
  return items;
}

// A left-button press, as the inventory's handlers get it.
inline ui::MouseArgs LeftButton() {
  ui::MouseArgs args;
  args.button = platform::MouseButton::kLeft;
  return args;
}

}  // namespace qv::testing
