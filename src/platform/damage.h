#pragma once
// What changed on the virtual screen since the last frame: a few rectangles. A frame
// repaints only inside them. Rectangles that overlap or touch are merged into their
// bounding box; past kMaxRects the two whose merging adds the least area are merged, so
// a frame never paints in more than a handful of passes.

#include <cstdint>
#include <vector>

#include "platform/image.h"

namespace qv::platform {

// The part of two rectangles they share (empty when none).
Rect Intersect(const Rect& a, const Rect& b);
// The smallest rectangle holding both (an empty one adds nothing).
Rect Bounds(const Rect& a, const Rect& b);
inline bool Empty(const Rect& r) {
  return r.w <= 0 || r.h <= 0;
}
inline int64_t Area(const Rect& r) {
  return Empty(r) ? 0 : int64_t{r.w} * r.h;
}

class DamageRegion {
 public:
  static constexpr size_t kMaxRects = 8;

  void Add(const Rect& rect);
  void Clear() { rects_.clear(); }
  bool empty() const { return rects_.empty(); }
  const std::vector<Rect>& rects() const { return rects_; }
  // The rectangles, leaving the region empty.
  std::vector<Rect> Take();

 private:
  std::vector<Rect> rects_;
};

}  // namespace qv::platform
