// Fuzzes the reading of AVI movies from game data through FFmpeg: any bytes are either
// refused before decoding ("Invalid file format", or "Out of memory" beyond the budget) or
// decode to their end, pictures of the movie's own size and sound in the mixing format.
// Nothing crashes, hangs or allocates beyond the limits. The duration scan of headless
// runs reads the same bytes.

#include <cstdint>
#include <cstdlib>
#include <span>

#include "core/vb_error.h"
#include "platform/movies/movie_decoder.h"
#include "platform/sound_files.h"

namespace {

void Check(const qv::VbError& e) {
  if (e.number() != qv::kErrInvalidFileFormat && e.number() != qv::kErrOutOfMemory) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using qv::platform::MovieDecoder;
  const std::span<const uint8_t> bytes(data, size);
  static qv::platform::MemoryBudget budget(uint64_t{256} << 20);
  qv::platform::MovieLimits limits;
  limits.max_width = 1024;
  limits.max_height = 1024;
  limits.max_decoded_bytes = uint64_t{16} << 20;
  try {
    auto decoder = MovieDecoder::OpenBytes(bytes, limits, budget);
    const qv::platform::MovieInfo info = decoder->info();
    qv::platform::MovieVideoFrame frame;
    qv::platform::MovieSoundPiece sound;
    for (;;) {
      const MovieDecoder::Got got = decoder->Next(frame, sound);
      if (got == MovieDecoder::Got::kEnd) break;
      if (got == MovieDecoder::Got::kFrame &&
          (frame.image->width() != info.width || frame.image->height() != info.height)) {
        std::abort();
      }
      if (got == MovieDecoder::Got::kSound &&
          sound.samples.size() % qv::platform::kMixChannels != 0) {
        std::abort();
      }
    }
  } catch (const qv::VbError& e) {
    Check(e);
  }
  try {
    MovieDecoder::OpenBytes(bytes, limits, budget)->ScanDuration();
  } catch (const qv::VbError& e) {
    Check(e);
  }
  if (budget.used() != 0) std::abort();
  return 0;
}
