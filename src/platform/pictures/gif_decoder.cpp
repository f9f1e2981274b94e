// GIF decoding: giflib reads the records and the LZW data one line at a time; the frames
// are composited here onto a canvas the size of the logical screen, so every frame of
// the Picture is a complete image the animated picture control can show on its own.
//
// The work is bounded by the canvas: a frame that lies off the canvas has its image
// data passed over undecoded, and the lines of a frame below the canvas are passed over
// as soon as no line on the canvas is left to decode. What remains is counted (pixels
// decoded, drawn and copied into frames) against the limit of pixel work, checked
// before each frame from what its header claims.

#include <gif_lib.h>

#include <algorithm>
#include <array>
#include <cstring>
#include <istream>
#include <memory>

#include "core/vb_error.h"
#include "platform/pictures/picture_decoding.h"

namespace qv::platform {

namespace {

// Where giflib reads from: a block of memory or an open stream.
struct GifInput {
  std::span<const uint8_t> memory;
  size_t offset = 0;
  std::istream* stream = nullptr;
};

int ReadGifBytes(GifFileType* gif, GifByteType* buffer, int count) {
  auto* input = static_cast<GifInput*>(gif->UserData);
  if (count <= 0) return 0;
  auto wanted = static_cast<size_t>(count);
  if (input->stream) {
    input->stream->read(reinterpret_cast<char*>(buffer), count);
    return static_cast<int>(input->stream->gcount());
  }
  size_t n = std::min(wanted, input->memory.size() - input->offset);
  if (n > 0) std::memcpy(buffer, input->memory.data() + input->offset, n);
  input->offset += n;
  return static_cast<int>(n);
}

struct GifCloser {
  void operator()(GifFileType* gif) const {
    int error = 0;
    DGifCloseFile(gif, &error);
  }
};

// What the frames before the current one left to be undone.
enum class Disposal { kKeep, kClear, kRestore };

Disposal ToDisposal(int mode) {
  switch (mode) {
    case DISPOSE_BACKGROUND:
      return Disposal::kClear;
    case DISPOSE_PREVIOUS:
      return Disposal::kRestore;
    default:
      return Disposal::kKeep;  // unspecified, keep, and the undefined codes 4-7
  }
}

// What the records of a GIF claim, read without decoding any image data: its frames and
// the pixel work they would cost on its canvas. Limits are checked on the claims, so a
// file that is too much is refused before anything is decoded.
struct GifClaims {
  int frames = 0;
  uint64_t frame_bytes = 0;  // one canvas
};

// The rows of a frame down to the canvas's bottom edge, times its width: what decoding
// it costs (0 for a frame off the canvas), plus the canvas copied as the frame.
uint64_t FrameWork(const GifImageDesc& desc, int width, int height) {
  const uint64_t canvas = static_cast<uint64_t>(width) * height;
  if (desc.Left >= width || desc.Top >= height || desc.Width <= 0 || desc.Height <= 0) {
    return canvas;
  }
  const uint64_t rows = static_cast<uint64_t>(std::min(desc.Top + desc.Height, height) - desc.Top);
  return rows * static_cast<uint64_t>(desc.Width) + canvas;
}

GifClaims Prescan(GifFileType* gif, const PictureLimits& limits) {
  GifClaims claims;
  int width = gif->SWidth;
  int height = gif->SHeight;
  uint64_t work = 0;
  for (;;) {
    GifRecordType type = UNDEFINED_RECORD_TYPE;
    if (DGifGetRecordType(gif, &type) == GIF_ERROR) break;
    GifByteType* block = nullptr;
    if (type == EXTENSION_RECORD_TYPE) {
      int code = 0;
      if (DGifGetExtension(gif, &code, &block) == GIF_ERROR) break;
      while (block && DGifGetExtensionNext(gif, &block) != GIF_ERROR) {
      }
      if (block) break;
      continue;
    }
    if (type != IMAGE_DESC_RECORD_TYPE || DGifGetImageDesc(gif) == GIF_ERROR) break;
    const GifImageDesc& desc = gif->Image;
    if (desc.Width > limits.max_side || desc.Height > limits.max_side ||
        ++claims.frames > limits.max_frames) {
      Raise(kErrInvalidPicture);
    }
    if (claims.frames == 1) {
      // A canvas left 0 takes the first frame's extent, as the decoder does.
      if (width <= 0) width = desc.Left + desc.Width;
      if (height <= 0) height = desc.Top + desc.Height;
      if (width <= 0 || height <= 0 || width > limits.max_side || height > limits.max_side) {
        Raise(kErrInvalidPicture);
      }
      claims.frame_bytes = uint64_t{4} * static_cast<uint64_t>(width) * height;
    }
    work += FrameWork(desc, width, height);
    if (work > limits.max_pixel_work ||
        static_cast<uint64_t>(claims.frames) * claims.frame_bytes > limits.max_decoded_bytes) {
      Raise(kErrInvalidPicture);
    }
    do {
      if (DGifGetCodeNext(gif, &block) == GIF_ERROR) return claims;
    } while (block);
  }
  return claims;
}

// Reads the records of one GIF and composites its frames.
class GifReader {
 public:
  GifReader(GifFileType* gif, const PictureLimits& limits, GifClaims claims)
      : gif_(gif), limits_(limits), claims_(claims) {}

  PicturePtr Read() {
    picture_.loop_count = 1;
    // Any failure of the file itself ends the picture; the frames completed so far stay.
    for (bool more = true; more;) {
      GifRecordType type = UNDEFINED_RECORD_TYPE;
      if (DGifGetRecordType(gif_, &type) == GIF_ERROR) break;
      switch (type) {
        case IMAGE_DESC_RECORD_TYPE:
          more = ReadFrame();
          break;
        case EXTENSION_RECORD_TYPE:
          more = ReadExtension();
          break;
        default:
          more = false;
          break;  // the trailer
      }
    }
    if (picture_.frames.empty()) Raise(kErrInvalidPicture);
    picture_.lease.ShrinkTo(DecodedBytes(picture_));
    return std::make_shared<const Picture>(std::move(picture_));
  }

 private:
  // Adds work and refuses the file once it is over the limit.
  void AddWork(uint64_t pixels) {
    work_ += pixels;
    if (work_ > limits_.max_pixel_work) Raise(kErrInvalidPicture);
  }

  // Work done: after each slice of it, events may run.
  void Progress(uint64_t pixels) {
    since_yield_ += pixels;
    if (limits_.yield && since_yield_ >= limits_.yield_every) {
      since_yield_ = 0;
      limits_.yield();
    }
  }

  // The frames' memory from the game's budget, before it is spent: with the first
  // frame, all the file claims and the canvas they are drawn on.
  void ReserveFrame(uint64_t bytes) {
    if (limits_.memory == nullptr) return;
    if (picture_.frames.empty()) {
      const uint64_t claimed = static_cast<uint64_t>(std::max(claims_.frames, 1)) * bytes;
      picture_.lease = limits_.memory->Reserve(claimed + bytes);
    } else if (static_cast<int>(picture_.frames.size()) >= claims_.frames) {
      picture_.lease.Grow(bytes);
    }
  }

  bool ReadExtension() {
    int code = 0;
    GifByteType* block = nullptr;
    if (DGifGetExtension(gif_, &code, &block) == GIF_ERROR) return false;
    if (block && code == GRAPHICS_EXT_FUNC_CODE) {
      GraphicsControlBlock gcb;
      if (DGifExtensionToGCB(block[0], block + 1, &gcb) == GIF_OK) {
        control_ = gcb;
        has_control_ = true;
      }
    }
    bool looping = block && code == APPLICATION_EXT_FUNC_CODE && block[0] == 11 &&
                   (std::memcmp(block + 1, "NETSCAPE2.0", 11) == 0 ||
                    std::memcmp(block + 1, "ANIMEXTS1.0", 11) == 0);
    while (block) {
      if (DGifGetExtensionNext(gif_, &block) == GIF_ERROR) return false;
      if (looping && block && block[0] >= 3 && block[1] == 1) {
        int repeats = block[2] | (block[3] << 8);
        picture_.loop_count = repeats == 0 ? 0 : repeats + 1;
        looping = false;
      }
    }
    return true;
  }

  bool ReadFrame() {
    if (DGifGetImageDesc(gif_) == GIF_ERROR) return false;
    const GifImageDesc& desc = gif_->Image;
    if (desc.Width > limits_.max_side || desc.Height > limits_.max_side) {
      Raise(kErrInvalidPicture);
    }
    if (static_cast<int64_t>(picture_.frames.size()) >= limits_.max_frames) {
      Raise(kErrInvalidPicture);
    }
    if (canvas_.empty()) SetUpCanvas(desc);
    uint64_t canvas_pixels = static_cast<uint64_t>(width_) * height_;
    uint64_t frame_bytes = uint64_t{4} * canvas_pixels;
    if ((picture_.frames.size() + 1) * frame_bytes > limits_.max_decoded_bytes) {
      Raise(kErrInvalidPicture);
    }
    Rect area = ClipToCanvas(desc);
    AddWork(FrameWork(desc, width_, height_));
    ReserveFrame(frame_bytes);

    Dispose();
    Disposal disposal = has_control_ ? ToDisposal(control_.DisposalMode) : Disposal::kKeep;
    if (disposal == Disposal::kRestore) SaveArea(area);
    if (!DrawFrame(desc)) return false;  // broke off inside the frame: it is not kept

    picture_.frames.push_back(std::make_shared<const Image>(width_, height_, canvas_));
    Progress(canvas_pixels);
    picture_.delays_ms.push_back(has_control_ ? control_.DelayTime * 10 : 0);
    pending_ = disposal;
    pending_area_ = area;
    has_control_ = false;  // a graphic control block belongs to the next image only
    return true;
  }

  // The canvas is the logical screen; a file that leaves it 0 gets the first frame's
  // extent instead, as viewers do.
  void SetUpCanvas(const GifImageDesc& first) {
    width_ = gif_->SWidth > 0 ? gif_->SWidth : first.Left + first.Width;
    height_ = gif_->SHeight > 0 ? gif_->SHeight : first.Top + first.Height;
    if (width_ <= 0 || height_ <= 0 || width_ > limits_.max_side || height_ > limits_.max_side) {
      Raise(kErrInvalidPicture);
    }
    canvas_.assign(static_cast<size_t>(width_) * height_, 0);
    picture_.width = width_;
    picture_.height = height_;
  }

  Rect ClipToCanvas(const GifImageDesc& desc) const {
    int left = std::clamp(desc.Left, 0, width_);
    int top = std::clamp(desc.Top, 0, height_);
    int right = std::clamp(desc.Left + desc.Width, left, width_);
    int bottom = std::clamp(desc.Top + desc.Height, top, height_);
    return {left, top, right - left, bottom - top};
  }

  // Undoes what the previous frame asked to be undone before the next one is drawn:
  // "restore to background" clears its area to transparent (the background of an
  // animated object is the scene behind it), "restore to previous" puts back what its
  // area held before it was drawn.
  void Dispose() {
    Disposal pending = pending_;
    pending_ = Disposal::kKeep;
    const Rect& a = pending_area_;
    if (pending == Disposal::kKeep || a.w == 0 || a.h == 0) return;
    for (int y = 0; y < a.h; ++y) {
      uint32_t* row = CanvasRow(a, y);
      if (pending == Disposal::kClear) {
        std::fill_n(row, a.w, 0u);
      } else {
        std::copy_n(saved_.data() + static_cast<size_t>(y) * a.w, a.w, row);
      }
    }
  }

  void SaveArea(const Rect& a) {
    saved_.resize(static_cast<size_t>(a.w) * a.h);
    for (int y = 0; y < a.h && a.w > 0; ++y) {
      std::copy_n(CanvasRow(a, y), a.w, saved_.data() + static_cast<size_t>(y) * a.w);
    }
  }

  // Row y of an area of the canvas (one with pixels in it).
  uint32_t* CanvasRow(const Rect& a, int y) {
    return canvas_.data() + static_cast<size_t>(a.y + y) * width_ + a.x;
  }

  // The frame's colours as canvas pixels. Indexes the colour map does not cover are
  // opaque black, so no byte of the file can read past the map.
  std::array<uint32_t, 256> Palette(const GifImageDesc& desc) const {
    std::array<uint32_t, 256> palette;
    palette.fill(0xFF000000u);
    const ColorMapObject* map = desc.ColorMap ? desc.ColorMap : gif_->SColorMap;
    if (map && map->Colors) {
      int count = std::clamp(map->ColorCount, 0, 256);
      for (int i = 0; i < count; ++i) {
        const GifColorType& c = map->Colors[i];
        palette[i] = 0xFF000000u | (uint32_t{c.Red} << 16) | (uint32_t{c.Green} << 8) | c.Blue;
      }
    }
    return palette;
  }

  // Decodes the frame's lines onto the canvas; pixels of the transparent index leave the
  // canvas as it is. Returns false when the data breaks off.
  bool DrawFrame(const GifImageDesc& desc) {
    // Lines of the frame on the canvas; once they are drawn, the rest is passed over.
    int lines_left = std::clamp(std::min(desc.Top + desc.Height, height_), 0, height_) -
                     std::clamp(desc.Top, 0, height_);
    if (desc.Width <= 0 || desc.Height <= 0 || desc.Left >= width_ || lines_left <= 0) {
      return SkipImageData();
    }
    std::array<uint32_t, 256> palette = Palette(desc);
    int transparent = has_control_ ? control_.TransparentColor : NO_TRANSPARENT_COLOR;
    line_.resize(static_cast<size_t>(desc.Width));
    int first_x = std::clamp(-desc.Left, 0, desc.Width);
    int last_x = std::clamp(width_ - desc.Left, first_x, desc.Width);

    // Interlaced frames store every 8th row from 0, every 8th from 4, every 4th from 2,
    // then every 2nd from 1.
    static constexpr int kStart[] = {0, 4, 2, 1};
    static constexpr int kStep[] = {8, 8, 4, 2};
    int passes = desc.Interlace ? 4 : 1;
    int rows_read = 0;
    for (int pass = 0; pass < passes; ++pass) {
      int start = desc.Interlace ? kStart[pass] : 0;
      int step = desc.Interlace ? kStep[pass] : 1;
      for (int row = start; row < desc.Height; row += step) {
        if (DGifGetLine(gif_, line_.data(), desc.Width) == GIF_ERROR) return false;
        ++rows_read;
        Progress(static_cast<uint64_t>(desc.Width));
        int y = desc.Top + row;
        if (y < 0 || y >= height_) continue;
        DrawLine(desc, palette, transparent, first_x, last_x, y);
        // giflib passes over what follows the frame's last line by itself.
        if (--lines_left == 0 && rows_read < desc.Height) return SkipImageData();
      }
    }
    return true;
  }

  void DrawLine(const GifImageDesc& desc, const std::array<uint32_t, 256>& palette, int transparent,
                int first_x, int last_x, int y) {
    uint32_t* row_start = canvas_.data() + static_cast<size_t>(y) * width_;
    for (int x = first_x; x < last_x; ++x) {
      GifPixelType index = line_[static_cast<size_t>(x)];
      if (index != transparent) row_start[desc.Left + x] = palette[index];
    }
  }

  // Passes over the rest of a frame's image data without decoding it: an empty frame,
  // one off the canvas, or the lines below the canvas.
  bool SkipImageData() {
    GifByteType* block = nullptr;
    do {
      if (DGifGetCodeNext(gif_, &block) == GIF_ERROR) return false;
    } while (block);
    return true;
  }

  GifFileType* gif_;
  const PictureLimits& limits_;
  GifClaims claims_;
  Picture picture_;
  int width_ = 0;
  int height_ = 0;
  std::vector<uint32_t> canvas_;
  std::vector<uint32_t> saved_;  // the area a "restore to previous" frame covers
  std::vector<GifPixelType> line_;
  GraphicsControlBlock control_{};
  bool has_control_ = false;
  Disposal pending_ = Disposal::kKeep;
  Rect pending_area_;
  uint64_t work_ = 0;
  uint64_t since_yield_ = 0;
};

using GifPtr = std::unique_ptr<GifFileType, GifCloser>;

PicturePtr DecodeGifFrom(GifInput& input, const PictureLimits& limits) {
  int error = 0;
  const std::streampos start = input.stream ? input.stream->tellg() : std::streampos{};
  GifClaims claims;
  {
    GifPtr gif(DGifOpen(&input, ReadGifBytes, &error));
    if (!gif) Raise(kErrInvalidPicture);
    claims = Prescan(gif.get(), limits);
  }
  // Then read again from the start, decoding.
  if (input.stream) {
    input.stream->clear();
    input.stream->seekg(start);
  }
  input.offset = 0;
  GifPtr gif(DGifOpen(&input, ReadGifBytes, &error));
  if (!gif) Raise(kErrInvalidPicture);
  return GifReader(gif.get(), limits, claims).Read();
}

}  // namespace

PicturePtr DecodeGif(std::span<const uint8_t> bytes, const PictureLimits& limits) {
  GifInput input;
  input.memory = bytes;
  return DecodeGifFrom(input, limits);
}

PicturePtr DecodeGif(std::istream& stream, const PictureLimits& limits) {
  GifInput input;
  input.stream = &stream;
  return DecodeGifFrom(input, limits);
}

}  // namespace qv::platform
