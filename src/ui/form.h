#pragma once
// A form: one of the player's windows, drawn as a layer on the virtual screen at its
// designed place. It holds the controls, a menu bar of commands, a background colour and
// picture, the mouse icon shown while the pointer is over it, and the events a VB form
// raises: load, activate, deactivate, unload, key down and key press.
//
// Show() makes it visible on top of the other forms (below the top-most ones) and
// active; ShowModal() does the same and returns only when the form has been hidden
// again, letting events run meanwhile (EventLoop::WaitForUser); while a modal form is up,
// the forms beneath it get no input. Keys go to the active form: its own key handler
// first (it may set KeyArgs::handled), then the control that has the focus; Tab moves
// the focus between controls that take it.

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "ui/control.h"

namespace qv::ui {

class Desktop;

enum class BorderStyle {
  kNone,   // no frame, no title bar: the game's own windows
  kFixed,  // a frame and a title bar showing the caption; dragging the title moves it
};

// The mouse pointer modes the game uses.
inline constexpr int kPointerDefault = 0;
inline constexpr int kPointerCustom = 99;  // the form's mouse icon

// A command of a form's menu bar.
class MenuItem {
 public:
  const std::string& name() const { return name_; }
  const std::string& Caption() const { return caption_; }
  void SetCaption(std::string caption);
  bool Enabled() const { return enabled_; }
  void SetEnabled(bool enabled);
  bool Visible() const { return visible_; }
  void SetVisible(bool visible);

  std::function<void()> on_click;

 private:
  friend class Form;
  MenuItem(Form& form, std::string name, std::string caption)
      : form_(form), name_(std::move(name)), caption_(std::move(caption)) {}

  Form& form_;
  std::string name_;
  std::string caption_;
  bool enabled_ = true;
  bool visible_ = true;
};

class Form : public Control {
 public:
  static constexpr int kTitleHeight = 20;
  static constexpr int kMenuHeight = 20;

  Form(Desktop& desktop, std::string name);
  ~Form() override;

  // Creates a control on the form, on top of the others.
  using Control::Create;

  const std::string& Caption() const { return caption_; }
  void SetCaption(std::string caption);
  BorderStyle Border() const { return border_; }
  void SetBorder(BorderStyle border);

  // Raises the load event once, before the form is first shown (again after Unload).
  void Load();
  bool Loaded() const { return loaded_; }
  // Loads the form if needed, shows it on top and makes it the active form.
  void Show();
  // Shows the form and waits, letting events run, until it is hidden again.
  void ShowModal();
  bool Modal() const { return modal_; }
  void Hide();
  // Raises the unload event and hides the form; the next Show loads it again.
  void Unload();
  // Visible = True shows the form, False hides it.
  void SetVisible(bool visible) override;

  // Top-most forms stay above all the others.
  void SetTopMost(bool top_most);
  bool TopMost() const { return top_most_; }

  // Centres the form on the virtual screen.
  void CenterOnScreen();

  // The inside of the form, below its title and menu bar.
  int ClientWidth() const { return ClientRect().w; }
  int ClientHeight() const { return ClientRect().h; }
  platform::Rect ClientRect() const override;

  platform::Rgb BackColor() const { return back_color_; }
  void SetBackColor(platform::Rgb color);
  // Drawn at its own size from the client area's top-left corner.
  const platform::ImagePtr& Picture() const { return picture_; }
  void SetPicture(platform::ImagePtr picture);

  // The mouse icon shows while the pointer is over the form and the pointer mode is
  // kPointerCustom; otherwise the default arrow. Setting the icon that already shows
  // (the same image) costs nothing.
  void SetMouseIcon(platform::ImagePtr icon, int hot_x = 0, int hot_y = 0);
  const platform::ImagePtr& MouseIcon() const { return mouse_icon_; }
  int MouseIconHotX() const { return hot_x_; }
  int MouseIconHotY() const { return hot_y_; }
  void SetMousePointer(int mode);
  int MousePointer() const { return mouse_pointer_; }

  // The menu bar: commands in order, left to right.
  MenuItem& AddMenu(std::string name, std::string caption);
  const std::vector<std::unique_ptr<MenuItem>>& Menus() const { return menus_; }

  // The control that has the focus (nullptr when none).
  Control* ActiveControl() const { return active_control_; }

  std::function<void()> on_load;
  std::function<void()> on_activate;
  std::function<void()> on_deactivate;
  std::function<void()> on_unload;
  std::function<void(KeyArgs&)> on_key_down;
  std::function<void(KeyArgs&)> on_key_press;

  // Called by the desktop.
  void HandleKeyDown(KeyArgs& args);
  void HandleKeyPress(KeyArgs& args);
  void MouseDown(const MouseArgs& args) override;
  void MouseUp(const MouseArgs& args) override;
  void MouseMove(const MouseArgs& args) override;
  void Click() override;

 protected:
  void PaintSelf(platform::Renderer& renderer, const platform::Rect& rect) override;

 private:
  friend class Control;
  friend class Desktop;
  friend class MenuItem;

  void FocusControl(Control* control);
  void ForgetControl(Control* control);
  // Moves the focus to the next (or previous) control that can take it.
  void FocusNext(bool backward);
  bool HasMenuBar() const;
  int TitleHeight() const { return border_ == BorderStyle::kFixed ? kTitleHeight : 0; }
  int MenuHeight() const { return HasMenuBar() ? kMenuHeight : 0; }
  // The menu command at a screen point on the menu bar, or nullptr.
  MenuItem* MenuAt(int x, int y) const;
  void MenuChanged() { Invalidate(); }

  std::string caption_;
  BorderStyle border_ = BorderStyle::kNone;
  bool loaded_ = false;
  bool modal_ = false;
  bool top_most_ = false;
  platform::Rgb back_color_ = kButtonFace;
  platform::ImagePtr picture_;
  platform::ImagePtr mouse_icon_;
  int hot_x_ = 0;
  int hot_y_ = 0;
  int mouse_pointer_ = kPointerDefault;
  std::vector<std::unique_ptr<MenuItem>> menus_;
  MenuItem* pressed_menu_ = nullptr;
  Control* active_control_ = nullptr;
  bool dragging_ = false;
  bool client_press_ = false;  // the last press was inside the client area
  int drag_dx_ = 0;            // pointer minus form position while dragging by the title
  int drag_dy_ = 0;
  // False once the form is destroyed: a modal wait on it ends instead of reading it.
  std::shared_ptr<bool> alive_ = std::make_shared<bool>(true);
};

}  // namespace qv::ui
