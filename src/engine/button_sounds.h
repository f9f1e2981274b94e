#pragma once
// The click and hover sounds of the player's own buttons and conversation lines, as the
// game's general settings name them. Both play on channel 18, not looping. An empty file
// name means no sound (a game that names none, or settings not read yet).

#include <cstdint>
#include <string>

namespace qv::engine {

struct InterfaceSound {
  std::string file;
  int32_t volume = 0;
  int32_t pan = 0;
};

struct ButtonSounds {
  InterfaceSound click;
  InterfaceSound hover;
};

}  // namespace qv::engine
