#pragma once
// A one-line text box: the text the player types (a save name, a description, a number in
// the debug window). It takes the focus when clicked; typed characters (key presses)
// replace the selection; Backspace, Delete, Left, Right, Home and End edit and move as
// usual (Shift extends the selection); Ctrl+A selects everything and Ctrl+C, Ctrl+X and
// Ctrl+V use the clipboard. Positions count characters, not bytes of UTF-8. The change
// handler runs whenever the text changes, by typing or by SetText.

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>

#include "ui/control.h"

namespace qv::ui {

class TextBox : public Control {
 public:
  explicit TextBox(std::string name, int index = 0) : Control(std::move(name), index) {}

  const std::string& Text() const { return text_; }
  // Replaces the text (cut to MaxLength) and puts the caret at its start.
  void SetText(std::string text);

  // At most this many characters can be typed (0: no limit).
  int MaxLength() const { return max_length_; }
  void SetMaxLength(int characters) { max_length_ = characters < 0 ? 0 : characters; }
  // A locked box shows and selects its text but cannot be edited.
  bool Locked() const { return locked_; }
  void SetLocked(bool locked) { locked_ = locked; }

  void SelectAll();
  // Selects `length` characters from character `start` (both clamped to the text).
  void SetSelection(int start, int length);
  int SelStart() const;
  int SelLength() const;
  std::string SelectedText() const;

  std::function<void()> on_change;

  bool CanFocus() const override { return true; }
  void MouseDown(const MouseArgs& args) override;
  void MouseMove(const MouseArgs& args) override;
  void KeyDown(KeyArgs& args) override;
  void KeyPress(KeyArgs& args) override;

 protected:
  void PaintSelf(platform::Renderer& renderer, const platform::Rect& rect) override;

 private:
  static constexpr int kPadding = 3;

  size_t SelectionBegin() const { return anchor_ < caret_ ? anchor_ : caret_; }
  size_t SelectionEnd() const { return anchor_ < caret_ ? caret_ : anchor_; }
  // Replaces the selection with text, as far as MaxLength allows.
  void ReplaceSelection(std::string_view text);
  // Moves the caret; extend keeps the anchor so the selection grows.
  void MoveCaret(size_t to, bool extend);
  // The byte offset of the character boundary nearest to x pixels from the text start.
  size_t OffsetAt(int x) const;
  int WidthOf(size_t bytes) const;
  void ScrollToCaret();
  void Changed();

  std::string text_;
  size_t caret_ = 0;   // byte offsets, always at character boundaries
  size_t anchor_ = 0;  // the other end of the selection
  int max_length_ = 0;
  bool locked_ = false;
  int scroll_ = 0;  // pixels of text scrolled out at the left
};

}  // namespace qv::ui
