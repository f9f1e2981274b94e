#pragma once
// The narrow interface to the machine, after ScummVM's OSystem: read the clock, poll an
// event, sleep until an event or a deadline, present a frame, and the few services of
// the desktop (message boxes, clipboard, fonts, the mouse cursor). Two backends implement it: sdl/
// for players and headless/ for tests and walkthrough scripts (virtual clock, no window, no audio).

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "core/message_box.h"
#include "platform/clock.h"
#include "platform/fonts.h"
#include "platform/image.h"
#include "platform/input.h"

namespace qv::platform {

class Renderer;

// How the virtual screen fills the window: its shape kept with smooth filtering, its shape
// kept in whole (pixel-perfect) steps, or stretched over the whole window.
enum class Scaling { kSmooth, kInteger, kStretch };

class Clipboard {
 public:
  virtual ~Clipboard() = default;
  virtual void Clear() = 0;
  virtual void SetText(const std::string& utf8) = 0;
  virtual std::string GetText() = 0;
};

class Backend {
 public:
  virtual ~Backend() = default;

  virtual bool headless() const = 0;
  virtual const Clock& clock() const = 0;

  // Takes the next input event, if any, without waiting.
  virtual bool PollInput(InputEvent& event) = 0;

  // Queues input as if the user had made it (the scripted user's clicks and pointer
  // moves): PollInput returns it before anything else, and a wait for input ends at once.
  virtual void InjectInput(const InputEvent& event) = 0;

  // Sleeps until an input event arrives or the clock reaches `deadline` (forever when
  // none). The headless backend does not sleep: it moves its virtual clock to the
  // deadline.
  virtual void WaitForInput(std::optional<int64_t> deadline_ms) = 0;

  // Draws one frame of the virtual screen: `paint` draws the whole screen with the
  // renderer, clipped to each rectangle of `damage` in turn (what changed since the last
  // frame; everything else keeps its pixels), then the frame is shown. A backend that has
  // lost its pixels paints everything. The headless backend may skip drawing.
  virtual void Present(const std::vector<Rect>& damage,
                       const std::function<void(Renderer&)>& paint) = 0;

  virtual MessageBoxService& message_boxes() = 0;
  virtual Clipboard& clipboard() = 0;

  // The real font, for measuring text exactly as it will be drawn.
  virtual Fonts& fonts() = 0;

  // The size of the virtual screen in logical pixels (800 x 600 unless chosen otherwise).
  virtual int screen_width() const = 0;
  virtual int screen_height() const = 0;

  // Shows `image` as the mouse cursor with its hot spot at (hot_x, hot_y) in the image's
  // pixels; a null image shows the default arrow. Setting the image that already shows
  // (same id and hot spot) costs nothing.
  virtual void SetCursor(const ImagePtr& image, int hot_x, int hot_y) = 0;

  // ---- the window (the headless backend only remembers what it is told)
  // Fullscreen at the desktop's own mode, the virtual screen scaled into it.
  virtual void SetFullscreen(bool fullscreen) = 0;
  virtual bool fullscreen() const = 0;
  virtual void SetScaling(Scaling scaling) = 0;
  virtual Scaling scaling() const = 0;
  // Keeps the pointer inside the window while it is fullscreen.
  virtual void SetMouseConfined(bool confined) = 0;
  virtual void SetTitle(const std::string& utf8) = 0;
  // Shrinks the window to the task bar (the debug window's Minimize Player).
  virtual void Minimize() = 0;
  // The virtual screen as last presented, or null when the backend keeps no pixels.
  virtual ImagePtr CaptureScreen() = 0;
};

}  // namespace qv::platform
