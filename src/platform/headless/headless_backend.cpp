#include "platform/headless/headless_backend.h"

#include <algorithm>

namespace qv::platform {

namespace {

std::vector<BoxAnswer> ButtonsOf(BoxButtons buttons) {
  switch (buttons) {
    case BoxButtons::kYesNo:
      return {BoxAnswer::kYes, BoxAnswer::kNo};
    case BoxButtons::kOkCancel:
      return {BoxAnswer::kOk, BoxAnswer::kCancel};
    case BoxButtons::kOk:
      break;
  }
  return {BoxAnswer::kOk};
}

}  // namespace

BoxAnswer HeadlessMessageBoxes::Show(std::string_view title, std::string_view text,
                                     BoxButtons buttons, BoxIcon icon) {
  const std::vector<BoxAnswer> offered = ButtonsOf(buttons);
  BoxAnswer answer = offered.front();
  if (!queued_.empty()) {
    const BoxAnswer wanted = queued_.front();
    queued_.pop_front();
    if (std::find(offered.begin(), offered.end(), wanted) != offered.end()) answer = wanted;
  }
  shown_.push_back({std::string(title), std::string(text), buttons, icon, answer});
  if (listener_) {
    const Shown shown = shown_.back();  // the listener may show further boxes
    listener_(shown);
  }
  return answer;
}

HeadlessBackend::HeadlessBackend(HeadlessConfig config)
    : config_(std::move(config)),
      fonts_(config_.font_files),
      renderer_(config_.screen_width, config_.screen_height, fonts_) {}

bool HeadlessBackend::PollInput(InputEvent& event) {
  if (input_.empty()) return false;
  event = std::move(input_.front());
  input_.pop_front();
  return true;
}

void HeadlessBackend::WaitForInput(std::optional<int64_t> deadline_ms) {
  if (!input_.empty() || !deadline_ms) return;
  clock_.AdvanceTo(*deadline_ms);
}

void HeadlessBackend::Present(const std::vector<Rect>& damage,
                              const std::function<void(Renderer&)>& paint) {
  ++frames_presented_;
  last_damage_ = damage;
  if (!config_.record_frames) return;
  renderer_.BeginFrame();
  paint(renderer_);
  renderer_.EndFrame();
}

void HeadlessBackend::SetCursor(const ImagePtr& image, int hot_x, int hot_y) {
  cursor_ = image;
  cursor_hot_x_ = image ? hot_x : 0;
  cursor_hot_y_ = image ? hot_y : 0;
}

}  // namespace qv::platform
