#include "platform/pictures/builtin_pictures.h"

#include <algorithm>
#include <cmath>
#include <initializer_list>
#include <span>
#include <string_view>
#include <vector>

#include "core/vb_error.h"

namespace qv::platform {

namespace {

constexpr int kSize = 32;

constexpr uint32_t kClear = 0x00000000;
constexpr uint32_t kBlack = 0xFF000000;
constexpr uint32_t kWhite = 0xFFFFFFFF;
constexpr uint32_t kLightGrey = 0xFFC0C0C0;
constexpr uint32_t kPaleGrey = 0xFFE4E4E4;
constexpr uint32_t kDarkGrey = 0xFF606060;
constexpr uint32_t kSand = 0xFFE0B040;
constexpr uint32_t kRed = 0xFFD02020;
constexpr uint32_t kBrightRed = 0xFFFF5040;
constexpr uint32_t kYellow = 0xFFF0D000;
constexpr uint32_t kBrown = 0xFF704020;
constexpr uint32_t kGlass = 0x70A0C8FF;  // a light blue lens the scene shows through
constexpr uint32_t kShade = 0x40808080;  // a faint grey the scene shows through

// The colour of a character in the drawings below.
uint32_t ArtColor(char c) {
  switch (c) {
    case 'X':
      return kBlack;
    case '#':
      return kWhite;
    case 'g':
      return kLightGrey;
    case 'd':
      return kDarkGrey;
    case 'y':
      return kSand;
    case 'r':
      return kRed;
    default:
      return kClear;
  }
}

struct Point {
  double x = 0;
  double y = 0;
};

// Whether (x, y) lies inside the polygon (even-odd rule).
bool Inside(std::span<const Point> polygon, double x, double y) {
  bool inside = false;
  for (size_t i = 0, j = polygon.size() - 1; i < polygon.size(); j = i++) {
    const Point& a = polygon[i];
    const Point& b = polygon[j];
    if ((a.y > y) != (b.y > y) && x < (b.x - a.x) * (y - a.y) / (b.y - a.y) + a.x) {
      inside = !inside;
    }
  }
  return inside;
}

// A 32 x 32 drawing surface.
class Canvas {
 public:
  Canvas() : pixels_(kSize * kSize, kClear) {}

  void Set(int x, int y, uint32_t color) {
    if (x >= 0 && y >= 0 && x < kSize && y < kSize) pixels_[y * kSize + x] = color;
  }
  uint32_t Get(int x, int y) const {
    return x >= 0 && y >= 0 && x < kSize && y < kSize ? pixels_[y * kSize + x] : kClear;
  }

  // Paints every pixel whose centre satisfies `inside(x, y)`.
  template <typename Shape>
  void Fill(Shape inside, uint32_t color) {
    for (int y = 0; y < kSize; ++y) {
      for (int x = 0; x < kSize; ++x) {
        if (inside(x + 0.5, y + 0.5)) Set(x, y, color);
      }
    }
  }

  void FillRect(int left, int top, int width, int height, uint32_t color) {
    for (int y = top; y < top + height; ++y) {
      for (int x = left; x < left + width; ++x)
        Set(x, y, color);
    }
  }

  // Paints rows of characters (see ArtColor) with their top-left corner at (left, top);
  // clear characters leave the canvas as it is.
  void Art(int left, int top, std::initializer_list<std::string_view> rows) {
    int y = top;
    for (std::string_view row : rows) {
      for (size_t i = 0; i < row.size(); ++i) {
        uint32_t color = ArtColor(row[i]);
        if (color != kClear) Set(left + static_cast<int>(i), y, color);
      }
      ++y;
    }
  }

  // Draws a black edge around everything painted so far, so the shape stays visible on
  // light and dark scenes alike.
  void Outline() {
    std::vector<uint32_t> before = pixels_;
    auto painted = [&](int x, int y) {
      return x >= 0 && y >= 0 && x < kSize && y < kSize && before[y * kSize + x] != kClear;
    };
    for (int y = 0; y < kSize; ++y) {
      for (int x = 0; x < kSize; ++x) {
        if (painted(x, y)) continue;
        bool edge = false;
        for (int dy = -1; dy <= 1; ++dy) {
          for (int dx = -1; dx <= 1; ++dx)
            edge = edge || painted(x + dx, y + dy);
        }
        if (edge) Set(x, y, kBlack);
      }
    }
  }

  ImagePtr ToImage() const { return std::make_shared<const Image>(kSize, kSize, pixels_); }

 private:
  std::vector<uint32_t> pixels_;
};

PicturePtr Still(const Canvas& canvas) {
  auto picture = std::make_shared<Picture>();
  picture->width = kSize;
  picture->height = kSize;
  picture->frames.push_back(canvas.ToImage());
  picture->delays_ms.push_back(0);
  picture->loop_count = 1;
  return picture;
}

auto Disc(double cx, double cy, double radius) {
  return [=](double x, double y) { return std::hypot(x - cx, y - cy) < radius; };
}

auto Ring(double cx, double cy, double inner, double outer) {
  return [=](double x, double y) {
    double d = std::hypot(x - cx, y - cy);
    return d >= inner && d < outer;
  };
}

// A broad arrow for a link, pointing `degrees` clockwise from straight up, its hot spot
// at the tip.
CursorPicture DirectionArrow(double degrees) {
  static constexpr Point kUp[] = {{0, -11},   {9, -2},    {3.5, -2}, {3.5, 10},
                                  {-3.5, 10}, {-3.5, -2}, {-9, -2}};
  double angle = degrees * std::acos(-1.0) / 180.0;
  double c = std::cos(angle);
  double s = std::sin(angle);
  std::vector<Point> arrow;
  for (const Point& p : kUp)
    arrow.push_back({16 + p.x * c - p.y * s, 16 + p.x * s + p.y * c});
  Canvas canvas;
  canvas.Fill([&](double x, double y) { return Inside(arrow, x, y); }, kWhite);
  canvas.Outline();
  int hot_x = std::clamp(static_cast<int>(std::floor(arrow[0].x)), 0, kSize - 1);
  int hot_y = std::clamp(static_cast<int>(std::floor(arrow[0].y)), 0, kSize - 1);
  return {Still(canvas), hot_x, hot_y};
}

CursorPicture Magnifier() {
  Canvas canvas;
  canvas.Fill(Ring(12, 12, 6, 9), kWhite);
  canvas.Fill(
      [](double x, double y) {
        // The handle: points within 2.2 of the segment (18, 18) - (27, 27).
        double t = std::clamp(((x - 18) + (y - 18)) / 162.0 * 9.0, 0.0, 1.0);
        return std::hypot(x - (18 + 9 * t), y - (18 + 9 * t)) < 2.2;
      },
      kBrown);
  canvas.Outline();
  canvas.Fill(Ring(12, 12, 5, 6), kBlack);
  canvas.Fill(Disc(12, 12, 5), kGlass);
  return {Still(canvas), 12, 12};
}

CursorPicture Crosshair() {
  Canvas canvas;
  canvas.Fill(Ring(15.5, 15.5, 7, 8.5), kWhite);
  canvas.FillRect(15, 3, 1, 9, kWhite);
  canvas.FillRect(15, 20, 1, 9, kWhite);
  canvas.FillRect(3, 15, 9, 1, kWhite);
  canvas.FillRect(20, 15, 9, 1, kWhite);
  canvas.Set(15, 15, kWhite);
  canvas.Outline();
  return {Still(canvas), 15, 15};
}

CursorPicture Lever() {
  Canvas canvas;
  canvas.Art(6, 6,
             {
                 "...........XXX.....",
                 "..........XrrrX....",
                 "..........XrrrX....",
                 "...........XXX.....",
                 "..........X#X......",
                 ".........X#X.......",
                 "........X#X........",
                 ".......X#X.........",
                 "......X#X..........",
                 "...XXXXXXXXXXX.....",
                 "..XgggggggggggX....",
                 ".XgggggggggggggX...",
                 ".XgdddddddddddgX...",
                 ".XgggggggggggggX...",
                 "..XXXXXXXXXXXXX....",
             });
  return {Still(canvas), 18, 8};
}

CursorPicture GrabbingHand() {
  Canvas canvas;
  canvas.Art(6, 5,
             {
                 "........XX..........", "....XX.X##X.........", "...X##XX##X.XX......",
                 "...X##XX##XX##X.....", "...X##XX##XX##X.....", "...X##XX##XX##X.XX..",
                 "...X##XX##XX##XX##X.", "...X##XX##XX##XX##X.", "...X##############X.",
                 "XX.X##############X.", "X##X##############X.", "X###X#############X.",
                 ".X###X############X.", "..X##X############X.", "..X###############X.",
                 "...X#############X..", "....X############X..", ".....X##########X...",
                 "......X#########X...", "......XXXXXXXXXXX...",
             });
  return {Still(canvas), 15, 7};
}

CursorPicture PointingFinger() {
  Canvas canvas;
  canvas.Art(8, 4,
             {
                 ".....XX............", "....X##X...........", "....X##X...........",
                 "....X##X...........", "....X##X...........", "....X##XXX.........",
                 "....X##X##XXX......", "....X##X##X##XX....", ".XX.X##X##X##X#X...",
                 "X##XX########X##X..", "X###X###########X..", ".X##X###########X..",
                 "..X#############X..", "..X############X...", "...X###########X...",
                 "...X##########X....", "....X#########X....", "....X#########X....",
                 "....XXXXXXXXXXX....",
             });
  return {Still(canvas), 13, 4};
}

CursorPicture DefaultArrow() {
  Canvas canvas;
  canvas.Art(0, 0,
             {
                 "X...........", "XX..........", "X#X.........", "X##X........", "X###X.......",
                 "X####X......", "X#####X.....", "X######X....", "X#######X...", "X########X..",
                 "X#####XXXXX.", "X##X##X.....", "X#X.X##X....", "XX..X##X....", "X....X##X...",
                 ".....X##X...", "......X##X..", "......X##X..", ".......XX...",
             });
  return {Still(canvas), 0, 0};
}

CursorPicture Hourglass() {
  Canvas canvas;
  canvas.Art(8, 4,
             {
                 "XXXXXXXXXXXXXXXX", "XddddddddddddddX", "XXXXXXXXXXXXXXXX", ".X############X.",
                 ".X#yyyyyyyyyy#X.", ".X##yyyyyyyy##X.", "..X##yyyyyy##X..", "...X##yyyy##X...",
                 "....X##yy##X....", ".....X#yy#X.....", "......X##X......", "......X##X......",
                 ".....X#yy#X.....", "....X###y##X....", "...X####y###X...", "..X#####y####X..",
                 ".X#####yyy####X.", ".X####yyyyy###X.", ".X##yyyyyyyyy#X.", "XXXXXXXXXXXXXXXX",
                 "XddddddddddddddX", "XXXXXXXXXXXXXXXX",
             });
  return {Still(canvas), 15, 15};
}

PicturePtr CrossedBox() {
  Canvas canvas;
  canvas.FillRect(2, 2, 28, 28, kBlack);
  canvas.FillRect(3, 3, 26, 26, kPaleGrey);
  canvas.Fill(
      [](double x, double y) {
        bool inner = x > 4 && y > 4 && x < 28 && y < 28;
        return inner && (std::abs(x - y) < 1.5 || std::abs(x + y - 32) < 1.5);
      },
      kRed);
  return Still(canvas);
}

PicturePtr DashedFrame() {
  Canvas canvas;
  canvas.FillRect(2, 2, 28, 28, kShade);
  for (int i = 1; i < 31; ++i) {
    uint32_t color = (i / 3) % 2 == 0 ? kBlack : kWhite;
    canvas.Set(i, 1, color);
    canvas.Set(i, 30, color);
    canvas.Set(1, i, color);
    canvas.Set(30, i, color);
  }
  return Still(canvas);
}

PicturePtr ExclamationBox() {
  Canvas canvas;
  canvas.FillRect(2, 2, 28, 28, kBlack);
  canvas.FillRect(3, 3, 26, 26, kYellow);
  canvas.Art(14, 8,
             {
                 "XXXX",
                 "XXXX",
                 "XXXX",
                 "XXXX",
                 ".XX.",
                 ".XX.",
                 ".XX.",
                 ".XX.",
                 ".XX.",
                 "....",
                 "....",
                 "XXXX",
                 "XXXX",
                 "XXXX",
             });
  return Still(canvas);
}

// The new-location marker pulses between a large and a small red disc.
PicturePtr LocationMarker() {
  auto picture = std::make_shared<Picture>();
  picture->width = kSize;
  picture->height = kSize;
  for (double radius : {7.0, 5.0}) {
    Canvas canvas;
    canvas.Fill(Ring(16, 16, radius, radius + 2.5), kWhite);
    canvas.Fill(Disc(16, 16, radius), radius > 6 ? kRed : kBrightRed);
    canvas.Outline();
    picture->frames.push_back(canvas.ToImage());
    picture->delays_ms.push_back(500);
  }
  picture->loop_count = 0;
  return picture;
}

}  // namespace

BuiltinPictures::BuiltinPictures()
    : fnf_(CrossedBox()),
      ani_gif1_(DashedFrame()),
      unknown_object_(ExclamationBox()),
      no_pic_(Still(Canvas())),
      new_loca_(LocationMarker()) {
  for (int direction = 0; direction < 4; ++direction) {
    cursors_[1 + direction] = DirectionArrow(90.0 * direction);         // up, right, down, left
    cursors_[5 + direction] = DirectionArrow(45.0 + 90.0 * direction);  // the diagonals
  }
  cursors_[9] = Magnifier();
  cursors_[kSwitchCursor] = Lever();
  cursors_[kGoodieCursor] = GrabbingHand();
  cursors_[kReactorCursor] = PointingFinger();
  cursors_[kDefaultCursor] = DefaultArrow();
  cursors_[kBusyCursor] = Hourglass();
  cursors_[15] = Crosshair();
}

const CursorPicture& BuiltinPictures::Cursor(int number) const {
  if (number < 1 || number > kCursorCount) Raise(kErrSubscript);
  return cursors_[number];
}

}  // namespace qv::platform
