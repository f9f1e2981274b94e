#include "platform/sdl/sdl_desktop.h"

#include <iostream>
#include <vector>

namespace qv::platform {

std::string NormaliseLineBreaks(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\r') {
      out += '\n';
      if (i + 1 < text.size() && text[i + 1] == '\n') ++i;
    } else if (text[i] != '\0') {
      out += text[i];
    }
  }
  return out;
}

namespace {

uint32_t IconFlags(BoxIcon icon) {
  switch (icon) {
    case BoxIcon::kCritical:
      return SDL_MESSAGEBOX_ERROR;
    case BoxIcon::kExclamation:
      return SDL_MESSAGEBOX_WARNING;
    case BoxIcon::kQuestion:
    case BoxIcon::kInformation:
    case BoxIcon::kNone:
      break;
  }
  return SDL_MESSAGEBOX_INFORMATION;
}

struct Button {
  BoxAnswer answer;
  const char* caption;
};

std::vector<Button> ButtonsOf(BoxButtons buttons) {
  switch (buttons) {
    case BoxButtons::kYesNo:
      return {{BoxAnswer::kYes, "Yes"}, {BoxAnswer::kNo, "No"}};
    case BoxButtons::kOkCancel:
      return {{BoxAnswer::kOk, "OK"}, {BoxAnswer::kCancel, "Cancel"}};
    case BoxButtons::kOk:
      break;
  }
  return {{BoxAnswer::kOk, "OK"}};
}

}  // namespace

BoxAnswer SdlMessageBoxes::Show(std::string_view title, std::string_view text, BoxButtons buttons,
                                BoxIcon icon) {
  const std::vector<Button> offered = ButtonsOf(buttons);
  std::vector<SDL_MessageBoxButtonData> data;
  for (size_t i = 0; i < offered.size(); ++i) {
    uint32_t flags = 0;
    if (i == 0) flags |= SDL_MESSAGEBOX_BUTTON_RETURNKEY_DEFAULT;
    // Escape means the careful answer: Cancel or No, or OK where that is the only one.
    if (i + 1 == offered.size()) flags |= SDL_MESSAGEBOX_BUTTON_ESCAPEKEY_DEFAULT;
    data.push_back({flags, static_cast<int>(i), offered[i].caption});
  }
  const std::string title_text = NormaliseLineBreaks(title);
  const std::string message = NormaliseLineBreaks(text);
  const SDL_MessageBoxData box{IconFlags(icon) | SDL_MESSAGEBOX_BUTTONS_LEFT_TO_RIGHT,
                               parent_,
                               title_text.c_str(),
                               message.c_str(),
                               static_cast<int>(data.size()),
                               data.data(),
                               nullptr};
  int pressed = -1;
  if (SDL_ShowMessageBox(&box, &pressed) != 0) {
    std::cerr << "[MessageBox] " << title_text << ": " << message
              << "\n(no message box could be shown: " << SDL_GetError()
              << "; answered with its first button)\n";
    return offered.front().answer;
  }
  // Closing the box without a button counts as its careful answer, like Escape.
  if (pressed < 0 || pressed >= static_cast<int>(offered.size())) return offered.back().answer;
  return offered[static_cast<size_t>(pressed)].answer;
}

void SdlClipboard::Clear() {
  SDL_SetClipboardText("");
}

void SdlClipboard::SetText(const std::string& utf8) {
  SDL_SetClipboardText(utf8.c_str());
}

std::string SdlClipboard::GetText() {
  char* text = SDL_GetClipboardText();
  if (!text) return {};
  std::string result(text);
  SDL_free(text);
  return result;
}

}  // namespace qv::platform
