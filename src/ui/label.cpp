#include "ui/label.h"

#include <algorithm>

#include "ui/desktop.h"

namespace qv::ui {

using platform::Rect;

namespace {

// Splits at "\r\n", "\r" and "\n".
std::vector<std::string_view> Paragraphs(std::string_view text) {
  std::vector<std::string_view> out;
  size_t start = 0;
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] != '\r' && text[i] != '\n') continue;
    out.push_back(text.substr(start, i - start));
    if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
    start = i + 1;
  }
  out.push_back(text.substr(start));
  return out;
}

}  // namespace

void Label::SetCaption(std::string caption) {
  if (caption == caption_) return;
  caption_ = std::move(caption);
  Invalidate();
  Fit();
}

void Label::SetForeColor(platform::Rgb color) {
  if (color == fore_color_) return;
  fore_color_ = color;
  Invalidate();
}

void Label::SetBackColor(platform::Rgb color) {
  if (color == back_color_) return;
  back_color_ = color;
  if (!transparent_) Invalidate();
}

void Label::SetTransparent(bool transparent) {
  if (transparent == transparent_) return;
  transparent_ = transparent;
  Invalidate();
}

void Label::SetAlign(Alignment alignment) {
  if (alignment == alignment_) return;
  alignment_ = alignment;
  Invalidate();
}

void Label::SetAutoSize(bool auto_size) {
  if (auto_size == auto_size_) return;
  auto_size_ = auto_size;
  Fit();
}

void Label::SetWordWrap(bool word_wrap) {
  if (word_wrap == word_wrap_) return;
  word_wrap_ = word_wrap;
  Invalidate();
  Fit();
}

std::vector<std::string> Label::Layout(int max_width) const {
  std::vector<std::string> lines;
  for (std::string_view paragraph : Paragraphs(caption_)) {
    if (max_width < 0 || MeasureText(paragraph).width <= max_width) {
      lines.emplace_back(paragraph);
      continue;
    }
    // Greedy wrapping at blanks; a word longer than the width gets a line of its own.
    std::string line;
    size_t pos = 0;
    while (pos < paragraph.size()) {
      size_t end = paragraph.find(' ', pos);
      if (end == std::string_view::npos) end = paragraph.size();
      std::string_view word = paragraph.substr(pos, end - pos);
      std::string candidate = line.empty() ? std::string(word) : line + " " + std::string(word);
      if (!line.empty() && MeasureText(candidate).width > max_width) {
        lines.push_back(line);
        line = std::string(word);
      } else {
        line = std::move(candidate);
      }
      pos = end + 1;
    }
    lines.push_back(line);
  }
  return lines;
}

std::vector<std::string> Label::Lines() const {
  const bool wraps = !auto_size_ || word_wrap_;
  return Layout(wraps ? Width() : -1);
}

void Label::Fit() {
  if (!auto_size_ || !desktop() || fitting_) return;
  fitting_ = true;
  const std::vector<std::string> lines = Lines();
  const int line_height = Desktop::LineHeight(desktop(), Font());
  int width = Width();
  if (!word_wrap_) {
    width = 0;
    for (const auto& line : lines)
      width = std::max(width, MeasureText(line).width);
  }
  Move(Left(), Top(), width, line_height * static_cast<int>(lines.size()));
  fitting_ = false;
}

void Label::OnResized() {
  // A wrapping label that is given a new width wraps anew.
  if (auto_size_ && word_wrap_) Fit();
}

void Label::PaintSelf(platform::Renderer& renderer, const Rect& rect) {
  if (!transparent_) renderer.FillRect(rect, back_color_);
  const int line_height = Desktop::LineHeight(desktop(), Font());
  const platform::Rgb color = Enabled() ? fore_color_ : kShadow;
  int y = rect.y;
  for (const auto& line : Lines()) {
    int x = rect.x;
    if (alignment_ != Alignment::kLeft) {
      const int width = MeasureText(line).width;
      x = alignment_ == Alignment::kRight ? rect.x + rect.w - width : rect.x + (rect.w - width) / 2;
    }
    if (!line.empty()) renderer.DrawText(line, x, y, Font(), color);
    y += line_height;
    if (y >= rect.y + rect.h) break;
  }
}

}  // namespace qv::ui
