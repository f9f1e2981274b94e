#pragma once
// The headless renderer: draws nothing, but remembers what the last frame drew (fills,
// images by id, texts with their measured place) and counts frames, so tests can check
// what a player would have seen.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "platform/damage.h"
#include "platform/fonts.h"
#include "platform/renderer.h"

namespace qv::platform {

class RecordingRenderer : public Renderer {
 public:
  struct DrawOp {
    enum class Kind { kFill, kImage, kText };
    Kind kind = Kind::kFill;
    Rect rect;              // where it lands; for text the measured box at its corner
    Rect clip;              // the clip in force (the whole screen when none)
    Rgb color;              // fills and texts
    uint64_t image_id = 0;  // images
    std::string text;       // texts
    FontChoice font;        // texts
  };

  RecordingRenderer(int width, int height, Fonts& fonts);

  // A frame starts empty and unclipped; EndFrame makes it the last frame.
  void BeginFrame();
  void EndFrame();

  // What the last complete frame drew, in drawing order; draws that the clip hid entirely
  // are left out.
  const std::vector<DrawOp>& last_frame() const { return last_; }
  int64_t frames() const { return frames_; }

  // The first text of the last frame equal to `text`, or null.
  const DrawOp* FindText(std::string_view text) const;
  // The first drawing of an image in the last frame, or null.
  const DrawOp* FindImage(uint64_t image_id) const;

  void FillRect(const Rect& rect, Rgb color) override;
  void DrawImage(const Image& image, const Rect& dst) override;
  void DrawText(std::string_view utf8, int x, int y, const FontChoice& font, Rgb color) override;
  void PushClip(const Rect& rect) override;
  void PopClip() override;
  Rect ClipRect() const override;

 private:
  void Record(DrawOp op);

  Rect screen_;
  Fonts& fonts_;
  std::vector<Rect> clips_;
  std::vector<DrawOp> current_;
  std::vector<DrawOp> last_;
  int64_t frames_ = 0;
};

}  // namespace qv::platform
