#include "platform/sdl/sdl_input.h"

#include <string>

namespace qv::platform {

namespace {

// The UTF-8 text of a Unicode code point (SDL's keycodes of character keys are theirs).
std::string Utf8(uint32_t code) {
  std::string s;
  if (code < 0x80) {
    s += static_cast<char>(code);
  } else if (code < 0x800) {
    s += static_cast<char>(0xC0 | (code >> 6));
    s += static_cast<char>(0x80 | (code & 0x3F));
  } else if (code < 0x10000) {
    s += static_cast<char>(0xE0 | (code >> 12));
    s += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
    s += static_cast<char>(0x80 | (code & 0x3F));
  } else {
    s += static_cast<char>(0xF0 | (code >> 18));
    s += static_cast<char>(0x80 | ((code >> 12) & 0x3F));
    s += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
    s += static_cast<char>(0x80 | (code & 0x3F));
  }
  return s;
}

MouseButton ButtonFromSdl(uint8_t button) {
  switch (button) {
    case SDL_BUTTON_LEFT:
      return MouseButton::kLeft;
    case SDL_BUTTON_RIGHT:
      return MouseButton::kRight;
    case SDL_BUTTON_MIDDLE:
      return MouseButton::kMiddle;
    default:
      return MouseButton::kNone;
  }
}

// The buttons held during a move, as the bits of MouseButton (left 1, right 2, middle 4),
// which is how a form's mouse-move handler sees them.
MouseButton HeldButtons(uint32_t state) {
  int held = 0;
  if (state & SDL_BUTTON_LMASK) held |= static_cast<int>(MouseButton::kLeft);
  if (state & SDL_BUTTON_RMASK) held |= static_cast<int>(MouseButton::kRight);
  if (state & SDL_BUTTON_MMASK) held |= static_cast<int>(MouseButton::kMiddle);
  return static_cast<MouseButton>(held);
}

void SetModifiers(uint16_t mod, InputEvent& out) {
  out.alt = (mod & KMOD_ALT) != 0;
  out.shift = (mod & KMOD_SHIFT) != 0;
  out.ctrl = (mod & KMOD_CTRL) != 0;
}

}  // namespace

Key KeyFromSdl(SDL_Keycode key) {
  switch (key) {
    case SDLK_ESCAPE:
      return Key::kEscape;
    case SDLK_RETURN:
    case SDLK_KP_ENTER:
      return Key::kReturn;
    case SDLK_TAB:
      return Key::kTab;
    case SDLK_BACKSPACE:
      return Key::kBackspace;
    case SDLK_DELETE:
      return Key::kDelete;
    case SDLK_LEFT:
      return Key::kLeft;
    case SDLK_RIGHT:
      return Key::kRight;
    case SDLK_UP:
      return Key::kUp;
    case SDLK_DOWN:
      return Key::kDown;
    case SDLK_HOME:
      return Key::kHome;
    case SDLK_END:
      return Key::kEnd;
    case SDLK_F1:
      return Key::kF1;
    case SDLK_F2:
      return Key::kF2;
    case SDLK_F3:
      return Key::kF3;
    case SDLK_F4:
      return Key::kF4;
    case SDLK_F5:
      return Key::kF5;
    case SDLK_F6:
      return Key::kF6;
    case SDLK_F7:
      return Key::kF7;
    case SDLK_F8:
      return Key::kF8;
    case SDLK_F9:
      return Key::kF9;
    case SDLK_F10:
      return Key::kF10;
    case SDLK_F11:
      return Key::kF11;
    case SDLK_F12:
      return Key::kF12;
    default:
      break;
  }
  // Keys that type a character have that character's code point as their keycode.
  const bool scancode_only = (key & SDLK_SCANCODE_MASK) != 0;
  if (!scancode_only && key >= 0x20 && key != 0x7F && key <= 0x10FFFF) return Key::kChar;
  return Key::kNone;
}

PlayerCommand CommandFromSdl(const SDL_KeyboardEvent& key) {
  const uint16_t mod = key.keysym.mod;
  const bool alt = (mod & KMOD_ALT) != 0;
  const bool ctrl = (mod & KMOD_CTRL) != 0;
  if (alt && !ctrl) {
    if (key.keysym.sym == SDLK_RETURN || key.keysym.sym == SDLK_KP_ENTER) {
      return PlayerCommand::kToggleFullscreen;
    }
    if (key.keysym.sym == SDLK_s) return PlayerCommand::kScreenshot;
  }
  if (ctrl && !alt) {
    switch (key.keysym.sym) {
      case SDLK_PLUS:
      case SDLK_EQUALS:  // where Plus is Shift+Equals
      case SDLK_KP_PLUS:
        return PlayerCommand::kVolumeUp;
      case SDLK_MINUS:
      case SDLK_KP_MINUS:
        return PlayerCommand::kVolumeDown;
      case SDLK_m:
        return PlayerCommand::kToggleMute;
      case SDLK_f:
        return PlayerCommand::kToggleScaling;
      default:
        break;
    }
  }
  return PlayerCommand::kNone;
}

bool TranslateInput(const SDL_Event& event, InputEvent& out) {
  out = InputEvent{};
  switch (event.type) {
    case SDL_KEYDOWN: {
      const SDL_Keycode code = event.key.keysym.sym;
      out.key = KeyFromSdl(code);
      if (out.key == Key::kNone) return false;
      out.kind = InputEvent::Kind::kKeyDown;
      if (out.key == Key::kChar) out.text = Utf8(static_cast<uint32_t>(code));
      SetModifiers(event.key.keysym.mod, out);
      return true;
    }
    case SDL_TEXTINPUT:
      if (event.text.text[0] == '\0') return false;
      out.kind = InputEvent::Kind::kKeyPress;
      out.text = event.text.text;
      SetModifiers(static_cast<uint16_t>(SDL_GetModState()), out);
      return true;
    case SDL_MOUSEMOTION:
      out.kind = InputEvent::Kind::kMouseMove;
      out.x = event.motion.x;
      out.y = event.motion.y;
      out.button = HeldButtons(event.motion.state);
      SetModifiers(static_cast<uint16_t>(SDL_GetModState()), out);
      return true;
    case SDL_MOUSEBUTTONDOWN:
    case SDL_MOUSEBUTTONUP:
      out.button = ButtonFromSdl(event.button.button);
      if (out.button == MouseButton::kNone) return false;
      out.kind = event.type == SDL_MOUSEBUTTONDOWN ? InputEvent::Kind::kMouseDown
                                                   : InputEvent::Kind::kMouseUp;
      out.x = event.button.x;
      out.y = event.button.y;
      SetModifiers(static_cast<uint16_t>(SDL_GetModState()), out);
      return true;
    default:
      return false;
  }
}

}  // namespace qv::platform
