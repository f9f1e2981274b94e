#include "platform/sdl/sdl_renderer.h"

#include <SDL_ttf.h>

#include <algorithm>
#include <tuple>

#include "platform/damage.h"

namespace qv::platform {

namespace {

SDL_Rect ToSdl(const Rect& rect) {
  return {rect.x, rect.y, rect.w, rect.h};
}

}  // namespace

SdlRenderer::SdlRenderer(SDL_Renderer* renderer, int width, int height, TtfFonts& fonts,
                         bool smooth, Budget budget, bool target_texture)
    : renderer_(renderer),
      width_(width),
      height_(height),
      fonts_(fonts),
      smooth_(smooth),
      budget_(budget),
      target_texture_(target_texture) {}

void SdlRenderer::SetSmooth(bool smooth) {
  if (smooth == smooth_) return;
  smooth_ = smooth;
  if (screen_) {
    SDL_SetTextureScaleMode(screen_.get(), smooth ? SDL_ScaleModeLinear : SDL_ScaleModeNearest);
  }
  for (auto& [id, cached] : images_) {
    if (cached.texture) {
      SDL_SetTextureScaleMode(cached.texture.get(),
                              smooth ? SDL_ScaleModeLinear : SDL_ScaleModeNearest);
    }
  }
}

void SdlRenderer::Forget(Cached& cached) {
  cached.texture.reset();
  bytes_ -= std::min(bytes_, cached.bytes);
  cached.bytes = 0;
}

void SdlRenderer::DropTextures() {
  // Their contents are gone with the device; they are made again when next drawn.
  for (auto& [id, cached] : images_)
    Forget(cached);
  for (auto& [key, cached] : texts_)
    Forget(cached);
  images_.clear();
  texts_.clear();
  screen_.reset();
}

bool SdlRenderer::EnsureScreen() {
  if (screen_) return true;
  screen_.reset(SDL_CreateTexture(renderer_, SDL_PIXELFORMAT_ARGB8888, SDL_TEXTUREACCESS_TARGET,
                                  width_, height_));
  if (!screen_) return false;
  SDL_SetTextureBlendMode(screen_.get(), SDL_BLENDMODE_NONE);  // the screen covers the window
  SDL_SetTextureScaleMode(screen_.get(), smooth_ ? SDL_ScaleModeLinear : SDL_ScaleModeNearest);
  return true;
}

bool SdlRenderer::BeginFrame() {
  ++frame_;
  clips_.clear();
  bool kept = true;
  if (target_texture_) {
    kept = screen_ != nullptr;
    // Without a screen texture (a renderer that cannot draw into textures) the frame is
    // drawn straight into the window, whose pixels do not last: everything is drawn.
    kept = EnsureScreen() && kept;
    SDL_SetRenderTarget(renderer_, screen_.get());
  }
  SDL_RenderSetClipRect(renderer_, nullptr);
  SDL_SetRenderDrawBlendMode(renderer_, SDL_BLENDMODE_NONE);
  if (!kept) {
    SDL_SetRenderDrawColor(renderer_, 0, 0, 0, 255);
    SDL_RenderClear(renderer_);
  }
  return kept;
}

void SdlRenderer::EndFrame() {
  clips_.clear();
  SDL_RenderSetClipRect(renderer_, nullptr);
  if (target_texture_) SDL_SetRenderTarget(renderer_, nullptr);
  TrimCaches();
}

Rect SdlRenderer::ClipRect() const {
  return clips_.empty() ? Rect{0, 0, width_, height_} : clips_.back();
}

void SdlRenderer::ApplyClip() {
  if (clips_.empty()) {
    SDL_RenderSetClipRect(renderer_, nullptr);
  } else {
    const SDL_Rect clip = ToSdl(clips_.back());
    SDL_RenderSetClipRect(renderer_, &clip);
  }
}

bool SdlRenderer::ClippedOut(const Rect& rect) const {
  return Empty(Intersect(rect, ClipRect()));
}

void SdlRenderer::PushClip(const Rect& rect) {
  clips_.push_back(Intersect(ClipRect(), rect));
  ApplyClip();
}

void SdlRenderer::PopClip() {
  // An unmatched pop leaves the whole screen drawable rather than failing the frame.
  if (!clips_.empty()) clips_.pop_back();
  ApplyClip();
}

void SdlRenderer::FillRect(const Rect& rect, Rgb color) {
  if (ClippedOut(rect)) return;
  const SDL_Rect dst = ToSdl(rect);
  SDL_SetRenderDrawBlendMode(renderer_, SDL_BLENDMODE_NONE);
  SDL_SetRenderDrawColor(renderer_, color.r, color.g, color.b, 255);
  SDL_RenderFillRect(renderer_, &dst);
}

SdlRenderer::Cached SdlRenderer::MakeImageTexture(const Image& image, int width, int height) {
  Cached cached;
  const size_t pixels = static_cast<size_t>(std::max(image.width(), 0)) *
                        static_cast<size_t>(std::max(image.height(), 0));
  if (pixels == 0 || image.pixels().size() != pixels) return cached;  // nothing sane to draw
  if (width <= 0 || height <= 0) return cached;
  TexturePtr texture(SDL_CreateTexture(renderer_, SDL_PIXELFORMAT_ARGB8888,
                                       SDL_TEXTUREACCESS_STATIC, width, height));
  if (!texture) {
    SDL_LogWarn(SDL_LOG_CATEGORY_RENDER, "Cannot make a %dx%d texture: %s", width, height,
                SDL_GetError());
    return cached;
  }
  // The picture's own pixels, read in place.
  SurfacePtr source(SDL_CreateRGBSurfaceWithFormatFrom(
      const_cast<uint32_t*>(image.pixels().data()), image.width(), image.height(), 32,
      image.width() * 4, SDL_PIXELFORMAT_ARGB8888));
  if (!source) return cached;
  if (width == image.width() && height == image.height()) {
    SDL_UpdateTexture(texture.get(), nullptr, source->pixels, source->pitch);
  } else {
    // Scaled once, here, to the size it is drawn at.
    SurfacePtr scaled(
        SDL_CreateRGBSurfaceWithFormat(0, width, height, 32, SDL_PIXELFORMAT_ARGB8888));
    if (!scaled) return cached;
    SDL_SetSurfaceBlendMode(source.get(), SDL_BLENDMODE_NONE);
    if (smooth_) {
      SDL_SoftStretchLinear(source.get(), nullptr, scaled.get(), nullptr);
    } else {
      SDL_BlitScaled(source.get(), nullptr, scaled.get(), nullptr);
    }
    SDL_UpdateTexture(texture.get(), nullptr, scaled->pixels, scaled->pitch);
  }
  // Most pictures are opaque: copying them is much cheaper than blending them.
  const bool opaque = std::all_of(image.pixels().begin(), image.pixels().end(),
                                  [](uint32_t argb) { return (argb >> 24) == 0xFF; });
  SDL_SetTextureBlendMode(texture.get(), opaque ? SDL_BLENDMODE_NONE : SDL_BLENDMODE_BLEND);
  SDL_SetTextureScaleMode(texture.get(), smooth_ ? SDL_ScaleModeLinear : SDL_ScaleModeNearest);
  cached.texture = std::move(texture);
  cached.width = width;
  cached.height = height;
  cached.bytes = static_cast<size_t>(width) * static_cast<size_t>(height) * 4;
  return cached;
}

SdlRenderer::Cached SdlRenderer::MakeTextTexture(const std::string& text, const FontChoice& font,
                                                 Rgb color) {
  Cached cached;
  SurfacePtr surface(TTF_RenderUTF8_Blended(fonts_.Font(font), text.c_str(),
                                            SDL_Color{color.r, color.g, color.b, 255}));
  if (!surface) return cached;  // nothing visible (an empty text)
  TexturePtr texture(SDL_CreateTextureFromSurface(renderer_, surface.get()));
  if (texture) {
    SDL_SetTextureBlendMode(texture.get(), SDL_BLENDMODE_BLEND);
    cached.texture = std::move(texture);
    cached.width = surface->w;
    cached.height = surface->h;
    cached.bytes = static_cast<size_t>(surface->w) * static_cast<size_t>(surface->h) * 4;
  }
  return cached;
}

void SdlRenderer::Draw(Cached& cached, const SDL_Rect& dst) {
  cached.last_frame = frame_;
  if (cached.texture) SDL_RenderCopy(renderer_, cached.texture.get(), nullptr, &dst);
}

void SdlRenderer::DrawImage(const Image& image, const Rect& dst) {
  if (ClippedOut(dst)) return;
  // On a renderer on the window, the texture is the picture and the graphics device
  // scales it; in software it is made at the size it is drawn.
  const bool own_size = target_texture_ || (dst.w == image.width() && dst.h == image.height());
  const int width = own_size ? image.width() : dst.w;
  const int height = own_size ? image.height() : dst.h;
  // The frames of a stream share one texture, filled again with each new frame.
  const uint64_t key = image.stream() != 0 ? image.stream() : image.id();
  auto it = images_.find(key);
  if (it != images_.end() && it->second.image_id != image.id()) {
    Cached& cached = it->second;
    if (cached.texture && own_size && cached.width == width && cached.height == height) {
      SDL_UpdateTexture(cached.texture.get(), nullptr, image.pixels().data(), image.width() * 4);
      cached.image_id = image.id();
    } else {
      Forget(cached);
      images_.erase(it);
      it = images_.end();
    }
  }
  if (it != images_.end() && it->second.texture &&
      (it->second.width != width || it->second.height != height)) {
    Forget(it->second);
    images_.erase(it);
    it = images_.end();
  }
  if (it == images_.end()) {
    // A picture that cannot become a texture is remembered as such, so it is not tried
    // again on every frame.
    it = images_.emplace(key, MakeImageTexture(image, width, height)).first;
    it->second.image_id = image.id();
    bytes_ += it->second.bytes;
  }
  Draw(it->second, ToSdl(dst));
}

void SdlRenderer::DrawText(std::string_view utf8, int x, int y, const FontChoice& font, Rgb color) {
  if (utf8.empty()) return;
  const std::string text(utf8.substr(0, utf8.find('\0')));
  std::string key = std::to_string(font.size_px) + (font.bold ? "b" : "r") +
                    std::to_string(color.ToHex()) + "\n" + text;
  auto it = texts_.find(key);
  if (it == texts_.end()) {
    it = texts_.emplace(std::move(key), MakeTextTexture(text, font, color)).first;
    bytes_ += it->second.bytes;
  }
  const SDL_Rect dst{x, y, it->second.width, it->second.height};
  if (ClippedOut({dst.x, dst.y, dst.w, dst.h})) return;
  Draw(it->second, dst);
}

void SdlRenderer::TrimCaches() {
  // Textures not drawn for a long time go in any case.
  auto drop_idle = [this](auto& map) {
    for (auto it = map.begin(); it != map.end();) {
      if (frame_ - it->second.last_frame > budget_.idle_frames) {
        Forget(it->second);
        it = map.erase(it);
      } else {
        ++it;
      }
    }
  };
  drop_idle(images_);
  drop_idle(texts_);
  if (bytes_ <= budget_.bytes) return;

  // Over budget: the least recently drawn go first, never one drawn in this frame.
  std::vector<std::tuple<int64_t, const uint64_t*, const std::string*>> oldest;
  for (const auto& [id, cached] : images_) {
    if (cached.last_frame < frame_) oldest.emplace_back(cached.last_frame, &id, nullptr);
  }
  for (const auto& [key, cached] : texts_) {
    if (cached.last_frame < frame_) oldest.emplace_back(cached.last_frame, nullptr, &key);
  }
  std::sort(oldest.begin(), oldest.end(),
            [](const auto& a, const auto& b) { return std::get<0>(a) < std::get<0>(b); });
  for (const auto& [frame, id, key] : oldest) {
    if (bytes_ <= budget_.bytes) break;
    if (id) {
      auto it = images_.find(*id);
      Forget(it->second);
      images_.erase(it);
    } else {
      auto it = texts_.find(*key);
      Forget(it->second);
      texts_.erase(it);
    }
  }
}

}  // namespace qv::platform
