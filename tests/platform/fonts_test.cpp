#include "platform/sdl/ttf_fonts.h"

#include <gtest/gtest.h>

#include <stdexcept>

#include "platform/headless/recording_renderer.h"

namespace qv::platform {
namespace {

TEST(TtfFonts, MeasuresWithTheRealFontWithoutAVideoDevice) {
  TtfFonts fonts;
  const FontChoice normal{13, false};
  const TextSize word = fonts.Measure("Inventory", normal);
  EXPECT_GT(word.width, 40);
  EXPECT_LT(word.width, 90);
  EXPECT_GE(word.height, 13);
  EXPECT_GT(fonts.Measure("Inventory", {13, true}).width, word.width) << "bold is wider";
  EXPECT_GT(fonts.Measure("Inventory", {26, false}).height, word.height * 3 / 2);

  // Odd texts and sizes are measured without failing.
  const TextSize empty = fonts.Measure("", {});
  EXPECT_EQ(empty.width, 0);
  EXPECT_GT(empty.height, 0) << "an empty label still has a line height";
  EXPECT_GT(fonts.Measure("Caf\xC3\xA9 \xE2\x82\xAC", {}).width, 0);
  EXPECT_GE(fonts.Measure("bad \xFF\xFE utf-8", {}).width, 0);
  EXPECT_GT(fonts.Measure(std::string_view("a\0b", 3), {}).width, 0);
  EXPECT_GT(fonts.Measure("x", {0, false}).height, 0) << "sizes are clamped";
  EXPECT_GT(fonts.Measure("x", {-3, true}).height, 0);
  EXPECT_LT(fonts.Measure("x", {100000, false}).height, 2 * TtfFonts::kMaxSizePx);
}

TEST(TtfFonts, AMissingFontFileIsAClearErrorAndAMissingBoldFallsBack) {
  const auto defaults = TtfFonts::DefaultFiles();
  try {
    TtfFonts fonts({"/nonexistent/NoSuch.ttf", defaults.bold});
    FAIL() << "opened a missing font";
  } catch (const std::runtime_error& error) {
    EXPECT_NE(std::string(error.what()).find("/nonexistent/NoSuch.ttf"), std::string::npos);
  }
  TtfFonts fallback({defaults.regular, "/nonexistent/Bold.ttf"});
  EXPECT_GT(fallback.Measure("Inventory", {13, true}).width,
            fallback.Measure("Inventory", {13, false}).width)
      << "the regular font made bold";
}

TEST(RecordingRenderer, RemembersTheLastFrameWithinItsClips) {
  TtfFonts fonts;
  RecordingRenderer renderer(800, 600, fonts);
  const Image picture(2, 2, std::vector<uint32_t>(4, 0xFF00FF00));
  renderer.BeginFrame();
  renderer.FillRect({0, 0, 800, 600}, Rgb::FromHex(0x000080));
  renderer.PushClip({100, 100, 50, 50});
  renderer.PushClip({120, 0, 100, 1000});  // intersected: 120..150 x 100..150
  renderer.DrawImage(picture, {140, 140, 20, 20});
  renderer.DrawImage(picture, {0, 0, 110, 110});  // outside the inner clip: left out
  renderer.PopClip();
  renderer.DrawText("Look", 100, 100, {}, Rgb{255, 255, 255});
  renderer.PopClip();
  renderer.PopClip();  // unmatched: harmless
  EXPECT_TRUE(renderer.last_frame().empty()) << "a frame counts only when complete";
  renderer.EndFrame();

  const auto& ops = renderer.last_frame();
  ASSERT_EQ(ops.size(), 3u);
  EXPECT_EQ(ops[1].clip, (Rect{120, 100, 30, 50}));
  EXPECT_EQ(ops[1].image_id, picture.id());
  const auto* text = renderer.FindText("Look");
  ASSERT_NE(text, nullptr);
  EXPECT_EQ(text->rect.w, fonts.Measure("Look", {}).width);
  EXPECT_EQ(text->clip, (Rect{100, 100, 50, 50}));
}

}  // namespace
}  // namespace qv::platform
