#pragma once
// The desktop services of the window backend: real message boxes and the system clipboard.

#include <SDL.h>

#include <string>

#include "core/message_box.h"
#include "platform/backend.h"

namespace qv::platform {

// A box over the player's window, with the buttons laid out left to right and the first
// one the default (Return). Escape and the box's close button give Cancel or No where the
// box has one, OK otherwise. Where the system cannot show a box at all, the box is written
// to standard error and answered with its first button.
class SdlMessageBoxes : public MessageBoxService {
 public:
  explicit SdlMessageBoxes(SDL_Window* parent) : parent_(parent) {}
  BoxAnswer Show(std::string_view title, std::string_view text, BoxButtons buttons,
                 BoxIcon icon) override;

 private:
  SDL_Window* parent_;
};

// "\r\n" and lone "\r" become "\n", the line break SDL's boxes know.
std::string NormaliseLineBreaks(std::string_view text);

class SdlClipboard : public Clipboard {
 public:
  void Clear() override;
  void SetText(const std::string& utf8) override;
  std::string GetText() override;
};

}  // namespace qv::platform
