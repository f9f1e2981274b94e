#include "shell/interface_pictures.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "core/vb_error.h"

namespace qv::shell {

namespace {

using platform::Image;
using platform::Picture;
using platform::PicturePtr;

// A glyph of the pixel font: 7 rows of 5 columns, '#' lit.
struct Glyph {
  char c;
  std::array<const char*, 7> rows;
};

constexpr Glyph kFont[] = {
    {'A', {" ### ", "#   #", "#   #", "#####", "#   #", "#   #", "#   #"}},
    {'B', {"#### ", "#   #", "#   #", "#### ", "#   #", "#   #", "#### "}},
    {'C', {" ### ", "#   #", "#    ", "#    ", "#    ", "#   #", " ### "}},
    {'D', {"#### ", "#   #", "#   #", "#   #", "#   #", "#   #", "#### "}},
    {'E', {"#####", "#    ", "#    ", "#### ", "#    ", "#    ", "#####"}},
    {'F', {"#####", "#    ", "#    ", "#### ", "#    ", "#    ", "#    "}},
    {'G', {" ### ", "#   #", "#    ", "# ###", "#   #", "#   #", " ####"}},
    {'H', {"#   #", "#   #", "#   #", "#####", "#   #", "#   #", "#   #"}},
    {'I', {" ### ", "  #  ", "  #  ", "  #  ", "  #  ", "  #  ", " ### "}},
    {'J', {"  ###", "   # ", "   # ", "   # ", "   # ", "#  # ", " ##  "}},
    {'K', {"#   #", "#  # ", "# #  ", "##   ", "# #  ", "#  # ", "#   #"}},
    {'L', {"#    ", "#    ", "#    ", "#    ", "#    ", "#    ", "#####"}},
    {'M', {"#   #", "## ##", "# # #", "# # #", "#   #", "#   #", "#   #"}},
    {'N', {"#   #", "##  #", "# # #", "#  ##", "#   #", "#   #", "#   #"}},
    {'O', {" ### ", "#   #", "#   #", "#   #", "#   #", "#   #", " ### "}},
    {'P', {"#### ", "#   #", "#   #", "#### ", "#    ", "#    ", "#    "}},
    {'Q', {" ### ", "#   #", "#   #", "#   #", "# # #", "#  # ", " ## #"}},
    {'R', {"#### ", "#   #", "#   #", "#### ", "# #  ", "#  # ", "#   #"}},
    {'S', {" ####", "#    ", "#    ", " ### ", "    #", "    #", "#### "}},
    {'T', {"#####", "  #  ", "  #  ", "  #  ", "  #  ", "  #  ", "  #  "}},
    {'U', {"#   #", "#   #", "#   #", "#   #", "#   #", "#   #", " ### "}},
    {'V', {"#   #", "#   #", "#   #", "#   #", "#   #", " # # ", "  #  "}},
    {'W', {"#   #", "#   #", "#   #", "# # #", "# # #", "## ##", "#   #"}},
    {'X', {"#   #", "#   #", " # # ", "  #  ", " # # ", "#   #", "#   #"}},
    {'Y', {"#   #", "#   #", " # # ", "  #  ", "  #  ", "  #  ", "  #  "}},
    {'Z', {"#####", "    #", "   # ", "  #  ", " #   ", "#    ", "#####"}},
    {'0', {" ### ", "#   #", "#  ##", "# # #", "##  #", "#   #", " ### "}},
    {'1', {"  #  ", " ##  ", "  #  ", "  #  ", "  #  ", "  #  ", " ### "}},
    {'2', {" ### ", "#   #", "    #", "   # ", "  #  ", " #   ", "#####"}},
    {'3', {"#####", "   # ", "  #  ", "   # ", "    #", "#   #", " ### "}},
    {'4', {"   # ", "  ## ", " # # ", "#  # ", "#####", "   # ", "   # "}},
    {'5', {"#####", "#    ", "#### ", "    #", "    #", "#   #", " ### "}},
    {'6', {"  ## ", " #   ", "#    ", "#### ", "#   #", "#   #", " ### "}},
    {'7', {"#####", "    #", "   # ", "  #  ", " #   ", " #   ", " #   "}},
    {'8', {" ### ", "#   #", "#   #", " ### ", "#   #", "#   #", " ### "}},
    {'9', {" ### ", "#   #", "#   #", " ####", "    #", "   # ", " ##  "}},
    {'.', {"     ", "     ", "     ", "     ", "     ", " ##  ", " ##  "}},
    {':', {"     ", " ##  ", " ##  ", "     ", " ##  ", " ##  ", "     "}},
    {'?', {" ### ", "#   #", "    #", "   # ", "  #  ", "     ", "  #  "}},
    {'!', {"  #  ", "  #  ", "  #  ", "  #  ", "  #  ", "     ", "  #  "}},
    {'-', {"     ", "     ", "     ", "#####", "     ", "     ", "     "}},
    {'/', {"    #", "    #", "   # ", "  #  ", " #   ", "#    ", "#    "}},
};

const Glyph* FindGlyph(char c) {
  for (const Glyph& g : kFont) {
    if (g.c == c) return &g;
  }
  return nullptr;
}

constexpr int kGlyphAdvance = 6;  // five columns and one blank

uint32_t Argb(uint32_t rgb) {
  return 0xFF000000u | rgb;
}

// A drawing surface of any size.
class Canvas {
 public:
  Canvas(int width, int height, uint32_t fill = 0xFF000000u)
      : width_(width), height_(height), pixels_(static_cast<size_t>(width * height), fill) {}

  int width() const { return width_; }
  int height() const { return height_; }

  void Set(int x, int y, uint32_t color) {
    if (x >= 0 && y >= 0 && x < width_ && y < height_)
      pixels_[static_cast<size_t>(y * width_ + x)] = color;
  }

  uint32_t Get(int x, int y) const {
    return x >= 0 && y >= 0 && x < width_ && y < height_
               ? pixels_[static_cast<size_t>(y * width_ + x)]
               : 0;
  }

  void FillRect(int left, int top, int width, int height, uint32_t color) {
    for (int y = top; y < top + height; ++y) {
      for (int x = left; x < left + width; ++x)
        Set(x, y, color);
    }
  }

  // A vertical gradient from `top` to `bottom` colours (0xRRGGBB).
  void Gradient(uint32_t top, uint32_t bottom) {
    for (int y = 0; y < height_; ++y) {
      const double t = height_ > 1 ? static_cast<double>(y) / (height_ - 1) : 0.0;
      FillRect(0, y, width_, 1, Argb(Mix(top, bottom, t)));
    }
  }

  // A frame `thickness` pixels wide inside the edge.
  void Frame(uint32_t color, int thickness = 1) {
    for (int i = 0; i < thickness; ++i) {
      FillRect(i, i, width_ - 2 * i, 1, color);
      FillRect(i, height_ - 1 - i, width_ - 2 * i, 1, color);
      FillRect(i, i, 1, height_ - 2 * i, color);
      FillRect(width_ - 1 - i, i, 1, height_ - 2 * i, color);
    }
  }

  void Text(std::string_view text, int left, int top, int scale, uint32_t color) {
    int x = left;
    for (char c : text) {
      if (const Glyph* g = FindGlyph(c)) {
        for (int row = 0; row < 7; ++row) {
          for (int col = 0; col < 5; ++col) {
            if (g->rows[static_cast<size_t>(row)][col] == '#')
              FillRect(x + col * scale, top + row * scale, scale, scale, color);
          }
        }
      }
      x += kGlyphAdvance * scale;
    }
  }

  // The text centred on the canvas (horizontally, and vertically around `middle_y`).
  void CentredText(std::string_view text, int middle_y, int scale, uint32_t color) {
    const int w = InterfacePictures::TextWidth(text, scale);
    Text(text, (width_ - w) / 2, middle_y - 7 * scale / 2, scale, color);
  }

  platform::ImagePtr ToImage() const {
    return std::make_shared<const Image>(width_, height_, pixels_);
  }

  static uint32_t Mix(uint32_t a, uint32_t b, double t) {
    auto channel = [&](int shift) {
      const double ca = (a >> shift) & 0xFF;
      const double cb = (b >> shift) & 0xFF;
      return static_cast<uint32_t>(std::lround(ca + (cb - ca) * t)) << shift;
    };
    return channel(16) | channel(8) | channel(0);
  }

 private:
  int width_;
  int height_;
  std::vector<uint32_t> pixels_;
};

PicturePtr MakePicture(const std::vector<Canvas>& frames, int delay_ms, int loop_count) {
  auto picture = std::make_shared<Picture>();
  picture->width = frames.front().width();
  picture->height = frames.front().height();
  for (const Canvas& canvas : frames) {
    picture->frames.push_back(canvas.ToImage());
    picture->delays_ms.push_back(delay_ms);
  }
  picture->loop_count = loop_count;
  return picture;
}

// A button in its two states: frame 0 lit (bright face, yellow text), frame 1 normal.
// `extra_lit` adds a third frame equal to the lit one (the examine button).
PicturePtr Button(std::string_view caption, int width, int height, int scale,
                  bool extra_lit = false) {
  auto face = [&](bool lit) {
    Canvas c(width, height);
    c.Gradient(lit ? 0x5A6E96 : 0x323C5A, lit ? 0x2E3A5C : 0x191E30);
    c.Frame(Argb(lit ? 0xF0D060 : 0x8090B0));
    c.CentredText(caption, height / 2, scale, Argb(lit ? 0xFFE070 : 0xE8E8F0));
    return c;
  };
  std::vector<Canvas> frames = {face(true), face(false)};
  if (extra_lit) frames.push_back(face(true));
  return MakePicture(frames, 0, 1);
}

PicturePtr Still(const Canvas& canvas) {
  return MakePicture({canvas}, 0, 1);
}

PicturePtr Panel(int width, int height, std::string_view title) {
  Canvas c(width, height);
  c.Gradient(0x2A3350, 0x10131F);
  c.Frame(Argb(0x8090B0), 2);
  if (!title.empty()) c.CentredText(title, 22, 2, Argb(0xC8D0E8));
  return Still(c);
}

// The engine logo: "QVX" in the dark, lit by a beam that sweeps across it and leaves
// it glowing; 16 frames of 90 ms.
PicturePtr EngineLogoPicture() {
  constexpr int kFrames = 16;
  std::vector<Canvas> frames;
  const std::string_view word = "QVX";
  const int scale = 8;
  const int text_w = InterfacePictures::TextWidth(word, scale);
  const int text_x = (kLogoWidth - text_w) / 2;
  const int text_y = 20;
  for (int f = 0; f < kFrames; ++f) {
    Canvas c(kLogoWidth, kLogoHeight);
    const double t = static_cast<double>(f) / (kFrames - 1);
    // The beam: a bright vertical band moving left to right.
    const double beam_x = -40 + t * (kLogoWidth + 80);
    for (int x = 0; x < kLogoWidth; ++x) {
      const double d = std::abs(x - beam_x);
      const double glow = std::max(0.0, 1.0 - d / 40.0);
      const uint32_t sky = Canvas::Mix(0x000000, 0x30405A, glow * 0.8);
      c.FillRect(x, 0, 1, kLogoHeight, Argb(sky));
    }
    // The letters: dim until the beam has passed over them, then gold.
    Canvas letters(kLogoWidth, kLogoHeight, 0);
    letters.Text(word, text_x, text_y, scale, 1);
    for (int y = 0; y < kLogoHeight; ++y) {
      for (int x = 0; x < kLogoWidth; ++x) {
        if (letters.Get(x, y) == 0) continue;
        const bool lit = x < beam_x;
        c.Set(x, y, Argb(lit ? 0xF0C040 : 0x404858));
      }
    }
    c.CentredText("PLAYER", 100, 2, Argb(Canvas::Mix(0x202020, 0xC8D0E8, t)));
    frames.push_back(std::move(c));
  }
  return MakePicture(frames, 90, 1);
}

}  // namespace

int InterfacePictures::TextWidth(std::string_view text, int scale) {
  if (text.empty()) return 0;
  return (static_cast<int>(text.size()) * kGlyphAdvance - 1) * scale;
}

InterfacePictures::InterfacePictures() {
  const char* captions[5] = {"INTRO", "NEW GAME", "LOAD GAME", "CREDITS", "QUIT"};
  for (int n = 0; n < 5; ++n)
    menu_buttons_[n] = Button(captions[n], kMenuButtonWidth, kMenuButtonHeight, 3);

  Canvas menu(800, 600);
  menu.Gradient(0x101830, 0x000000);
  menu.CentredText("QUORVEX PLAYER", 90, 5, Argb(0xC8D0E8));
  menu_background_ = Still(menu);

  Canvas game(800, 600);
  game.Gradient(0x141A2A, 0x05070C);
  game_background_ = Still(game);

  main_menu_button_ = Button("MENU", kGameButtonWidth, kGameButtonHeight, 2);
  save_button_ = Button("SAVE", kGameButtonWidth, kGameButtonHeight, 2);
  examine_button_ = Button("EXAMINE", kGameButtonWidth, kGameButtonHeight, 2, true);
  quit_background_ = Panel(kQuitWidth, kQuitHeight, "");
  save_background_ = Panel(400, 300, "SAVE GAME");
  load_background_ = Panel(400, 300, "LOAD GAME");
  yes_ = Button("YES", kDialogButtonWidth, kDialogButtonHeight, 2);
  no_ = Button("NO", kDialogButtonWidth, kDialogButtonHeight, 2);
  ok_ = Button("OK", kDialogButtonWidth, kDialogButtonHeight, 2);
  cancel_ = Button("CANCEL", kDialogButtonWidth, kDialogButtonHeight, 2);
  engine_logo_ = EngineLogoPicture();
}

const PicturePtr& InterfacePictures::MenuButton(int n) const {
  if (n < 1 || n > 5) Raise(kErrSubscript);
  return menu_buttons_[n - 1];
}

}  // namespace qv::shell
