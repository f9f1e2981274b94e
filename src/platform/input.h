#pragma once
// Input as the player sees it, whichever backend produced it. Positions are in the
// logical pixels of the virtual screen (800 x 600 unless chosen otherwise).

#include <cstdint>
#include <string>

namespace qv::platform {

enum class MouseButton { kNone = 0, kLeft = 1, kRight = 2, kMiddle = 4 };

// Key codes the game and the player care about; characters arrive as kChar with text.
enum class Key {
  kNone,
  kEscape,
  kReturn,
  kTab,
  kBackspace,
  kDelete,
  kLeft,
  kRight,
  kUp,
  kDown,
  kHome,
  kEnd,
  kF1,
  kF2,
  kF3,
  kF4,
  kF5,
  kF6,
  kF7,
  kF8,
  kF9,
  kF10,
  kF11,
  kF12,
  kChar
};

// The player's own commands, on keys the game never uses (Alt and Ctrl combinations);
// they reach the application, never the game's windows.
enum class PlayerCommand {
  kNone,
  kToggleFullscreen,  // Alt+Enter
  kScreenshot,        // Alt+S
  kVolumeUp,          // Ctrl+Plus
  kVolumeDown,        // Ctrl+Minus
  kToggleMute,        // Ctrl+M
  kToggleScaling,     // Ctrl+F: smooth or pixel-perfect
};

struct InputEvent {
  enum class Kind {
    kMouseMove,
    kMouseDown,
    kMouseUp,
    kKeyDown,   // key (and text for kChar keys)
    kKeyPress,  // a typed character: text holds it (UTF-8)
    kQuit,      // the window was closed
    kExposed,   // the window needs drawing again
    kCommand,   // a player command: `command`
  };
  Kind kind = Kind::kMouseMove;
  int x = 0;
  int y = 0;
  MouseButton button = MouseButton::kNone;
  Key key = Key::kNone;
  PlayerCommand command = PlayerCommand::kNone;
  bool alt = false;
  bool shift = false;
  bool ctrl = false;
  std::string text;
};

}  // namespace qv::platform
