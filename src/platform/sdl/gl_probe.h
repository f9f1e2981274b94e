#pragma once
// Which OpenGL this machine would draw with: the renderer string of a throw-away OpenGL
// context. Where it can, the context is made in a child process, so that the player
// itself never loads the OpenGL libraries when it is not going to use them (a software
// rasteriser such as llvmpipe brings tens of megabytes).

#include <optional>
#include <string>

namespace qv::platform {

// The OpenGL renderer string ("llvmpipe (LLVM 15.0.6, 256 bits)", "Mesa Intel(R) UHD
// Graphics 620 (KBL GT2)", ...), or nothing when no OpenGL context can be made (within
// `timeout_ms`).
std::optional<std::string> ProbeGlRenderer(int timeout_ms = 5000);

}  // namespace qv::platform
