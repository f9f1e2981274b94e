#include "ui/text_box.h"

#include <algorithm>
#include <cctype>
#include <cstdlib>

#include "platform/event_loop.h"
#include "ui/desktop.h"

namespace qv::ui {

using platform::Key;
using platform::Rect;

namespace {

bool IsContinuation(char c) {
  return (static_cast<unsigned char>(c) & 0xC0) == 0x80;
}

size_t NextBoundary(std::string_view s, size_t at) {
  if (at >= s.size()) return s.size();
  ++at;
  while (at < s.size() && IsContinuation(s[at]))
    ++at;
  return at;
}

size_t PrevBoundary(std::string_view s, size_t at) {
  if (at == 0) return 0;
  --at;
  while (at > 0 && IsContinuation(s[at]))
    --at;
  return at;
}

size_t CharCount(std::string_view s) {
  return static_cast<size_t>(
      std::count_if(s.begin(), s.end(), [](char c) { return !IsContinuation(c); }));
}

// The byte offset of character n (the end when n is past it).
size_t OffsetOfChar(std::string_view s, size_t n) {
  size_t at = 0;
  while (n > 0 && at < s.size()) {
    at = NextBoundary(s, at);
    --n;
  }
  return at;
}

// Text without line breaks and other control characters (a one-line box).
std::string OneLine(std::string_view text) {
  std::string out;
  for (char c : text) {
    if (static_cast<unsigned char>(c) >= 0x20 && c != 0x7F) out += c;
  }
  return out;
}

}  // namespace

void TextBox::SetText(std::string text) {
  text = OneLine(text);
  if (max_length_ > 0) text.resize(OffsetOfChar(text, static_cast<size_t>(max_length_)));
  caret_ = anchor_ = 0;
  scroll_ = 0;
  if (text == text_) {
    Invalidate();
    return;
  }
  text_ = std::move(text);
  Changed();
}

void TextBox::SelectAll() {
  anchor_ = 0;
  caret_ = text_.size();
  ScrollToCaret();
  Invalidate();
}

void TextBox::SetSelection(int start, int length) {
  anchor_ = OffsetOfChar(text_, static_cast<size_t>(std::max(start, 0)));
  caret_ = OffsetOfChar(text_, CharCount(std::string_view(text_).substr(0, anchor_)) +
                                   static_cast<size_t>(std::max(length, 0)));
  ScrollToCaret();
  Invalidate();
}

int TextBox::SelStart() const {
  return static_cast<int>(CharCount(std::string_view(text_).substr(0, SelectionBegin())));
}

int TextBox::SelLength() const {
  return static_cast<int>(CharCount(
      std::string_view(text_).substr(SelectionBegin(), SelectionEnd() - SelectionBegin())));
}

std::string TextBox::SelectedText() const {
  return text_.substr(SelectionBegin(), SelectionEnd() - SelectionBegin());
}

void TextBox::ReplaceSelection(std::string_view text) {
  std::string insert = OneLine(text);
  const size_t begin = SelectionBegin();
  const size_t end = SelectionEnd();
  if (max_length_ > 0) {
    const size_t kept =
        CharCount(text_) - CharCount(std::string_view(text_).substr(begin, end - begin));
    const size_t room =
        kept >= static_cast<size_t>(max_length_) ? 0 : static_cast<size_t>(max_length_) - kept;
    insert.resize(OffsetOfChar(insert, room));
  }
  if (insert.empty() && begin == end) return;
  text_.replace(begin, end - begin, insert);
  caret_ = anchor_ = begin + insert.size();
  ScrollToCaret();
  Changed();
}

void TextBox::MoveCaret(size_t to, bool extend) {
  caret_ = std::min(to, text_.size());
  if (!extend) anchor_ = caret_;
  ScrollToCaret();
  Invalidate();
}

int TextBox::WidthOf(size_t bytes) const {
  return MeasureText(std::string_view(text_).substr(0, bytes)).width;
}

size_t TextBox::OffsetAt(int x) const {
  // The boundary whose position is nearest to x.
  size_t best = 0;
  int best_distance = std::abs(x);
  for (size_t at = NextBoundary(text_, 0); at <= text_.size(); at = NextBoundary(text_, at)) {
    const int distance = std::abs(WidthOf(at) - x);
    if (distance < best_distance) {
      best = at;
      best_distance = distance;
    }
    if (at == text_.size()) break;
  }
  return best;
}

void TextBox::ScrollToCaret() {
  const int visible = Width() - 2 * kPadding;
  if (visible <= 0) return;
  const int caret_x = WidthOf(caret_);
  if (caret_x - scroll_ > visible) scroll_ = caret_x - visible;
  if (caret_x < scroll_) scroll_ = caret_x;
  scroll_ = std::max(scroll_, 0);
}

void TextBox::Changed() {
  Invalidate();
  if (on_change) {
    auto run = on_change;
    run();
  }
}

void TextBox::MouseDown(const MouseArgs& args) {
  if (args.button == platform::MouseButton::kLeft) {
    MoveCaret(OffsetAt(args.x - kPadding + scroll_), args.shift);
  }
  Control::MouseDown(args);
}

void TextBox::MouseMove(const MouseArgs& args) {
  // Dragging with the left button selects.
  if (args.buttons & ButtonBit(platform::MouseButton::kLeft) && HasFocus()) {
    MoveCaret(OffsetAt(args.x - kPadding + scroll_), true);
  }
  Control::MouseMove(args);
}

void TextBox::KeyDown(KeyArgs& args) {
  const bool extend = args.shift;
  auto clipboard = [this]() -> platform::Clipboard* {
    return desktop() ? &desktop()->loop().backend().clipboard() : nullptr;
  };
  switch (args.key) {
    case Key::kLeft:
      MoveCaret(caret_ != anchor_ && !extend ? SelectionBegin() : PrevBoundary(text_, caret_),
                extend);
      break;
    case Key::kRight:
      MoveCaret(caret_ != anchor_ && !extend ? SelectionEnd() : NextBoundary(text_, caret_),
                extend);
      break;
    case Key::kHome:
      MoveCaret(0, extend);
      break;
    case Key::kEnd:
      MoveCaret(text_.size(), extend);
      break;
    case Key::kBackspace:
      if (locked_) break;
      if (caret_ == anchor_) anchor_ = PrevBoundary(text_, caret_);
      ReplaceSelection("");
      break;
    case Key::kDelete:
      if (locked_) break;
      if (caret_ == anchor_) anchor_ = NextBoundary(text_, caret_);
      ReplaceSelection("");
      break;
    case Key::kChar: {
      if (!args.ctrl || args.text.size() != 1) return;
      const char c = static_cast<char>(std::tolower(static_cast<unsigned char>(args.text[0])));
      if (c == 'a') {
        SelectAll();
      } else if (c == 'c' || c == 'x') {
        if (caret_ == anchor_) break;
        if (auto* board = clipboard()) {
          board->Clear();
          board->SetText(SelectedText());
        }
        if (c == 'x' && !locked_) ReplaceSelection("");
      } else if (c == 'v') {
        if (auto* board = clipboard(); board && !locked_) ReplaceSelection(board->GetText());
      } else {
        return;
      }
      break;
    }
    default:
      return;
  }
  args.handled = true;
}

void TextBox::KeyPress(KeyArgs& args) {
  if (locked_ || args.ctrl || args.alt || args.text.empty()) return;
  // Control characters (Backspace, Return, Tab, Escape) are keys, not text.
  if (static_cast<unsigned char>(args.text[0]) < 0x20 || args.text[0] == 0x7F) return;
  ReplaceSelection(args.text);
  args.handled = true;
}

void TextBox::PaintSelf(platform::Renderer& renderer, const Rect& rect) {
  renderer.FillRect(rect, Enabled() ? kWindowWhite : kButtonFace);
  DrawFrame(renderer, rect, kShadow);
  const int line_height = Desktop::LineHeight(desktop(), Font());
  const int x = rect.x + kPadding - scroll_;
  const int y = rect.y + (rect.h - line_height) / 2;
  renderer.PushClip({rect.x + 1, rect.y + 1, std::max(rect.w - 2, 0), std::max(rect.h - 2, 0)});
  const bool focused = HasFocus();
  if (focused && caret_ != anchor_) {
    const int from = WidthOf(SelectionBegin());
    const int to = WidthOf(SelectionEnd());
    renderer.FillRect({x + from, y, to - from, line_height}, kHighlight);
  }
  const platform::Rgb color = Enabled() ? kWindowText : kShadow;
  if (!text_.empty()) renderer.DrawText(text_, x, y, Font(), color);
  if (focused && caret_ != anchor_) {
    // The selected part again, in white on the highlight.
    const size_t begin = SelectionBegin();
    renderer.DrawText(std::string_view(text_).substr(begin, SelectionEnd() - begin),
                      x + WidthOf(begin), y, Font(), kWindowWhite);
  }
  if (focused && !locked_) renderer.FillRect({x + WidthOf(caret_), y, 1, line_height}, kWindowText);
  renderer.PopClip();
}

}  // namespace qv::ui
