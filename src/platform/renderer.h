#pragma once
// Drawing on the virtual screen, in its logical pixels. Implemented by the backends.

#include <string_view>

#include "platform/fonts.h"
#include "platform/image.h"

namespace qv::platform {

class Renderer {
 public:
  virtual ~Renderer() = default;
  virtual void FillRect(const Rect& rect, Rgb color) = 0;
  // Draws the image scaled into dst, blending by its alpha.
  virtual void DrawImage(const Image& image, const Rect& dst) = 0;
  // Draws one line of text with its top-left corner at (x, y).
  virtual void DrawText(std::string_view utf8, int x, int y, const FontChoice& font, Rgb color) = 0;
  // Limits drawing to rect (intersected with the current clip) until the matching PopClip.
  virtual void PushClip(const Rect& rect) = 0;
  virtual void PopClip() = 0;
  // The part of the screen drawing reaches now (the whole screen when nothing clips).
  virtual Rect ClipRect() const = 0;
};

}  // namespace qv::platform
