#pragma once
// The base of every control on the player's forms: a named element (with an index for
// control arrays such as Animation(1..20)) placed in logical pixels inside its container,
// with the visibility, enabled state, tag text, tool tip and z-order a VB control has,
// mouse handlers, and painting through the platform renderer.
//
// Controls are retained: a container owns its children (Create), draws them in z-order
// (the last child on top) and the desktop routes the mouse to the topmost one under the
// pointer. Handlers are plain std::function members that the owning form's code sets.
// A control asks for a redraw only while it is on screen, and only when something it
// shows changed; it names the part of the screen that changed (its place, or where it
// was and where it is after a move or when it is hidden), and a frame repaints only
// those parts: every control under, in and above them, clipped to them.

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "platform/fonts.h"
#include "platform/image.h"
#include "platform/input.h"
#include "platform/renderer.h"

namespace qv::ui {

class Desktop;
class Form;

// Twips, the unit in which the original windows stored sizes: 15 per logical pixel.
inline constexpr int kTwipsPerPixel = 15;
inline constexpr int PixelsToTwips(int pixels) {
  return pixels * kTwipsPerPixel;
}
// Rounds to the nearest pixel (halves up), as the windows' scale conversion does.
inline constexpr int TwipsToPixels(int twips) {
  return twips >= 0 ? (twips + kTwipsPerPixel / 2) / kTwipsPerPixel
                    : -((-twips + kTwipsPerPixel / 2) / kTwipsPerPixel);
}

// Mouse buttons as a set: MouseArgs::buttons holds the buttons that are down.
inline constexpr int ButtonBit(platform::MouseButton button) {
  return static_cast<int>(button);
}

struct MouseArgs {
  platform::MouseButton button = platform::MouseButton::kNone;  // pressed or released
  int buttons = 0;  // the buttons down (ButtonBit values) during a move
  bool shift = false;
  bool ctrl = false;
  bool alt = false;
  int x = 0;  // pixels from the control's top-left corner
  int y = 0;
};

struct KeyArgs {
  platform::Key key = platform::Key::kNone;
  std::string text;  // the typed character (UTF-8) for key presses and kChar keys
  bool shift = false;
  bool ctrl = false;
  bool alt = false;
  bool handled = false;  // a handler sets it to keep the key from going further
};

// The system colours of the classic windows, used as defaults.
inline constexpr platform::Rgb kButtonFace = platform::Rgb::FromHex(0xC0C0C0);
inline constexpr platform::Rgb kWindowWhite = platform::Rgb::FromHex(0xFFFFFF);
inline constexpr platform::Rgb kWindowText = platform::Rgb::FromHex(0x000000);
inline constexpr platform::Rgb kHighlight = platform::Rgb::FromHex(0x000080);
inline constexpr platform::Rgb kShadow = platform::Rgb::FromHex(0x808080);

class Control {
 public:
  explicit Control(std::string name, int index = 0);
  virtual ~Control();
  Control(const Control&) = delete;
  Control& operator=(const Control&) = delete;

  const std::string& name() const { return name_; }
  int index() const { return index_; }

  // Position and size in pixels, relative to the container's client area.
  int Left() const { return left_; }
  int Top() const { return top_; }
  int Width() const { return width_; }
  int Height() const { return height_; }
  void SetLeft(int left) { Move(left, top_, width_, height_); }
  void SetTop(int top) { Move(left_, top, width_, height_); }
  void SetWidth(int width) { Move(left_, top_, width, height_); }
  void SetHeight(int height) { Move(left_, top_, width_, height); }
  // Negative sizes count as 0.
  void Move(int left, int top, int width, int height);
  void Move(int left, int top) { Move(left, top, width_, height_); }
  // The same in twips (pixels x 15), for layouts the game designed in twips.
  void MoveTwips(int left, int top, int width, int height);

  // Where the control is on the virtual screen.
  platform::Rect ScreenRect() const;
  // The part of it its containers let show (they clip their children).
  platform::Rect VisibleRect() const;

  bool Visible() const { return visible_; }
  virtual void SetVisible(bool visible);
  // Visible, and so are its containers and its form: it is on screen.
  bool Shown() const;

  bool Enabled() const { return enabled_; }
  void SetEnabled(bool enabled);

  const std::string& Tag() const { return tag_; }
  void SetTag(std::string tag) { tag_ = std::move(tag); }
  const std::string& ToolTip() const { return tool_tip_; }
  void SetToolTip(std::string text) { tool_tip_ = std::move(text); }

  // False for elements that only decorate (a highlight frame): the mouse passes through
  // them to what lies beneath.
  bool ReceivesMouse() const { return receives_mouse_; }
  void SetReceivesMouse(bool receives) { receives_mouse_ = receives; }

  const platform::FontChoice& Font() const { return font_; }
  void SetFont(const platform::FontChoice& font);

  // The order among its siblings: 0 brings it to the front, 1 sends it to the back.
  void ZOrder(int position = 0);

  Control* parent() const { return parent_; }
  Form* form() const { return form_; }
  Desktop* desktop() const { return desktop_; }
  const std::vector<std::unique_ptr<Control>>& children() const { return children_; }
  // The child with this name and index, searched through nested containers.
  Control* Find(std::string_view name, int index = 0) const;

  // Focus: only controls that take typing or keys can hold it.
  virtual bool CanFocus() const { return false; }
  // Gives this control the focus of its form when it can take it (visible, enabled).
  void SetFocus();
  bool HasFocus() const;

  std::function<void(const MouseArgs&)> on_mouse_down;
  std::function<void(const MouseArgs&)> on_mouse_up;
  std::function<void(const MouseArgs&)> on_mouse_move;
  std::function<void()> on_click;
  std::function<void()> on_got_focus;
  std::function<void()> on_lost_focus;

  // What the desktop calls; controls with behaviour of their own override them and call
  // the handlers above. Positions in MouseArgs are relative to the client area's corner.
  virtual void MouseDown(const MouseArgs& args);
  virtual void MouseUp(const MouseArgs& args);
  virtual void MouseMove(const MouseArgs& args);
  virtual void Click();
  virtual void KeyDown(KeyArgs& args);
  virtual void KeyPress(KeyArgs& args);
  virtual void GotFocus();
  virtual void LostFocus();

  // The deepest shown, enabled control under the screen point (this one when no child is
  // hit), or nullptr when the point is outside.
  virtual Control* HitTest(int x, int y);

  // Where the children are placed and clipped, on the screen (the whole control unless a
  // border or title takes room). Mouse positions are given relative to its corner.
  virtual platform::Rect ClientRect() const { return ScreenRect(); }

  // Draws the control and its children, clipped to it.
  void Paint(platform::Renderer& renderer);

 protected:
  // Creates a child owned by this control, on top of its siblings.
  template <typename T, typename... Args>
  T& Create(Args&&... args) {
    auto child = std::make_unique<T>(std::forward<Args>(args)...);
    T& ref = *child;
    Adopt(std::move(child));
    return ref;
  }
  void Adopt(std::unique_ptr<Control> child);
  // Destroys the children (before a form's own state goes away).
  void DestroyChildren();

  // Draws the control itself; `rect` is its place on the screen, the clip is set to it.
  virtual void PaintSelf(platform::Renderer& renderer, const platform::Rect& rect);
  // The control went on or off screen (its own visibility or a container's changed).
  virtual void OnShownChanged(bool shown);
  virtual void OnResized() {}
  virtual void OnFontChanged() {}

  // Something the control shows changed: the desktop draws its place again in the next
  // frame if it is on screen. The second form names the part that changed, relative to
  // the control's corner.
  void Invalidate();
  void Invalidate(const platform::Rect& part);
  // Damages the control's place whether or not it is visible itself, when its
  // containers are on screen (it is being shown or hidden).
  void DamagePlace();
  // Calls OnShownChanged on this control and every visible descendant.
  void NotifyShownChanged(bool shown);
  // A form is its own form and reaches the desktop directly.
  void SetRoot(Form* form, Desktop* desktop);

  // Takes the focus away when this control or one inside it has it.
  void DropFocusWithin();

  // The text width and height in the control's font (0 x 0 without a desktop).
  platform::TextSize MeasureText(std::string_view utf8) const;

 private:
  friend class Desktop;

  std::string name_;
  int index_;
  int left_ = 0;
  int top_ = 0;
  int width_ = 0;
  int height_ = 0;
  bool visible_ = true;
  bool enabled_ = true;
  bool receives_mouse_ = true;
  std::string tag_;
  std::string tool_tip_;
  platform::FontChoice font_;
  Control* parent_ = nullptr;
  Form* form_ = nullptr;
  Desktop* desktop_ = nullptr;
  std::vector<std::unique_ptr<Control>> children_;  // back to front
};

// Draws a one-pixel frame inside rect.
void DrawFrame(platform::Renderer& renderer, const platform::Rect& rect, platform::Rgb color);

}  // namespace qv::ui
