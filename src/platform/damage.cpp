#include "platform/damage.h"

#include <algorithm>
#include <limits>
#include <utility>

namespace qv::platform {

namespace {

// Overlapping or edge to edge: painting their bounding box costs nothing extra worth
// a second pass.
bool Touch(const Rect& a, const Rect& b) {
  return a.x <= b.x + b.w && b.x <= a.x + a.w && a.y <= b.y + b.h && b.y <= a.y + a.h;
}

}  // namespace

Rect Intersect(const Rect& a, const Rect& b) {
  const int left = std::max(a.x, b.x);
  const int top = std::max(a.y, b.y);
  const int right = std::min(a.x + std::max(a.w, 0), b.x + std::max(b.w, 0));
  const int bottom = std::min(a.y + std::max(a.h, 0), b.y + std::max(b.h, 0));
  if (right <= left || bottom <= top) return {left, top, 0, 0};
  return {left, top, right - left, bottom - top};
}

Rect Bounds(const Rect& a, const Rect& b) {
  if (Empty(a)) return b;
  if (Empty(b)) return a;
  const int left = std::min(a.x, b.x);
  const int top = std::min(a.y, b.y);
  const int right = std::max(a.x + a.w, b.x + b.w);
  const int bottom = std::max(a.y + a.h, b.y + b.h);
  return {left, top, right - left, bottom - top};
}

void DamageRegion::Add(const Rect& rect) {
  if (Empty(rect)) return;
  Rect merged = rect;
  // A merged rectangle may reach others it did not touch before: merge until none does.
  for (bool again = true; again;) {
    again = false;
    for (auto it = rects_.begin(); it != rects_.end(); ++it) {
      if (Touch(*it, merged)) {
        merged = Bounds(*it, merged);
        rects_.erase(it);
        again = true;
        break;
      }
    }
  }
  rects_.push_back(merged);
  while (rects_.size() > kMaxRects) {
    size_t best_a = 0;
    size_t best_b = 1;
    int64_t best_growth = std::numeric_limits<int64_t>::max();
    for (size_t a = 0; a < rects_.size(); ++a) {
      for (size_t b = a + 1; b < rects_.size(); ++b) {
        const int64_t growth =
            Area(Bounds(rects_[a], rects_[b])) - Area(rects_[a]) - Area(rects_[b]);
        if (growth < best_growth) {
          best_growth = growth;
          best_a = a;
          best_b = b;
        }
      }
    }
    const Rect both = Bounds(rects_[best_a], rects_[best_b]);
    rects_.erase(rects_.begin() + static_cast<std::ptrdiff_t>(best_b));
    rects_.erase(rects_.begin() + static_cast<std::ptrdiff_t>(best_a));
    Add(both);  // it may touch others now
  }
}

std::vector<Rect> DamageRegion::Take() {
  std::vector<Rect> taken;
  taken.swap(rects_);
  return taken;
}

}  // namespace qv::platform
