#pragma once
// Pictures from files: BMP and JPG through SDL2_image, GIF through giflib with our own
// frame compositing (disposal, transparency, per-frame delays, loop count). Each file is
// decoded once and cached. A missing file raises "File not found" (53); a file that does
// not decode, or is larger than the budget (4096 x 4096 pixels, 2000 frames, 256 MiB of
// decoded frames, 2^28 pixels of decoding work), raises "Invalid picture" (481); one that
// does not fit in what is left of the game's memory budget "Out of memory" (7).

#include <cstdint>
#include <filesystem>
#include <memory>
#include <vector>

#include "platform/image.h"
#include "platform/memory_budget.h"

namespace qv::platform {

struct Picture {
  int width = 0;  // the logical screen (canvas) size
  int height = 0;
  std::vector<ImagePtr> frames;  // composited, each width x height; one for a still picture
  std::vector<int> delays_ms;    // per frame, as the file gives it (0 when none)
  int loop_count = 0;            // 0 = loop for ever; n = play n times
  MemoryLease lease;             // the frames' share of the game's memory budget
};

using PicturePtr = std::shared_ptr<const Picture>;

class PictureLoader {
 public:
  virtual ~PictureLoader() = default;
  // Loads (or returns the cached) picture at a real path.
  virtual PicturePtr Load(const std::filesystem::path& path) = 0;
};

}  // namespace qv::platform
