#include "platform/image.h"

#include <atomic>

namespace qv::platform {

namespace {
std::atomic<uint64_t> next_image_id{1};
}  // namespace

Image::Image(int width, int height, std::vector<uint32_t> pixels, uint64_t stream)
    : width_(width),
      height_(height),
      pixels_(std::move(pixels)),
      id_(next_image_id++),
      stream_(stream) {}

uint64_t Image::NewStreamId() {
  return next_image_id++;
}

}  // namespace qv::platform
