#pragma once
// The backend of tests and walkthrough scripts: no window and no audio, a virtual clock
// that moves only when the event loop waits, input injected by the script runner, message
// boxes answered as scripted, an in-memory clipboard, and a renderer that remembers the
// last frame. Text is measured with the real font, exactly as on screen.

#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/backend.h"
#include "platform/headless/recording_renderer.h"
#include "platform/sdl/ttf_fonts.h"

namespace qv::platform {

// Boxes shown in a headless run: recorded, and answered with the answer queued for them.
class HeadlessMessageBoxes : public MessageBoxService {
 public:
  struct Shown {
    std::string title, text;
    BoxButtons buttons;
    BoxIcon icon;
    BoxAnswer answer;
  };

  BoxAnswer Show(std::string_view title, std::string_view text, BoxButtons buttons,
                 BoxIcon icon) override;

  // The answer to the next box; without one, its first button. An answer that is not one
  // of that box's buttons is used up, and the box gets its first button.
  void QueueAnswer(BoxAnswer answer) { queued_.push_back(answer); }
  size_t queued_answers() const { return queued_.size(); }

  const std::vector<Shown>& shown() const { return shown_; }

  // Called for every box, after its answer is chosen.
  void SetListener(std::function<void(const Shown&)> listener) { listener_ = std::move(listener); }

 private:
  std::deque<BoxAnswer> queued_;
  std::vector<Shown> shown_;
  std::function<void(const Shown&)> listener_;
};

class MemoryClipboard : public Clipboard {
 public:
  void Clear() override { text_.clear(); }
  void SetText(const std::string& utf8) override { text_ = utf8; }
  std::string GetText() override { return text_; }

 private:
  std::string text_;
};

struct HeadlessConfig {
  int screen_width = 800;
  int screen_height = 600;
  // Record every frame's drawing (cheap); off, Present only counts frames.
  bool record_frames = true;
  TtfFonts::Files font_files = TtfFonts::DefaultFiles();
};

class HeadlessBackend : public Backend {
 public:
  explicit HeadlessBackend(HeadlessConfig config = {});

  bool headless() const override { return true; }
  const Clock& clock() const override { return clock_; }
  VirtualClock& virtual_clock() { return clock_; }

  // Queues input as if the user had made it; the event loop takes it at its next DoEvents.
  void InjectInput(const InputEvent& event) override { input_.push_back(event); }
  bool PollInput(InputEvent& event) override;
  // Does not sleep: with no input queued, moves the virtual clock to the deadline.
  void WaitForInput(std::optional<int64_t> deadline_ms) override;

  // Records the whole screen whatever the damage, so tests see everything a player
  // would; the damage of the last frame is kept for tests of what changed.
  void Present(const std::vector<Rect>& damage,
               const std::function<void(Renderer&)>& paint) override;
  const RecordingRenderer& renderer() const { return renderer_; }
  const std::vector<Rect>& last_damage() const { return last_damage_; }
  int64_t frames_presented() const { return frames_presented_; }

  MessageBoxService& message_boxes() override { return boxes_; }
  HeadlessMessageBoxes& headless_boxes() { return boxes_; }
  Clipboard& clipboard() override { return clipboard_; }
  Fonts& fonts() override { return fonts_; }

  int screen_width() const override { return config_.screen_width; }
  int screen_height() const override { return config_.screen_height; }

  void SetCursor(const ImagePtr& image, int hot_x, int hot_y) override;
  // The cursor image showing (null: the default arrow) and its hot spot.
  const ImagePtr& cursor() const { return cursor_; }
  int cursor_hot_x() const { return cursor_hot_x_; }
  int cursor_hot_y() const { return cursor_hot_y_; }

  void SetFullscreen(bool fullscreen) override { fullscreen_ = fullscreen; }
  bool fullscreen() const override { return fullscreen_; }
  void SetScaling(Scaling scaling) override { scaling_ = scaling; }
  Scaling scaling() const override { return scaling_; }
  void SetMouseConfined(bool confined) override { mouse_confined_ = confined; }
  bool mouse_confined() const { return mouse_confined_; }
  void SetTitle(const std::string& utf8) override { title_ = utf8; }
  const std::string& title() const { return title_; }
  void Minimize() override { ++minimized_; }
  // How often the window was minimized.
  int minimized() const { return minimized_; }
  // No pixels are drawn headless.
  ImagePtr CaptureScreen() override { return nullptr; }

 private:
  HeadlessConfig config_;
  int minimized_ = 0;
  VirtualClock clock_;
  std::deque<InputEvent> input_;
  TtfFonts fonts_;
  RecordingRenderer renderer_;
  int64_t frames_presented_ = 0;
  std::vector<Rect> last_damage_;
  HeadlessMessageBoxes boxes_;
  MemoryClipboard clipboard_;
  ImagePtr cursor_;
  int cursor_hot_x_ = 0;
  int cursor_hot_y_ = 0;
  bool fullscreen_ = false;
  Scaling scaling_ = Scaling::kSmooth;
  bool mouse_confined_ = false;
  std::string title_;
};

}  // namespace qv::platform
