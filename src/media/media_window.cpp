#include "media/media_window.h"

#include <algorithm>
#include <limits>

#include "core/vb_error.h"
#include "data/game_folder.h"

namespace qv::media {

namespace {

constexpr platform::Rgb kBlack = platform::Rgb::FromHex(0x000000);

}  // namespace

MediaWindow::MediaWindow(std::string name, platform::EventLoop& loop, platform::MoviePlayer& player,
                         const data::GameFolder& folder)
    : ui::Control(std::move(name)),
      loop_(loop),
      player_(player),
      folder_(folder),
      timer_(loop.timers(), [this] { Poll(); }) {}

MediaWindow::~MediaWindow() {
  *alive_ = false;
}

void MediaWindow::SetBorderStyle(int16_t style) {
  if (style == border_style_) return;
  border_style_ = style;
  Invalidate();
}

void MediaWindow::SetFileName(const std::string& path) {
  Close();
  if (path.empty()) return;
  movie_ = player_.Open(folder_.Resolve(path));
  file_name_ = path;
  state_ = State::kStopped;
}

void MediaWindow::Close() {
  timer_.SetEnabled(false);
  movie_.reset();
  ++generation_;
  file_name_.clear();
  state_ = State::kClosed;
  if (frame_) {
    frame_.reset();
    Invalidate();
  }
}

std::string MediaWindow::Mode() const {
  switch (state_) {
    case State::kPlaying:
      return "playing";
    case State::kStopped:
      return "stopped";
    case State::kClosed:
      break;
  }
  return "";
}

void MediaWindow::Command(std::string_view command) {
  if (command == "play") {
    if (!movie_) Raise(kErrInvalidCall);
    if (state_ == State::kPlaying) return;
    movie_->Play();
    state_ = State::kPlaying;
    Notify(kModePlaying);
    Schedule();
  } else if (command == "stop") {
    if (state_ != State::kPlaying) return;
    movie_->Stop();
    timer_.SetEnabled(false);
    state_ = State::kStopped;
    Notify(kModeStopped);
  } else if (command == "close") {
    Close();
  } else {
    Raise(kErrInvalidCall);
  }
}

void MediaWindow::Poll() {
  if (state_ != State::kPlaying) return;
  platform::ImagePtr frame = movie_->CurrentFrame();
  if (frame != frame_) {
    frame_ = std::move(frame);
    Invalidate();
  }
  if (movie_->Ended()) {
    movie_->Stop();
    timer_.SetEnabled(false);
    state_ = State::kStopped;
    Notify(kModeStopped);
    return;
  }
  Schedule();
}

void MediaWindow::Schedule() {
  const std::optional<int64_t> next = movie_->NextChangeMs();
  if (!next) {
    timer_.SetEnabled(false);
    return;
  }
  const int64_t wait =
      std::clamp<int64_t>(*next - loop_.NowMs(), 1, std::numeric_limits<int32_t>::max());
  timer_.SetInterval(static_cast<int32_t>(wait));
  timer_.SetEnabled(true);
}

void MediaWindow::Notify(int16_t mode) {
  loop_.Post([this, alive = alive_, generation = generation_, mode] {
    if (!*alive || generation != generation_) return;
    if (on_mode_change) on_mode_change(mode);
  });
}

void MediaWindow::PaintSelf(platform::Renderer& renderer, const platform::Rect& rect) {
  renderer.FillRect(rect, kBlack);
  platform::Rect picture = rect;
  if (border_style_ == 1) {
    ui::DrawFrame(renderer, rect, ui::kShadow);
    picture = {rect.x + 1, rect.y + 1, std::max(0, rect.w - 2), std::max(0, rect.h - 2)};
  }
  if (frame_) renderer.DrawImage(*frame_, picture);
}

}  // namespace qv::media
