#include "platform/headless/recording_renderer.h"

namespace qv::platform {

RecordingRenderer::RecordingRenderer(int width, int height, Fonts& fonts)
    : screen_{0, 0, width, height}, fonts_(fonts) {}

void RecordingRenderer::BeginFrame() {
  clips_.clear();
  current_.clear();
}

void RecordingRenderer::EndFrame() {
  last_.swap(current_);
  current_.clear();
  clips_.clear();
  ++frames_;
}

const RecordingRenderer::DrawOp* RecordingRenderer::FindText(std::string_view text) const {
  for (const DrawOp& op : last_) {
    if (op.kind == DrawOp::Kind::kText && op.text == text) return &op;
  }
  return nullptr;
}

const RecordingRenderer::DrawOp* RecordingRenderer::FindImage(uint64_t image_id) const {
  for (const DrawOp& op : last_) {
    if (op.kind == DrawOp::Kind::kImage && op.image_id == image_id) return &op;
  }
  return nullptr;
}

Rect RecordingRenderer::ClipRect() const {
  return clips_.empty() ? screen_ : clips_.back();
}

void RecordingRenderer::Record(DrawOp op) {
  op.clip = ClipRect();
  if (Intersect(op.rect, op.clip).w == 0) return;
  current_.push_back(std::move(op));
}

void RecordingRenderer::FillRect(const Rect& rect, Rgb color) {
  DrawOp op;
  op.kind = DrawOp::Kind::kFill;
  op.rect = rect;
  op.color = color;
  Record(std::move(op));
}

void RecordingRenderer::DrawImage(const Image& image, const Rect& dst) {
  DrawOp op;
  op.kind = DrawOp::Kind::kImage;
  op.rect = dst;
  op.image_id = image.id();
  Record(std::move(op));
}

void RecordingRenderer::DrawText(std::string_view utf8, int x, int y, const FontChoice& font,
                                 Rgb color) {
  const TextSize size = fonts_.Measure(utf8, font);
  DrawOp op;
  op.kind = DrawOp::Kind::kText;
  op.rect = {x, y, size.width, size.height};
  op.color = color;
  op.text = std::string(utf8);
  op.font = font;
  Record(std::move(op));
}

void RecordingRenderer::PushClip(const Rect& rect) {
  clips_.push_back(Intersect(ClipRect(), rect));
}

void RecordingRenderer::PopClip() {
  // An unmatched pop leaves the whole screen drawable rather than failing the frame.
  if (!clips_.empty()) clips_.pop_back();
}

}  // namespace qv::platform
