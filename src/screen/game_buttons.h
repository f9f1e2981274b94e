#pragma once
// The game screen's three picture buttons: main menu, save game and examine item. Each
// lights up under the pointer (its highlighted picture) with the settings' hover sound,
// once each time the pointer comes onto it, and plays the click sound when clicked;
// nothing reacts while the busy cursor shows. What a click opens belongs to others: the
// shell sets the handlers of the main-menu and save buttons (the quit question, the save
// dialog); the examine button's click is the close-up's.

#include <cstdint>
#include <functional>

#include "data/general_settings.h"
#include "engine/collaborators.h"
#include "media/sound_channels.h"
#include "screen/game_screen.h"

namespace qv::screen {

class GameButtons {
 public:
  // Connects the buttons' handlers. Everything must outlive this object.
  GameButtons(GameScreen& screen, MessageBoxService& boxes, media::SoundChannels& sound,
              const data::GeneralSettings& settings, const engine::InventoryPort& inventory);
  GameButtons(const GameButtons&) = delete;
  GameButtons& operator=(const GameButtons&) = delete;

  // What a click opens, after the click sound.
  std::function<void()> on_main_menu;
  std::function<void()> on_save;

  // The pointer onto a button (its hover code: kMainMenuHover, kSaveHover, kExamineHover).
  void ButtonMouseMove(int16_t code);
  // A click on the main-menu (kMainMenuHover) or save (kSaveHover) button.
  void ButtonClick(int16_t code);

 private:
  void PlaySound(const data::SettingsSound& sound);

  GameScreen& screen_;
  MessageBoxService& boxes_;
  media::SoundChannels& sound_;
  const data::GeneralSettings& settings_;
  const engine::InventoryPort& inventory_;
};

}  // namespace qv::screen
