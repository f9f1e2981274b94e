#pragma once
// A label: text in a fore colour, on its background or transparent. Line breaks in the
// caption ("\r\n", "\r" or "\n") start new lines, and long lines wrap at blanks to the
// label's width, as the classic label does. With AutoSize the label takes the size of
// its text, measured with the real font: one line per break (WordWrap off) or wrapped to
// its present width, growing downwards (WordWrap on).

#include <string>
#include <string_view>
#include <vector>

#include "ui/control.h"

namespace qv::ui {

enum class Alignment { kLeft, kRight, kCenter };

class Label : public Control {
 public:
  explicit Label(std::string name, int index = 0) : Control(std::move(name), index) {}

  const std::string& Caption() const { return caption_; }
  void SetCaption(std::string caption);
  platform::Rgb ForeColor() const { return fore_color_; }
  void SetForeColor(platform::Rgb color);
  platform::Rgb BackColor() const { return back_color_; }
  void SetBackColor(platform::Rgb color);
  // A transparent label draws only its text.
  bool Transparent() const { return transparent_; }
  void SetTransparent(bool transparent);
  Alignment Align() const { return alignment_; }
  void SetAlign(Alignment alignment);
  bool AutoSize() const { return auto_size_; }
  void SetAutoSize(bool auto_size);
  bool WordWrap() const { return word_wrap_; }
  void SetWordWrap(bool word_wrap);

  // The caption broken into the lines drawn now.
  std::vector<std::string> Lines() const;

 protected:
  void PaintSelf(platform::Renderer& renderer, const platform::Rect& rect) override;
  void OnResized() override;
  void OnFontChanged() override { Fit(); }

 private:
  // The caption's lines, wrapped at blanks to max_width (no wrapping when negative).
  std::vector<std::string> Layout(int max_width) const;
  void Fit();

  std::string caption_;
  platform::Rgb fore_color_ = kWindowText;
  platform::Rgb back_color_ = kButtonFace;
  bool transparent_ = false;
  Alignment alignment_ = Alignment::kLeft;
  bool auto_size_ = false;
  bool word_wrap_ = false;
  bool fitting_ = false;
};

}  // namespace qv::ui
