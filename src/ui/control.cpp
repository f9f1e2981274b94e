#include "ui/control.h"

#include <algorithm>

#include "ui/desktop.h"
#include "ui/form.h"

namespace qv::ui {

using platform::Rect;

Control::Control(std::string name, int index) : name_(std::move(name)), index_(index) {}

Control::~Control() {
  // The desktop and the form must not keep pointing at a control that is gone (a capture,
  // the control under the pointer, the focus).
  if (desktop_) desktop_->ForgetControl(this);
  if (form_ && form_ != this) form_->ForgetControl(this);
  DestroyChildren();
}

void Control::DestroyChildren() {
  // Children go front to back; each still finds its form and desktop while it goes.
  while (!children_.empty())
    children_.pop_back();
}

void Control::Move(int left, int top, int width, int height) {
  width = std::max(width, 0);
  height = std::max(height, 0);
  if (left == left_ && top == top_ && width == width_ && height == height_) return;
  const bool resized = width != width_ || height != height_;
  // The old place must be drawn again as well as the new one: a frame covers both.
  Invalidate();
  left_ = left;
  top_ = top;
  width_ = width;
  height_ = height;
  Invalidate();
  if (resized) OnResized();
}

void Control::MoveTwips(int left, int top, int width, int height) {
  Move(TwipsToPixels(left), TwipsToPixels(top), TwipsToPixels(width), TwipsToPixels(height));
}

Rect Control::ScreenRect() const {
  if (!parent_) return {left_, top_, width_, height_};
  Rect client = parent_->ClientRect();
  return {client.x + left_, client.y + top_, width_, height_};
}

Rect Control::VisibleRect() const {
  Rect rect = ScreenRect();
  for (const Control* c = parent_; c && !platform::Empty(rect); c = c->parent_)
    rect = platform::Intersect(rect, c->ClientRect());
  return rect;
}

void Control::SetVisible(bool visible) {
  if (visible == visible_) return;
  const bool parent_shown = !parent_ || parent_->Shown();
  if (!visible) DropFocusWithin();
  visible_ = visible;
  if (parent_shown) DamagePlace();
  if (parent_shown) NotifyShownChanged(visible);
}

bool Control::Shown() const {
  for (const Control* c = this; c; c = c->parent_) {
    if (!c->visible_) return false;
  }
  return true;
}

void Control::SetEnabled(bool enabled) {
  if (enabled == enabled_) return;
  if (!enabled) DropFocusWithin();
  enabled_ = enabled;
  Invalidate();  // most controls draw a disabled look
}

void Control::SetFont(const platform::FontChoice& font) {
  if (font == font_) return;
  font_ = font;
  Invalidate();
  OnFontChanged();
}

void Control::ZOrder(int position) {
  if (!parent_) return;
  auto& siblings = parent_->children_;
  auto it = std::find_if(siblings.begin(), siblings.end(),
                         [this](const std::unique_ptr<Control>& c) { return c.get() == this; });
  if (it == siblings.end()) return;
  if (position == 0) {
    std::rotate(it, it + 1, siblings.end());
  } else {
    std::rotate(siblings.begin(), it, it + 1);
  }
  Invalidate();
}

Control* Control::Find(std::string_view name, int index) const {
  for (const auto& child : children_) {
    if (child->name_ == name && child->index_ == index) return child.get();
    if (Control* found = child->Find(name, index)) return found;
  }
  return nullptr;
}

void Control::SetFocus() {
  if (!form_ || form_ == this || !CanFocus() || !Shown() || !enabled_) return;
  form_->FocusControl(this);
}

bool Control::HasFocus() const {
  return form_ && form_->ActiveControl() == this;
}

void Control::DropFocusWithin() {
  if (!form_ || form_ == this) return;
  // A hidden or disabled control, or one inside such a container, cannot keep the focus.
  for (const Control* c = form_->ActiveControl(); c; c = c->parent_) {
    if (c == this) {
      form_->FocusControl(nullptr);
      return;
    }
  }
}

void Control::MouseDown(const MouseArgs& args) {
  if (on_mouse_down) {
    auto run = on_mouse_down;  // the handler may destroy the control
    run(args);
  }
}

void Control::MouseUp(const MouseArgs& args) {
  if (on_mouse_up) {
    auto run = on_mouse_up;  // the handler may destroy the control
    run(args);
  }
}

void Control::MouseMove(const MouseArgs& args) {
  if (on_mouse_move) {
    auto run = on_mouse_move;  // the handler may destroy the control
    run(args);
  }
}

void Control::Click() {
  if (on_click) {
    auto run = on_click;
    run();
  }
}

void Control::KeyDown(KeyArgs&) {}
void Control::KeyPress(KeyArgs&) {}

void Control::GotFocus() {
  Invalidate();
  if (on_got_focus) {
    auto run = on_got_focus;
    run();
  }
}

void Control::LostFocus() {
  Invalidate();
  if (on_lost_focus) {
    auto run = on_lost_focus;
    run();
  }
}

Control* Control::HitTest(int x, int y) {
  if (!visible_ || !ScreenRect().Contains(x, y)) return nullptr;
  if (ClientRect().Contains(x, y)) {
    for (auto it = children_.rbegin(); it != children_.rend(); ++it) {
      Control* child = it->get();
      if (!child->enabled_ || !child->receives_mouse_) continue;
      if (Control* hit = child->HitTest(x, y)) return hit;
    }
  }
  return this;
}

void Control::Paint(platform::Renderer& renderer) {
  if (!visible_) return;
  const Rect rect = ScreenRect();
  // Nothing of it lies in the part of the screen being drawn.
  if (platform::Empty(platform::Intersect(rect, renderer.ClipRect()))) return;
  renderer.PushClip(rect);
  PaintSelf(renderer, rect);
  if (!children_.empty()) {
    renderer.PushClip(ClientRect());
    for (const auto& child : children_)
      child->Paint(renderer);
    renderer.PopClip();
  }
  renderer.PopClip();
}

void Control::Adopt(std::unique_ptr<Control> child) {
  child->parent_ = this;
  child->SetRoot(form_, desktop_);
  children_.push_back(std::move(child));
  Invalidate();
}

void Control::SetRoot(Form* form, Desktop* desktop) {
  form_ = form;
  desktop_ = desktop;
  for (auto& child : children_)
    child->SetRoot(form, desktop);
}

void Control::PaintSelf(platform::Renderer&, const Rect&) {}

void Control::OnShownChanged(bool) {}

void Control::Invalidate() {
  if (desktop_ && Shown()) desktop_->Damage(VisibleRect());
}

void Control::Invalidate(const Rect& part) {
  if (!desktop_ || !Shown()) return;
  const Rect screen = ScreenRect();
  desktop_->Damage(
      platform::Intersect(VisibleRect(), {screen.x + part.x, screen.y + part.y, part.w, part.h}));
}

void Control::DamagePlace() {
  if (desktop_ && (!parent_ || parent_->Shown())) desktop_->Damage(VisibleRect());
}

void Control::NotifyShownChanged(bool shown) {
  OnShownChanged(shown);
  for (auto& child : children_) {
    if (child->visible_) child->NotifyShownChanged(shown);
  }
}

platform::TextSize Control::MeasureText(std::string_view utf8) const {
  if (!desktop_ || utf8.empty()) return {};
  return desktop_->fonts().Measure(utf8, font_);
}

void DrawFrame(platform::Renderer& renderer, const Rect& rect, platform::Rgb color) {
  if (rect.w <= 0 || rect.h <= 0) return;
  renderer.FillRect({rect.x, rect.y, rect.w, 1}, color);
  renderer.FillRect({rect.x, rect.y + rect.h - 1, rect.w, 1}, color);
  renderer.FillRect({rect.x, rect.y, 1, rect.h}, color);
  renderer.FillRect({rect.x + rect.w - 1, rect.y, 1, rect.h}, color);
}

}  // namespace qv::ui
