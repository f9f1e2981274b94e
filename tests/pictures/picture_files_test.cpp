// Loading pictures from files: still pictures through SDL2_image, the errors a game's
// author sees for missing and broken files, and the cache; and the built-in pictures.

#include "platform/pictures/picture_files.h"

#include <SDL.h>
#include <gtest/gtest.h>

#include <chrono>
#include <functional>
#include <set>

#include "core/vb_error.h"
#include "pictures/gif_writer.h"
#include "platform/pictures/builtin_pictures.h"
#include "test_support.h"

namespace qv::platform {
namespace {

namespace fs = std::filesystem;
using qv::testing::GifLayout;
using qv::testing::SolidFrame;
using qv::testing::TempDir;
using qv::testing::VbErrorNumber;
using qv::testing::VbErrorText;

struct SurfaceFree {
  void operator()(SDL_Surface* surface) const { SDL_FreeSurface(surface); }
};
using SurfacePtr = std::unique_ptr<SDL_Surface, SurfaceFree>;

// A w x h surface in `format` whose pixel (x, y) is colour(x, y) (0xRRGGBB).
SurfacePtr MakeSurface(int w, int h, Uint32 format,
                       const std::function<uint32_t(int, int)>& color) {
  SurfacePtr surface(SDL_CreateRGBSurfaceWithFormat(0, w, h, 32, format));
  for (int y = 0; y < h; ++y) {
    for (int x = 0; x < w; ++x) {
      uint32_t c = color(x, y);
      SDL_Rect pixel{x, y, 1, 1};
      SDL_FillRect(surface.get(), &pixel,
                   SDL_MapRGB(surface->format, static_cast<Uint8>(c >> 16),
                              static_cast<Uint8>(c >> 8), static_cast<Uint8>(c)));
    }
  }
  return surface;
}

uint32_t Checker(int x, int y) {
  return (x + y) % 2 ? 0xFF8000 : 0x0040C0;
}

fs::path SaveBmp(const TempDir& dir, const std::string& name, SDL_Surface* surface) {
  fs::path path = dir.path() / name;
  EXPECT_EQ(SDL_SaveBMP(surface, path.string().c_str()), 0) << SDL_GetError();
  return path;
}

void Touch(const fs::path& path, int seconds_later) {
  fs::last_write_time(path, fs::last_write_time(path) + std::chrono::seconds(seconds_later));
}

TEST(StillPictures, BmpPixelsAreOpaqueArgb) {
  TempDir dir;
  SurfacePtr rgb = MakeSurface(5, 3, SDL_PIXELFORMAT_RGB24, Checker);
  PicturePtr picture = DecodePictureFile(SaveBmp(dir, "a.bmp", rgb.get()));
  ASSERT_EQ(picture->frames.size(), 1u);
  EXPECT_EQ(picture->width, 5);
  EXPECT_EQ(picture->height, 3);
  EXPECT_EQ(picture->delays_ms, std::vector<int>{0});
  EXPECT_EQ(picture->loop_count, 1);
  const std::vector<uint32_t>& pixels = picture->frames[0]->pixels();
  for (int y = 0; y < 3; ++y) {
    for (int x = 0; x < 5; ++x)
      EXPECT_EQ(pixels[y * 5 + x], 0xFF000000 | Checker(x, y));
  }
}

TEST(StillPictures, BrokenAndOversizedFilesAreInvalidAndTheContentNotTheNameTellsTheFormat) {
  TempDir dir;
  SurfacePtr rgb = MakeSurface(40, 40, SDL_PIXELFORMAT_RGB24, Checker);
  std::vector<uint8_t> bmp = qv::testing::ReadBytes(SaveBmp(dir, "ok.bmp", rgb.get()));

  std::vector<uint8_t> truncated(bmp.begin(), bmp.begin() + 100);
  std::vector<uint8_t> huge = bmp;  // claims 60000 x 60000 pixels
  huge[18] = huge[22] = 0x60;
  huge[19] = huge[23] = 0xEA;
  std::vector<uint8_t> jpeg_start = {0xFF, 0xD8, 0xFF, 0xE0, 0x00, 0x10, 'J', 'F', 'I', 'F'};
  std::vector<uint8_t> huge_png = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n', 0, 0, 0, 13,
                                   'I',  'H', 'D', 'R', 0,    1,    0,    0,    0, 1, 0, 0};
  std::string svg = "<svg xmlns='http://www.w3.org/2000/svg' width='10' height='10'/>";
  for (const auto& [name, bytes] :
       {std::pair<std::string, std::vector<uint8_t>>{"t.bmp", truncated},
        {"h.bmp", huge},
        {"j.jpg", jpeg_start},
        {"text.jpg", {'h', 'e', 'l', 'l', 'o'}},
        {"empty.gif", {}},
        {"huge.png", huge_png},
        {"drawing.svg", {svg.begin(), svg.end()}}}) {
    fs::path path = dir.Write(name, bytes);
    EXPECT_EQ(VbErrorNumber([&] { DecodePictureFile(path); }), kErrInvalidPicture) << name;
  }

  // The content, not the name, tells the format; SDL2_image never sees a GIF.
  GifLayout design;
  design.width = design.height = 2;
  design.frames = {SolidFrame(0, 0, 2, 2, 1), SolidFrame(0, 0, 1, 1, 0)};
  fs::path gif_as_bmp = dir.Write("door.bmp", qv::testing::WriteGif(design));
  EXPECT_EQ(DecodePictureFile(gif_as_bmp)->frames.size(), 2u);
  EXPECT_EQ(VbErrorNumber([&] { DecodeStill(qv::testing::ReadBytes(gif_as_bmp)); }),
            kErrInvalidPicture);
}

TEST(PictureFiles, CachesUntilTheFileChangesOrGoes) {
  TempDir dir;
  GifLayout design;
  design.width = design.height = 2;
  design.frames = {SolidFrame(0, 0, 2, 2, 1)};
  fs::path path = dir.Write("gfx/obj.gif", qv::testing::WriteGif(design));
  PictureFiles files;
  PicturePtr first = files.Load(path);
  EXPECT_EQ(files.Load(dir.path() / "gfx" / ".." / "gfx" / "obj.gif"), first);
  EXPECT_EQ(files.cached_count(), 1u);
  EXPECT_EQ(files.cached_bytes(), 16u);

  design.frames.push_back(SolidFrame(0, 0, 1, 1, 0));
  dir.Write("gfx/obj.gif", qv::testing::WriteGif(design));
  Touch(path, 2);
  PicturePtr changed = files.Load(path);
  EXPECT_NE(changed, first);
  EXPECT_EQ(changed->frames.size(), 2u);
  EXPECT_EQ(files.cached_count(), 1u);

  // A broken file is not remembered: once repaired, it loads.
  dir.Write("gfx/obj.gif", "broken");
  EXPECT_EQ(VbErrorNumber([&] { files.Load(path); }), kErrInvalidPicture);
  EXPECT_EQ(files.cached_count(), 0u);
  dir.Write("gfx/obj.gif", qv::testing::WriteGif(design));
  Touch(path, 4);
  EXPECT_EQ(files.Load(path)->frames.size(), 2u);

  fs::remove(path);
  EXPECT_EQ(VbErrorText([&] { files.Load(path); }), "53 File not found");
  EXPECT_EQ(VbErrorNumber([&] { files.Load(dir.path()); }), kErrPathFileAccess) << "a folder";
  EXPECT_EQ(files.cached_count(), 0u);
  EXPECT_EQ(changed->frames.size(), 2u) << "a picture in use outlives its cache entry";
}

TEST(PictureFiles, TheCacheKeepsTheMostRecentlyUsedWithinItsBudget) {
  TempDir dir;
  std::vector<fs::path> paths;
  for (int i = 0; i < 3; ++i) {
    // 1 KiB each, decoded.
    paths.push_back(dir.Write("p" + std::to_string(i) + ".gif", qv::testing::SolidGif(16, 16)));
  }
  PictureFiles files(2048);
  PicturePtr p0 = files.Load(paths[0]);
  PicturePtr p1 = files.Load(paths[1]);
  EXPECT_EQ(files.Load(paths[0]), p0);  // now the most recent
  files.Load(paths[2]);                 // pushes out p1, the least recent
  EXPECT_EQ(files.cached_count(), 2u);
  EXPECT_EQ(files.cached_bytes(), 2048u);
  EXPECT_EQ(files.Load(paths[0]), p0);
  EXPECT_NE(files.Load(paths[1]), p1);

  PictureFiles tiny(100);  // a picture larger than the whole budget is still cached
  PicturePtr big = tiny.Load(paths[0]);
  EXPECT_EQ(tiny.Load(paths[0]), big);
  tiny.ClearCache();
  EXPECT_EQ(tiny.cached_count(), 0u);
  EXPECT_NE(tiny.Load(paths[0]), big);
}

TEST(BuiltinPictures, FifteenDistinctCursorsWithHotSpotsOnThemAndWholePlaceholders) {
  PictureFiles files;
  const BuiltinPictures& builtins = files.builtins();
  std::set<std::vector<uint32_t>> looks;
  for (int n = 1; n <= BuiltinPictures::kCursorCount; ++n) {
    const CursorPicture& cursor = builtins.Cursor(n);
    ASSERT_TRUE(cursor.picture) << n;
    const Image& image = *cursor.picture->frames.at(0);
    ASSERT_EQ(image.pixels().size(), 32u * 32u);
    looks.insert(image.pixels());
    ASSERT_TRUE(cursor.hot_x >= 0 && cursor.hot_x < 32 && cursor.hot_y >= 0 && cursor.hot_y < 32);
  }
  EXPECT_EQ(looks.size(), 15u);
  EXPECT_EQ(builtins.Cursor(13).hot_x + builtins.Cursor(13).hot_y, 0) << "the arrow's tip";
  for (int n : {0, 16, -1})
    EXPECT_EQ(qv::testing::VbErrorNumber([&] { builtins.Cursor(n); }), kErrSubscript) << n;

  for (const PicturePtr& picture : {builtins.FNF(), builtins.AniGIF1(), builtins.UnknownObject(),
                                    builtins.NoPic(), builtins.NewLoca()}) {
    ASSERT_TRUE(picture);
    EXPECT_EQ(picture->frames.size(), picture->delays_ms.size());
    for (const ImagePtr& frame : picture->frames)
      EXPECT_EQ(frame->pixels().size(), static_cast<size_t>(picture->width * picture->height));
  }
  for (uint32_t p : builtins.NoPic()->frames[0]->pixels())
    ASSERT_EQ(p, 0u) << "NoPic is fully transparent";
  ASSERT_EQ(builtins.NewLoca()->frames.size(), 2u) << "it animates";
}

}  // namespace
}  // namespace qv::platform
