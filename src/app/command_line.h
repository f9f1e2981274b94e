#pragma once
// The player's command line: quorvex-player [options] [GAME_DIR].

#include <filesystem>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "platform/backend.h"

namespace qv::app {

struct PlayerConfig;

// Exit statuses of the player.
inline constexpr int kExitOk = 0;
inline constexpr int kExitFailed = 1;  // an expectation failed, or the run deadlocked
inline constexpr int kExitUsage = 2;   // bad usage, a bad script or a folder that is no game

// A command line, a script or a game folder the player cannot use; exit status 2.
class UsageError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

struct Options {
  std::optional<std::filesystem::path> game_dir;
  // No window, no audio device, a virtual clock: --headless, or --script without a
  // window asked for.
  bool headless = false;
  std::optional<std::filesystem::path> script;
  bool verbose_log = false;
  std::optional<std::string> log;  // "-" = standard output
  std::optional<std::filesystem::path> state_json;
  bool fullscreen = false;
  bool window = false;  // --window: not fullscreen, whatever the config file says
  // The General MIDI soundfont for MIDI music (empty: the one the setup installs).
  std::filesystem::path soundfont;
  // The most memory the game's decoded pictures and sounds may take, in MiB; from the
  // config file unless given (memory_budget_given).
  uint64_t memory_budget_mb = 512;
  bool memory_budget_given = false;
  // The settings the config file also holds; unset: the config file's.
  std::optional<std::string> renderer;
  std::optional<platform::Scaling> scaling;
  std::optional<std::filesystem::path> config_file;  // another config file than the usual
  // The game folder is taken to lie on a disc with this volume label (tests).
  std::optional<std::string> cd_label;
  int screen_width = 800;  // the virtual screen, in logical pixels
  int screen_height = 600;
  bool help = false;
  bool version = false;
};

inline constexpr int kMinScreenSide = 64;
inline constexpr int kMaxScreenSide = 8192;
inline constexpr uint64_t kMinMemoryBudgetMb = 16;
inline constexpr uint64_t kMaxMemoryBudgetMb = 65536;

// Parses the arguments after the program name. Options take their value as the next
// argument or after "=" (--log=FILE); "--" ends the options. Throws UsageError.
Options ParseCommandLine(const std::vector<std::string>& args);

// Fills what the command line left unset from the config file's settings: the
// command line wins for this run (and is not written back).
void ApplyConfig(Options& options, const PlayerConfig& config);

// The --help text.
std::string UsageText();

// The --version line.
std::string VersionText();

}  // namespace qv::app
