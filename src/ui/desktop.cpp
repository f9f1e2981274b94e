#include "ui/desktop.h"

#include <algorithm>

#include "ui/form.h"

namespace qv::ui {

using platform::InputEvent;
using platform::MouseButton;
using platform::Rect;

namespace {

constexpr platform::Rgb kScreenColor = platform::Rgb::FromHex(0x000000);
constexpr platform::Rgb kTipBack = platform::Rgb::FromHex(0xFFFFE1);
constexpr int kTipPadding = 3;

}  // namespace

Desktop::Watch::Watch(Desktop& desktop, Control* control) : desktop_(desktop), control_(control) {
  desktop_.watches_.push_back(&control_);
}

Desktop::Watch::~Watch() {
  auto& w = desktop_.watches_;
  w.erase(std::find(w.begin(), w.end(), &control_));
}

Desktop::Desktop(platform::EventLoop& loop)
    : loop_(loop),
      fonts_(loop.backend().fonts()),
      width_(loop.backend().screen_width()),
      height_(loop.backend().screen_height()),
      tip_timer_(loop.timers(), [this] { ShowToolTip(); }) {
  tip_timer_.SetInterval(kToolTipDelayMs);
  loop_.SetInputSink(this);
  loop_.SetPainter(this);
}

Desktop::~Desktop() {
  loop_.SetInputSink(nullptr);
  loop_.SetPainter(nullptr);
  // Forms should be gone first; any left over no longer reach this desktop.
  for (Form* form : forms_)
    form->SetRoot(form, nullptr);
}

int Desktop::LineHeight(Desktop* desktop, const platform::FontChoice& font) {
  if (!desktop) return font.size_px + 3;
  return std::max(desktop->fonts().Measure("Ag", font).height, 1);
}

void Desktop::Register(Form* form) {
  forms_.insert(forms_.begin(), form);
}

void Desktop::Unregister(Form* form) {
  if (form->Visible()) Damage(form->ScreenRect());  // what it covered shows again
  std::erase(forms_, form);
  std::erase(modal_, form);
  if (active_ == form) active_ = nullptr;
  ForgetControl(form);
}

void Desktop::ForgetControl(Control* control) {
  if (capture_ == control) capture_ = nullptr;
  if (hover_ == control) {
    hover_ = nullptr;
    HideToolTip();
  }
  for (Control** slot : watches_) {
    if (*slot == control) *slot = nullptr;
  }
}

void Desktop::BringToFront(Form* form) {
  auto it = std::find(forms_.begin(), forms_.end(), form);
  if (it == forms_.end()) return;
  forms_.erase(it);
  if (form->TopMost()) {
    forms_.push_back(form);
    return;
  }
  auto place = std::find_if(forms_.begin(), forms_.end(), [](Form* f) { return f->TopMost(); });
  // A window shown while a modal one is up goes beneath it: the modal window stays in
  // front until it is closed.
  if (!modal_.empty() && std::find(modal_.begin(), modal_.end(), form) == modal_.end()) {
    auto modal = std::find(forms_.begin(), forms_.end(), modal_.back());
    if (modal < place) place = modal;
  }
  forms_.insert(place, form);
}

void Desktop::FormShown(Form* form) {
  BringToFront(form);
  Damage(form->ScreenRect());  // it may have come to the front
  if (AcceptsInput(form)) Activate(form);
  UpdateCursor();
}

void Desktop::FormHidden(Form* form) {
  std::erase(modal_, form);
  if (capture_ && capture_->form() == form) capture_ = nullptr;
  if (hover_ && hover_->form() == form) Hover(nullptr);
  Damage(form->ScreenRect());
  if (active_ == form) {
    active_ = nullptr;
    // The window beneath takes over, as the window system activates the next one.
    for (auto it = forms_.rbegin(); it != forms_.rend(); ++it) {
      if ((*it)->Visible() && AcceptsInput(*it)) {
        Activate(*it);
        break;
      }
    }
  }
  UpdateCursor();
}

void Desktop::TopMostChanged(Form* form) {
  auto it = std::find(forms_.begin(), forms_.end(), form);
  if (it == forms_.end()) return;
  forms_.erase(it);
  auto first_top = std::find_if(forms_.begin(), forms_.end(), [](Form* f) { return f->TopMost(); });
  // A form made top-most goes to the very top; one that stops being so stays above the
  // ordinary forms.
  if (form->TopMost()) {
    forms_.push_back(form);
  } else {
    forms_.insert(first_top, form);
  }
  if (form->Visible()) Damage(form->ScreenRect());
}

void Desktop::PushModal(Form* form) {
  std::erase(modal_, form);
  modal_.push_back(form);
  // A window that becomes modal takes the mouse away from the one holding it.
  capture_ = nullptr;
  HideToolTip();
}

void Desktop::Activate(Form* form) {
  if (form == active_) return;
  Form* old = active_;
  active_ = form;
  Watch keep(*this, form);
  if (old && old->Loaded() && old->on_deactivate) {
    auto run = old->on_deactivate;
    run();
  }
  // The deactivate handler may have activated another form or destroyed this one.
  if (keep.get() && active_ == form && form->on_activate) {
    auto run = form->on_activate;
    run();
  }
}

bool Desktop::AcceptsInput(const Form* form) const {
  if (modal_.empty()) return true;
  auto modal = std::find(forms_.begin(), forms_.end(), modal_.back());
  auto it = std::find(forms_.begin(), forms_.end(), form);
  return it != forms_.end() && it >= modal;
}

Form* Desktop::FormAt(int x, int y) const {
  for (auto it = forms_.rbegin(); it != forms_.rend(); ++it) {
    if ((*it)->Visible() && (*it)->ScreenRect().Contains(x, y)) return *it;
  }
  return nullptr;
}

Control* Desktop::ControlAt(int x, int y) const {
  Form* form = FormAt(x, y);
  if (!form || !AcceptsInput(form) || !form->Enabled()) return nullptr;
  return form->HitTest(x, y);
}

MouseArgs Desktop::ArgsFor(const Control& target, const InputEvent& event) const {
  const Rect client = target.ClientRect();
  MouseArgs args;
  args.button = event.button;
  args.buttons = buttons_;
  args.shift = event.shift;
  args.ctrl = event.ctrl;
  args.alt = event.alt;
  args.x = event.x - client.x;
  args.y = event.y - client.y;
  return args;
}

void Desktop::HandleInput(const InputEvent& event) {
  switch (event.kind) {
    case InputEvent::Kind::kMouseMove:
      OnMouseMove(event);
      break;
    case InputEvent::Kind::kMouseDown:
      OnMouseDown(event);
      break;
    case InputEvent::Kind::kMouseUp:
      OnMouseUp(event);
      break;
    case InputEvent::Kind::kKeyDown:
    case InputEvent::Kind::kKeyPress:
      OnKey(event);
      break;
    case InputEvent::Kind::kQuit:
    case InputEvent::Kind::kExposed:
    case InputEvent::Kind::kCommand:
      RequestRedraw();
      break;
  }
  UpdateCursor();
}

void Desktop::OnMouseMove(const InputEvent& event) {
  pointer_x_ = event.x;
  pointer_y_ = event.y;
  Control* target = capture_ ? capture_ : ControlAt(event.x, event.y);
  if (!capture_) Hover(target);
  if (target) target->MouseMove(ArgsFor(*target, event));
}

void Desktop::OnMouseDown(const InputEvent& event) {
  pointer_x_ = event.x;
  pointer_y_ = event.y;
  buttons_ |= ButtonBit(event.button);
  HideToolTip();
  if (capture_) {
    // Another button while one is held goes to the control holding the mouse.
    capture_->MouseDown(ArgsFor(*capture_, event));
    return;
  }
  Watch target(*this, ControlAt(event.x, event.y));
  if (!target.get()) return;
  if (Form* form = target.get()->form(); form && form != active_) Activate(form);
  if (target.get() && target.get()->CanFocus()) target.get()->SetFocus();
  // Activate and focus handlers may have hidden or destroyed the control, or put up a
  // modal window in front of it.
  Control* control = target.get();
  if (!control || !control->Shown() || ControlAt(event.x, event.y) != control) return;
  capture_ = control;
  capture_button_ = event.button;
  control->MouseDown(ArgsFor(*control, event));
}

void Desktop::OnMouseUp(const InputEvent& event) {
  pointer_x_ = event.x;
  pointer_y_ = event.y;
  buttons_ &= ~ButtonBit(event.button);
  if (capture_ && event.button == capture_button_) {
    Watch target(*this, capture_);
    capture_ = nullptr;
    target.get()->MouseUp(ArgsFor(*target.get(), event));
    Control* control = target.get();
    if (control && event.button == MouseButton::kLeft && ControlAt(event.x, event.y) == control) {
      control->Click();
    }
    return;
  }
  if (capture_) {
    capture_->MouseUp(ArgsFor(*capture_, event));
    return;
  }
  // A release without a press here (the press went to a window that has closed since).
  if (Control* control = ControlAt(event.x, event.y)) {
    control->MouseUp(ArgsFor(*control, event));
  }
}

void Desktop::OnKey(const InputEvent& event) {
  HideToolTip();
  Form* form = active_;
  if (!form || !form->Visible() || !AcceptsInput(form)) form = ModalForm();
  if (!form || !form->Visible() || !form->Enabled()) return;
  KeyArgs args;
  args.key = event.key;
  args.text = event.text;
  args.shift = event.shift;
  args.ctrl = event.ctrl;
  args.alt = event.alt;
  if (event.kind == InputEvent::Kind::kKeyDown) {
    form->HandleKeyDown(args);
  } else {
    form->HandleKeyPress(args);
  }
}

void Desktop::UpdateCursor() {
  Form* form = capture_ ? capture_->form() : FormAt(pointer_x_, pointer_y_);
  platform::ImagePtr icon;
  int hot_x = 0;
  int hot_y = 0;
  if (form && form->MousePointer() == kPointerCustom && form->MouseIcon()) {
    icon = form->MouseIcon();
    hot_x = form->MouseIconHotX();
    hot_y = form->MouseIconHotY();
  }
  const uint64_t old_id = cursor_ ? cursor_->id() : 0;
  const uint64_t new_id = icon ? icon->id() : 0;
  if (old_id == new_id && hot_x == cursor_hot_x_ && hot_y == cursor_hot_y_) return;
  cursor_ = std::move(icon);
  cursor_hot_x_ = hot_x;
  cursor_hot_y_ = hot_y;
  loop_.backend().SetCursor(cursor_, hot_x, hot_y);
}

void Desktop::Hover(Control* control) {
  if (control == hover_) return;
  hover_ = control;
  HideToolTip();
  if (hover_ && !hover_->ToolTip().empty()) tip_timer_.SetEnabled(true);
}

void Desktop::ShowToolTip() {
  tip_timer_.SetEnabled(false);
  if (!hover_ || hover_->ToolTip().empty() || !hover_->Shown()) return;
  tip_text_ = hover_->ToolTip();
  tip_x_ = pointer_x_;
  tip_y_ = pointer_y_ + 20;  // below the pointer
  Damage(ToolTipBox());
}

void Desktop::HideToolTip() {
  tip_timer_.SetEnabled(false);
  if (tip_text_.empty()) return;
  Damage(ToolTipBox());
  tip_text_.clear();
}

void Desktop::Paint(platform::Renderer& renderer) {
  renderer.FillRect({0, 0, width_, height_}, kScreenColor);
  for (Form* form : forms_)
    form->Paint(renderer);
  PaintToolTip(renderer);
}

Rect Desktop::ToolTipBox() const {
  const platform::TextSize size = fonts_.Measure(tip_text_, platform::FontChoice{});
  Rect box{tip_x_, tip_y_, size.width + 2 * kTipPadding, size.height + 2 * kTipPadding};
  // Keep it on the screen.
  box.x = std::clamp(box.x, 0, std::max(width_ - box.w, 0));
  if (box.y + box.h > height_) box.y = std::max(tip_y_ - 20 - box.h - 4, 0);
  return box;
}

void Desktop::PaintToolTip(platform::Renderer& renderer) {
  if (tip_text_.empty()) return;
  const platform::FontChoice font;
  const Rect box = ToolTipBox();
  renderer.FillRect(box, kTipBack);
  DrawFrame(renderer, box, kWindowText);
  renderer.DrawText(tip_text_, box.x + kTipPadding, box.y + kTipPadding, font, kWindowText);
}

}  // namespace qv::ui
