#include "platform/sdl/sdl_backend.h"

#include <SDL.h>

#include <algorithm>
#include <cctype>
#include <climits>
#include <cmath>
#include <cstdlib>
#include <deque>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "platform/damage.h"
#include "platform/sdl/gl_probe.h"
#include "platform/sdl/sdl_desktop.h"
#include "platform/sdl/sdl_input.h"
#include "platform/sdl/sdl_renderer.h"
#include "platform/sdl_handles.h"

namespace qv::platform {

namespace {

[[noreturn]] void Fail(const std::string& what) {
  throw std::runtime_error(what + ": " + SDL_GetError());
}

std::string Lower(std::string text) {
  for (char& c : text)
    c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return text;
}

bool NoDisplayDriver(const std::string& driver) {
  return driver == "dummy" || driver == "offscreen";
}

// How the player will draw, and why.
struct RendererChoice {
  bool software = true;
  std::string driver;  // the SDL render driver to ask for ("" = SDL's accelerated choice)
  std::string reason;
};

// The SDL render drivers this system has, as a readable list.
std::string RenderDriverList() {
  std::string list = kSoftwareRenderer;
  for (int i = 0; i < SDL_GetNumRenderDrivers(); ++i) {
    SDL_RendererInfo info;
    if (SDL_GetRenderDriverInfo(i, &info) == 0 && std::string(info.name) != "software") {
      list += std::string(", ") + info.name;
    }
  }
  return list;
}

// Chosen before SDL's video starts, so that the OpenGL probe can run in a child process.
RendererChoice ChooseRenderer(const std::string& wanted) {
  const std::string name = Lower(wanted);
  if (name == kSoftwareRenderer) return {true, "", "asked for"};
  if (!name.empty() && name != "auto") return {false, name, "asked for"};
  const char* env_driver = std::getenv("SDL_VIDEODRIVER");
  if (env_driver && NoDisplayDriver(Lower(env_driver))) {
    return {true, "", std::string("no display to accelerate (video driver ") + env_driver + ")"};
  }
#if defined(_WIN32) || defined(__APPLE__)
  // Direct3D and Metal: SDL's accelerated renderer there is the graphics device's own.
  return {false, "", "the system's graphics device"};
#else
  const std::optional<std::string> gl = ProbeGlRenderer();
  if (!gl) return {true, "", "no OpenGL here"};
  if (IsSoftwareRasteriser(*gl)) {
    return {true, "", "the only OpenGL here is " + *gl + ", a software rasteriser"};
  }
  return {false, "", "OpenGL renderer " + *gl};
#endif
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

// Where the virtual screen (sw x sh) goes in an area of w x h.
Rect Placement(int w, int h, int sw, int sh, Scaling scaling) {
  if (w <= 0 || h <= 0) return {0, 0, 0, 0};
  if (scaling == Scaling::kStretch) return {0, 0, w, h};
  int pw = 0;
  int ph = 0;
  const int factor = std::min(w / sw, h / sh);
  if (scaling == Scaling::kInteger && factor >= 1) {
    pw = sw * factor;
    ph = sh * factor;
  } else if (int64_t{w} * sh <= int64_t{h} * sw) {
    pw = w;
    ph = static_cast<int>(int64_t{w} * sh / sw);
  } else {
    ph = h;
    pw = static_cast<int>(int64_t{h} * sw / sh);
  }
  return {(w - pw) / 2, (h - ph) / 2, std::max(pw, 1), std::max(ph, 1)};
}

SDL_Rect ToSdl(const Rect& r) {
  return {r.x, r.y, r.w, r.h};
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

// Pixels of a surface as an image of straight ARGB.
ImagePtr ToImage(SDL_Surface* surface) {
  if (!surface) return nullptr;
  std::vector<uint32_t> pixels(static_cast<size_t>(surface->w) * static_cast<size_t>(surface->h));
  if (SDL_ConvertPixels(surface->w, surface->h, surface->format->format, surface->pixels,
                        surface->pitch, SDL_PIXELFORMAT_ARGB8888, pixels.data(),
                        surface->w * 4) != 0) {
    return nullptr;
  }
  if (!SDL_ISPIXELFORMAT_ALPHA(surface->format->format)) {
    for (uint32_t& p : pixels)
      p |= 0xFF000000u;
  }
  return std::make_shared<Image>(surface->w, surface->h, std::move(pixels));
}

}  // namespace

bool IsSoftwareRasteriser(const std::string& gl_renderer) {
  const std::string name = Lower(gl_renderer);
  for (const char* software : {"llvmpipe", "softpipe", "swrast", "software rasterizer"}) {
    if (name.find(software) != std::string::npos) return true;
  }
  return false;
}

struct SdlBackend::Impl {
  explicit Impl(SdlConfig cfg)
      : config(std::move(cfg)), choice(ChooseRenderer(config.renderer)), fonts(config.font_files) {
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
    if (NoDisplayDriver(SDL_GetCurrentVideoDriver() ? SDL_GetCurrentVideoDriver() : "") &&
        !choice.software && choice.reason != "asked for") {
      choice = {true, "", "no display to accelerate"};
    }
    if (!choice.software && !OpenWindowRenderer()) {
      if (choice.reason == "asked for") {
        throw std::runtime_error("Cannot draw with the renderer \"" + choice.driver +
                                 "\" (this system has: " + RenderDriverList() +
                                 "): " + SDL_GetError());
      }
      choice = {true, "", std::string("the accelerated renderer failed: ") + SDL_GetError()};
    }
    if (choice.software) OpenSoftware();
    if (config.log) config.log("Renderer: " + renderer_name + " (" + choice.reason + ")");
    boxes = std::make_unique<SdlMessageBoxes>(window.get());
    ApplyMouseGrab();
    SDL_StartTextInput();
  }

  // A renderer on the window, drawing the screen into a texture it scales into the window.
  bool OpenWindowRenderer() {
    if (!choice.driver.empty()) {
      bool known = false;
      for (int i = 0; i < SDL_GetNumRenderDrivers(); ++i) {
        SDL_RendererInfo info;
        if (SDL_GetRenderDriverInfo(i, &info) == 0 && Lower(info.name) == choice.driver) {
          known = true;
        }
      }
      if (!known) {
        throw std::runtime_error("Unknown renderer \"" + choice.driver +
                                 "\" (this system has: " + RenderDriverList() + ")");
      }
      SDL_SetHint(SDL_HINT_RENDER_DRIVER, choice.driver.c_str());
    }
    const uint32_t tries[] = {
        SDL_RENDERER_ACCELERATED | SDL_RENDERER_PRESENTVSYNC | SDL_RENDERER_TARGETTEXTURE,
        SDL_RENDERER_ACCELERATED | SDL_RENDERER_TARGETTEXTURE,
    };
    for (uint32_t flags : tries) {
      renderer.reset(SDL_CreateRenderer(window.get(), -1, flags));
      if (renderer) break;
    }
    if (!renderer) return false;
    SDL_RendererInfo info;
    renderer_name = SDL_GetRendererInfo(renderer.get(), &info) == 0 ? info.name : "accelerated";
    drawer =
        std::make_unique<SdlRenderer>(renderer.get(), config.screen_width, config.screen_height,
                                      fonts, Smooth(), SdlRenderer::Budget{});
    return true;
  }

  // SDL's software renderer drawing into the screen's own surface; the changed parts are
  // copied into the window's surface. Nothing of OpenGL is loaded.
  void OpenSoftware() {
    renderer.reset();
    renderer_name = kSoftwareRenderer;
    // The window's surface must be plain memory the window system shows, not a texture
    // of an accelerated renderer made behind the scenes.
    SDL_SetHint(SDL_HINT_FRAMEBUFFER_ACCELERATION, "0");
    SDL_Surface* window_surface = SDL_GetWindowSurface(window.get());
    if (!window_surface) Fail("Cannot draw in the player's window");
    // The screen in the window's own format when that is 32-bit, so that copying it is
    // a plain (or smoothly scaled) copy.
    uint32_t format = window_surface->format->format;
    if (SDL_BYTESPERPIXEL(format) != 4 || SDL_ISPIXELFORMAT_INDEXED(format)) {
      format = SDL_PIXELFORMAT_ARGB8888;
    }
    screen_surface.reset(
        SDL_CreateRGBSurfaceWithFormat(0, config.screen_width, config.screen_height, 32, format));
    if (!screen_surface) Fail("Cannot make the player's screen");
    SDL_SetSurfaceBlendMode(screen_surface.get(), SDL_BLENDMODE_NONE);
    SDL_FillRect(screen_surface.get(), nullptr, SDL_MapRGB(screen_surface->format, 0, 0, 0));
    screen_renderer.reset(SDL_CreateSoftwareRenderer(screen_surface.get()));
    if (!screen_renderer) Fail("Cannot draw in the player's screen");
    drawer = std::make_unique<SdlRenderer>(screen_renderer.get(), config.screen_width,
                                           config.screen_height, fonts, Smooth(),
                                           SdlRenderer::Budget{}, /*target_texture=*/false);
  }

  bool Smooth() const { return config.scaling != Scaling::kInteger; }

  // Shows the last frame again (the window was uncovered or resized) without asking the
  // player to draw it. Returns false when there is no frame to show.
  bool ShowFrameAgain() {
    if (!have_frame) return false;
    if (!screen_surface && !drawer->screen()) return false;
    Show({}, /*everything=*/true);
    return true;
  }

  void Show(const std::vector<Rect>& damage, bool everything) {
    if (screen_surface) {
      ShowSoftware(damage, everything);
      return;
    }
    SDL_Renderer* r = renderer.get();
    SDL_SetRenderTarget(r, nullptr);
    SDL_SetRenderDrawColor(r, 0, 0, 0, 255);
    SDL_RenderClear(r);  // the bars around the scaled screen
    int w = 0;
    int h = 0;
    SDL_GetRendererOutputSize(r, &w, &h);
    const SDL_Rect place =
        ToSdl(Placement(w, h, config.screen_width, config.screen_height, config.scaling));
    if (SDL_Texture* screen = drawer->screen()) SDL_RenderCopy(r, screen, nullptr, &place);
    SDL_RenderPresent(r);
  }

  // Copies a part of the screen to its place in the window's surface.
  void CopyToWindow(SDL_Surface* target, const Rect& part, const Rect& place, int factor) {
    SDL_Rect src = ToSdl(part);
    SDL_Rect dst = factor > 0 ? SDL_Rect{place.x + part.x * factor, place.y + part.y * factor,
                                         part.w * factor, part.h * factor}
                              : ToSdl(place);
    if (src.w == dst.w && src.h == dst.h) {
      SDL_BlitSurface(screen_surface.get(), &src, target, &dst);
    } else if (Smooth() && screen_surface->format->format == target->format->format) {
      SDL_SoftStretchLinear(screen_surface.get(), &src, target, &dst);
    } else {
      SDL_BlitScaled(screen_surface.get(), &src, target, &dst);
    }
  }

  void ShowSoftware(const std::vector<Rect>& damage, bool everything) {
    SDL_Surface* target = SDL_GetWindowSurface(window.get());
    if (!target) return;  // a window being resized: the next frame shows it
    // A new surface (the window was resized) has lost what it showed.
    if (target != shown_surface || target->w != shown_w || target->h != shown_h) {
      everything = true;
      shown_surface = target;
      shown_w = target->w;
      shown_h = target->h;
    }
    const int sw = config.screen_width;
    const int sh = config.screen_height;
    const Rect place = Placement(target->w, target->h, sw, sh, config.scaling);
    // Parts can be copied on their own where every screen pixel covers whole window
    // pixels the same way: at 1 x, or in whole steps without smoothing. Smooth scaling at
    // any other size blends across the parts' edges, so the whole screen is scaled.
    int factor = 0;
    if (place.w % sw == 0 && place.h % sh == 0 && place.w / sw == place.h / sh) {
      factor = place.w / sw;
      if (factor > 1 && Smooth()) factor = 0;
    }
    if (everything || factor == 0) {
      if (everything) SDL_FillRect(target, nullptr, SDL_MapRGB(target->format, 0, 0, 0));
      CopyToWindow(target, {0, 0, sw, sh}, place, 0);
      SDL_UpdateWindowSurface(window.get());
      return;
    }
    std::vector<SDL_Rect> shown;
    for (const Rect& part : damage) {
      const Rect clipped = Intersect(part, {0, 0, sw, sh});
      if (Empty(clipped)) continue;
      CopyToWindow(target, clipped, place, factor);
      shown.push_back({place.x + clipped.x * factor, place.y + clipped.y * factor,
                       clipped.w * factor, clipped.h * factor});
    }
    if (!shown.empty()) {
      SDL_UpdateWindowSurfaceRects(window.get(), shown.data(), static_cast<int>(shown.size()));
    }
  }

  void ApplyMouseGrab() {
    SDL_SetWindowMouseGrab(window.get(), config.confine_mouse && fullscreen ? SDL_TRUE : SDL_FALSE);
  }

  void SetFullscreen(bool on) {
    if (SDL_SetWindowFullscreen(window.get(), on ? SDL_WINDOW_FULLSCREEN_DESKTOP : 0) != 0) {
      SDL_LogWarn(SDL_LOG_CATEGORY_VIDEO, "Cannot switch fullscreen: %s", SDL_GetError());
      return;
    }
    fullscreen = on;
    ApplyMouseGrab();
    ShowFrameAgain();
  }

  // The window's size in screen coordinates and where the virtual screen lies in it.
  Rect WindowPlacement() const {
    int w = 0;
    int h = 0;
    SDL_GetWindowSize(window.get(), &w, &h);
    return Placement(w, h, config.screen_width, config.screen_height, config.scaling);
  }

  // A window position as a virtual-screen position (outside the screen when on a bar).
  void ToScreen(int& x, int& y) const {
    const Rect place = WindowPlacement();
    if (place.w <= 0 || place.h <= 0) return;
    auto map = [](int v, int origin, int size, int screen) {
      const int64_t scaled = int64_t{v - origin} * screen;
      // Rounded down, also left of and above the screen.
      return static_cast<int>(scaled >= 0 ? scaled / size : -((-scaled + size - 1) / size));
    };
    x = map(x, place.x, place.w, config.screen_width);
    y = map(y, place.y, place.h, config.screen_height);
  }

  // How many screen pixels a virtual-screen pixel covers, in whole steps, so a cursor
  // keeps its size relative to the pictures.
  int CursorScale() const {
    const Rect place = WindowPlacement();
    const double scale = std::min(static_cast<double>(place.w) / config.screen_width,
                                  static_cast<double>(place.h) / config.screen_height);
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
      case SDL_KEYDOWN: {
        if (event.key.windowID != window_id) return false;
        const PlayerCommand command = CommandFromSdl(event.key);
        if (command != PlayerCommand::kNone) {
          // The character the combination may also type is not the game's.
          swallow_text = true;
          const bool repeats =
              command == PlayerCommand::kVolumeUp || command == PlayerCommand::kVolumeDown;
          if (event.key.repeat && !repeats) return false;
          out = InputEvent{};
          out.kind = InputEvent::Kind::kCommand;
          out.command = command;
          return true;
        }
        swallow_text = false;
        return TranslateInput(event, out);
      }
      case SDL_TEXTINPUT:
        if (event.text.windowID != window_id) return false;
        if (swallow_text) {
          swallow_text = false;
          return false;
        }
        return TranslateInput(event, out);
      case SDL_MOUSEMOTION:
        if (event.motion.windowID != window_id) return false;
        if (!TranslateInput(event, out)) return false;
        ToScreen(out.x, out.y);
        return true;
      case SDL_MOUSEBUTTONDOWN:
      case SDL_MOUSEBUTTONUP:
        if (event.button.windowID != window_id) return false;
        if (!TranslateInput(event, out)) return false;
        ToScreen(out.x, out.y);
        return true;
      default:
        return false;
    }
  }

  SdlConfig config;
  RendererChoice choice;  // before the video starts: its probe may run in a child process
  SdlVideo video;         // started before, and stopped after, everything below
  SdlClock clock;
  TtfFonts fonts;
  WindowPtr window;
  uint32_t window_id = 0;
  std::string renderer_name;
  RendererPtr renderer;         // on the window (drawing by the graphics device)
  SurfacePtr screen_surface;    // the screen (software drawing)
  RendererPtr screen_renderer;  // SDL's software renderer on screen_surface
  std::unique_ptr<SdlRenderer> drawer;
  SDL_Surface* shown_surface = nullptr;  // the window surface last drawn into
  int shown_w = 0;
  int shown_h = 0;
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
  bool swallow_text = false;
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

void SdlBackend::Present(const std::vector<Rect>& damage,
                         const std::function<void(Renderer&)>& paint) {
  Impl& d = *impl_;
  SdlRenderer& drawer = *d.drawer;
  const bool kept = drawer.BeginFrame() && d.have_frame;
  const Rect whole{0, 0, d.config.screen_width, d.config.screen_height};
  const std::vector<Rect> everything{whole};
  const std::vector<Rect>& parts = kept ? damage : everything;
  {
    // The window must be the target again whatever the painter does.
    struct EndFrame {
      SdlRenderer& drawer;
      ~EndFrame() { drawer.EndFrame(); }
    } end_frame{drawer};
    for (const Rect& part : parts) {
      drawer.PushClip(part);
      paint(drawer);
      drawer.PopClip();
    }
  }
  d.have_frame = true;
  ++d.frames;
  d.Show(parts, !kept);
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

std::pair<int, int> SdlBackend::DesktopSize() const {
  SDL_DisplayMode mode;
  int display = SDL_GetWindowDisplayIndex(impl_->window.get());
  if (display < 0) display = 0;
  if (SDL_GetDesktopDisplayMode(display, &mode) != 0) return {screen_width(), screen_height()};
  return {mode.w, mode.h};
}

bool SdlBackend::fullscreen() const {
  return impl_->fullscreen;
}

void SdlBackend::SetScaling(Scaling scaling) {
  Impl& d = *impl_;
  if (scaling == d.config.scaling) return;
  d.config.scaling = scaling;
  d.drawer->SetSmooth(d.Smooth());
  d.WindowResized();
  d.ShowFrameAgain();
}

Scaling SdlBackend::scaling() const {
  return impl_->config.scaling;
}

void SdlBackend::SetMouseConfined(bool confined) {
  impl_->config.confine_mouse = confined;
  impl_->ApplyMouseGrab();
}

void SdlBackend::SetTitle(const std::string& utf8) {
  impl_->config.title = utf8;
  SDL_SetWindowTitle(impl_->window.get(), utf8.c_str());
}

void SdlBackend::Minimize() {
  SDL_MinimizeWindow(impl_->window.get());
}

ImagePtr SdlBackend::CaptureScreen() {
  Impl& d = *impl_;
  if (!d.have_frame) return nullptr;
  if (d.screen_surface) return ToImage(d.screen_surface.get());
  SDL_Texture* screen = d.drawer->screen();
  if (!screen) return nullptr;
  const int w = d.config.screen_width;
  const int h = d.config.screen_height;
  std::vector<uint32_t> pixels(static_cast<size_t>(w) * static_cast<size_t>(h));
  SDL_SetRenderTarget(d.renderer.get(), screen);
  const int read = SDL_RenderReadPixels(d.renderer.get(), nullptr, SDL_PIXELFORMAT_ARGB8888,
                                        pixels.data(), w * 4);
  SDL_SetRenderTarget(d.renderer.get(), nullptr);
  if (read != 0) return nullptr;
  for (uint32_t& p : pixels)
    p |= 0xFF000000u;  // the screen is opaque
  return std::make_shared<Image>(w, h, std::move(pixels));
}

ImagePtr SdlBackend::CaptureWindow() {
  if (!impl_->screen_surface) return nullptr;
  return ToImage(SDL_GetWindowSurface(impl_->window.get()));
}

const std::string& SdlBackend::renderer_name() const {
  return impl_->renderer_name;
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

}  // namespace qv::platform
