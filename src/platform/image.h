#pragma once
// Pixels as the player passes them around: decoded pictures, frames of animations,
// cursors. Backend-neutral, so the engine and the controls never see SDL types.

#include <cstdint>
#include <memory>
#include <vector>

namespace qv::platform {

struct Rgb {
  uint8_t r = 0, g = 0, b = 0;
  static constexpr Rgb FromHex(uint32_t rrggbb) {
    return {static_cast<uint8_t>(rrggbb >> 16), static_cast<uint8_t>(rrggbb >> 8),
            static_cast<uint8_t>(rrggbb)};
  }
  uint32_t ToHex() const { return (uint32_t{r} << 16) | (uint32_t{g} << 8) | b; }
  bool operator==(const Rgb&) const = default;
};

struct Rect {
  int x = 0, y = 0, w = 0, h = 0;
  bool Contains(int px, int py) const { return px >= x && py >= y && px < x + w && py < y + h; }
  bool operator==(const Rect&) const = default;
};

// One still image: straight (not premultiplied) 0xAARRGGBB pixels, row by row. Images
// never change once made; `id` is unique per image so backends can cache textures.
// Images of one stream (the frames of a movie) follow each other: a backend keeps one
// texture per stream and fills it with each new frame, rather than one per image.
class Image {
 public:
  Image(int width, int height, std::vector<uint32_t> pixels, uint64_t stream = 0);
  int width() const { return width_; }
  int height() const { return height_; }
  const std::vector<uint32_t>& pixels() const { return pixels_; }
  uint64_t id() const { return id_; }
  // 0 for an image of its own.
  uint64_t stream() const { return stream_; }

  // A number for a new stream, distinct from every image id.
  static uint64_t NewStreamId();

 private:
  int width_;
  int height_;
  std::vector<uint32_t> pixels_;
  uint64_t id_;
  uint64_t stream_;
};

using ImagePtr = std::shared_ptr<const Image>;

}  // namespace qv::platform
