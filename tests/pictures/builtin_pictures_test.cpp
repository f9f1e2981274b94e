#include "platform/pictures/builtin_pictures.h"

#include <gtest/gtest.h>

#include <set>

#include "core/vb_error.h"
#include "platform/pictures/picture_files.h"
#include "test_support.h"

namespace qv::platform {
namespace {

bool Opaque(uint32_t pixel) {
  return (pixel >> 24) == 0xFF;
}

TEST(BuiltinPictures, FifteenDistinctVisibleCursorsWithHotSpotsOnThemAndThePlaceholders) {
  PictureFiles files;
  const BuiltinPictures& builtins = files.builtins();
  std::set<std::vector<uint32_t>> looks;
  for (int n = 1; n <= BuiltinPictures::kCursorCount; ++n) {
    const CursorPicture& cursor = builtins.Cursor(n);
    ASSERT_TRUE(cursor.picture) << n;
    ASSERT_EQ(cursor.picture->frames.size(), 1u);
    const Image& image = *cursor.picture->frames[0];
    ASSERT_EQ(image.width(), 32);
    ASSERT_EQ(image.height(), 32);
    looks.insert(image.pixels());

    // A black edge and a light inside: visible on dark and light scenes alike.
    bool black = false;
    bool light = false;
    for (uint32_t p : image.pixels()) {
      black = black || p == 0xFF000000;
      light = light || (Opaque(p) && (p & 0xFF) > 0x80);
    }
    EXPECT_TRUE(black && light) << "cursor " << n;

    // The hot spot lies on the drawing or right beside it.
    ASSERT_TRUE(cursor.hot_x >= 0 && cursor.hot_x < 32 && cursor.hot_y >= 0 && cursor.hot_y < 32);
    bool on_drawing = false;
    for (int dy = -1; dy <= 1; ++dy) {
      for (int dx = -1; dx <= 1; ++dx) {
        int x = cursor.hot_x + dx;
        int y = cursor.hot_y + dy;
        if (x >= 0 && y >= 0 && x < 32 && y < 32) {
          on_drawing = on_drawing || image.pixels()[static_cast<size_t>(y * 32 + x)] != 0;
        }
      }
    }
    EXPECT_TRUE(on_drawing) << "cursor " << n;
  }
  EXPECT_EQ(looks.size(), 15u);
  EXPECT_EQ(builtins.Cursor(13).hot_x, 0) << "the default arrow points with its tip";
  EXPECT_EQ(builtins.Cursor(13).hot_y, 0);
  for (int n : {0, 16, -1})
    EXPECT_EQ(qv::testing::VbErrorNumber([&] { builtins.Cursor(n); }), kErrSubscript) << n;

  // The placeholders: whole pictures, an empty one, visible ones and one that animates.
  for (const PicturePtr& picture : {builtins.FNF(), builtins.AniGIF1(), builtins.UnknownObject(),
                                    builtins.NoPic(), builtins.NewLoca()}) {
    ASSERT_TRUE(picture);
    EXPECT_EQ(picture->frames.size(), picture->delays_ms.size());
    for (const ImagePtr& frame : picture->frames) {
      EXPECT_EQ(frame->width(), picture->width);
      EXPECT_EQ(frame->pixels().size(), static_cast<size_t>(picture->width * picture->height));
    }
  }
  for (uint32_t p : builtins.NoPic()->frames[0]->pixels())
    ASSERT_EQ(p, 0u);
  EXPECT_TRUE(Opaque(builtins.FNF()->frames[0]->pixels()[16 * 32 + 16]));
  EXPECT_TRUE(Opaque(builtins.UnknownObject()->frames[0]->pixels()[5 * 32 + 5]));
  ASSERT_EQ(builtins.NewLoca()->frames.size(), 2u);
  EXPECT_NE(builtins.NewLoca()->frames[0]->pixels(), builtins.NewLoca()->frames[1]->pixels());
}

}  // namespace
}  // namespace qv::platform
