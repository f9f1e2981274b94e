// quorvex-player [options] [GAME_DIR]: plays a game in a window, or runs it headless,
// driven by a walkthrough script.

#include <fstream>
#include <iostream>
#include <iterator>
#include <memory>
#include <optional>
#include <string>
#include <system_error>
#include <vector>

#include "app/comforts.h"
#include "app/command_line.h"
#include "app/game_locator.h"
#include "app/player.h"
#include "app/player_config.h"
#include "app/run_log.h"
#include "app/script.h"
#include "app/script_commands.h"
#include "app/script_runner.h"
#include "app/state_json.h"
#include "core/text.h"
#include "data/game_folder.h"
#include "data/general_record.h"
#include "data/record_codec.h"
#include "data/record_file.h"
#include "data/scene_data.h"
#include "platform/event_loop.h"
#include "platform/headless/headless_backend.h"
#include "platform/headless/recording_audio.h"
#include "platform/sdl/sdl_backend.h"
#include "platform/sdl/sdl_mixer_audio.h"

#ifndef QV_DEMO_GAME_DIR
#define QV_DEMO_GAME_DIR ""
#endif
#ifndef QV_DEMO_FROM_BIN
#define QV_DEMO_FROM_BIN ""
#endif

namespace qv::app {
namespace {

void PrintError(const std::string& message) {
  std::cerr << "quorvex-player: " << message << "\n";
}

// Reads and checks a whole script: every malformed line, then every command that cannot
// run yet, is reported on standard error before anything runs. Nothing when it cannot run.
std::optional<Script> LoadScript(const std::filesystem::path& file, const CommandTable& table) {
  std::error_code ec;
  std::ifstream in;
  // Any readable file but a folder: a pipe (--script /dev/stdin) is fine.
  if (!std::filesystem::is_directory(file, ec)) in.open(file, std::ios::binary);
  if (!in.is_open()) {
    PrintError("cannot read the script \"" + file.string() + "\"");
    return std::nullopt;
  }
  const std::string text(std::istreambuf_iterator<char>(in), {});
  Script script = ParseScript(text, file.string(), table);
  std::vector<std::string> problems = script.errors;
  if (problems.empty()) problems = UnavailableCommands(script);
  for (const auto& problem : problems)
    std::cerr << problem << "\n";
  if (!problems.empty()) return std::nullopt;
  return script;
}

// The game's title from its general settings, for the window; the player's own name when
// the game has none (or its settings cannot be read: start-up reports that).
std::string GameWindowTitle(const std::filesystem::path& game) {
  try {
    const data::GameFolder folder(game);
    const data::RecordFile file(folder, data::kGeneralPath, data::GeneralRecord::kSize);
    if (file.length() == static_cast<uint64_t>(data::GeneralRecord::kSize)) {
      const auto general = data::DecodeRecord<data::GeneralRecord>(file.Read(1));
      if (!general.GameTitle.empty()) return Cp1252ToUtf8(general.GameTitle);
    }
  } catch (const std::exception&) {
  }
  return std::string(kAppTitle);
}

std::unique_ptr<platform::Backend> MakeBackend(const Options& options, const std::string& title) {
  if (options.headless) {
    platform::HeadlessConfig config;
    config.screen_width = options.screen_width;
    config.screen_height = options.screen_height;
    config.record_frames = false;
    auto backend = std::make_unique<platform::HeadlessBackend>(config);
    // A headless box is printed where a person would have seen it on screen.
    backend->headless_boxes().SetListener([](const platform::HeadlessMessageBoxes::Shown& box) {
      std::cerr << "[MessageBox] " << OneLine(box.title) << ": " << OneLine(box.text) << "\n";
    });
    return backend;
  }
  platform::SdlConfig config;
  config.screen_width = options.screen_width;
  config.screen_height = options.screen_height;
  config.fullscreen = options.fullscreen;
  config.scaling = options.scaling.value_or(platform::Scaling::kSmooth);
  config.renderer = options.renderer.value_or("");
  config.title = title;
  if (options.verbose_log) {
    config.log = [](const std::string& line) { std::cerr << "quorvex-player: " << line << "\n"; };
  }
  return std::make_unique<platform::SdlBackend>(config);
}

int Main(int argc, char** argv) {
  Options options;
  try {
    options = ParseCommandLine(std::vector<std::string>(argv + 1, argv + argc));
  } catch (const UsageError& e) {
    PrintError(e.what());
    std::cerr << "Try 'quorvex-player --help' for the options.\n";
    return kExitUsage;
  }
  if (options.help) {
    std::cout << UsageText();
    return kExitOk;
  }
  if (options.version) {
    std::cout << VersionText();
    return kExitOk;
  }
  // The player's own settings; headless runs (tests, walkthroughs) neither read nor
  // write them.
  const std::filesystem::path config_file = options.config_file.value_or(DefaultConfigFile());
  PlayerConfig config;
  if (!options.headless) config = LoadOrRepairConfig(config_file, PrintError);
  ApplyConfig(options, config);
  try {
    const std::filesystem::path exe_folder = ExecutableFolder(argc > 0 ? argv[0] : "");
    // The installed demo lies beside the installed player; the build tree's otherwise.
    std::filesystem::path demo = (exe_folder / QV_DEMO_FROM_BIN).lexically_normal();
    if (std::string(QV_DEMO_FROM_BIN).empty() || !IsGameFolder(demo)) demo = QV_DEMO_GAME_DIR;
    const auto game = LocateGame(options.game_dir, exe_folder, demo);
    const CommandTable table = MakeCommandTable();
    Script script;
    if (options.script) {
      auto loaded = LoadScript(*options.script, table);
      if (!loaded) return kExitUsage;
      script = std::move(*loaded);
    }

    std::ofstream log_file;
    std::optional<RunLog> run_log;
    if (options.log == "-") {
      run_log.emplace(std::cout);
    } else if (options.log) {
      log_file.open(*options.log, std::ios::binary | std::ios::trunc);
      if (!log_file) throw UsageError("cannot write the log \"" + *options.log + "\"");
      run_log.emplace(log_file);
    }

    PlayerSettings settings;
    settings.verbose_log = options.verbose_log;
    settings.scripted = options.script.has_value();
    settings.memory_budget_bytes = options.memory_budget_mb << 20;
    settings.cd_label = options.cd_label;
    settings.open_audio = [&options]() -> std::unique_ptr<platform::AudioDevice> {
      platform::SdlAudioConfig audio;
      if (!options.soundfont.empty()) audio.soundfont = options.soundfont;
      try {
        return std::make_unique<platform::SdlMixerAudio>(audio);
      } catch (const std::exception& e) {
        // A machine without sound still plays the game.
        PrintError(std::string(e.what()) + "; playing without sound");
        return std::make_unique<platform::RecordingAudio>();
      }
    };
    std::unique_ptr<platform::Backend> backend;
    try {
      backend = MakeBackend(options, GameWindowTitle(game));
    } catch (const std::exception& e) {
      throw UsageError(std::string("cannot start the player: ") + e.what());
    }
    if (auto* sdl = dynamic_cast<platform::SdlBackend*>(backend.get())) {
      settings.desktop_size = [sdl] { return sdl->DesktopSize(); };
    }
    Player player(std::move(backend), game, settings);
    if (run_log) player.SetRunLog(&*run_log);
    Comforts comforts(
        player, config,
        [&config, &config_file] {
          try {
            SaveConfig(config, config_file);
          } catch (const std::exception& e) {
            PrintError(e.what());
          }
        },
        PrintError);
    if (!options.headless) comforts.Install();
    // Headless, the scripted user (with an empty script: nobody) ends the run once the
    // player is idle.
    ScriptRunner runner(player, std::move(script));
    if (settings.scripted || options.headless) player.loop().SetIdleUser(&runner);

    int status = RunToEnd(player, runner, std::cerr);
    if (options.state_json) {
      try {
        WriteStateJson(player, *options.state_json);
      } catch (const std::exception& e) {
        PrintError(e.what());
        if (status == kExitOk) status = kExitUsage;
      }
    }
    return status;
  } catch (const UsageError& e) {
    PrintError(e.what());
    return kExitUsage;
  }
}

}  // namespace
}  // namespace qv::app

int main(int argc, char** argv) {
  try {
    return qv::app::Main(argc, argv);
  } catch (const std::exception& e) {
    std::cerr << "quorvex-player: " << e.what() << "\n";
    return qv::app::kExitFailed;
  }
}
