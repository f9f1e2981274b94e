#pragma once
// The window's renderer: draws the virtual screen with an SDL_Renderer, either into a
// texture of the screen's logical size (a renderer on the window) or straight into the
// renderer's own target (SDL's software renderer on the screen's surface). The screen
// keeps its pixels from frame to frame: a frame draws only what changed. Images become
// textures once and are kept by image id (a movie's frames fill one texture in turn) (in software,
// at the size they are drawn, so that a clipped part of a scaled picture has exactly the pixels of
// the whole); texts are rasterised once per (text, font, colour). Both caches forget what has not
// been drawn for a while, and the least recently drawn first when they grow past their budget, so
// textures of pictures that no longer exist do not pile up.

#include <SDL.h>

#include <cstdint>
#include <string>
#include <unordered_map>
#include <vector>

#include "platform/renderer.h"
#include "platform/sdl/ttf_fonts.h"
#include "platform/sdl_handles.h"

namespace qv::platform {

class SdlRenderer : public Renderer {
 public:
  struct Budget {
    size_t bytes = size_t{128} << 20;  // textures kept beyond the current frame
    int64_t idle_frames = 600;         // a texture not drawn for this many frames goes
  };

  // `target_texture`: draw into a screen texture of the renderer (false: into the
  // renderer's own target, which must be width x height).
  SdlRenderer(SDL_Renderer* renderer, int width, int height, TtfFonts& fonts, bool smooth,
              Budget budget, bool target_texture = true);
  ~SdlRenderer() override = default;
  SdlRenderer(const SdlRenderer&) = delete;
  SdlRenderer& operator=(const SdlRenderer&) = delete;

  // Draws a frame into the screen: BeginFrame makes it the target; it returns false when
  // the screen's pixels are new (made again or lost), and the frame must then draw
  // everything. EndFrame restores the window as the target and trims the caches.
  bool BeginFrame();
  void EndFrame();
  // The virtual screen texture as last drawn (null when it could not be made, or when
  // drawing goes to the renderer's own target).
  SDL_Texture* screen() const { return screen_.get(); }
  // Filtering of pictures drawn larger or smaller than they are.
  void SetSmooth(bool smooth);

  // After the graphics device was reset every texture is gone: forget them all.
  void DropTextures();

  size_t cached_textures() const { return images_.size() + texts_.size(); }
  size_t cached_bytes() const { return bytes_; }

  void FillRect(const Rect& rect, Rgb color) override;
  void DrawImage(const Image& image, const Rect& dst) override;
  void DrawText(std::string_view utf8, int x, int y, const FontChoice& font, Rgb color) override;
  void PushClip(const Rect& rect) override;
  void PopClip() override;
  Rect ClipRect() const override;

 private:
  struct Cached {
    TexturePtr texture;
    size_t bytes = 0;
    int64_t last_frame = 0;
    int width = 0;
    int height = 0;
    uint64_t image_id = 0;  // the image it holds (the latest frame of a stream)
  };

  bool EnsureScreen();
  void ApplyClip();
  bool ClippedOut(const Rect& rect) const;
  Cached MakeImageTexture(const Image& image, int width, int height);
  Cached MakeTextTexture(const std::string& text, const FontChoice& font, Rgb color);
  void Draw(Cached& cached, const SDL_Rect& dst);
  void TrimCaches();
  void Forget(Cached& cached);

  SDL_Renderer* renderer_;
  int width_;
  int height_;
  TtfFonts& fonts_;
  bool smooth_;
  Budget budget_;
  bool target_texture_;
  TexturePtr screen_;
  std::vector<Rect> clips_;
  int64_t frame_ = 0;
  size_t bytes_ = 0;
  std::unordered_map<uint64_t, Cached> images_;    // by Image::id or stream
  std::unordered_map<std::string, Cached> texts_;  // by font, colour and text
};

}  // namespace qv::platform
