#include "platform/sdl/gl_probe.h"

#include <SDL.h>

#if defined(__unix__) || defined(__APPLE__)
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>
#define QV_PROBE_IN_CHILD 1
#endif

#include <cerrno>
#include <chrono>
#include <cstring>

#include "platform/sdl_handles.h"

namespace qv::platform {

namespace {

constexpr unsigned kGlRenderer = 0x1F01;  // GL_RENDERER

// Makes a hidden window with an OpenGL context and reads its renderer string. SDL's video
// must be started.
std::optional<std::string> ReadRendererString() {
  WindowPtr window(SDL_CreateWindow("", SDL_WINDOWPOS_UNDEFINED, SDL_WINDOWPOS_UNDEFINED, 1, 1,
                                    SDL_WINDOW_OPENGL | SDL_WINDOW_HIDDEN));
  if (!window) return std::nullopt;
  SDL_GLContext context = SDL_GL_CreateContext(window.get());
  if (!context) return std::nullopt;
  std::optional<std::string> name;
  using GetString = const unsigned char* (*)(unsigned);
  auto get_string = reinterpret_cast<GetString>(SDL_GL_GetProcAddress("glGetString"));
  if (get_string) {
    if (const unsigned char* text = get_string(kGlRenderer)) {
      name = reinterpret_cast<const char*>(text);
    }
  }
  SDL_GL_DeleteContext(context);
  return name;
}

std::optional<std::string> ProbeHere() {
  if (SDL_InitSubSystem(SDL_INIT_VIDEO) != 0) return std::nullopt;
  std::optional<std::string> name = ReadRendererString();
  SDL_QuitSubSystem(SDL_INIT_VIDEO);
  return name;
}

#ifdef QV_PROBE_IN_CHILD
std::optional<std::string> ProbeInChild(int timeout_ms) {
  int fds[2];
  if (pipe(fds) != 0) return ProbeHere();
  const pid_t child = fork();
  if (child < 0) {
    close(fds[0]);
    close(fds[1]);
    return ProbeHere();
  }
  if (child == 0) {
    // The child: nothing of the player's state is touched; it ends without cleaning up.
    close(fds[0]);
    if (SDL_Init(SDL_INIT_VIDEO) == 0) {
      if (std::optional<std::string> name = ReadRendererString()) {
        const ssize_t written = write(fds[1], name->data(), name->size());
        (void)written;
      }
    }
    _exit(0);
  }
  close(fds[1]);
  std::string text;
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeout_ms);
  bool finished = false;
  while (!finished) {
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
                          deadline - std::chrono::steady_clock::now())
                          .count();
    if (left <= 0) break;
    pollfd waiting{fds[0], POLLIN, 0};
    const int ready = poll(&waiting, 1, static_cast<int>(left));
    if (ready < 0 && errno == EINTR) continue;
    if (ready <= 0) break;
    char buffer[256];
    const ssize_t got = read(fds[0], buffer, sizeof buffer);
    if (got < 0 && errno == EINTR) continue;
    if (got <= 0) {
      finished = true;  // the child is done
    } else {
      text.append(buffer, static_cast<size_t>(got));
    }
  }
  close(fds[0]);
  if (!finished) kill(child, SIGKILL);  // a driver that hangs: no OpenGL to speak of
  int status = 0;
  while (waitpid(child, &status, 0) < 0 && errno == EINTR) {
  }
  if (!finished || text.empty()) return std::nullopt;
  return text;
}
#endif

}  // namespace

std::optional<std::string> ProbeGlRenderer(int timeout_ms) {
#ifdef QV_PROBE_IN_CHILD
  // A child may only start its own video when this process has none: it would share the
  // parent's display connection otherwise.
  if (SDL_WasInit(SDL_INIT_VIDEO) == 0) return ProbeInChild(timeout_ms);
#endif
  (void)timeout_ms;
  return ProbeHere();
}

}  // namespace qv::platform
