#pragma once
// The window backend: one resizable window showing the virtual screen, scaled with its
// aspect ratio kept (pixel-perfect integer steps or smooth filtering), Alt+Enter for
// fullscreen at the desktop's own mode, real message boxes, the system clipboard and
// custom cursors. It sleeps in SDL until the next event or deadline, and draws only when
// the event loop presents a frame. SDL stays out of this header.

#include <cstdint>
#include <memory>
#include <string>

#include "platform/backend.h"
#include "platform/sdl/ttf_fonts.h"

namespace qv::platform {

struct SdlConfig {
  int screen_width = 800;  // the virtual screen, in logical pixels
  int screen_height = 600;
  bool fullscreen = false;
  bool integer_scaling = false;  // pixel-perfect steps; otherwise smooth filtering
  bool confine_mouse = false;    // keep the pointer inside the window
  std::string title = std::string(kAppTitle);
  TtfFonts::Files font_files = TtfFonts::DefaultFiles();
};

class SdlBackend : public Backend {
 public:
  // Opens the window. Throws std::runtime_error with SDL's reason when it cannot.
  explicit SdlBackend(SdlConfig config = {});
  ~SdlBackend() override;
  SdlBackend(const SdlBackend&) = delete;
  SdlBackend& operator=(const SdlBackend&) = delete;

  bool headless() const override { return false; }
  const Clock& clock() const override;
  bool PollInput(InputEvent& event) override;
  void InjectInput(const InputEvent& event) override;
  void WaitForInput(std::optional<int64_t> deadline_ms) override;
  void Present(const std::function<void(Renderer&)>& paint) override;
  MessageBoxService& message_boxes() override;
  Clipboard& clipboard() override;
  Fonts& fonts() override;
  int screen_width() const override;
  int screen_height() const override;
  void SetCursor(const ImagePtr& image, int hot_x, int hot_y) override;

  // Fullscreen at the desktop's mode, the virtual screen scaled into it (Alt+Enter
  // toggles it).
  void SetFullscreen(bool fullscreen);
  bool fullscreen() const;

  // The window's size in screen coordinates (for tests and the options dialog).
  void SetWindowSize(int width, int height);
  int window_width() const;
  int window_height() const;

  // SDL's number for the window, for tests that feed it events.
  uint32_t window_id() const;

  int64_t frames_presented() const;
  size_t cached_textures() const;

 private:
  struct Impl;
  std::unique_ptr<Impl> impl_;
};

}  // namespace qv::platform
