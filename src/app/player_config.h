#pragma once
// The player's own settings, kept in a config file in the user's config folder and written
// back whenever they change in the player: window or fullscreen, how the screen is
// scaled, the master volume and mute, the soundfont, the memory budget for the game's
// media, the renderer, and whether the mouse stays in the fullscreen window. A file that
// cannot be read, or a setting in it that makes no sense, is reported; the defaults take
// its place. The game's own state (saved games, flags) is never in this file.

#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "platform/backend.h"

namespace qv::app {

struct PlayerConfig {
  bool fullscreen = false;
  platform::Scaling scaling = platform::Scaling::kSmooth;
  int master_volume = 100;  // percent, in steps of kVolumeStep
  bool mute = false;
  std::filesystem::path soundfont;  // empty: the one the setup installs
  int memory_budget_mib = 512;      // for the game's pictures and sounds
  std::string renderer = "auto";    // "auto", "software", or an SDL render driver
  bool confine_mouse = true;        // in fullscreen

  bool operator==(const PlayerConfig&) const = default;
};

inline constexpr int kVolumeStep = 10;

// The config file's path: config.json in the player's config folder.
std::filesystem::path DefaultConfigFile();

// "smooth", "integer", "stretch"; false for another name.
bool ParseScaling(const std::string& name, platform::Scaling& scaling);
std::string ScalingName(platform::Scaling scaling);

struct LoadedConfig {
  PlayerConfig config;
  bool existed = false;
  // What was wrong, one line each, already saying what is used instead.
  std::vector<std::string> problems;
};

// Reads the settings from JSON text; what is missing keeps its default.
LoadedConfig ParseConfig(const std::string& text);
std::string FormatConfig(const PlayerConfig& config);

// Reads the file (a missing file is the defaults, no problem).
LoadedConfig LoadConfig(const std::filesystem::path& file);
// Writes the file atomically. Throws std::runtime_error saying why it could not.
void SaveConfig(const PlayerConfig& config, const std::filesystem::path& file);

// Loads the file and, when it was broken, keeps the broken one as FILE.broken and writes
// the settings in use in its place. Problems are reported through `report`.
PlayerConfig LoadOrRepairConfig(const std::filesystem::path& file,
                                const std::function<void(const std::string&)>& report);

}  // namespace qv::app
