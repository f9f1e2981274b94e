#pragma once
// Optical discs: whether a folder lies on a CD or DVD, and the disc's volume label. A
// folder is on a disc when the file system mounted there is a disc's (ISO 9660 or UDF);
// the label is read from the disc's own descriptor through libblkid, or, where the
// device cannot be read, from the names udev gives the labelled devices.

#include <filesystem>
#include <optional>
#include <string>

namespace qv::platform {

struct DiscInfo {
  std::string device;       // "/dev/sr0"
  std::string file_system;  // "iso9660", "udf"
  std::string label;        // the volume label as the disc spells it; "" when it has none
};

// The disc `folder` lies on, or nothing when its file system is not a disc's. Never
// throws; a folder that does not exist lies on no disc.
std::optional<DiscInfo> FindDisc(const std::filesystem::path& folder);

// True for the file systems of optical discs.
bool IsDiscFileSystem(const std::string& type);

// A label as udev writes it into /dev/disk/by-label names ("\x20" for a blank).
std::string UnescapeUdevLabel(const std::string& name);

}  // namespace qv::platform
