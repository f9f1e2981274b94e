#pragma once
// What the game's general settings say about clicks on scene objects and about the
// inventory: the default refusal sound (played when an object turns the player away and
// neither the object nor the held item has a sound of its own), the inventory-full sound
// and whether the bar shows item names as tool tips. An empty file name means no sound
// (a game that names none, or settings not read yet).

#include <cstdint>
#include <string>

namespace qv::screen {

struct SettingsSound {
  std::string file;  // under resource\mmedia\; "" = none
  int32_t volume = 0;
  int32_t pan = 0;
};

struct InteractionSettings {
  SettingsSound refusal;
  SettingsSound inventory_full;
  // The item names appear as tool tips of the bar pictures.
  bool item_names = false;
};

}  // namespace qv::screen
