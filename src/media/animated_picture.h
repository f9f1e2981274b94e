#pragma once
// The animated picture control: every animated or two-state picture of the player
// (scene objects Animation(1..20), map locations, the close-up, logos, placeholders and
// the two-frame button pictures). It shows one frame of a picture (a GIF's composited
// frames, or a still picture as one frame) and plays the frames with their own delays.
//
// The game addresses the control's members by number; here they have names:
//
//   member  name                      meaning
//   ------  ------------------------  ------------------------------------------------
//    1      CurrentFrame / SetCurrentFrame   the frame shown, 0-based
//    2      FrameCount                the loaded picture's frames (0 when none)
//    3      Playing                   the animation is running
//    6      Picture / SetPicture      the whole picture, copyable to another control
//    7      PictureHeight             the loaded picture's height in pixels
//    8      PictureWidth              the loaded picture's width in pixels
//   13      FramePicture(n)           the picture of frame n (a button's normal picture
//                                     is frame 1, its highlighted one frame 0)
//   14      SizeMode                  how the picture fills the control (below)
//   19      AutoSize                  the control takes the picture's size (below)
//   21      Direction                 playback direction (below)
//   28      PlayOnce                  play one pass only (below)
//   29      Restart                   Start begins from the first frame (below)
//   10      Start()                   method: start the animation
//   11      Stop()                    method: stop it, holding the frame shown
//   12      Load(path)                method: load a picture file
//
//   event   handler
//    9      on_frame_changed          playback moved to another frame
//   10      on_picture_loaded         Load finished (always through the event loop)
//   11      on_animation_ended        the animation ended (through the event loop)
//   12      on_click                  (the control's click)
//   18      on_mouse_move             (the control's mouse move)
//
// Playback settings, as the game's call sites use them:
//  - Direction (21): 0 forward, frame 0 to the last; 2 ping-pong, forward to the last
//    frame and back to frame 0; 1 backward, from the current frame down to frame 0,
//    once. A Switch shown "on" sets 1 and the last frame, so that starting it plays the
//    lever back to frame 0 and then raises event 11.
//  - PlayOnce (28): 0 plays the passes the file asks for (its loop count; 0 in the file
//    means for ever); any other value (1, True) plays one pass and stops on the last
//    frame shown. A forward pass ends on the last frame, a ping-pong pass on frame 0.
//  - Restart (29): True makes Start begin from the first frame of the direction (frame 0,
//    or the last frame when going backward); False (the default) goes on from the
//    current frame, so that starting an object that already played once does not replay
//    it. Scene set-up switches it off for slots that never animate; clicks switch it on
//    before starting an animation that must play from its beginning.
//  - An animation that is never started stands still on its current frame.
//  - Start on a picture with one frame (or none) plays nothing and raises event 11
//    through the event loop; Start while playing changes nothing.
//  - Stop raises no event. Loading or setting a picture stops the animation and shows
//    frame 0.
//  - Each frame shows for its own delay; a delay of 10 ms or less counts as 100 ms, as
//    browsers do with the GIFs made for them.
//
// Sizing settings (used by the close-up window):
//  - AutoSize (19): True makes the control take the size of each picture it is given.
//  - SizeMode (14): 0 draws the picture at its own size from the top-left corner; 1
//    scales it to fit the control, keeping its proportions, centred; any other value
//    stretches it over the whole control.
//
// Loading (12): the path is a game path (AppPath + "resource\gfx\" + name); it is
// resolved in the game folder and decoded by the picture loader. A missing file raises
// "File not found" (53), a picture that does not decode "Invalid picture" (481), a name
// leaving the game folder "Bad file name or number" (52): the error reaches the caller,
// the control shows nothing and no event 10 follows. On success event 10 follows through
// the event loop, never inside Load.
//
// Cost: one platform timer per control, scheduled only while it plays; a frame is drawn
// only when the frame shown changes. A hidden control (or one on a hidden form) that
// would loop for ever pauses until it is shown again; one that will end keeps time so
// that its event 11 arrives as it would on screen.

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

#include "platform/event_loop.h"
#include "platform/pictures.h"
#include "platform/timer_service.h"
#include "ui/control.h"

namespace qv::data {
class GameFolder;
}

namespace qv::media {

// Where Load finds its pictures: the game folder resolves the game path, the loader
// decodes the file.
struct PictureSource {
  const data::GameFolder& folder;
  platform::PictureLoader& loader;
};

class AnimatedPicture : public ui::Control {
 public:
  enum Direction : int16_t { kForward = 0, kBackward = 1, kPingPong = 2 };
  // A zero or tiny frame delay, as browsers show it.
  static constexpr int kMinDelayMs = 10;
  static constexpr int kTinyDelayShownMs = 100;

  AnimatedPicture(std::string name, int index, platform::EventLoop& loop, PictureSource source);
  AnimatedPicture(std::string name, platform::EventLoop& loop, PictureSource source)
      : AnimatedPicture(std::move(name), 0, loop, source) {}
  ~AnimatedPicture() override;

  // 1: the frame shown. Setting it clamps to the picture's frames (0 without a picture)
  // and raises no event 9; while playing, the animation goes on from there.
  int16_t CurrentFrame() const { return static_cast<int16_t>(frame_); }
  void SetCurrentFrame(int frame);
  // 2
  int16_t FrameCount() const;
  // 3
  bool Playing() const { return playing_; }
  // 6: the picture (null when none). Setting it does not raise event 10.
  const platform::PicturePtr& Picture() const { return picture_; }
  void SetPicture(platform::PicturePtr picture);
  // 7, 8
  int PictureHeight() const { return picture_ ? picture_->height : 0; }
  int PictureWidth() const { return picture_ ? picture_->width : 0; }
  // 13: frame n, clamped to the frames there are (a one-frame button shows the same
  // picture in both states); null when there is no picture.
  platform::ImagePtr FramePicture(int n) const;
  // 14, 19
  int16_t SizeMode() const { return size_mode_; }
  void SetSizeMode(int mode);
  bool AutoSize() const { return auto_size_; }
  void SetAutoSize(bool auto_size);
  // 21, 28, 29
  int16_t Direction() const { return direction_; }
  void SetDirection(int direction);
  int16_t PlayOnce() const { return play_once_; }
  void SetPlayOnce(int play_once) { play_once_ = ToSetting(play_once); }
  bool Restart() const { return restart_; }
  void SetRestart(bool restart) { restart_ = restart; }

  // 10, 11, 12
  void Start();
  void Stop();
  void Load(std::string_view game_path);

  // Events 9, 10, 11 (12 and 18 are the control's on_click and on_mouse_move).
  std::function<void()> on_frame_changed;
  std::function<void()> on_picture_loaded;
  std::function<void()> on_animation_ended;

  // The delay a frame is shown for (the file's delay, or 100 ms for tiny ones).
  int FrameDelayMs(int frame) const;

 protected:
  void PaintSelf(platform::Renderer& renderer, const platform::Rect& rect) override;
  void OnShownChanged(bool shown) override;

 private:
  // A setting as the 16-bit value the game stores (out-of-range values saturate).
  static int16_t ToSetting(int value) {
    return static_cast<int16_t>(value < -32768 ? -32768 : value > 32767 ? 32767 : value);
  }
  int LastFrame() const { return FrameCount() - 1; }
  // True when the animation will end by itself (not looping for ever).
  bool Ends() const;
  // True when the passes played so far are all there are to play.
  bool PassesDone() const;
  // Moves playback on by one frame; returns false when the animation has ended.
  bool Step();
  void Tick();
  // Schedules the next tick after the current frame's delay, or pauses while hidden.
  void Schedule();
  void Finish();
  void ShowFrame(int frame);
  void FitToPicture();
  void PostEnded();

  platform::EventLoop& loop_;
  PictureSource source_;
  platform::Timer timer_;
  platform::PicturePtr picture_;
  int frame_ = 0;
  bool playing_ = false;
  int passes_ = 0;     // passes completed since Start
  int ping_step_ = 1;  // +1 going up, -1 coming back (ping-pong)
  int16_t size_mode_ = 0;
  bool auto_size_ = false;
  int16_t direction_ = kForward;
  int16_t play_once_ = 0;
  bool restart_ = false;
  // The posted notifications check this, so a control destroyed before they run is
  // left alone.
  std::shared_ptr<bool> alive_ = std::make_shared<bool>(true);
};

}  // namespace qv::media
