#include "platform/sdl/ttf_fonts.h"

#include <SDL_ttf.h>

#include <algorithm>
#include <stdexcept>
#include <string>

namespace qv::platform {

TtfFonts::Files TtfFonts::DefaultFiles() {
  const std::filesystem::path dir = "/usr/share/fonts/truetype/dejavu";
  return {dir / "DejaVuSans.ttf", dir / "DejaVuSans-Bold.ttf"};
}

void TtfFonts::CloseFont::operator()(_TTF_Font* font) const {
  TTF_CloseFont(font);
}

TtfFonts::Library::Library() {
  if (TTF_Init() != 0) {
    throw std::runtime_error(std::string("Cannot start the font rasteriser: ") + TTF_GetError());
  }
}

TtfFonts::Library::~Library() {
  TTF_Quit();
}

TtfFonts::TtfFonts(Files files) : files_(std::move(files)) {
  // Open the regular font at once, so a missing font shows at start-up, not mid-game.
  Font(FontChoice{});
}

TtfFonts::~TtfFonts() = default;

_TTF_Font* TtfFonts::Font(const FontChoice& design) {
  const int size = std::clamp(design.size_px, 1, kMaxSizePx);
  const auto key = std::make_pair(size, design.bold);
  if (auto it = open_.find(key); it != open_.end()) return it->second.get();

  FontHandle font;
  if (design.bold && bold_file_usable_) {
    font.reset(TTF_OpenFont(files_.bold.c_str(), size));
    if (!font) bold_file_usable_ = false;
  }
  if (!font) {
    font.reset(TTF_OpenFont(files_.regular.c_str(), size));
    if (!font) {
      throw std::runtime_error("Cannot open the font " + files_.regular.string() + ": " +
                               TTF_GetError() + " (the package fonts-dejavu-core provides it)");
    }
    if (design.bold) TTF_SetFontStyle(font.get(), TTF_STYLE_BOLD);
  }
  return open_.emplace(key, std::move(font)).first->second.get();
}

TextSize TtfFonts::Measure(std::string_view utf8, const FontChoice& design) {
  _TTF_Font* font = Font(design);
  TextSize size{0, TTF_FontHeight(font)};
  if (utf8.empty()) return size;
  const std::string text(utf8);  // SDL_ttf needs the terminating zero
  int width = 0;
  int height = 0;
  if (TTF_SizeUTF8(font, text.c_str(), &width, &height) == 0) {
    size.width = width;
    size.height = std::max(size.height, height);
  }
  return size;
}

}  // namespace qv::platform
