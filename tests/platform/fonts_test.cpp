#include "platform/sdl/ttf_fonts.h"

#include <gtest/gtest.h>

#include <stdexcept>

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

}  // namespace
}  // namespace qv::platform
