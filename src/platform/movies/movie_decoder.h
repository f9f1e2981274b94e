#pragma once
// Reading AVI movies with FFmpeg: libavformat's AVI demuxer and nothing else, the video
// codecs such games were made with (Cinepak, Microsoft Video 1, Microsoft RLE, Indeo 3, 4
// and 5, Motion JPEG, MPEG-4 part 2, uncompressed) and their sound (PCM, Microsoft and
// IMA ADPCM, MP3). Pictures come out once converted by libswscale to the screen's pixels
// (0xAARRGGBB, opaque) at the movie's own size; sound by libswresample in the format the
// sound output mixes (16-bit stereo at 44100 Hz).
//
// Movie files are untrusted. Before anything is decoded: the file must be an AVI (other
// containers are never probed), its picture no larger than 4096 x 4096, its frame rate
// and length sane, its streams few and its codecs ours, or it is refused as "Invalid file
// format" (321); the memory its pictures and sound take while playing is reserved in the
// game's memory budget first ("Out of memory", 7). A file that breaks off, or frames that
// do not decode, end the movie where they begin: what is there plays.
// Not thread-safe: one thread uses one decoder.

#include <cstdint>
#include <filesystem>
#include <memory>
#include <span>
#include <vector>

#include "platform/image.h"
#include "platform/memory_budget.h"
#include "platform/movie.h"

namespace qv::platform {

struct MovieLimits {
  int max_width = 4096;
  int max_height = 4096;
  double min_frames_per_second = 0.1;
  double max_frames_per_second = 240;
  int64_t max_duration_ms = int64_t{30} * 60 * 1000;
  int max_streams = 8;
  uintmax_t max_file_bytes = uintmax_t{2} << 30;
  // Everything decoded over the movie's life (pictures and sound), 0 for no bound: the
  // fuzzer's way of keeping each run short. Beyond it the movie ends.
  uint64_t max_decoded_bytes = 0;
  // Pictures held at once besides the one being decoded (the player's queue).
  int queued_frames = 8;
};

struct MovieVideoFrame {
  int64_t time_ms = 0;  // when it is shown, from the movie's start
  ImagePtr image;
};

struct MovieSoundPiece {
  int64_t time_ms = 0;
  std::vector<int16_t> samples;  // interleaved left, right at the mixing rate
};

class MovieDecoder {
 public:
  enum class Got { kFrame, kSound, kEnd };

  // Opens and checks a movie. VbError 53 when the file is missing (or no ordinary file),
  // 321 when it is not an AVI we play, 7 when it does not fit in `budget`.
  static std::unique_ptr<MovieDecoder> OpenFile(const std::filesystem::path& file,
                                                const MovieLimits& limits, MemoryBudget& budget);
  // The same from bytes in memory (which must outlive the decoder).
  static std::unique_ptr<MovieDecoder> OpenBytes(std::span<const uint8_t> bytes,
                                                 const MovieLimits& limits, MemoryBudget& budget);
  virtual ~MovieDecoder() = default;

  // The duration is the header's until the file has been scanned or played through.
  virtual const MovieInfo& info() const = 0;

  // Decodes on until a picture or a piece of sound is ready (or the movie has ended).
  virtual Got Next(MovieVideoFrame& frame, MovieSoundPiece& sound) = 0;

  // Reads the rest of the file without decoding it and sets the duration to where its
  // last picture or sound ends. Use on a decoder that has not decoded anything.
  virtual void ScanDuration() = 0;
};

}  // namespace qv::platform
