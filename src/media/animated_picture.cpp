#include "media/animated_picture.h"

#include <algorithm>

#include "core/vb_error.h"
#include "data/game_folder.h"

namespace qv::media {

using platform::Rect;

AnimatedPicture::AnimatedPicture(std::string name, int index, platform::EventLoop& loop,
                                 PictureSource source)
    : Control(std::move(name), index),
      loop_(loop),
      source_(source),
      timer_(loop.timers(), [this] { Tick(); }) {}

AnimatedPicture::~AnimatedPicture() {
  *alive_ = false;
}

int16_t AnimatedPicture::FrameCount() const {
  return picture_ ? static_cast<int16_t>(picture_->frames.size()) : int16_t{0};
}

void AnimatedPicture::SetCurrentFrame(int frame) {
  ShowFrame(std::clamp(frame, 0, std::max(LastFrame(), 0)));
}

void AnimatedPicture::SetPicture(platform::PicturePtr picture) {
  Stop();
  if (picture && picture->frames.empty()) picture = nullptr;
  picture_ = std::move(picture);
  frame_ = 0;
  Invalidate();
  FitToPicture();
}

platform::ImagePtr AnimatedPicture::FramePicture(int n) const {
  if (!picture_ || picture_->frames.empty()) return nullptr;
  return picture_->frames[static_cast<size_t>(std::clamp(n, 0, LastFrame()))];
}

void AnimatedPicture::SetSizeMode(int mode) {
  const int16_t value = ToSetting(mode);
  if (value == size_mode_) return;
  size_mode_ = value;
  Invalidate();
}

void AnimatedPicture::SetAutoSize(bool auto_size) {
  auto_size_ = auto_size;
  FitToPicture();
}

void AnimatedPicture::SetDirection(int direction) {
  direction_ = ToSetting(direction);
}

void AnimatedPicture::FitToPicture() {
  if (auto_size_ && picture_) Move(Left(), Top(), picture_->width, picture_->height);
}

int AnimatedPicture::FrameDelayMs(int frame) const {
  int delay = 0;
  if (picture_ && frame >= 0 && static_cast<size_t>(frame) < picture_->delays_ms.size()) {
    delay = picture_->delays_ms[static_cast<size_t>(frame)];
  }
  return delay <= kMinDelayMs ? kTinyDelayShownMs : delay;
}

void AnimatedPicture::Start() {
  if (playing_) return;
  if (FrameCount() <= 1) {
    // Nothing to play: the animation is over at once.
    PostEnded();
    return;
  }
  if (restart_) ShowFrame(direction_ == kBackward ? LastFrame() : 0);
  passes_ = 0;
  ping_step_ = 1;
  playing_ = true;
  Schedule();
}

void AnimatedPicture::Stop() {
  playing_ = false;
  timer_.SetEnabled(false);
}

void AnimatedPicture::Load(std::string_view game_path) {
  Stop();
  platform::PicturePtr picture;
  try {
    picture = source_.loader.Load(source_.folder.Resolve(game_path));
    if (!picture || picture->frames.empty()) Raise(kErrInvalidPicture);
  } catch (...) {
    // The caller hears of the failure; the control shows nothing meanwhile.
    SetPicture(nullptr);
    throw;
  }
  SetPicture(std::move(picture));
  loop_.Post([alive = alive_, this] {
    if (*alive && on_picture_loaded) {
      auto run = on_picture_loaded;
      run();
    }
  });
}

bool AnimatedPicture::Ends() const {
  return play_once_ != 0 || direction_ == kBackward || (picture_ && picture_->loop_count > 0);
}

bool AnimatedPicture::PassesDone() const {
  return play_once_ != 0 ||
         (picture_ && picture_->loop_count > 0 && passes_ >= picture_->loop_count);
}

bool AnimatedPicture::Step() {
  const int last = LastFrame();
  if (direction_ == kBackward) {
    if (frame_ <= 0) return false;  // backward plays one pass, down to frame 0
    ShowFrame(frame_ - 1);
    return true;
  }
  if (direction_ == kPingPong) {
    if (ping_step_ > 0) {
      if (frame_ < last) {
        ShowFrame(frame_ + 1);
      } else {
        ping_step_ = -1;
        ShowFrame(frame_ - 1);
      }
      return true;
    }
    if (frame_ > 0) {
      ShowFrame(frame_ - 1);
      return true;
    }
    // Back at frame 0: one pass up and down is complete.
    ++passes_;
    if (PassesDone()) return false;
    ping_step_ = 1;
    ShowFrame(1);
    return true;
  }
  // Forward (and any value the control does not know).
  if (frame_ < last) {
    ShowFrame(frame_ + 1);
    return true;
  }
  ++passes_;
  if (PassesDone()) return false;
  ShowFrame(0);
  return true;
}

void AnimatedPicture::Tick() {
  if (!playing_) return;
  if (!Step()) {
    Finish();
    return;
  }
  // The next tick is set before the handler runs, so a handler that stops the
  // animation has the last word.
  Schedule();
  if (on_frame_changed) {
    auto run = on_frame_changed;
    run();
  }
}

void AnimatedPicture::Schedule() {
  timer_.SetEnabled(false);
  if (!playing_) return;
  // Nobody sees a hidden animation that loops for ever: it waits until it is shown.
  if (!Shown() && !Ends()) return;
  timer_.SetInterval(FrameDelayMs(frame_));
  timer_.SetEnabled(true);
}

void AnimatedPicture::OnShownChanged(bool shown) {
  if (!playing_) return;
  if (shown && !timer_.Enabled()) {
    Schedule();
  } else if (!shown && !Ends()) {
    timer_.SetEnabled(false);
  }
}

void AnimatedPicture::Finish() {
  Stop();
  PostEnded();
}

void AnimatedPicture::PostEnded() {
  loop_.Post([alive = alive_, this] {
    if (*alive && on_animation_ended) {
      auto run = on_animation_ended;
      run();
    }
  });
}

void AnimatedPicture::ShowFrame(int frame) {
  if (frame == frame_) return;
  frame_ = frame;
  Invalidate();
}

void AnimatedPicture::PaintSelf(platform::Renderer& renderer, const Rect& rect) {
  const platform::ImagePtr image = FramePicture(frame_);
  if (!image) return;
  const int pw = picture_->width;
  const int ph = picture_->height;
  Rect dst = rect;
  if (size_mode_ == 0) {
    dst = {rect.x, rect.y, pw, ph};
  } else if (size_mode_ == 1 && pw > 0 && ph > 0) {
    // Fit inside, proportions kept, centred.
    if (int64_t{pw} * rect.h <= int64_t{ph} * rect.w) {
      dst.h = rect.h;
      dst.w = static_cast<int>(int64_t{pw} * rect.h / ph);
    } else {
      dst.w = rect.w;
      dst.h = static_cast<int>(int64_t{ph} * rect.w / pw);
    }
    dst.x = rect.x + (rect.w - dst.w) / 2;
    dst.y = rect.y + (rect.h - dst.h) / 2;
  }
  renderer.DrawImage(*image, dst);
}

}  // namespace qv::media
