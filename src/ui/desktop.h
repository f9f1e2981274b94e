#pragma once
// The desktop: the virtual screen and the forms on it. It keeps the forms in z-order
// (top-most forms above the others), knows the active form, routes input the way a VB
// program sees it and draws the visible forms.
//
// Mouse: an event goes to the topmost shown control under the pointer (disabled and
// hidden controls let it through to their container). A button press captures that
// control until the button is released, so it also gets the moves and the release
// outside itself; a click is a press and a release of the left button on the same
// control. Pressing on a form activates it. While a modal form is up, only it and the
// forms above it get input. Keys go to the active form (see Form).
//
// Drawing: a frame is presented only when something visible changed (a control on a
// shown form asked for it), and it repaints only the parts of the screen that changed.
// The mouse cursor is the icon of the form under the pointer (or of the form holding the
// capture); the backend is told only when it changes.
// Tool tips show after the pointer rests on a control for kToolTipDelayMs.
//
// The desktop must outlive its forms; it takes the event loop's input and painting on
// construction.

#include <functional>
#include <string>
#include <vector>

#include "platform/event_loop.h"
#include "platform/fonts.h"
#include "platform/timer_service.h"
#include "ui/control.h"

namespace qv::ui {

class Form;

class Desktop : public platform::InputSink, public platform::Painter {
 public:
  static constexpr int kToolTipDelayMs = 600;

  explicit Desktop(platform::EventLoop& loop);
  ~Desktop() override;
  Desktop(const Desktop&) = delete;
  Desktop& operator=(const Desktop&) = delete;

  platform::EventLoop& loop() { return loop_; }
  platform::Fonts& fonts() { return fonts_; }
  // The virtual screen in logical pixels, and in twips for layouts designed in them.
  int ScreenWidth() const { return width_; }
  int ScreenHeight() const { return height_; }
  int ScreenWidthTwips() const { return PixelsToTwips(width_); }
  int ScreenHeightTwips() const { return PixelsToTwips(height_); }

  void HandleInput(const platform::InputEvent& event) override;
  void Paint(platform::Renderer& renderer) override;

  // The forms, bottom to top.
  const std::vector<Form*>& Forms() const { return forms_; }
  Form* ActiveForm() const { return active_; }
  // The innermost modal form that is showing, or nullptr.
  Form* ModalForm() const { return modal_.empty() ? nullptr : modal_.back(); }
  // The topmost shown form at a screen point.
  Form* FormAt(int x, int y) const;
  // What a mouse event at the screen point would reach: nullptr when nothing, or when
  // a modal form keeps the form there from getting input.
  Control* ControlAt(int x, int y) const;

  // The cursor image the backend was last told (null: the default arrow).
  const platform::ImagePtr& Cursor() const { return cursor_; }

  // The whole screen, or a part of it (screen pixels), is drawn again in the next frame.
  void RequestRedraw() { loop_.RequestRedraw(); }
  void Damage(const platform::Rect& rect) { loop_.Damage(rect); }

  // The height of a line of text in a font.
  static int LineHeight(Desktop* desktop, const platform::FontChoice& font);

 private:
  friend class Control;
  friend class Form;

  // A pointer to a control that becomes nullptr when the control is destroyed, for
  // holding on to a control across handlers that may destroy it.
  class Watch {
   public:
    Watch(Desktop& desktop, Control* control);
    ~Watch();
    Watch(const Watch&) = delete;
    Watch& operator=(const Watch&) = delete;
    Control* get() const { return control_; }

   private:
    Desktop& desktop_;
    Control* control_;
  };

  void Register(Form* form);
  void Unregister(Form* form);
  void FormShown(Form* form);
  void FormHidden(Form* form);
  void TopMostChanged(Form* form);
  void PushModal(Form* form);
  void ForgetControl(Control* control);
  void UpdateCursor();

  void Activate(Form* form);
  void BringToFront(Form* form);
  bool AcceptsInput(const Form* form) const;
  MouseArgs ArgsFor(const Control& target, const platform::InputEvent& event) const;
  void OnMouseMove(const platform::InputEvent& event);
  void OnMouseDown(const platform::InputEvent& event);
  void OnMouseUp(const platform::InputEvent& event);
  void OnKey(const platform::InputEvent& event);
  void Hover(Control* control);
  void ShowToolTip();
  void HideToolTip();
  void PaintToolTip(platform::Renderer& renderer);
  platform::Rect ToolTipBox() const;

  platform::EventLoop& loop_;
  platform::Fonts& fonts_;
  int width_;
  int height_;
  std::vector<Form*> forms_;  // bottom to top; top-most forms last
  std::vector<Form*> modal_;  // modal forms showing, innermost last
  Form* active_ = nullptr;
  Control* capture_ = nullptr;
  platform::MouseButton capture_button_ = platform::MouseButton::kNone;
  Control* hover_ = nullptr;
  int buttons_ = 0;  // mouse buttons down
  int pointer_x_ = -1;
  int pointer_y_ = -1;
  std::vector<Control**> watches_;
  platform::ImagePtr cursor_;
  int cursor_hot_x_ = 0;
  int cursor_hot_y_ = 0;
  platform::Timer tip_timer_;
  std::string tip_text_;  // the tool tip showing ("" = none)
  int tip_x_ = 0;
  int tip_y_ = 0;
};

}  // namespace qv::ui
