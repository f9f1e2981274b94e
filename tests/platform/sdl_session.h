#pragma once
// A player window under SDL's dummy video driver, for smoke tests of whatever draws into
// it: the backend, its event loop and a painter made of a function. Tests feed it SDL
// events as the desktop would and let the loop run.

#include <SDL.h>

#include <functional>
#include <vector>

#include "platform/event_loop.h"
#include "platform/renderer.h"
#include "platform/sdl/sdl_backend.h"

namespace qv::testing {

class SdlSession : public platform::Painter, public platform::InputSink {
 public:
  explicit SdlSession(platform::SdlConfig config = {}) : backend(std::move(config)), loop(backend) {
    loop.SetPainter(this);
    loop.SetInputSink(this);
    // As the player does with its own commands: Alt+Enter switches fullscreen.
    loop.SetCommandHandler([this](platform::PlayerCommand command) {
      commands.push_back(command);
      if (command == platform::PlayerCommand::kToggleFullscreen) {
        backend.SetFullscreen(!backend.fullscreen());
      }
    });
  }

  // What each frame draws.
  std::function<void(platform::Renderer&)> paint = [](platform::Renderer&) {};

  // Draws one frame through the event loop, as a change on screen would.
  void Frame() {
    loop.RequestRedraw();
    loop.DoEvents();
  }

  // Queues an SDL event addressed to the player's window, then lets the loop take it.
  void Feed(SDL_Event event) {
    SDL_PushEvent(&event);
    loop.DoEvents();
  }

  SDL_Event KeyDown(SDL_Keycode key, uint16_t mod = KMOD_NONE) const {
    SDL_Event event{};
    event.type = SDL_KEYDOWN;
    event.key.windowID = backend.window_id();
    event.key.state = SDL_PRESSED;
    event.key.keysym.sym = key;
    event.key.keysym.mod = mod;
    return event;
  }
  SDL_Event MouseMotion(int x, int y) const {
    SDL_Event event{};
    event.type = SDL_MOUSEMOTION;
    event.motion.windowID = backend.window_id();
    event.motion.x = x;
    event.motion.y = y;
    return event;
  }
  SDL_Event MouseButton(bool down, uint8_t button, int x, int y) const {
    SDL_Event event{};
    event.type = down ? SDL_MOUSEBUTTONDOWN : SDL_MOUSEBUTTONUP;
    event.button.windowID = backend.window_id();
    event.button.button = button;
    event.button.state = down ? SDL_PRESSED : SDL_RELEASED;
    event.button.x = x;
    event.button.y = y;
    return event;
  }
  SDL_Event WindowEvent(SDL_WindowEventID id) const {
    SDL_Event event{};
    event.type = SDL_WINDOWEVENT;
    event.window.windowID = backend.window_id();
    event.window.event = static_cast<uint8_t>(id);
    return event;
  }

  void Paint(platform::Renderer& renderer) override { paint(renderer); }
  void HandleInput(const platform::InputEvent& event) override { input.push_back(event); }

  platform::SdlBackend backend;
  platform::EventLoop loop;
  std::vector<platform::InputEvent> input;  // what reached the player
  std::vector<platform::PlayerCommand> commands;
};

}  // namespace qv::testing
