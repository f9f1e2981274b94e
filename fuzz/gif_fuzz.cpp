// Fuzzes GIF decoding and compositing: any bytes either decode into a consistent
// picture or raise "Invalid picture"; nothing crashes or reads out of bounds.

#include <cstdint>
#include <cstdlib>

#include "core/vb_error.h"
#include "platform/pictures/picture_decoding.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  qv::platform::PictureLimits limits;
  limits.max_decoded_bytes = uint64_t{64} << 20;  // keeps each run quick; same checks
  try {
    qv::platform::PicturePtr picture = qv::platform::DecodeGif({data, size}, limits);
    if (picture->frames.empty() || picture->frames.size() != picture->delays_ms.size() ||
        picture->width <= 0 || picture->height <= 0 || picture->loop_count < 0) {
      std::abort();
    }
    for (const qv::platform::ImagePtr& frame : picture->frames) {
      if (frame->width() != picture->width || frame->height() != picture->height ||
          frame->pixels().size() != static_cast<size_t>(picture->width) * picture->height) {
        std::abort();
      }
    }
  } catch (const qv::VbError& e) {
    if (e.number() != qv::kErrInvalidPicture) std::abort();
  }
  return 0;
}
