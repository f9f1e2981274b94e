#pragma once
// The drives and displays the shell works with:
//  - FolderDrive: the game folder as it really lies, on a disc or not.
//  - SimulatedDrive: a drive whose disc a test names (--cd-label, the script's `cd`).
//  - FixedDisplay: a monitor of a given size that remembers whether fullscreen was asked
//    for (headless runs and tests).

#include <cstdint>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>

#include "shell/ports.h"

namespace qv::shell {

class FolderDrive final : public DiscDrive {
 public:
  explicit FolderDrive(std::filesystem::path folder) : folder_(std::move(folder)) {}
  bool IsDisc() const override;
  std::string VolumeLabel() const override;

 private:
  std::filesystem::path folder_;
};

class SimulatedDrive final : public DiscDrive {
 public:
  // Without a label the game folder lies on no disc.
  explicit SimulatedDrive(std::optional<std::string> label = std::nullopt)
      : label_(std::move(label)) {}
  bool IsDisc() const override { return label_.has_value(); }
  std::string VolumeLabel() const override { return label_.value_or(""); }
  // Another disc goes into the drive.
  void Insert(std::string label);
  // The player asked for another disc: the user (a script's `cd`) changes it.
  void AwaitDiscChange(platform::EventLoop& loop) override;

 private:
  std::optional<std::string> label_;
  uint64_t changes_ = 0;
};

class FixedDisplay final : public Display {
 public:
  FixedDisplay(int width, int height) : width_(width), height_(height) {}
  int DesktopWidth() const override { return width_; }
  int DesktopHeight() const override { return height_; }
  void SetFullscreen(bool fullscreen) override;
  bool fullscreen() const { return fullscreen_; }
  // Called with each switch (a window backend switches its window).
  std::function<void(bool)> on_switch;

 private:
  int width_;
  int height_;
  bool fullscreen_ = false;
};

}  // namespace qv::shell
