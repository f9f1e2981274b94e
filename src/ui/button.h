#pragma once
// Buttons with a caption:
//  - CommandButton: runs its click handler when clicked, or when it has the focus and
//    Return or Space is pressed. It looks pressed while the mouse holds it.
//  - CheckBox: Value 0 (clear) or 1 (ticked); a click (or Space while it has the focus)
//    flips it and runs the click handler. Setting Value from code to a new value runs
//    the click handler too, as the classic check box does.

#include <string>

#include "ui/control.h"

namespace qv::ui {

class CommandButton : public Control {
 public:
  explicit CommandButton(std::string name, int index = 0) : Control(std::move(name), index) {}

  const std::string& Caption() const { return caption_; }
  void SetCaption(std::string caption);

  bool CanFocus() const override { return true; }
  void MouseDown(const MouseArgs& args) override;
  void MouseUp(const MouseArgs& args) override;
  void MouseMove(const MouseArgs& args) override;
  void KeyDown(KeyArgs& args) override;

 protected:
  void PaintSelf(platform::Renderer& renderer, const platform::Rect& rect) override;

 private:
  void SetPressed(bool pressed);

  std::string caption_;
  bool pressed_ = false;
};

class CheckBox : public Control {
 public:
  explicit CheckBox(std::string name, int index = 0) : Control(std::move(name), index) {}

  const std::string& Caption() const { return caption_; }
  void SetCaption(std::string caption);
  int Value() const { return value_; }
  // 0 or 1; other values raise error 5.
  void SetValue(int value);

  bool CanFocus() const override { return true; }
  void Click() override;
  void KeyDown(KeyArgs& args) override;

 protected:
  void PaintSelf(platform::Renderer& renderer, const platform::Rect& rect) override;

 private:
  std::string caption_;
  int value_ = 0;
};

}  // namespace qv::ui
