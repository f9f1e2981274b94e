#include "app/player.h"

#include <utility>

#include "app/run_log.h"
#include "platform/headless/headless_backend.h"
#include "platform/renderer.h"

namespace qv::app {

BoxAnswer FirstButton(BoxButtons buttons) {
  return buttons == BoxButtons::kYesNo ? BoxAnswer::kYes : BoxAnswer::kOk;
}

bool HasButton(BoxButtons buttons, BoxAnswer answer) {
  switch (buttons) {
    case BoxButtons::kOk:
      return answer == BoxAnswer::kOk;
    case BoxButtons::kYesNo:
      return answer == BoxAnswer::kYes || answer == BoxAnswer::kNo;
    case BoxButtons::kOkCancel:
      return answer == BoxAnswer::kOk || answer == BoxAnswer::kCancel;
  }
  return false;
}

Player::Player(std::unique_ptr<platform::Backend> backend, const std::filesystem::path& game_dir,
               PlayerSettings settings)
    : settings_(settings),
      backend_(std::move(backend)),
      loop_(*backend_),
      background_(*backend_),
      boxes_(*this),
      folder_(game_dir),
      scene_data_(folder_, boxes_) {
  auto* headless = dynamic_cast<platform::HeadlessBackend*>(backend_.get());
  if (headless != nullptr && backend_->headless()) {
    headless_boxes_ = &headless->headless_boxes();
    settings_.scripted = true;
  }
  loop_.SetPainter(&background_);
}

Player::~Player() {
  scene_data_.CloseBases();
}

void Player::Start() {
  scene_data_.OpenGenBase();
  scene_data_.OpenLocBase();
  scene_data_.OpenInvBase();
  scene_data_.OpenSceneBase();
  scene_data_.OpenConvBase();
}

void Player::Run() {
  loop_.WaitForUser([this] { return loop_.quit_requested(); }, "the player to be closed");
}

void Player::QueueBoxAnswer(BoxAnswer answer) {
  if (headless_boxes_ != nullptr) {
    headless_boxes_->QueueAnswer(answer);
  } else {
    boxes_.QueueAnswer(answer);
  }
}

void Player::LogLine(std::string_view text) {
  log_lines_.emplace_back(text);
  if (run_log_ != nullptr) run_log_->LogLine(text);
}

BoxAnswer Player::Boxes::Show(std::string_view title, std::string_view text, BoxButtons buttons,
                              BoxIcon icon) {
  // Logged before it shows: a real box blocks until it is answered.
  if (player_.run_log_ != nullptr) player_.run_log_->MessageBox(title, text);
  BoxAnswer answer;
  if (player_.settings_.scripted && player_.headless_boxes_ == nullptr) {
    // A scripted run with a window: the script answers instead of a person.
    answer = FirstButton(buttons);
    if (!answers_.empty()) {
      if (HasButton(buttons, answers_.front())) answer = answers_.front();
      answers_.pop_front();
    }
  } else {
    answer = player_.backend_->message_boxes().Show(title, text, buttons, icon);
  }
  player_.messages_.push_back({std::string(title), std::string(text), buttons, answer});
  return answer;
}

void Player::Background::Paint(platform::Renderer& renderer) {
  renderer.FillRect({0, 0, backend_.screen_width(), backend_.screen_height()}, platform::Rgb{});
}

}  // namespace qv::app
