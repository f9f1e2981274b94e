#pragma once
// SDL's keyboard, text and mouse events as the player's input events. Window, quit and
// renderer events are the backend's own business and are not translated here.

#include <SDL.h>

#include "platform/input.h"

namespace qv::platform {

// The player's key for an SDL key; kChar for keys that type a character, kNone for keys
// the player ignores (modifiers, media keys, ...).
Key KeyFromSdl(SDL_Keycode key);

// The player command on a key-down event (Alt+Enter, Alt+S, Ctrl+Plus, ...), or kNone.
PlayerCommand CommandFromSdl(const SDL_KeyboardEvent& key);

// Fills `out` for key-down, text, mouse-move and mouse-button events and returns true;
// returns false for every other event. Mouse positions are taken as SDL delivers them:
// with a logical size set on the renderer, already in the virtual screen's pixels.
bool TranslateInput(const SDL_Event& event, InputEvent& out);

}  // namespace qv::platform
