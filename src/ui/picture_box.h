#pragma once
// The two picture controls of the forms:
//  - PictureBox: a container with a background colour and a picture drawn at its own
//    size from the top-left corner (the scene picture, the cover over the scene, the
//    inventory bar, the conversation box). It holds other controls.
//  - Image: a picture without a background. Without Stretch the control takes the
//    picture's size when given one, as the classic image control does; with Stretch the
//    picture fills the control. Without a picture it is an invisible clickable area.

#include <string>

#include "ui/control.h"

namespace qv::ui {

class PictureBox : public Control {
 public:
  explicit PictureBox(std::string name, int index = 0) : Control(std::move(name), index) {}

  using Control::Create;

  platform::Rgb BackColor() const { return back_color_; }
  void SetBackColor(platform::Rgb color);
  const platform::ImagePtr& Picture() const { return picture_; }
  void SetPicture(platform::ImagePtr picture);
  // A one-pixel frame inside the edge; the children sit inside it.
  bool Border() const { return border_; }
  void SetBorder(bool border);
  // When set, the box takes the size of each picture it is given.
  bool AutoSize() const { return auto_size_; }
  void SetAutoSize(bool auto_size);

  platform::Rect ClientRect() const override;

 protected:
  void PaintSelf(platform::Renderer& renderer, const platform::Rect& rect) override;

 private:
  void FitPicture();

  platform::Rgb back_color_ = kButtonFace;
  platform::ImagePtr picture_;
  bool border_ = false;
  bool auto_size_ = false;
};

class Image : public Control {
 public:
  explicit Image(std::string name, int index = 0) : Control(std::move(name), index) {}

  const platform::ImagePtr& Picture() const { return picture_; }
  void SetPicture(platform::ImagePtr picture);
  bool Stretch() const { return stretch_; }
  void SetStretch(bool stretch);

 protected:
  void PaintSelf(platform::Renderer& renderer, const platform::Rect& rect) override;

 private:
  platform::ImagePtr picture_;
  bool stretch_ = false;
};

}  // namespace qv::ui
