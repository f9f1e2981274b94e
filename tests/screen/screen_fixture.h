#pragma once
// Helpers of the game-screen scenarios: pictures written into a fixture game (frames of
// 8 x 8 pixels, 100 ms each, played twice), and a harness that plays a scene as the player
// would (hand, clicks, hovers).

#include <string>
#include <vector>

#include "engine/engine_harness.h"
#include "media/spinner_gif.h"

namespace qv::testing {

// Writes pictures into resource/gfx/ of the harness's game.
inline void WritePictures(const EngineHarness& h, const std::vector<std::string>& names,
                          int frames = 1) {
  for (const auto& name : names)
    h.dir().Write("resource/gfx/" + name, SpinnerGif(frames, 8, 8, 10, /*loop=*/1));
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
