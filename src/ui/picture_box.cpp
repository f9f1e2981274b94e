#include "ui/picture_box.h"

namespace qv::ui {

using platform::Rect;

void PictureBox::SetBackColor(platform::Rgb color) {
  if (color == back_color_) return;
  back_color_ = color;
  Invalidate();
}

void PictureBox::SetPicture(platform::ImagePtr picture) {
  if (picture == picture_) return;
  picture_ = std::move(picture);
  Invalidate();
  FitPicture();
}

void PictureBox::SetBorder(bool border) {
  if (border == border_) return;
  border_ = border;
  Invalidate();
}

void PictureBox::SetAutoSize(bool auto_size) {
  if (auto_size == auto_size_) return;
  auto_size_ = auto_size;
  FitPicture();
}

void PictureBox::FitPicture() {
  if (!auto_size_ || !picture_) return;
  const int frame = border_ ? 2 : 0;
  Move(Left(), Top(), picture_->width() + frame, picture_->height() + frame);
}

Rect PictureBox::ClientRect() const {
  Rect r = ScreenRect();
  if (!border_) return r;
  return {r.x + 1, r.y + 1, r.w > 2 ? r.w - 2 : 0, r.h > 2 ? r.h - 2 : 0};
}

void PictureBox::PaintSelf(platform::Renderer& renderer, const Rect& rect) {
  renderer.FillRect(rect, back_color_);
  const Rect client = ClientRect();
  if (picture_) {
    renderer.DrawImage(*picture_, {client.x, client.y, picture_->width(), picture_->height()});
  }
  if (border_) DrawFrame(renderer, rect, kShadow);
}

void Image::SetPicture(platform::ImagePtr picture) {
  if (picture == picture_) return;
  picture_ = std::move(picture);
  Invalidate();
  if (!stretch_ && picture_) Move(Left(), Top(), picture_->width(), picture_->height());
}

void Image::SetStretch(bool stretch) {
  if (stretch == stretch_) return;
  stretch_ = stretch;
  if (!stretch_ && picture_) {
    Move(Left(), Top(), picture_->width(), picture_->height());
  }
  Invalidate();
}

void Image::PaintSelf(platform::Renderer& renderer, const Rect& rect) {
  if (!picture_) return;
  if (stretch_) {
    renderer.DrawImage(*picture_, rect);
  } else {
    renderer.DrawImage(*picture_, {rect.x, rect.y, picture_->width(), picture_->height()});
  }
}

}  // namespace qv::ui
