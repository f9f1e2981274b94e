#include "app/comforts.h"

#include <algorithm>
#include <chrono>
#include <ctime>
#include <system_error>

#include "app/player.h"
#include "platform/user_files.h"

namespace qv::app {

namespace {

// "quorvex-2024-05-01-183012.png", with "-2", "-3", ... when taken within one second.
std::filesystem::path ScreenshotName(const std::filesystem::path& folder) {
  const std::time_t now = std::chrono::system_clock::to_time_t(std::chrono::system_clock::now());
  std::tm local{};
  localtime_r(&now, &local);
  char stamp[32];
  std::strftime(stamp, sizeof stamp, "%Y-%m-%d-%H%M%S", &local);
  std::error_code ec;
  std::filesystem::path file = folder / ("quorvex-" + std::string(stamp) + ".png");
  for (int n = 2; std::filesystem::exists(file, ec); ++n)
    file = folder / ("quorvex-" + std::string(stamp) + "-" + std::to_string(n) + ".png");
  return file;
}

}  // namespace

Comforts::Comforts(Player& player, PlayerConfig& config, std::function<void()> save,
                   std::function<void(const std::string&)> report)
    : player_(player), config_(config), save_(std::move(save)), report_(std::move(report)) {
  screenshot_folder_ = platform::PicturesFolder().value_or(platform::DataFolder());
}

double Comforts::MasterGain(const PlayerConfig& config) {
  if (config.mute) return 0.0;
  const double share = std::clamp(config.master_volume, 0, 100) / 100.0;
  return share * share;
}

void Comforts::Install() {
  player_.audio().SetMasterGain(MasterGain(config_));
  player_.backend().SetMouseConfined(config_.confine_mouse);
  player_.loop().SetCommandHandler([this](platform::PlayerCommand command) { Handle(command); });
}

void Comforts::Say(const std::string& text) {
  player_.screen().ShowMessage(text);
}

void Comforts::Changed() {
  if (save_) save_();
}

void Comforts::Handle(platform::PlayerCommand command) {
  using platform::PlayerCommand;
  platform::Backend& backend = player_.backend();
  switch (command) {
    case PlayerCommand::kToggleFullscreen:
      backend.SetFullscreen(!backend.fullscreen());
      config_.fullscreen = backend.fullscreen();
      Changed();
      return;
    case PlayerCommand::kScreenshot:
      Screenshot();
      return;
    case PlayerCommand::kVolumeUp:
    case PlayerCommand::kVolumeDown: {
      const int step = command == PlayerCommand::kVolumeUp ? kVolumeStep : -kVolumeStep;
      // Turning the volume up or down is also turning the sound back on.
      config_.mute = false;
      config_.master_volume =
          std::clamp((config_.master_volume + step) / kVolumeStep * kVolumeStep, 0, 100);
      player_.audio().SetMasterGain(MasterGain(config_));
      Say("Volume " + std::to_string(config_.master_volume) + " %");
      Changed();
      return;
    }
    case PlayerCommand::kToggleMute:
      config_.mute = !config_.mute;
      player_.audio().SetMasterGain(MasterGain(config_));
      Say(config_.mute ? "Sound off" : "Sound on");
      Changed();
      return;
    case PlayerCommand::kToggleScaling:
      config_.scaling = backend.scaling() == platform::Scaling::kInteger
                            ? platform::Scaling::kSmooth
                            : platform::Scaling::kInteger;
      backend.SetScaling(config_.scaling);
      Say(config_.scaling == platform::Scaling::kInteger ? "Scaling: pixel-perfect"
                                                         : "Scaling: smooth");
      Changed();
      return;
    case PlayerCommand::kNone:
      return;
  }
}

void Comforts::Screenshot() {
  const platform::ImagePtr screen = player_.backend().CaptureScreen();
  if (!screen) {
    Say("No screenshot: nothing is drawn");
    return;
  }
  const std::filesystem::path file = ScreenshotName(screenshot_folder_);
  try {
    platform::WritePng(*screen, file);
  } catch (const std::exception& e) {
    Say("The screenshot could not be saved");
    if (report_) report_(e.what());
    return;
  }
  Say("Screenshot saved: " + file.filename().string());
  if (report_) report_("screenshot saved as " + file.string());
}

}  // namespace qv::app
