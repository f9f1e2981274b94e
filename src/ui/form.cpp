#include "ui/form.h"

#include <algorithm>

#include "platform/event_loop.h"
#include "ui/desktop.h"

namespace qv::ui {

using platform::Rect;

namespace {

constexpr platform::Rgb kTitleColor = platform::Rgb::FromHex(0x000080);
constexpr platform::Rgb kTitleText = platform::Rgb::FromHex(0xFFFFFF);
constexpr platform::Rgb kDisabledText = platform::Rgb::FromHex(0x808080);
constexpr int kMenuPadding = 8;  // blank space either side of a menu caption

}  // namespace

void MenuItem::SetCaption(std::string caption) {
  if (caption == caption_) return;
  caption_ = std::move(caption);
  form_.MenuChanged();
}

void MenuItem::SetEnabled(bool enabled) {
  if (enabled == enabled_) return;
  enabled_ = enabled;
  form_.MenuChanged();
}

void MenuItem::SetVisible(bool visible) {
  if (visible == visible_) return;
  visible_ = visible;
  form_.MenuChanged();
}

Form::Form(Desktop& desktop, std::string name) : Control(std::move(name)) {
  // A form starts hidden, as a loaded but not yet shown window.
  Control::SetVisible(false);
  SetRoot(this, &desktop);
  desktop.Register(this);
}

Form::~Form() {
  *alive_ = false;
  if (Desktop* d = desktop()) d->Unregister(this);
  // The controls go while the form can still take their leave (focus, capture).
  DestroyChildren();
  active_control_ = nullptr;
}

void Form::SetCaption(std::string caption) {
  if (caption == caption_) return;
  caption_ = std::move(caption);
  if (border_ == BorderStyle::kFixed) Invalidate();
}

void Form::SetBorder(BorderStyle border) {
  if (border == border_) return;
  border_ = border;
  Invalidate();
}

void Form::Load() {
  if (loaded_) return;
  loaded_ = true;
  if (on_load) {
    auto run = on_load;
    run();
  }
}

void Form::Show() {
  Load();
  Desktop* d = desktop();
  if (!Visible()) {
    Control::SetVisible(true);
  }
  if (d) d->FormShown(this);
  if (!active_control_) FocusNext(false);
}

void Form::ShowModal() {
  Desktop* d = desktop();
  if (!d) return;
  modal_ = true;
  d->PushModal(this);
  Show();
  // The form may be hidden by a handler inside Show (its activate event) already.
  auto alive = alive_;
  d->loop().WaitForUser([alive, this] { return !*alive || !Visible(); },
                        "the window " + name() + " to close");
  if (*alive) modal_ = false;
}

void Form::Hide() {
  if (!Visible()) return;
  dragging_ = false;
  pressed_menu_ = nullptr;
  Control::SetVisible(false);
  modal_ = false;
  if (Desktop* d = desktop()) d->FormHidden(this);
}

void Form::Unload() {
  if (!loaded_) return;
  if (on_unload) {
    auto run = on_unload;
    run();
  }
  Hide();
  loaded_ = false;
}

void Form::SetVisible(bool visible) {
  if (visible) {
    Show();
  } else {
    Hide();
  }
}

void Form::SetTopMost(bool top_most) {
  if (top_most == top_most_) return;
  top_most_ = top_most;
  if (Desktop* d = desktop()) d->TopMostChanged(this);
}

void Form::CenterOnScreen() {
  Desktop* d = desktop();
  if (!d) return;
  Move((d->ScreenWidth() - Width()) / 2, (d->ScreenHeight() - Height()) / 2);
}

Rect Form::ClientRect() const {
  Rect r = ScreenRect();
  const int border = border_ == BorderStyle::kFixed ? 1 : 0;
  const int top = border + TitleHeight() + MenuHeight();
  return {r.x + border, r.y + top, std::max(r.w - 2 * border, 0), std::max(r.h - top - border, 0)};
}

void Form::SetBackColor(platform::Rgb color) {
  if (color == back_color_) return;
  back_color_ = color;
  Invalidate();
}

void Form::SetPicture(platform::ImagePtr picture) {
  if (picture == picture_) return;
  picture_ = std::move(picture);
  Invalidate();
}

void Form::SetMouseIcon(platform::ImagePtr icon, int hot_x, int hot_y) {
  const uint64_t old_id = mouse_icon_ ? mouse_icon_->id() : 0;
  const uint64_t new_id = icon ? icon->id() : 0;
  if (old_id == new_id && hot_x == hot_x_ && hot_y == hot_y_) return;
  mouse_icon_ = std::move(icon);
  hot_x_ = hot_x;
  hot_y_ = hot_y;
  if (Desktop* d = desktop()) d->UpdateCursor();
}

void Form::SetMousePointer(int mode) {
  if (mode == mouse_pointer_) return;
  mouse_pointer_ = mode;
  if (Desktop* d = desktop()) d->UpdateCursor();
}

MenuItem& Form::AddMenu(std::string name, std::string caption) {
  menus_.push_back(
      std::unique_ptr<MenuItem>(new MenuItem(*this, std::move(name), std::move(caption))));
  Invalidate();
  return *menus_.back();
}

bool Form::HasMenuBar() const {
  return std::any_of(menus_.begin(), menus_.end(), [](const auto& m) { return m->Visible(); });
}

MenuItem* Form::MenuAt(int x, int y) const {
  if (!HasMenuBar()) return nullptr;
  const Rect r = ScreenRect();
  const int border = border_ == BorderStyle::kFixed ? 1 : 0;
  const int bar_top = r.y + border + TitleHeight();
  if (y < bar_top || y >= bar_top + kMenuHeight) return nullptr;
  int left = r.x + border;
  for (const auto& item : menus_) {
    if (!item->Visible()) continue;
    const int width = MeasureText(item->Caption()).width + 2 * kMenuPadding;
    if (x >= left && x < left + width) return item.get();
    left += width;
  }
  return nullptr;
}

void Form::FocusControl(Control* control) {
  if (control == active_control_) return;
  Control* old = active_control_;
  active_control_ = control;
  if (old) old->LostFocus();
  // The lost-focus handler may have moved the focus elsewhere already.
  if (control && active_control_ == control) control->GotFocus();
}

void Form::ForgetControl(Control* control) {
  if (active_control_ == control) active_control_ = nullptr;
}

namespace {

// The controls of a form in creation order, depth first: the tab order.
void CollectFocusable(const Control& container, std::vector<Control*>& out) {
  for (const auto& child : container.children()) {
    if (child->CanFocus() && child->Shown() && child->Enabled()) out.push_back(child.get());
    if (child->Visible() && child->Enabled()) CollectFocusable(*child, out);
  }
}

}  // namespace

void Form::FocusNext(bool backward) {
  std::vector<Control*> order;
  CollectFocusable(*this, order);
  if (order.empty()) return;
  auto it = std::find(order.begin(), order.end(), active_control_);
  size_t next = 0;
  if (it != order.end()) {
    const size_t at = static_cast<size_t>(it - order.begin());
    next = backward ? (at + order.size() - 1) % order.size() : (at + 1) % order.size();
  } else if (backward) {
    next = order.size() - 1;
  }
  FocusControl(order[next]);
}

void Form::HandleKeyDown(KeyArgs& args) {
  if (on_key_down) {
    auto run = on_key_down;
    run(args);
  }
  if (args.handled) return;
  if (active_control_) active_control_->KeyDown(args);
  if (args.handled) return;
  if (args.key == platform::Key::kTab && !args.alt && !args.ctrl) {
    FocusNext(args.shift);
    args.handled = true;
  }
}

void Form::HandleKeyPress(KeyArgs& args) {
  if (on_key_press) {
    auto run = on_key_press;
    run(args);
  }
  if (args.handled) return;
  if (active_control_) active_control_->KeyPress(args);
}

void Form::MouseDown(const MouseArgs& args) {
  const Rect client = ClientRect();
  const int sx = client.x + args.x;
  const int sy = client.y + args.y;
  client_press_ = sy >= client.y;
  if (!client_press_) {
    // The title bar or the menu bar.
    if (args.button != platform::MouseButton::kLeft) return;
    if (MenuItem* item = MenuAt(sx, sy)) {
      pressed_menu_ = item;
    } else if (border_ == BorderStyle::kFixed) {
      dragging_ = true;
      drag_dx_ = sx - Left();
      drag_dy_ = sy - Top();
    }
    return;
  }
  Control::MouseDown(args);
}

void Form::MouseUp(const MouseArgs& args) {
  const Rect client = ClientRect();
  const int sx = client.x + args.x;
  const int sy = client.y + args.y;
  if (dragging_ || pressed_menu_) {
    dragging_ = false;
    MenuItem* pressed = pressed_menu_;
    pressed_menu_ = nullptr;
    // A menu command runs when the button is released over it, as window menus do.
    if (pressed && MenuAt(sx, sy) == pressed && pressed->Enabled() && pressed->on_click) {
      auto run = pressed->on_click;
      run();
    }
    return;
  }
  Control::MouseUp(args);
}

void Form::MouseMove(const MouseArgs& args) {
  if (dragging_) {
    const Rect client = ClientRect();
    Desktop* d = desktop();
    int left = client.x + args.x - drag_dx_;
    int top = client.y + args.y - drag_dy_;
    if (d) {
      // Keep the title bar reachable.
      left = std::clamp(left, 40 - Width(), d->ScreenWidth() - 40);
      top = std::clamp(top, 0, d->ScreenHeight() - kTitleHeight);
    }
    Move(left, top);
    return;
  }
  if (pressed_menu_) return;
  const Rect client = ClientRect();
  if (client.y + args.y < client.y) return;  // over the title or menu bar
  Control::MouseMove(args);
}

void Form::Click() {
  // A press on the title or menu bar is no click on the form.
  if (client_press_) Control::Click();
}

void Form::PaintSelf(platform::Renderer& renderer, const Rect& rect) {
  renderer.FillRect(rect, back_color_);
  const Rect client = ClientRect();
  if (picture_) {
    renderer.DrawImage(*picture_, {client.x, client.y, picture_->width(), picture_->height()});
  }
  int y = rect.y;
  if (border_ == BorderStyle::kFixed) {
    DrawFrame(renderer, rect, kWindowText);
    y += 1;
    renderer.FillRect({rect.x + 1, y, rect.w - 2, kTitleHeight}, kTitleColor);
    platform::FontChoice bold = Font();
    bold.bold = true;
    const int text_h = Desktop::LineHeight(desktop(), bold);
    renderer.DrawText(caption_, rect.x + 5, y + (kTitleHeight - text_h) / 2, bold, kTitleText);
    y += kTitleHeight;
  }
  if (HasMenuBar()) {
    const int border = border_ == BorderStyle::kFixed ? 1 : 0;
    renderer.FillRect({rect.x + border, y, rect.w - 2 * border, kMenuHeight}, kButtonFace);
    const int text_h = Desktop::LineHeight(desktop(), Font());
    int left = rect.x + border;
    for (const auto& item : menus_) {
      if (!item->Visible()) continue;
      const int width = MeasureText(item->Caption()).width + 2 * kMenuPadding;
      renderer.DrawText(item->Caption(), left + kMenuPadding, y + (kMenuHeight - text_h) / 2,
                        Font(), item->Enabled() ? kWindowText : kDisabledText);
      left += width;
    }
    renderer.FillRect({rect.x + border, y + kMenuHeight - 1, rect.w - 2 * border, 1}, kShadow);
  }
}

}  // namespace qv::ui
