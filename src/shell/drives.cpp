#include "shell/drives.h"

#include "platform/disc.h"

namespace qv::shell {

bool FolderDrive::IsDisc() const {
  return platform::FindDisc(folder_).has_value();
}

std::string FolderDrive::VolumeLabel() const {
  auto disc = platform::FindDisc(folder_);
  return disc ? disc->label : std::string();
}

void SimulatedDrive::Insert(std::string label) {
  label_ = std::move(label);
  ++changes_;
}

void SimulatedDrive::AwaitDiscChange(platform::EventLoop& loop) {
  const uint64_t before = changes_;
  loop.WaitForUser([this, before] { return changes_ != before; },
                   "another disc in the drive (cd \"LABEL\")");
}

void FixedDisplay::SetFullscreen(bool fullscreen) {
  fullscreen_ = fullscreen;
  if (on_switch) on_switch(fullscreen);
}

}  // namespace qv::shell
