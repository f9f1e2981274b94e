#pragma once
// What a player expects of a runtime beside the game, on keys the game never uses:
// Alt+Enter fullscreen, Alt+S a screenshot of the screen as a PNG file, Ctrl+Plus and
// Ctrl+Minus the master volume, Ctrl+M mute, Ctrl+F smooth or pixel-perfect scaling.
// Each says what it did on the game's message line, and a changed setting is written to
// the config file at once.

#include <filesystem>
#include <functional>
#include <string>

#include "app/player_config.h"
#include "platform/input.h"

namespace qv::app {

class Player;

class Comforts {
 public:
  // `save` writes the settings (it reports its own failures); `report` says on standard
  // error what the message line cannot (a screenshot that failed).
  Comforts(Player& player, PlayerConfig& config, std::function<void()> save,
           std::function<void(const std::string&)> report);

  // Puts the settings in force (the window's were given when it opened) and takes the
  // player's commands from the event loop.
  void Install();

  void Handle(platform::PlayerCommand command);

  // Where screenshots go: the pictures folder, or else the player's data folder.
  void SetScreenshotFolder(std::filesystem::path folder) { screenshot_folder_ = std::move(folder); }

  // The master volume as a gain: (volume / 100) squared, which sounds evenly stepped;
  // 0 when muted.
  static double MasterGain(const PlayerConfig& config);

 private:
  void Say(const std::string& text);
  void Screenshot();
  void Changed();

  Player& player_;
  PlayerConfig& config_;
  std::function<void()> save_;
  std::function<void(const std::string&)> report_;
  std::filesystem::path screenshot_folder_;
};

}  // namespace qv::app
