#pragma once
// The media window: the control that plays an AVI movie on one of the player's windows
// (the game screen's MovieWindow, the start screen's UserAVILogo, the intro's
// UserIntroMovie). The game drives it through these members:
//
//   FileName / SetFileName   setting a path opens that movie, closing what was open; ""
//                            only closes. The path is a game path (AppPath +
//                            "resource\mmedia\" + name). A missing file raises "File not
//                            found" (53), a name leaving the game folder 52, a file that
//                            is no AVI we play "Invalid file format" (321), one that does
//                            not fit in the memory budget "Out of memory" (7); the window
//                            is closed then.
//   Command(text)            "play" plays on from where the movie stands, "stop" holds
//                            its picture, "close" closes it. "play" without a movie, and
//                            other commands, raise "Invalid procedure call" (5).
//   Mode()                   "playing", "stopped", or "" while no movie is open.
//   on_mode_change(mode)     526 when it starts playing, 525 when it stops (by "stop" or
//                            at its end). Always through the event loop, never inside the
//                            call that changed the mode; a notification of a movie closed
//                            since (or replaced by another) never arrives.
//   BorderStyle              0 none, 1 a thin frame around the picture.
//   ShowControls, ShowPositionControls, ShowDisplay
//                            the control's own bars; kept, but never drawn: every window
//                            that plays a movie switches them off.
//   Option                   the value the game passes with a movie, kept with it.
//
// The picture fills the control (black until the first picture, and headless, where
// movies show none). Position, size and visibility are the control's own; a hidden
// window plays on.

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>

#include "platform/event_loop.h"
#include "platform/movie.h"
#include "platform/timer_service.h"
#include "ui/control.h"

namespace qv::data {
class GameFolder;
}

namespace qv::media {

class MediaWindow : public ui::Control {
 public:
  static constexpr int16_t kModeStopped = 525;
  static constexpr int16_t kModePlaying = 526;

  MediaWindow(std::string name, platform::EventLoop& loop, platform::MoviePlayer& player,
              const data::GameFolder& folder);
  ~MediaWindow() override;

  const std::string& FileName() const { return file_name_; }
  void SetFileName(const std::string& path);
  void Command(std::string_view command);
  std::string Mode() const;
  std::function<void(int16_t mode)> on_mode_change;

  int16_t BorderStyle() const { return border_style_; }
  void SetBorderStyle(int16_t style);
  bool ShowControls = false;
  bool ShowPositionControls = false;
  bool ShowDisplay = false;
  int16_t Option = 0;

  // The open movie's own picture size (0 x 0 while none is open).
  int MovieWidth() const { return movie_ ? movie_->info().width : 0; }
  int MovieHeight() const { return movie_ ? movie_->info().height : 0; }
  // The picture shown now (null before the first and headless).
  const platform::ImagePtr& Frame() const { return frame_; }

 protected:
  void PaintSelf(platform::Renderer& renderer, const platform::Rect& rect) override;

 private:
  enum class State { kClosed, kStopped, kPlaying };

  void Close();
  // The timer's work: the picture due, the end, and when to look again.
  void Poll();
  void Schedule();
  void Notify(int16_t mode);

  platform::EventLoop& loop_;
  platform::MoviePlayer& player_;
  const data::GameFolder& folder_;
  platform::Timer timer_;
  std::unique_ptr<platform::Movie> movie_;
  std::string file_name_;
  State state_ = State::kClosed;
  platform::ImagePtr frame_;
  int16_t border_style_ = 0;
  uint64_t generation_ = 0;  // which movie; notifications of another are dropped
  std::shared_ptr<bool> alive_ = std::make_shared<bool>(true);
};

}  // namespace qv::media
