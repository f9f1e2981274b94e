#pragma once
// The player's font, DejaVu Sans (regular and bold), measured and rasterised by SDL_ttf.
// Needs no window or video device, so headless runs measure text with the very font the
// window draws it with. Opened fonts are kept per size.

#include <filesystem>
#include <map>
#include <memory>
#include <utility>

#include "platform/fonts.h"

struct _TTF_Font;  // SDL_ttf's font, kept out of this header

namespace qv::platform {

class TtfFonts : public Fonts {
 public:
  struct Files {
    std::filesystem::path regular;
    std::filesystem::path bold;
  };
  // Debian's fonts-dejavu-core.
  static Files DefaultFiles();

  // Throws std::runtime_error naming the file when the regular font cannot be opened.
  // A bold file that cannot be opened is replaced by the regular font made bold.
  explicit TtfFonts(Files files = DefaultFiles());
  ~TtfFonts() override;
  TtfFonts(const TtfFonts&) = delete;
  TtfFonts& operator=(const TtfFonts&) = delete;

  // Width of the text and the height of a line of the font.
  TextSize Measure(std::string_view utf8, const FontChoice& font) override;

  // The opened font for a font description (sizes clamped to 1..kMaxSizePx); for the renderer.
  _TTF_Font* Font(const FontChoice& font);

  static constexpr int kMaxSizePx = 400;

 private:
  struct CloseFont {
    void operator()(_TTF_Font* font) const;
  };
  using FontHandle = std::unique_ptr<_TTF_Font, CloseFont>;
  // SDL_ttf started for as long as the fonts live (it counts its users).
  struct Library {
    Library();
    ~Library();
    Library(const Library&) = delete;
    Library& operator=(const Library&) = delete;
  };

  Library library_;  // first in, last out: the fonts close before the library stops
  Files files_;
  bool bold_file_usable_ = true;
  std::map<std::pair<int, bool>, FontHandle> open_;  // by (size, bold)
};

}  // namespace qv::platform
