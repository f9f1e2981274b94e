#pragma once
// Owning handles for SDL objects: each kind has one alias, and the object is released
// exactly once when its handle goes, whatever path the code leaves by.

#include <SDL.h>

#include <memory>

namespace qv::platform {

// Calls the SDL function that releases an object of that kind.
template <auto Release>
struct SdlRelease {
  template <typename T>
  void operator()(T* object) const {
    if (object) Release(object);
  }
};

using WindowPtr = std::unique_ptr<SDL_Window, SdlRelease<SDL_DestroyWindow>>;
using RendererPtr = std::unique_ptr<SDL_Renderer, SdlRelease<SDL_DestroyRenderer>>;
using TexturePtr = std::unique_ptr<SDL_Texture, SdlRelease<SDL_DestroyTexture>>;
using SurfacePtr = std::unique_ptr<SDL_Surface, SdlRelease<SDL_FreeSurface>>;
using CursorPtr = std::unique_ptr<SDL_Cursor, SdlRelease<SDL_FreeCursor>>;
using RWopsPtr = std::unique_ptr<SDL_RWops, SdlRelease<SDL_RWclose>>;
using AudioStreamPtr = std::unique_ptr<SDL_AudioStream, SdlRelease<SDL_FreeAudioStream>>;

}  // namespace qv::platform
