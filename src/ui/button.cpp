#include "ui/button.h"

#include <algorithm>

#include "core/vb_error.h"
#include "ui/desktop.h"

namespace qv::ui {

using platform::Key;
using platform::Rect;

namespace {

constexpr int kBoxSize = 13;  // the check box's square

}  // namespace

void CommandButton::SetCaption(std::string caption) {
  if (caption == caption_) return;
  caption_ = std::move(caption);
  Invalidate();
}

void CommandButton::SetPressed(bool pressed) {
  if (pressed == pressed_) return;
  pressed_ = pressed;
  Invalidate();
}

void CommandButton::MouseDown(const MouseArgs& args) {
  if (args.button == platform::MouseButton::kLeft) SetPressed(true);
  Control::MouseDown(args);
}

void CommandButton::MouseUp(const MouseArgs& args) {
  if (args.button == platform::MouseButton::kLeft) SetPressed(false);
  Control::MouseUp(args);
}

void CommandButton::MouseMove(const MouseArgs& args) {
  // Held down, it looks pressed only while the pointer is on it.
  if (args.buttons & ButtonBit(platform::MouseButton::kLeft)) {
    SetPressed(args.x >= 0 && args.y >= 0 && args.x < Width() && args.y < Height());
  }
  Control::MouseMove(args);
}

void CommandButton::KeyDown(KeyArgs& args) {
  if (args.key == Key::kReturn || (args.key == Key::kChar && args.text == " ")) {
    args.handled = true;
    Click();
  }
}

void CommandButton::PaintSelf(platform::Renderer& renderer, const Rect& rect) {
  renderer.FillRect(rect, kButtonFace);
  DrawFrame(renderer, rect, pressed_ ? kWindowText : kShadow);
  if (HasFocus()) {
    DrawFrame(renderer, {rect.x + 1, rect.y + 1, rect.w - 2, rect.h - 2}, kShadow);
  }
  const platform::TextSize size = MeasureText(caption_);
  const int shift = pressed_ ? 1 : 0;
  if (!caption_.empty()) {
    renderer.DrawText(caption_, rect.x + (rect.w - size.width) / 2 + shift,
                      rect.y + (rect.h - size.height) / 2 + shift, Font(),
                      Enabled() ? kWindowText : kShadow);
  }
}

void CheckBox::SetCaption(std::string caption) {
  if (caption == caption_) return;
  caption_ = std::move(caption);
  Invalidate();
}

void CheckBox::SetValue(int value) {
  if (value != 0 && value != 1) Raise(kErrInvalidCall);
  if (value == value_) return;
  value_ = value;
  Invalidate();
  Control::Click();
}

void CheckBox::Click() {
  value_ = value_ == 0 ? 1 : 0;
  Invalidate();
  Control::Click();
}

void CheckBox::KeyDown(KeyArgs& args) {
  if (args.key == Key::kChar && args.text == " ") {
    args.handled = true;
    Click();
  }
}

void CheckBox::PaintSelf(platform::Renderer& renderer, const Rect& rect) {
  const Rect box{rect.x, rect.y + (rect.h - kBoxSize) / 2, kBoxSize, kBoxSize};
  renderer.FillRect(box, Enabled() ? kWindowWhite : kButtonFace);
  DrawFrame(renderer, box, kShadow);
  if (value_ == 1)
    renderer.FillRect({box.x + 3, box.y + 3, kBoxSize - 6, kBoxSize - 6}, kWindowText);
  const platform::TextSize size = MeasureText(caption_);
  const int text_x = box.x + kBoxSize + 4;
  if (!caption_.empty()) {
    renderer.DrawText(caption_, text_x, rect.y + (rect.h - size.height) / 2, Font(),
                      Enabled() ? kWindowText : kShadow);
  }
  if (HasFocus()) {
    DrawFrame(
        renderer,
        {text_x - 1, rect.y + (rect.h - size.height) / 2 - 1, size.width + 2, size.height + 2},
        kShadow);
  }
}

}  // namespace qv::ui
