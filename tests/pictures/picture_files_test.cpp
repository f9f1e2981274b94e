// GIF decoding: frames, delays, the canvas, transparency, disposal, interlacing, broken
// files and the budgets. Loading pictures from files: still pictures through SDL2_image,
// the errors a game's author sees for missing and broken files, and the cache; and the
// built-in pictures.

#include "platform/pictures/picture_files.h"

#include <SDL.h>
#include <gtest/gtest.h>

#include <chrono>
#include <functional>
#include <set>

#include "core/vb_error.h"
#include "media/hostile_media.h"
#include "pictures/gif_writer.h"
#include "platform/pictures/builtin_pictures.h"
#include "platform/pictures/picture_decoding.h"
#include "test_support.h"

namespace qv::platform {
namespace {

namespace fs = std::filesystem;
using qv::testing::Controlled;
using qv::testing::GifFrameLayout;
using qv::testing::GifLayout;
using qv::testing::SolidFrame;
using qv::testing::TempDir;
using qv::testing::VbErrorNumber;
using qv::testing::VbErrorText;
using qv::testing::WriteGif;

constexpr uint32_t kRed = 0xFFFF0000;
constexpr uint32_t kGreen = 0xFF00FF00;
constexpr uint32_t kBlue = 0xFF0000FF;
constexpr uint32_t kClear = 0;

uint32_t At(const Picture& picture, size_t frame, int x, int y) {
  return picture.frames.at(frame)->pixels().at(static_cast<size_t>(y * picture.width + x));
}

// Red, green and blue at indexes 1 to 3; index 0 is the usual transparent index.
GifLayout Rgb(int width, int height) {
  GifLayout design;
  design.width = width;
  design.height = height;
  design.colors = {0x000000, 0xFF0000, 0x00FF00, 0x0000FF};
  return design;
}

void ExpectInvalid(const std::vector<uint8_t>& bytes, const PictureLimits& limits = {}) {
  EXPECT_EQ(testing::VbErrorText([&] { DecodeGif(bytes, limits); }), "481 Invalid picture");
}

TEST(GifDecoding, FramesDelaysCanvasAndLoopCount) {
  GifLayout design = Rgb(6, 4);
  design.frames.push_back(Controlled(SolidFrame(0, 0, 6, 4, 1), 1, -1, 10));
  design.frames.push_back(Controlled(SolidFrame(2, 1, 2, 2, 2), 1, -1, 25));
  design.frames.push_back(SolidFrame(0, 0, 1, 1, 3));  // no control block: no delay
  PicturePtr picture = DecodeGif(WriteGif(design));
  ASSERT_EQ(picture->frames.size(), 3u);
  EXPECT_EQ(picture->width, 6);
  EXPECT_EQ(picture->height, 4);
  EXPECT_EQ(picture->delays_ms, (std::vector<int>{100, 250, 0}));
  EXPECT_EQ(picture->loop_count, 1) << "a file without a loop block plays once";
  EXPECT_EQ(picture->frames[2]->pixels().size(), 24u) << "every frame is a whole canvas";
  // Each frame is composited onto the ones before it at its place.
  EXPECT_EQ(At(*picture, 1, 2, 1), kGreen);
  EXPECT_EQ(At(*picture, 1, 1, 1), kRed);
  EXPECT_EQ(At(*picture, 2, 0, 0), kBlue);
  EXPECT_EQ(At(*picture, 2, 3, 2), kGreen);

  // The loop block counts repeats after the first pass; 0 is for ever.
  for (auto [loop, expected] : {std::pair{0, 0}, std::pair{1, 2}, std::pair{3, 4}}) {
    design.loop = loop;
    EXPECT_EQ(DecodeGif(WriteGif(design))->loop_count, expected) << "loop " << loop;
  }
}

TEST(GifDecoding, TransparencyAndColourMaps) {
  GifLayout design = Rgb(3, 1);
  GifFrameLayout first = Controlled(SolidFrame(0, 0, 3, 1, 1), 1, 0);
  first.indexes = {1, 0, 2};  // the middle pixel is transparent
  GifFrameLayout second = Controlled(SolidFrame(0, 0, 3, 1, 0), 1, 0);
  second.indexes = {0, 1, 0};
  second.local_colors = {0x000000, 0x123456};  // its own colours
  design.frames = {first, second};
  PicturePtr picture = DecodeGif(WriteGif(design));
  using Pixels = std::vector<uint32_t>;
  EXPECT_EQ(picture->frames[0]->pixels(), (Pixels{kRed, kClear, kGreen}));
  EXPECT_EQ(picture->frames[1]->pixels(), (Pixels{kRed, 0xFF123456u, kGreen}))
      << "transparent pixels keep what lies below";

  // A 256-colour file whose global map is then cut down to two colours: its pixels
  // (index 200) point past the map and show black.
  design = Rgb(2, 1);
  design.colors.resize(256, 0xFFFFFF);
  design.frames = {SolidFrame(0, 0, 2, 1, 200)};
  std::vector<uint8_t> bytes = WriteGif(design);
  bytes[10] = static_cast<uint8_t>(bytes[10] & 0xF8);  // global map of 2 colours
  bytes.erase(bytes.begin() + 13 + 6, bytes.begin() + 13 + 768);
  EXPECT_EQ(At(*DecodeGif(bytes), 0, 0, 0), 0xFF000000u);
}

TEST(GifDecoding, DisposalMethods) {
  // A red background frame, then a green square with the disposal under test, then a
  // blue pixel elsewhere: the third frame shows what the disposal left.
  struct Case {
    int disposal;
    uint32_t square_after;
  };
  for (Case c : {Case{0, kGreen}, Case{1, kGreen}, Case{2, kClear}, Case{3, kRed}}) {
    GifLayout design = Rgb(4, 4);
    design.frames.push_back(Controlled(SolidFrame(0, 0, 4, 4, 1), 1));
    design.frames.push_back(Controlled(SolidFrame(1, 1, 2, 2, 2), c.disposal));
    design.frames.push_back(Controlled(SolidFrame(0, 0, 1, 1, 3), 1));
    PicturePtr picture = DecodeGif(WriteGif(design));
    ASSERT_EQ(picture->frames.size(), 3u);
    EXPECT_EQ(At(*picture, 2, 2, 2), c.square_after) << "disposal " << c.disposal;
    EXPECT_EQ(At(*picture, 2, 3, 3), kRed) << "outside the square nothing changes";
    EXPECT_EQ(At(*picture, 2, 0, 0), kBlue);
  }
}

TEST(GifDecoding, RestoreToPreviousUndoesOnlyItsOwnFrame) {
  GifLayout design = Rgb(2, 1);
  design.frames.push_back(Controlled(SolidFrame(0, 0, 2, 1, 1), 1));  // red red
  design.frames.push_back(Controlled(SolidFrame(1, 0, 1, 1, 2), 1));  // red green
  design.frames.push_back(Controlled(SolidFrame(0, 0, 2, 1, 3), 3));  // blue blue, undone
  design.frames.push_back(Controlled(SolidFrame(0, 0, 1, 1, 0), 1, 0));
  PicturePtr picture = DecodeGif(WriteGif(design));
  EXPECT_EQ(picture->frames[2]->pixels(), (std::vector<uint32_t>{kBlue, kBlue}));
  EXPECT_EQ(picture->frames[3]->pixels(), (std::vector<uint32_t>{kRed, kGreen}));
}

TEST(GifDecoding, InterlacedRowsLandInPlace) {
  GifLayout design = Rgb(2, 11);
  GifFrameLayout frame = SolidFrame(0, 0, 2, 11, 0);
  for (int y = 0; y < 11; ++y) {
    frame.indexes[static_cast<size_t>(y) * 2] = static_cast<uint8_t>(1 + y % 3);
    frame.indexes[static_cast<size_t>(y) * 2 + 1] = static_cast<uint8_t>(1 + (y / 3) % 3);
  }
  GifFrameLayout interlaced = frame;
  interlaced.interlace = true;
  design.frames = {frame};
  PicturePtr plain = DecodeGif(WriteGif(design));
  design.frames = {interlaced};
  PicturePtr woven = DecodeGif(WriteGif(design));
  EXPECT_EQ(woven->frames[0]->pixels(), plain->frames[0]->pixels());
  EXPECT_EQ(At(*woven, 0, 0, 5), kBlue);
}

TEST(GifDecoding, FramesOutsideTheCanvasAreClippedAndAnEmptyCanvasGrowsToTheFirst) {
  GifLayout design = Rgb(3, 3);
  design.frames = {Controlled(SolidFrame(2, 2, 4, 4, 1), 2),
                   Controlled(SolidFrame(10, 1, 2, 2, 2), 3)};  // disposals of clipped areas
  std::vector<uint8_t> bytes = WriteGif(design);
  // And a frame of no size: its descriptor, then LZW data holding only clear and end.
  bytes.insert(bytes.end() - 1, {0x2C, 1, 0, 1, 0, 0, 0, 0, 0, 0, 2, 1, 0x2C, 0});
  PicturePtr picture = DecodeGif(bytes);
  ASSERT_EQ(picture->frames.size(), 3u);
  EXPECT_EQ(At(*picture, 0, 2, 2), kRed);
  EXPECT_EQ(At(*picture, 0, 1, 1), kClear);
  EXPECT_EQ(At(*picture, 1, 2, 2), kClear);
  EXPECT_EQ(picture->frames[2]->pixels(), picture->frames[1]->pixels());

  design = Rgb(0, 0);  // a canvas of no size takes the first frame's extent
  design.frames = {SolidFrame(1, 2, 3, 4, 1)};
  picture = DecodeGif(WriteGif(design));
  EXPECT_EQ(picture->width, 4);
  EXPECT_EQ(picture->height, 6);
}

TEST(GifDecoding, BrokenFiles) {
  GifLayout design = Rgb(8, 8);
  design.frames = {Controlled(SolidFrame(0, 0, 8, 8, 1), 1, -1, 5),
                   Controlled(SolidFrame(0, 0, 8, 8, 2), 1, -1, 5),
                   Controlled(SolidFrame(0, 0, 8, 8, 3), 1, -1, 5)};
  std::vector<uint8_t> whole = WriteGif(design);
  design.frames.pop_back();
  size_t two_frames = WriteGif(design).size() - 1;  // up to the trailer
  design.frames.pop_back();
  size_t one_frame = WriteGif(design).size() - 1;

  // Breaking off in the third frame's header or pixels keeps the two complete frames.
  for (size_t end : {two_frames + 12, whole.size() - 3}) {
    PicturePtr picture = DecodeGif({whole.begin(), whole.begin() + static_cast<long>(end)});
    EXPECT_EQ(picture->frames.size(), 2u) << end;
    EXPECT_EQ(picture->delays_ms.size(), 2u);
    EXPECT_EQ(At(*picture, 1, 0, 0), kGreen);
  }
  // Garbage where the next record belongs ends the picture the same way.
  std::vector<uint8_t> trailing(whole.begin(), whole.begin() + static_cast<long>(one_frame));
  trailing.insert(trailing.end(), {'j', 'u', 'n', 'k'});
  EXPECT_EQ(DecodeGif(trailing)->frames.size(), 1u);

  // Without one complete frame there is no picture.
  ExpectInvalid({whole.begin(), whole.begin() + static_cast<long>(one_frame) - 3});
  ExpectInvalid({whole.begin(), whole.begin() + 13});  // the header alone
  ExpectInvalid({});
  ExpectInvalid({'G', 'I', 'F', '8', '9', 'a', 0xFF});
}

TEST(GifDecoding, PicturesOverTheBudgetAreRefused) {
  GifLayout huge = Rgb(5000, 10);
  huge.frames = {SolidFrame(0, 0, 1, 1, 1)};
  ExpectInvalid(WriteGif(huge));

  GifLayout wide_frame = Rgb(10, 10);
  wide_frame.frames = {SolidFrame(0, 0, 4097, 1, 1)};
  ExpectInvalid(WriteGif(wide_frame));

  GifLayout many = Rgb(1, 1);
  many.frames.assign(2000, SolidFrame(0, 0, 1, 1, 1));
  EXPECT_EQ(DecodeGif(WriteGif(many))->frames.size(), 2000u);
  many.frames.push_back(SolidFrame(0, 0, 1, 1, 2));
  ExpectInvalid(WriteGif(many));

  // 30 frames of 100 x 100 take 1.2 MB, over a budget of 1 MiB.
  GifLayout heavy = Rgb(100, 100);
  heavy.frames.assign(30, SolidFrame(0, 0, 1, 1, 1));
  PictureLimits limits;
  limits.max_decoded_bytes = 1 << 20;
  ExpectInvalid(WriteGif(heavy), limits);
  heavy.frames.resize(26);
  EXPECT_EQ(DecodedBytes(*DecodeGif(WriteGif(heavy), limits)), 26u * 40000);
}

TEST(GifDecoding, WorkIsBoundedByTheCanvasAndRefusedBeyondItsLimit) {
  // 300 frames of 4096 x 4096 on a 1 x 1 canvas: one line of each is decoded, the rest
  // of its data passed over; the picture is whole and consistent.
  PicturePtr tiny = DecodeGif(testing::RepeatedFrameGif(1, 1, 0, 0, 4096, 4096, 300));
  ASSERT_EQ(tiny->frames.size(), 300u);
  EXPECT_EQ(tiny->frames[299]->pixels(), std::vector<uint32_t>{kRed});
  // Frames wholly off the canvas, and below it, are passed over too; interlaced lines as
  // well once none is left on the canvas.
  GifLayout off = Rgb(4, 4);
  off.frames = {SolidFrame(0, 0, 4, 4, 1), SolidFrame(100, 0, 8, 8, 2), SolidFrame(0, 100, 8, 8, 2),
                SolidFrame(0, 2, 4, 40, 3)};
  off.frames[3].interlace = true;
  PicturePtr clipped = DecodeGif(WriteGif(off));
  ASSERT_EQ(clipped->frames.size(), 4u);
  EXPECT_EQ(clipped->frames[2]->pixels(), clipped->frames[0]->pixels());
  EXPECT_EQ(At(*clipped, 3, 0, 1), kRed);
  EXPECT_EQ(At(*clipped, 3, 3, 3), kBlue);

  // Frames wider than their canvas must be decoded whole: 20 of 4096 x 64 lines on a
  // 64 x 64 canvas cost 5.3 million pixels of work, beyond a limit of 4 million: refused
  // from what the headers claim, before anything is decoded. A decode lets events run
  // after every million pixels.
  const auto wide = testing::RepeatedFrameGif(64, 64, 0, 0, 4096, 64, 20);
  PictureLimits limits;
  limits.max_pixel_work = uint64_t{1} << 22;
  int yields = 0;
  limits.yield = [&] { ++yields; };
  limits.yield_every = uint64_t{1} << 20;
  ExpectInvalid(wide, limits);
  EXPECT_EQ(yields, 0);
  limits.max_pixel_work = uint64_t{1} << 23;
  EXPECT_EQ(DecodeGif(wide, limits)->frames.size(), 20u);
  EXPECT_EQ(yields, 5);
}

TEST(GifDecoding, FramesCountAgainstTheGamesMemoryBudgetAndGiveItBack) {
  MemoryBudget budget(uint64_t{5} << 19);  // 2.5 MiB: two pictures and a canvas
  PictureLimits limits;
  limits.memory = &budget;
  const auto four = testing::RepeatedFrameGif(256, 256, 0, 0, 256, 256, 4);  // 256 KiB a frame
  PicturePtr first = DecodeGif(four, limits);
  EXPECT_EQ(budget.used(), uint64_t{4} * 256 * 256 * 4);
  PicturePtr second = DecodeGif(four, limits);
  EXPECT_EQ(testing::VbErrorNumber([&] { DecodeGif(four, limits); }), kErrOutOfMemory);
  EXPECT_EQ(budget.used(), uint64_t{2} * 4 * 256 * 256 * 4) << "the refused one gave all back";
  first.reset();
  EXPECT_NO_THROW(DecodeGif(four, limits));
  second.reset();
  EXPECT_EQ(budget.used(), 0u);
}

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
