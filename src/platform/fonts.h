#pragma once
// Text measuring and rasterising with the real font (SDL_ttf and DejaVu Sans), the same
// in every backend, so labels size themselves identically headless and on screen.

#include <memory>
#include <string_view>

namespace qv::platform {

struct FontChoice {
  int size_px = 13;  // the point size the original windows used, as pixels
  bool bold = false;
  bool operator==(const FontChoice&) const = default;
};

struct TextSize {
  int width = 0;
  int height = 0;
};

class Fonts {
 public:
  virtual ~Fonts() = default;
  virtual TextSize Measure(std::string_view utf8, const FontChoice& font) = 0;
};

}  // namespace qv::platform
