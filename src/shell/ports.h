#pragma once
// What the shell asks of the machine and of the parts built beside it: the display (the
// monitor's size, fullscreen), the drive the game lies on (is it a disc, and its label),
// the saved-game dialogs, and the opening logo and intro movie. The player gives the real
// ones.

#include <cstdint>
#include <string>

#include "platform/event_loop.h"

namespace qv::shell {

class Display {
 public:
  virtual ~Display() = default;
  // The size of the monitor's own mode, in pixels.
  virtual int DesktopWidth() const = 0;
  virtual int DesktopHeight() const = 0;
  // Fullscreen at the monitor's own mode with the 800 x 600 screen scaled into it, or
  // back to a window. The monitor's mode itself is never changed.
  virtual void SetFullscreen(bool fullscreen) = 0;
};

class DiscDrive {
 public:
  virtual ~DiscDrive() = default;
  // True when the game folder lies on an optical disc.
  virtual bool IsDisc() const = 0;
  // The volume label of the disc in the drive now ("" when it has none).
  virtual std::string VolumeLabel() const = 0;
  // After the insert-CD box was answered: lets events run while the disc changes.
  virtual void AwaitDiscChange(platform::EventLoop& loop) { loop.DoEvents(); }
};

// The saved-game dialogs, shown modally.
class SavesPort {
 public:
  virtual ~SavesPort() = default;
  virtual void ShowLoadGame() = 0;
  // The game screen's save button: the snapshot of the game, then the dialog.
  virtual void ShowSaveGame() = 0;
};

// The game's opening logo and intro movie, and the movie windows at the exit.
class StartMoviesPort {
 public:
  virtual ~StartMoviesPort() = default;
  // Start the opening logo (a GIF under resource\gfx\, an AVI under resource\mmedia\);
  // OpeningLogoPlaying stays true until it has ended.
  virtual void PlayOpenCredsGif(const std::string& name) = 0;
  virtual void PlayOpenCredsAVI(const std::string& name) = 0;
  virtual bool OpeningLogoPlaying() const = 0;
  // Shows the intro window and plays the intro movie; returns when it has finished.
  virtual void PlayIntroAVI(const std::string& name, int16_t option) = 0;
  // Escape on the start screen while the game's opening logo shows.
  virtual void SkipOpeningLogo() = 0;
  // The exit: the movie windows close.
  virtual void CloseMovies() = 0;
};

}  // namespace qv::shell
