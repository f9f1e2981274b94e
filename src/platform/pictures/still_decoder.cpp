// Still pictures through SDL2_image. The size a BMP, PNG or JPEG header announces is
// checked against the budget before SDL2_image allocates the picture, so a tiny file
// that claims to be 60000 x 60000 pixels costs nothing; the other raster formats
// SDL2_image reads are checked once decoded, and SVG is refused.

#include <SDL.h>
#include <SDL_image.h>
#include <jpeglib.h>

#include <csetjmp>
#include <cstring>
#include <limits>
#include <memory>
#include <optional>

#include "core/vb_error.h"
#include "platform/pictures/picture_decoding.h"
#include "platform/sdl_handles.h"

namespace qv::platform {

namespace {

enum class Format { kBmp, kJpeg, kPng, kGif, kOther };

bool StartsWith(std::span<const uint8_t> bytes, std::string_view magic) {
  return bytes.size() >= magic.size() && std::memcmp(bytes.data(), magic.data(), magic.size()) == 0;
}

Format Sniff(std::span<const uint8_t> bytes) {
  if (StartsWith(bytes, "BM")) return Format::kBmp;
  if (StartsWith(bytes, "\xFF\xD8\xFF")) return Format::kJpeg;
  if (StartsWith(bytes, "\x89PNG\r\n\x1A\n")) return Format::kPng;
  if (StartsWith(bytes, "GIF8")) return Format::kGif;
  return Format::kOther;
}

struct Size {
  int64_t width = 0;
  int64_t height = 0;
};

uint32_t Le16(const uint8_t* p) {
  return uint32_t{p[0]} | uint32_t{p[1]} << 8;
}
uint32_t Le32(const uint8_t* p) {
  return Le16(p) | Le16(p + 2) << 16;
}
uint32_t Be32(const uint8_t* p) {
  return uint32_t{p[0]} << 24 | uint32_t{p[1]} << 16 | uint32_t{p[2]} << 8 | p[3];
}

// The BMP info header: the old OS/2 form has 16-bit sizes, all others 32-bit ones, the
// height negative for pictures stored top row first.
std::optional<Size> BmpSize(std::span<const uint8_t> bytes) {
  if (bytes.size() < 26) return std::nullopt;
  const uint8_t* p = bytes.data();
  if (Le32(p + 14) == 12) return Size{Le16(p + 18), Le16(p + 20)};
  auto height = static_cast<int32_t>(Le32(p + 22));
  return Size{static_cast<int32_t>(Le32(p + 18)), height < 0 ? -int64_t{height} : height};
}

std::optional<Size> PngSize(std::span<const uint8_t> bytes) {
  if (bytes.size() < 24 || std::memcmp(bytes.data() + 12, "IHDR", 4) != 0) return std::nullopt;
  return Size{Be32(bytes.data() + 16), Be32(bytes.data() + 20)};
}

// libjpeg reports errors by calling error_exit, which must not return: it jumps back
// to the header reader.
struct JpegErrors {
  jpeg_error_mgr manager;
  std::jmp_buf jump;
};

void OnJpegError(j_common_ptr info) {
  std::longjmp(reinterpret_cast<JpegErrors*>(info->err)->jump, 1);
}
void OnJpegMessage(j_common_ptr, int) {}

// Reads the JPEG markers up to the frame header; nothing is decoded.
bool ReadJpegHeader(const uint8_t* data, unsigned long size, JDIMENSION* width,
                    JDIMENSION* height) {
  jpeg_decompress_struct info;
  JpegErrors errors;
  std::memset(&info, 0, sizeof info);
  info.err = jpeg_std_error(&errors.manager);
  errors.manager.error_exit = OnJpegError;
  errors.manager.emit_message = OnJpegMessage;
  if (setjmp(errors.jump)) {
    jpeg_destroy_decompress(&info);
    return false;
  }
  jpeg_create_decompress(&info);
  jpeg_mem_src(&info, data, size);
  bool ok = jpeg_read_header(&info, TRUE) == JPEG_HEADER_OK;
  *width = info.image_width;
  *height = info.image_height;
  jpeg_destroy_decompress(&info);
  return ok;
}

std::optional<Size> JpegSize(std::span<const uint8_t> bytes) {
  JDIMENSION width = 0;
  JDIMENSION height = 0;
  if (!ReadJpegHeader(bytes.data(), static_cast<unsigned long>(bytes.size()), &width, &height)) {
    return std::nullopt;
  }
  return Size{width, height};
}

void CheckSize(Size size, const PictureLimits& limits) {
  if (size.width <= 0 || size.height <= 0 || size.width > limits.max_side ||
      size.height > limits.max_side ||
      static_cast<uint64_t>(size.width * size.height * 4) > limits.max_decoded_bytes) {
    Raise(kErrInvalidPicture);
  }
}

// Copies a 32-bit ARGB surface row by row (its rows may be padded).
std::vector<uint32_t> CopyArgbRows(const SDL_Surface& surface) {
  std::vector<uint32_t> pixels(static_cast<size_t>(surface.w) * surface.h);
  const auto* src = static_cast<const uint8_t*>(surface.pixels);
  auto row_bytes = static_cast<size_t>(surface.w) * 4;
  for (int y = 0; y < surface.h; ++y) {
    std::memcpy(pixels.data() + static_cast<size_t>(y) * surface.w,
                src + static_cast<size_t>(y) * surface.pitch, row_bytes);
  }
  return pixels;
}

// The surface as straight-alpha 0xAARRGGBB pixels. Direct-colour surfaces convert in
// one pass; palette pictures and colour-keyed ones go through SDL's surface conversion,
// which turns the key colour into transparent pixels.
std::vector<uint32_t> ToArgb(SDL_Surface& surface) {
  Uint32 format = surface.format->format;
  if (format == SDL_PIXELFORMAT_ARGB8888 && !SDL_HasColorKey(&surface)) {
    return CopyArgbRows(surface);
  }
  if (!SDL_ISPIXELFORMAT_INDEXED(format) && !SDL_HasColorKey(&surface)) {
    std::vector<uint32_t> pixels(static_cast<size_t>(surface.w) * surface.h);
    if (SDL_ConvertPixels(surface.w, surface.h, format, surface.pixels, surface.pitch,
                          SDL_PIXELFORMAT_ARGB8888, pixels.data(), surface.w * 4) == 0) {
      return pixels;
    }
  }
  SurfacePtr converted(SDL_ConvertSurfaceFormat(&surface, SDL_PIXELFORMAT_ARGB8888, 0));
  if (!converted || SDL_LockSurface(converted.get()) != 0) Raise(kErrInvalidPicture);
  std::vector<uint32_t> pixels = CopyArgbRows(*converted);
  SDL_UnlockSurface(converted.get());
  return pixels;
}

}  // namespace

PicturePtr DecodeStill(std::span<const uint8_t> bytes, const PictureLimits& limits) {
  if (bytes.empty() || bytes.size() > static_cast<size_t>(std::numeric_limits<int>::max())) {
    Raise(kErrInvalidPicture);
  }
  const char* type = nullptr;  // let SDL2_image tell the format
  std::optional<Size> announced;
  switch (Sniff(bytes)) {
    case Format::kBmp:
      type = "BMP";
      announced = BmpSize(bytes);
      break;
    case Format::kJpeg:
      type = "JPG";
      announced = JpegSize(bytes);
      break;
    case Format::kPng:
      type = "PNG";
      announced = PngSize(bytes);
      break;
    case Format::kGif:
      Raise(kErrInvalidPicture);  // GIFs are giflib's alone
    case Format::kOther:
      break;
  }
  MemoryLease lease;
  if (type) {
    if (!announced) Raise(kErrInvalidPicture);
    CheckSize(*announced, limits);
    // The pixels and SDL's surface of them, before they are decoded.
    if (limits.memory) {
      lease = limits.memory->Reserve(uint64_t{8} * announced->width * announced->height);
    }
  }

  RWopsPtr source(SDL_RWFromConstMem(bytes.data(), static_cast<int>(bytes.size())));
  if (!source) Raise(kErrInvalidPicture);
  // A vector picture is drawn at whatever size it claims, before we could check it.
  if (!type && IMG_isSVG(source.get())) Raise(kErrInvalidPicture);
  SurfacePtr surface(type ? IMG_LoadTyped_RW(source.get(), 0, type) : IMG_Load_RW(source.get(), 0));
  if (!surface) Raise(kErrInvalidPicture);
  CheckSize({surface->w, surface->h}, limits);
  const uint64_t pixel_bytes = uint64_t{4} * static_cast<uint64_t>(surface->w) * surface->h;
  if (limits.memory && lease.bytes() == 0) lease = limits.memory->Reserve(2 * pixel_bytes);
  if (SDL_MUSTLOCK(surface.get()) && SDL_LockSurface(surface.get()) != 0) {
    Raise(kErrInvalidPicture);
  }
  std::vector<uint32_t> pixels = ToArgb(*surface);
  if (SDL_MUSTLOCK(surface.get())) SDL_UnlockSurface(surface.get());

  Picture picture;
  picture.width = surface->w;
  picture.height = surface->h;
  picture.frames.push_back(
      std::make_shared<const Image>(surface->w, surface->h, std::move(pixels)));
  picture.delays_ms.push_back(0);
  picture.loop_count = 1;
  lease.ShrinkTo(pixel_bytes);
  picture.lease = std::move(lease);
  return std::make_shared<const Picture>(std::move(picture));
}

}  // namespace qv::platform
