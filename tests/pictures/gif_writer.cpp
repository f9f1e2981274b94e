#include "pictures/gif_writer.h"

#include <gif_lib.h>

#include <memory>
#include <stdexcept>

namespace qv::testing {

namespace {

int Append(GifFileType* gif, const GifByteType* data, int length) {
  auto* out = static_cast<std::vector<uint8_t>*>(gif->UserData);
  out->insert(out->end(), data, data + length);
  return length;
}

struct MapFree {
  void operator()(ColorMapObject* map) const { GifFreeMapObject(map); }
};
using MapPtr = std::unique_ptr<ColorMapObject, MapFree>;

// giflib's colour maps hold a power of two of colours; the rest are black.
MapPtr MakeMap(const std::vector<uint32_t>& colors) {
  if (colors.empty()) return nullptr;
  int count = 2;
  while (count < static_cast<int>(colors.size()))
    count *= 2;
  std::vector<GifColorType> entries(static_cast<size_t>(count), GifColorType{0, 0, 0});
  for (size_t i = 0; i < colors.size(); ++i) {
    entries[i] = {static_cast<GifByteType>(colors[i] >> 16),
                  static_cast<GifByteType>(colors[i] >> 8), static_cast<GifByteType>(colors[i])};
  }
  return MapPtr(GifMakeMapObject(count, entries.data()));
}

void Check(int result) {
  if (result == GIF_ERROR) throw std::runtime_error("giflib could not write the test GIF");
}

}  // namespace

GifFrameLayout SolidFrame(int left, int top, int width, int height, uint8_t index) {
  GifFrameLayout frame;
  frame.left = left;
  frame.top = top;
  frame.width = width;
  frame.height = height;
  frame.indexes.assign(static_cast<size_t>(width) * height, index);
  return frame;
}

GifFrameLayout Controlled(GifFrameLayout frame, int disposal, int transparent, int delay_cs) {
  frame.control = true;
  frame.disposal = disposal;
  frame.transparent = transparent;
  frame.delay_cs = delay_cs;
  return frame;
}

std::vector<uint8_t> WriteGif(const GifLayout& design) {
  std::vector<uint8_t> out;
  int error = 0;
  GifFileType* gif = EGifOpen(&out, Append, &error);
  if (!gif) throw std::runtime_error("giflib could not start the test GIF");
  EGifSetGifVersion(gif, true);
  MapPtr global = MakeMap(design.colors);
  Check(EGifPutScreenDesc(gif, design.width, design.height, 8, 0, global.get()));
  if (design.loop >= 0) {
    const GifByteType loop[3] = {1, static_cast<GifByteType>(design.loop & 0xFF),
                                 static_cast<GifByteType>(design.loop >> 8)};
    Check(EGifPutExtensionLeader(gif, APPLICATION_EXT_FUNC_CODE));
    Check(EGifPutExtensionBlock(gif, 11, "NETSCAPE2.0"));
    Check(EGifPutExtensionBlock(gif, 3, loop));
    Check(EGifPutExtensionTrailer(gif));
  }
  for (const GifFrameLayout& frame : design.frames) {
    if (frame.control) {
      GraphicsControlBlock gcb{frame.disposal, false, frame.delay_cs, frame.transparent};
      GifByteType block[4];
      size_t length = EGifGCBToExtension(&gcb, block);
      Check(EGifPutExtension(gif, GRAPHICS_EXT_FUNC_CODE, static_cast<int>(length), block));
    }
    MapPtr local = MakeMap(frame.local_colors);
    Check(EGifPutImageDesc(gif, frame.left, frame.top, frame.width, frame.height, frame.interlace,
                           local.get()));
    std::vector<int> rows;
    if (frame.interlace) {
      for (int pass = 0; pass < 4; ++pass) {
        static constexpr int kStart[] = {0, 4, 2, 1};
        static constexpr int kStep[] = {8, 8, 4, 2};
        for (int y = kStart[pass]; y < frame.height; y += kStep[pass])
          rows.push_back(y);
      }
    } else {
      for (int y = 0; y < frame.height; ++y)
        rows.push_back(y);
    }
    std::vector<GifPixelType> line(static_cast<size_t>(frame.width));
    for (int y : rows) {
      for (int x = 0; x < frame.width; ++x) {
        line[static_cast<size_t>(x)] = frame.indexes[static_cast<size_t>(y) * frame.width + x];
      }
      Check(EGifPutLine(gif, line.data(), frame.width));
    }
  }
  if (EGifCloseFile(gif, &error) == GIF_ERROR) {
    throw std::runtime_error("giflib could not finish the test GIF");
  }
  return out;
}

std::vector<uint8_t> SolidGif(int width, int height, uint8_t index) {
  GifLayout design;
  design.width = width;
  design.height = height;
  design.frames = {SolidFrame(0, 0, width, height, index)};
  return WriteGif(design);
}

}  // namespace qv::testing
