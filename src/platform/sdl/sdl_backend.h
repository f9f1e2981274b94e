#pragma once
// The window backend: one resizable window showing the virtual screen, scaled with its
// aspect ratio kept (smooth, or in pixel-perfect integer steps) or stretched, fullscreen
// at the desktop's own mode, real message boxes, the system clipboard and custom cursors.
// It sleeps in SDL until the next event or deadline, and draws only when the event loop
// presents a frame, and then only the parts of the screen that changed.
//
// Two ways to draw, chosen by measurement unless named: a renderer on the window (the
// graphics device composes the frame) where there is a GPU, or SDL's software renderer
// drawing into the screen's own surface, copied into the window's surface for the
// changed parts only, where the only OpenGL is a software rasteriser (llvmpipe, softpipe,
// swrast) or there is no display to accelerate. SDL stays out of this header.

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <utility>

#include "platform/backend.h"
#include "platform/sdl/ttf_fonts.h"

namespace qv::platform {

// The name of the software way to draw, for SdlConfig::renderer.
inline constexpr const char* kSoftwareRenderer = "software";

struct SdlConfig {
  int screen_width = 800;  // the virtual screen, in logical pixels
  int screen_height = 600;
  bool fullscreen = false;
  Scaling scaling = Scaling::kSmooth;
  bool confine_mouse = false;  // keep the pointer inside the window in fullscreen
  std::string title = std::string(kAppTitle);
  // "software", an SDL render driver ("opengl", "opengles2", "direct3d", "metal", ...),
  // or "" / "auto": chosen by measurement.
  std::string renderer;
  // Progress lines (which renderer was chosen and why); none when empty.
  std::function<void(const std::string&)> log;
  TtfFonts::Files font_files = TtfFonts::DefaultFiles();
};

class SdlBackend : public Backend {
 public:
  // Opens the window. Throws std::runtime_error with SDL's reason when it cannot, or when
  // the renderer named is not one of this system's.
  explicit SdlBackend(SdlConfig config = {});
  ~SdlBackend() override;
  SdlBackend(const SdlBackend&) = delete;
  SdlBackend& operator=(const SdlBackend&) = delete;

  bool headless() const override { return false; }
  const Clock& clock() const override;
  bool PollInput(InputEvent& event) override;
  void InjectInput(const InputEvent& event) override;
  void WaitForInput(std::optional<int64_t> deadline_ms) override;
  void Present(const std::vector<Rect>& damage,
               const std::function<void(Renderer&)>& paint) override;
  MessageBoxService& message_boxes() override;
  Clipboard& clipboard() override;
  Fonts& fonts() override;
  int screen_width() const override;
  int screen_height() const override;
  void SetCursor(const ImagePtr& image, int hot_x, int hot_y) override;

  void SetFullscreen(bool fullscreen) override;
  bool fullscreen() const override;
  void SetScaling(Scaling scaling) override;
  Scaling scaling() const override;
  void SetMouseConfined(bool confined) override;
  void SetTitle(const std::string& utf8) override;
  void Minimize() override;
  ImagePtr CaptureScreen() override;

  // The way of drawing in use: "software" or the SDL render driver's name.
  const std::string& renderer_name() const;
  // The size of the monitor's own mode (the one the window is on), in pixels.
  std::pair<int, int> DesktopSize() const;

  // The window's size in screen coordinates (for tests and the options dialog).
  void SetWindowSize(int width, int height);
  int window_width() const;
  int window_height() const;
  // What the window shows now (software drawing only; null otherwise), for tests.
  ImagePtr CaptureWindow();

  // SDL's number for the window, for tests that feed it events.
  uint32_t window_id() const;

  int64_t frames_presented() const;

 private:
  struct Impl;
  std::unique_ptr<Impl> impl_;
};

// Whether an OpenGL renderer string names a software rasteriser.
bool IsSoftwareRasteriser(const std::string& gl_renderer);

}  // namespace qv::platform
