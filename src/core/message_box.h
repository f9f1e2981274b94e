#pragma once
// Message boxes go through one service: a real box with a window, a printed and
// scripted box in headless runs. Procedures report their failures through it.

#include <string>
#include <string_view>

namespace qv {

// The title of the player's own boxes.
inline constexpr std::string_view kAppTitle = "Quorvex Player";

enum class BoxButtons { kOk, kYesNo, kOkCancel };
enum class BoxIcon { kNone, kCritical, kQuestion, kExclamation, kInformation };
enum class BoxAnswer { kOk, kCancel, kYes, kNo };

class MessageBoxService {
 public:
  virtual ~MessageBoxService() = default;
  // Shows a box and waits for the answer. Texts are UTF-8; "\r" and "\n" break lines.
  virtual BoxAnswer Show(std::string_view title, std::string_view text, BoxButtons buttons,
                         BoxIcon icon) = 0;
};

// Prints each box to standard error and answers with its first button.
class PrintingMessageBoxes : public MessageBoxService {
 public:
  BoxAnswer Show(std::string_view title, std::string_view text, BoxButtons buttons,
                 BoxIcon icon) override;
};

}  // namespace qv
