#include "platform/sdl/sdl_backend.h"

#include <SDL.h>

#include <algorithm>
#include <climits>
#include <cmath>
#include <deque>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "platform/sdl/sdl_desktop.h"
#include "platform/sdl/sdl_input.h"
#include "platform/sdl/sdl_renderer.h"
#include "platform/sdl_handles.h"

namespace qv::platform {

namespace {

[[noreturn]] void Fail(const std::string& what) {
  throw std::runtime_error(what + ": " + SDL_GetError());
}

// SDL's video and event subsystems, for as long as the window lives. Other parts of the
// player (sound) start and stop their own subsystems; SDL counts them.
class SdlVideo {
 public:
  SdlVideo() {
    // Closing the window is the player's quit request, whatever other windows are open.
    SDL_SetHint(SDL_HINT_QUIT_ON_LAST_WINDOW_CLOSE, "0");
    if (SDL_InitSubSystem(SDL_INIT_VIDEO | SDL_INIT_EVENTS) != 0) {
      Fail("Cannot start the video system");
    }
  }
  ~SdlVideo() {
    SDL_QuitSubSystem(SDL_INIT_VIDEO | SDL_INIT_EVENTS);
    if (SDL_WasInit(SDL_INIT_EVERYTHING) == 0) SDL_Quit();
  }
  SdlVideo(const SdlVideo&) = delete;
  SdlVideo& operator=(const SdlVideo&) = delete;
};

class SdlClock : public Clock {
 public:
  SdlClock() : start_(SDL_GetTicks64()) {}
  int64_t NowMs() const override { return static_cast<int64_t>(SDL_GetTicks64() - start_); }

 private:
  uint64_t start_;
};

// The largest whole multiple of the virtual screen that fits the desktop, or the screen
// shrunk to fit a desktop smaller than it.
void InitialWindowSize(int width, int height, int& out_w, int& out_h) {
  out_w = width;
  out_h = height;
  SDL_Rect usable;
  if (SDL_GetDisplayUsableBounds(0, &usable) != 0 || usable.w <= 0 || usable.h <= 0) return;
  const int factor = std::min(usable.w / width, usable.h / height);
  if (factor >= 1) {
    out_w = width * factor;
    out_h = height * factor;
  } else {
    const double shrink =
        std::min(static_cast<double>(usable.w) / width, static_cast<double>(usable.h) / height);
    out_w = std::max(1, static_cast<int>(width * shrink));
    out_h = std::max(1, static_cast<int>(height * shrink));
  }
}

SDL_Renderer* CreateRenderer(SDL_Window* window) {
  const uint32_t tries[] = {
      SDL_RENDERER_ACCELERATED | SDL_RENDERER_PRESENTVSYNC | SDL_RENDERER_TARGETTEXTURE,
      SDL_RENDERER_ACCELERATED | SDL_RENDERER_TARGETTEXTURE,
      SDL_RENDERER_SOFTWARE | SDL_RENDERER_TARGETTEXTURE,
      0,
  };
  for (uint32_t flags : tries) {
    if (SDL_Renderer* renderer = SDL_CreateRenderer(window, -1, flags)) return renderer;
  }
  return nullptr;
}

// Cursors larger than this (after scaling) are drawn at their own size instead.
constexpr int kMaxCursorPx = 256;

// Video drivers that can sleep until their next event. With the others SDL's own wait
// wakes every millisecond to look for events, which an idle player must not do: there the
// backend looks every 10 ms (a console's kmsdrm, whose input needs looking at), or every
// 100 ms where no input comes from outside at all (dummy and offscreen: only events
// other threads push, and the quit request of a signal).
int64_t PollStepMs(const char* driver) {
  const std::string name = driver ? driver : "";
  if (name == "x11" || name == "wayland" || name == "windows" || name == "cocoa") return 0;
  if (name == "dummy" || name == "offscreen") return 100;
  return 10;
}

}  // namespace

struct SdlBackend::Impl {
  explicit Impl(SdlConfig cfg) : config(std::move(cfg)), fonts(config.font_files) {
    if (config.screen_width <= 0 || config.screen_height <= 0) {
      throw std::runtime_error("The virtual screen must have a positive size");
    }
    int width = 0;
    int height = 0;
    InitialWindowSize(config.screen_width, config.screen_height, width, height);
    uint32_t flags = SDL_WINDOW_RESIZABLE | SDL_WINDOW_ALLOW_HIGHDPI;
    if (config.fullscreen) flags |= SDL_WINDOW_FULLSCREEN_DESKTOP;
    window.reset(SDL_CreateWindow(config.title.c_str(), SDL_WINDOWPOS_CENTERED,
                                  SDL_WINDOWPOS_CENTERED, width, height, flags));
    if (!window) Fail("Cannot open the player's window");
    window_id = SDL_GetWindowID(window.get());
    fullscreen = config.fullscreen;
    poll_step_ms = PollStepMs(SDL_GetCurrentVideoDriver());

    renderer.reset(CreateRenderer(window.get()));
    if (!renderer) Fail("Cannot draw in the player's window");
    SDL_RenderSetLogicalSize(renderer.get(), config.screen_width, config.screen_height);
    SDL_RenderSetIntegerScale(renderer.get(), config.integer_scaling ? SDL_TRUE : SDL_FALSE);
    drawer =
        std::make_unique<SdlRenderer>(renderer.get(), config.screen_width, config.screen_height,
                                      fonts, !config.integer_scaling, SdlRenderer::Budget{});
    boxes = std::make_unique<SdlMessageBoxes>(window.get());
    if (config.confine_mouse) SDL_SetWindowMouseGrab(window.get(), SDL_TRUE);
    SDL_StartTextInput();
  }

  // Shows the last frame again (the window was uncovered or resized) without asking the
  // player to draw it. Returns false when there is no frame to show.
  bool ShowFrameAgain() {
    if (!have_frame || !drawer->screen()) return false;
    Show();
    return true;
  }

  void Show() {
    SDL_Renderer* r = renderer.get();
    SDL_SetRenderTarget(r, nullptr);
    SDL_SetRenderDrawColor(r, 0, 0, 0, 255);
    SDL_RenderClear(r);  // the bars around the scaled screen
    if (SDL_Texture* screen = drawer->screen()) SDL_RenderCopy(r, screen, nullptr, nullptr);
    SDL_RenderPresent(r);
  }

  void SetFullscreen(bool on) {
    if (SDL_SetWindowFullscreen(window.get(), on ? SDL_WINDOW_FULLSCREEN_DESKTOP : 0) != 0) {
      SDL_LogWarn(SDL_LOG_CATEGORY_VIDEO, "Cannot switch fullscreen: %s", SDL_GetError());
      return;
    }
    fullscreen = on;
    ShowFrameAgain();
  }

  // How many screen pixels a virtual-screen pixel covers, in whole steps, so a cursor
  // keeps its size relative to the pictures.
  int CursorScale() const {
    int w = 0;
    int h = 0;
    SDL_GetWindowSize(window.get(), &w, &h);
    const double scale = std::min(static_cast<double>(w) / config.screen_width,
                                  static_cast<double>(h) / config.screen_height);
    return std::max(1, static_cast<int>(std::floor(scale)));
  }

  void BuildCursor() {
    const Image& image = *cursor_image;
    const int w = image.width();
    const int h = image.height();
    if (w <= 0 || h <= 0 || image.pixels().size() != static_cast<size_t>(w) * h) {
      ShowDefaultCursor();
      return;
    }
    int scale = cursor_scale;
    while (scale > 1 && (w * scale > kMaxCursorPx || h * scale > kMaxCursorPx))
      --scale;
    std::vector<uint32_t> pixels(static_cast<size_t>(w * scale) * static_cast<size_t>(h * scale));
    for (int y = 0; y < h * scale; ++y) {
      for (int x = 0; x < w * scale; ++x) {
        pixels[static_cast<size_t>(y) * static_cast<size_t>(w * scale) + x] =
            image.pixels()[static_cast<size_t>(y / scale) * static_cast<size_t>(w) + x / scale];
      }
    }
    SurfacePtr surface(SDL_CreateRGBSurfaceWithFormatFrom(pixels.data(), w * scale, h * scale, 32,
                                                          w * scale * 4, SDL_PIXELFORMAT_ARGB8888));
    if (!surface) {
      ShowDefaultCursor();
      return;
    }
    const int hot_x = std::clamp(cursor_hot_x, 0, w - 1) * scale;
    const int hot_y = std::clamp(cursor_hot_y, 0, h - 1) * scale;
    CursorPtr made(SDL_CreateColorCursor(surface.get(), hot_x, hot_y));
    if (!made) {
      // Some systems (and SDL's dummy video) have no custom cursors: keep the arrow.
      if (!cursor_warned) {
        SDL_LogWarn(SDL_LOG_CATEGORY_VIDEO, "Cannot show a custom cursor: %s", SDL_GetError());
        cursor_warned = true;
      }
      SDL_SetCursor(SDL_GetDefaultCursor());
      cursor.reset();
      return;
    }
    SDL_SetCursor(made.get());
    cursor = std::move(made);  // frees the previous one, no longer showing
  }

  void ShowDefaultCursor() {
    SDL_SetCursor(SDL_GetDefaultCursor());
    cursor.reset();
  }

  void WindowResized() {
    const int scale = CursorScale();
    if (scale != cursor_scale) {
      cursor_scale = scale;
      if (cursor_image) BuildCursor();
    }
  }

  // Handles the window's own events and turns the rest into input; false when the event
  // is not input for the player.
  bool Translate(const SDL_Event& event, InputEvent& out) {
    switch (event.type) {
      case SDL_QUIT:
        out = InputEvent{};
        out.kind = InputEvent::Kind::kQuit;
        return true;
      case SDL_WINDOWEVENT:
        if (event.window.windowID != window_id) return false;
        switch (event.window.event) {
          case SDL_WINDOWEVENT_CLOSE:
            out = InputEvent{};
            out.kind = InputEvent::Kind::kQuit;
            return true;
          case SDL_WINDOWEVENT_SIZE_CHANGED:
            WindowResized();
            [[fallthrough]];
          case SDL_WINDOWEVENT_EXPOSED:
          case SDL_WINDOWEVENT_RESTORED:
          case SDL_WINDOWEVENT_SHOWN:
            if (ShowFrameAgain()) return false;
            out = InputEvent{};
            out.kind = InputEvent::Kind::kExposed;
            return true;
          default:
            return false;
        }
      case SDL_RENDER_DEVICE_RESET:
        drawer->DropTextures();
        [[fallthrough]];
      case SDL_RENDER_TARGETS_RESET:
        // The screen's pixels are lost: the player draws it again.
        have_frame = false;
        out = InputEvent{};
        out.kind = InputEvent::Kind::kExposed;
        return true;
      case SDL_KEYDOWN:
        if (event.key.windowID != window_id) return false;
        if (event.key.keysym.sym == SDLK_RETURN && (event.key.keysym.mod & KMOD_ALT)) {
          if (!event.key.repeat) SetFullscreen(!fullscreen);
          return false;
        }
        return TranslateInput(event, out);
      case SDL_TEXTINPUT:
        if (event.text.windowID != window_id) return false;
        return TranslateInput(event, out);
      case SDL_MOUSEMOTION:
        if (event.motion.windowID != window_id) return false;
        return TranslateInput(event, out);
      case SDL_MOUSEBUTTONDOWN:
      case SDL_MOUSEBUTTONUP:
        if (event.button.windowID != window_id) return false;
        return TranslateInput(event, out);
      default:
        return false;
    }
  }

  SdlConfig config;
  SdlVideo video;  // started before, and stopped after, everything below
  SdlClock clock;
  TtfFonts fonts;
  WindowPtr window;
  uint32_t window_id = 0;
  RendererPtr renderer;
  std::unique_ptr<SdlRenderer> drawer;
  std::unique_ptr<SdlMessageBoxes> boxes;
  SdlClipboard clipboard;
  CursorPtr cursor;
  ImagePtr cursor_image;
  int cursor_hot_x = 0;
  int cursor_hot_y = 0;
  int cursor_scale = 1;
  bool cursor_warned = false;
  std::optional<SDL_Event> held;    // taken while waiting, not yet polled
  std::deque<InputEvent> injected;  // the scripted user's input, not yet polled
  int64_t poll_step_ms = 0;         // 0: SDL sleeps until the next event
  bool fullscreen = false;
  bool have_frame = false;
  int64_t frames = 0;
};

SdlBackend::SdlBackend(SdlConfig config) : impl_(std::make_unique<Impl>(std::move(config))) {
  impl_->cursor_scale = impl_->CursorScale();
}

SdlBackend::~SdlBackend() = default;

const Clock& SdlBackend::clock() const {
  return impl_->clock;
}

void SdlBackend::InjectInput(const InputEvent& event) {
  impl_->injected.push_back(event);
}

bool SdlBackend::PollInput(InputEvent& event) {
  if (!impl_->injected.empty()) {
    event = std::move(impl_->injected.front());
    impl_->injected.pop_front();
    return true;
  }
  if (impl_->held) {
    const SDL_Event held = *impl_->held;
    impl_->held.reset();
    if (impl_->Translate(held, event)) return true;
  }
  SDL_Event sdl_event;
  while (SDL_PollEvent(&sdl_event)) {
    if (impl_->Translate(sdl_event, event)) return true;
  }
  return false;
}

void SdlBackend::WaitForInput(std::optional<int64_t> deadline_ms) {
  if (impl_->held || !impl_->injected.empty()) return;
  SDL_Event event;
  if (impl_->poll_step_ms == 0) {
    if (!deadline_ms) {
      if (SDL_WaitEvent(&event)) {
        impl_->held = event;
      } else {
        SDL_Delay(10);  // SDL cannot wait: do not spin
      }
      return;
    }
    const int64_t left = *deadline_ms - impl_->clock.NowMs();
    if (left <= 0) return;
    const int timeout = static_cast<int>(std::min<int64_t>(left, INT_MAX));
    if (SDL_WaitEventTimeout(&event, timeout)) impl_->held = event;
    return;
  }
  while (true) {
    SDL_PumpEvents();
    if (SDL_PeepEvents(&event, 1, SDL_GETEVENT, SDL_FIRSTEVENT, SDL_LASTEVENT) > 0) {
      impl_->held = event;
      return;
    }
    int64_t step = impl_->poll_step_ms;
    if (deadline_ms) {
      const int64_t left = *deadline_ms - impl_->clock.NowMs();
      if (left <= 0) return;
      step = std::min(step, left);
    }
    SDL_Delay(static_cast<uint32_t>(step));
  }
}

void SdlBackend::Present(const std::function<void(Renderer&)>& paint) {
  SdlRenderer& drawer = *impl_->drawer;
  drawer.BeginFrame();
  // The window must be the target again whatever the painter does.
  struct EndFrame {
    SdlRenderer& drawer;
    ~EndFrame() { drawer.EndFrame(); }
  } end_frame{drawer};
  paint(drawer);
  impl_->have_frame = true;
  ++impl_->frames;
  impl_->Show();
}

MessageBoxService& SdlBackend::message_boxes() {
  return *impl_->boxes;
}
Clipboard& SdlBackend::clipboard() {
  return impl_->clipboard;
}
Fonts& SdlBackend::fonts() {
  return impl_->fonts;
}
int SdlBackend::screen_width() const {
  return impl_->config.screen_width;
}
int SdlBackend::screen_height() const {
  return impl_->config.screen_height;
}

void SdlBackend::SetCursor(const ImagePtr& image, int hot_x, int hot_y) {
  Impl& d = *impl_;
  if (!image) {
    if (d.cursor_image) d.ShowDefaultCursor();
    d.cursor_image.reset();
    return;
  }
  if (d.cursor_image && d.cursor_image->id() == image->id() && d.cursor_hot_x == hot_x &&
      d.cursor_hot_y == hot_y) {
    return;
  }
  d.cursor_image = image;
  d.cursor_hot_x = hot_x;
  d.cursor_hot_y = hot_y;
  d.BuildCursor();
}

void SdlBackend::SetFullscreen(bool fullscreen) {
  if (fullscreen != impl_->fullscreen) impl_->SetFullscreen(fullscreen);
}

bool SdlBackend::fullscreen() const {
  return impl_->fullscreen;
}

void SdlBackend::SetWindowSize(int width, int height) {
  SDL_SetWindowSize(impl_->window.get(), width, height);
}

int SdlBackend::window_width() const {
  int w = 0;
  SDL_GetWindowSize(impl_->window.get(), &w, nullptr);
  return w;
}

int SdlBackend::window_height() const {
  int h = 0;
  SDL_GetWindowSize(impl_->window.get(), nullptr, &h);
  return h;
}

uint32_t SdlBackend::window_id() const {
  return impl_->window_id;
}

int64_t SdlBackend::frames_presented() const {
  return impl_->frames;
}
size_t SdlBackend::cached_textures() const {
  return impl_->drawer->cached_textures();
}

}  // namespace qv::platform
