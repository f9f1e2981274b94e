#include "platform/sdl/sdl_renderer.h"

#include <gtest/gtest.h>

#include <memory>
#include <vector>

namespace qv::platform {
namespace {

// A software renderer on a plain surface: pixels can be read back, no window needed.
class SdlRendererTest : public ::testing::Test {
 protected:
  static constexpr int kW = 64;
  static constexpr int kH = 48;

  void SetUp() override {
    surface_ = SDL_CreateRGBSurfaceWithFormat(0, kW, kH, 32, SDL_PIXELFORMAT_ARGB8888);
    ASSERT_NE(surface_, nullptr) << SDL_GetError();
    sdl_ = SDL_CreateSoftwareRenderer(surface_);
    ASSERT_NE(sdl_, nullptr) << SDL_GetError();
  }
  void TearDown() override {
    renderer_.reset();
    if (sdl_) SDL_DestroyRenderer(sdl_);
    if (surface_) SDL_FreeSurface(surface_);
  }

  SdlRenderer& Make(SdlRenderer::Budget budget = {}) {
    renderer_ = std::make_unique<SdlRenderer>(sdl_, kW, kH, fonts_, false, budget);
    return *renderer_;
  }

  // The virtual screen's pixel at (x, y) as 0xRRGGBB.
  uint32_t Pixel(int x, int y) {
    SDL_SetRenderTarget(sdl_, renderer_->screen());
    std::vector<uint32_t> pixels(kW * kH);
    EXPECT_EQ(SDL_RenderReadPixels(sdl_, nullptr, SDL_PIXELFORMAT_ARGB8888, pixels.data(), kW * 4),
              0)
        << SDL_GetError();
    SDL_SetRenderTarget(sdl_, nullptr);
    return pixels[static_cast<size_t>(y) * kW + x] & 0xFFFFFF;
  }

  TtfFonts fonts_;
  SDL_Surface* surface_ = nullptr;
  SDL_Renderer* sdl_ = nullptr;
  std::unique_ptr<SdlRenderer> renderer_;
};

TEST_F(SdlRendererTest, DrawsFillsImagesWithAlphaAndTextWithinClips) {
  SdlRenderer& r = Make();
  // A 2x1 picture: opaque red, then fully transparent.
  const Image picture(2, 1, {0xFFFF0000, 0x0000FF00});
  r.BeginFrame();
  r.FillRect({0, 0, kW, kH}, Rgb::FromHex(0x0000FF));
  r.DrawImage(picture, {10, 10, 20, 10});  // scaled: left half red, right half see-through
  r.PushClip({0, 30, 8, 8});
  r.FillRect({0, 30, 20, 10}, Rgb::FromHex(0x00FF00));
  r.PopClip();
  r.DrawText("W", 40, 20, {20, true}, Rgb{255, 255, 255});
  r.EndFrame();
  ASSERT_NE(r.screen(), nullptr);

  EXPECT_EQ(Pixel(12, 12), 0xFF0000u);
  EXPECT_EQ(Pixel(25, 15), 0x0000FFu) << "transparent pixels show what is below";
  EXPECT_EQ(Pixel(4, 32), 0x00FF00u);
  EXPECT_EQ(Pixel(12, 32), 0x0000FFu) << "clipped away";
  int white = 0;
  for (int y = 20; y < 44; ++y) {
    for (int x = 40; x < 60; ++x)
      white += Pixel(x, y) == 0xFFFFFFu;
  }
  EXPECT_GT(white, 10) << "the text was drawn";
}

TEST_F(SdlRendererTest, TexturesIdleTooLongOrLeastRecentlyDrawnOverBudgetGoNeverTheCurrentFrame) {
  SdlRenderer& r = Make({.bytes = 3 * 16 * 16 * 4, .idle_frames = 10});
  std::vector<std::unique_ptr<Image>> pictures;
  for (int i = 0; i < 5; ++i) {
    pictures.push_back(std::make_unique<Image>(
        16, 16, std::vector<uint32_t>(256, 0xFF000000u + static_cast<uint32_t>(i))));
    r.BeginFrame();
    r.DrawImage(*pictures.back(), {0, 0, 16, 16});
    r.EndFrame();
  }
  EXPECT_EQ(r.cached_textures(), 3u);
  EXPECT_LE(r.cached_bytes(), size_t{3 * 16 * 16 * 4});

  // One frame needing more than the budget keeps all it drew.
  r.BeginFrame();
  for (const auto& picture : pictures)
    r.DrawImage(*picture, {0, 0, 16, 16});
  r.DrawText("label", 0, 20, {}, Rgb{});
  r.EndFrame();
  EXPECT_EQ(r.cached_textures(), 6u);
  // Then only the picture still drawn stays, once the others have idled.
  for (int frame = 0; frame < 12; ++frame) {
    r.BeginFrame();
    r.DrawImage(*pictures[4], {8, 0, 16, 16});
    r.EndFrame();
  }
  EXPECT_EQ(r.cached_textures(), 1u);
  EXPECT_EQ(Pixel(9, 1), 0x000004u);
}

TEST_F(SdlRendererTest, MalformedPicturesAndEmptyTextDrawNothing) {
  SdlRenderer& r = Make();
  const Image short_of_pixels(4, 4, std::vector<uint32_t>(3, 0xFFFFFFFF));
  const Image empty(0, 0, {});
  r.BeginFrame();
  r.FillRect({0, 0, kW, kH}, Rgb{});
  r.DrawImage(short_of_pixels, {0, 0, 4, 4});
  r.DrawImage(empty, {0, 0, 4, 4});
  r.DrawText("", 0, 0, {}, Rgb{255, 255, 255});
  r.DrawImage(short_of_pixels, {-50, -50, 10, 10});
  r.EndFrame();
  EXPECT_EQ(Pixel(1, 1), 0u);
}

}  // namespace
}  // namespace qv::platform
