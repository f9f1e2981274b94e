#pragma once
// Decoding one picture file into a Picture, without any cache. GIFs go through giflib
// and our own compositing; every other format through SDL2_image. The format is told by
// the file's first bytes, not by its name, so a GIF saved as "door.bmp" still animates.
//
// What a decoded Picture holds:
// - a still picture (BMP, JPG, PNG, ...): one frame, delays_ms {0}, loop_count 1;
// - a GIF: one fully composited canvas-sized frame per image of the file, its delay in
//   milliseconds (the file's centiseconds x 10, 0 when it gives none), and loop_count:
//     no NETSCAPE2.0 (or ANIMEXTS1.0) block   -> 1 (plays once),
//     a loop count of 0 in that block         -> 0 (loops for ever),
//     a loop count of n > 0                   -> n + 1 (n repeats after the first play,
//                                                as web browsers play such files).
//
// Errors: a file that is not there, or is no ordinary file (a FIFO, a device), raises
// "File not found" (53); a folder or an unreadable file "Path/File access error" (75);
// bytes that do not decode, and pictures over the limits of `PictureLimits`, "Invalid
// picture" (481); frames that do not fit in the memory budget "Out of memory" (7). A GIF that
// breaks off after one or more complete frames keeps those frames: a truncated download or a sloppy
// writer should still show what it holds; a GIF without one complete frame is invalid.

#include <cstdint>
#include <filesystem>
#include <functional>
#include <iosfwd>
#include <span>

#include "platform/pictures.h"

namespace qv::platform {

// The budget for untrusted pictures, checked before the memory is spent.
struct PictureLimits {
  int max_side = 4096;  // canvas and each frame, in pixels
  int max_frames = 2000;
  uint64_t max_decoded_bytes = uint64_t{256} << 20;  // all frames of one picture, 4 bytes a pixel
  // Pixels a GIF may cost to decode (each pixel decoded, drawn or copied into a frame):
  // about a second of work. Beyond it the file is refused as invalid.
  uint64_t max_pixel_work = uint64_t{1} << 28;
  // Called after every `yield_every` pixels of work (a few hundredths of a second), so
  // that a long decode lets the player's events run (none: it does not).
  std::function<void()> yield;
  uint64_t yield_every = uint64_t{1} << 22;
  // The game's budget the decoded frames count against (none: only the limits above).
  MemoryBudget* memory = nullptr;
};

// The memory a decoded picture takes (its frames' pixels).
uint64_t DecodedBytes(const Picture& picture);

// Decodes a GIF from memory (the fuzz target and tests use this), or from a stream read
// from its current position.
PicturePtr DecodeGif(std::span<const uint8_t> bytes, const PictureLimits& limits = {});
PicturePtr DecodeGif(std::istream& stream, const PictureLimits& limits = {});

// Decodes a still picture from memory through SDL2_image (never as a GIF).
PicturePtr DecodeStill(std::span<const uint8_t> bytes, const PictureLimits& limits = {});

// Decodes a picture file, streaming GIFs so that the budget is enforced frame by frame.
PicturePtr DecodePictureFile(const std::filesystem::path& path, const PictureLimits& limits = {});

}  // namespace qv::platform
