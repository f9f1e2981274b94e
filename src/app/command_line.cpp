#include "app/command_line.h"

#include <charconv>

#include "app/player_config.h"

#ifndef QV_VERSION
#define QV_VERSION "0.0.0"
#endif

namespace qv::app {

namespace {

bool ParseSide(std::string_view text, int& side) {
  auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), side);
  return ec == std::errc() && end == text.data() + text.size() && !text.empty() &&
         side >= kMinScreenSide && side <= kMaxScreenSide;
}

void ParseScreen(const std::string& value, Options& options) {
  const size_t x = value.find_first_of("xX");
  if (x == std::string::npos ||
      !ParseSide(std::string_view(value).substr(0, x), options.screen_width) ||
      !ParseSide(std::string_view(value).substr(x + 1), options.screen_height)) {
    throw UsageError("--screen takes WIDTHxHEIGHT, each " + std::to_string(kMinScreenSide) +
                     " to " + std::to_string(kMaxScreenSide) + " pixels (e.g. 800x600), not \"" +
                     value + "\"");
  }
}

void ParseMemoryBudget(const std::string& value, Options& options) {
  uint64_t mb = 0;
  auto [end, ec] = std::from_chars(value.data(), value.data() + value.size(), mb);
  if (ec != std::errc() || end != value.data() + value.size() || value.empty() ||
      mb < kMinMemoryBudgetMb || mb > kMaxMemoryBudgetMb) {
    throw UsageError("--memory-budget takes a number of MiB from " +
                     std::to_string(kMinMemoryBudgetMb) + " to " +
                     std::to_string(kMaxMemoryBudgetMb) + ", not \"" + value + "\"");
  }
  options.memory_budget_mb = mb;
}

}  // namespace

Options ParseCommandLine(const std::vector<std::string>& args) {
  Options options;
  bool window = false;
  bool options_ended = false;
  for (size_t i = 0; i < args.size(); ++i) {
    const std::string& arg = args[i];
    if (options_ended || arg.size() < 2 || arg[0] != '-') {
      if (options.game_dir) {
        throw UsageError("only one GAME_DIR may be given (\"" + options.game_dir->string() +
                         "\" and \"" + arg + "\")");
      }
      if (arg.empty()) throw UsageError("GAME_DIR is empty");
      options.game_dir = arg;
      continue;
    }
    if (arg == "--") {
      options_ended = true;
      continue;
    }
    std::string name = arg;
    std::optional<std::string> inline_value;
    if (auto eq = arg.find('='); eq != std::string::npos && arg.starts_with("--")) {
      name = arg.substr(0, eq);
      inline_value = arg.substr(eq + 1);
    }
    auto value = [&]() -> std::string {
      if (inline_value) {
        if (inline_value->empty()) throw UsageError(name + " needs a value");
        return *inline_value;
      }
      if (i + 1 >= args.size() || args[i + 1].empty()) throw UsageError(name + " needs a value");
      return args[++i];
    };
    auto flag = [&](bool& target) {
      if (inline_value) throw UsageError(name + " takes no value");
      target = true;
    };
    if (name == "--headless") {
      flag(options.headless);
    } else if (name == "--script") {
      options.script = value();
    } else if (name == "--verbose-log") {
      flag(options.verbose_log);
    } else if (name == "--log") {
      options.log = value();
    } else if (name == "--state-json") {
      options.state_json = value();
    } else if (name == "--fullscreen") {
      flag(options.fullscreen);
    } else if (name == "--window") {
      flag(window);
      options.window = true;
    } else if (name == "--screen") {
      ParseScreen(value(), options);
    } else if (name == "--soundfont") {
      options.soundfont = value();
    } else if (name == "--cd-label") {
      options.cd_label = value();
    } else if (name == "--memory-budget") {
      ParseMemoryBudget(value(), options);
      options.memory_budget_given = true;
    } else if (name == "--renderer") {
      options.renderer = value();
    } else if (name == "--scaling") {
      const std::string mode = value();
      platform::Scaling scaling;
      if (!ParseScaling(mode, scaling)) {
        throw UsageError("--scaling takes smooth, integer or stretch, not \"" + mode + "\"");
      }
      options.scaling = scaling;
    } else if (name == "--config") {
      options.config_file = value();
    } else if (name == "--help" || name == "-h") {
      flag(options.help);
    } else if (name == "--version") {
      flag(options.version);
    } else {
      throw UsageError("unknown option " + name);
    }
  }
  if (window && options.fullscreen)
    throw UsageError("--window and --fullscreen exclude each other");
  if (options.headless && (window || options.fullscreen)) {
    throw UsageError(std::string("--headless and ") + (window ? "--window" : "--fullscreen") +
                     " exclude each other");
  }
  // A script plays headless unless a window was asked for.
  if (options.script && !window && !options.fullscreen) options.headless = true;
  return options;
}

void ApplyConfig(Options& options, const PlayerConfig& config) {
  if (!options.fullscreen && !options.window) options.fullscreen = config.fullscreen;
  if (options.soundfont.empty()) options.soundfont = config.soundfont;
  if (!options.renderer) options.renderer = config.renderer;
  if (!options.scaling) options.scaling = config.scaling;
  if (!options.memory_budget_given) {
    options.memory_budget_mb = static_cast<uint64_t>(config.memory_budget_mib);
  }
}

std::string UsageText() {
  return "usage: quorvex-player [options] [GAME_DIR]\n"
         "Plays the adventure game in GAME_DIR (the folder holding resource/). Without it,\n"
         "the game beside the player, or else the bundled demo game.\n"
         "\n"
         "  --headless         no window, no audio device, virtual clock\n"
         "  --script FILE      run a walkthrough script (headless unless --window is given)\n"
         "  --verbose-log      progress lines in the notify log from the start\n"
         "  --log FILE         also write every notify-log line and message box to FILE\n"
         "                     (- = standard output)\n"
         "  --state-json FILE  at exit, write the game state as JSON to FILE\n"
         "  --fullscreen       play fullscreen (Alt+Enter switches)\n"
         "  --window           play in a window (the default without --script)\n"
         "  --screen WxH       size of the virtual screen in pixels (default 800x600)\n"
         "  --soundfont FILE   the General MIDI soundfont (.sf2/.sf3) that plays MIDI music\n"
         "  --memory-budget MB the most memory the game's decoded pictures and sounds\n"
         "                     may take (default 512)\n"
         "  --scaling MODE     smooth (the default), integer (pixel-perfect) or stretch\n"
         "  --renderer NAME    software, or an SDL renderer such as opengl (default: chosen\n"
         "                     by measuring this machine's OpenGL)\n"
         "  --config FILE      the settings file (default: config.json in\n"
         "                     $XDG_CONFIG_HOME/quorvex-player)\n"
         "  --cd-label LABEL   treat the game folder as lying on a disc with this volume\n"
         "                     label (tests; a script's cd \"LABEL\" changes the disc)\n"
         "  --help             show this text\n"
         "  --version          show the player's version\n"
         "\n"
         "Keys: Alt+Enter fullscreen, Alt+S screenshot, Ctrl+Plus/Minus volume, Ctrl+M mute,\n"
         "Ctrl+F smooth or pixel-perfect scaling.\n"
         "\n"
         "A script starts with the program: its first command runs when the main menu\n"
         "waits for input. The state JSON holds the scene, flags, inventory, hand, map,\n"
         "soundtrack, channels, visible objects, conversation, cursor, log, message\n"
         "boxes, the active window, the score and whether the program has exited.\n"
         "\n"
         "Exit status: 0 ok, 1 an expectation failed or the run deadlocked,\n"
         "2 bad usage, a bad script or a folder that is not a game.\n";
}

std::string VersionText() {
  return std::string("quorvex-player ") + QV_VERSION + "\n";
}

}  // namespace qv::app
