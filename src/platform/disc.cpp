#include "platform/disc.h"

#include <blkid/blkid.h>
#include <libmount/libmount.h>

#include <cstdlib>
#include <memory>
#include <system_error>

namespace qv::platform {

namespace {

struct TableDeleter {
  void operator()(libmnt_table* table) const { mnt_unref_table(table); }
};
struct ProbeDeleter {
  void operator()(blkid_struct_probe* probe) const { blkid_free_probe(probe); }
};

// The label in the disc's descriptor; nothing when the device cannot be read.
std::optional<std::string> ProbeLabel(const std::string& device) {
  std::unique_ptr<blkid_struct_probe, ProbeDeleter> probe(
      blkid_new_probe_from_filename(device.c_str()));
  if (!probe) return std::nullopt;
  blkid_probe_enable_superblocks(probe.get(), 1);
  blkid_probe_set_superblocks_flags(probe.get(), BLKID_SUBLKS_LABEL | BLKID_SUBLKS_TYPE);
  if (blkid_do_safeprobe(probe.get()) != 0) return std::nullopt;
  const char* label = nullptr;
  size_t length = 0;
  if (blkid_probe_lookup_value(probe.get(), "LABEL", &label, &length) != 0 || label == nullptr) {
    return std::string();
  }
  // The length counts the closing zero.
  return std::string(label, length > 0 ? length - 1 : 0);
}

// The label udev found for the device, from the links in /dev/disk/by-label.
std::string UdevLabel(const std::string& device) {
  std::error_code ec;
  const std::filesystem::path real = std::filesystem::canonical(device, ec);
  if (ec) return {};
  for (const auto& entry : std::filesystem::directory_iterator("/dev/disk/by-label", ec)) {
    std::error_code link_ec;
    if (std::filesystem::canonical(entry.path(), link_ec) == real && !link_ec) {
      return UnescapeUdevLabel(entry.path().filename().string());
    }
  }
  return {};
}

}  // namespace

bool IsDiscFileSystem(const std::string& type) {
  return type == "iso9660" || type == "udf";
}

std::string UnescapeUdevLabel(const std::string& name) {
  std::string out;
  for (size_t i = 0; i < name.size(); ++i) {
    if (name[i] == '\\' && i + 3 < name.size() && name[i + 1] == 'x') {
      const std::string hex = name.substr(i + 2, 2);
      char* end = nullptr;
      const long value = std::strtol(hex.c_str(), &end, 16);
      if (end == hex.c_str() + 2) {
        out += static_cast<char>(value);
        i += 3;
        continue;
      }
    }
    out += name[i];
  }
  return out;
}

std::optional<DiscInfo> FindDisc(const std::filesystem::path& folder) {
  std::error_code ec;
  const std::filesystem::path real = std::filesystem::canonical(folder, ec);
  if (ec) return std::nullopt;
  std::unique_ptr<libmnt_table, TableDeleter> table(mnt_new_table());
  if (!table || mnt_table_parse_mtab(table.get(), nullptr) != 0) return std::nullopt;
  libmnt_fs* fs = mnt_table_find_mountpoint(table.get(), real.c_str(), MNT_ITER_BACKWARD);
  if (fs == nullptr) return std::nullopt;
  const char* type = mnt_fs_get_fstype(fs);
  if (type == nullptr || !IsDiscFileSystem(type)) return std::nullopt;
  DiscInfo disc;
  disc.file_system = type;
  if (const char* source = mnt_fs_get_srcpath(fs)) disc.device = source;
  if (!disc.device.empty()) {
    if (auto label = ProbeLabel(disc.device)) {
      disc.label = *label;
    } else {
      disc.label = UdevLabel(disc.device);
    }
  }
  return disc;
}

}  // namespace qv::platform
