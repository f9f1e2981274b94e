#pragma once
// Movies as the media windows play them: a file is opened (and checked) once, then played
// from its start, stopped and played on again. Two players implement it: the decoding
// player of runs with a window (movies/decoded_movies.h: FFmpeg on a thread of its own,
// the sound on the output's movie stream, the picture paced by the sound) and the timed
// player of headless runs (movies/timed_movies.h: the file is checked and measured the
// same way, and the movie lasts its real length on the virtual clock, without pictures).
// Both refuse the same files with the same errors: 53 missing, 321 not an AVI we play,
// 7 beyond the memory budget.

#include <cstdint>
#include <filesystem>
#include <memory>
#include <optional>

#include "platform/image.h"

namespace qv::platform {

struct MovieInfo {
  int width = 0;  // the picture's own size in pixels
  int height = 0;
  double frames_per_second = 0;
  int64_t duration_ms = 0;  // as far as the file holds pictures or sound
  bool has_sound = false;
};

class Movie {
 public:
  virtual ~Movie() = default;
  virtual const MovieInfo& info() const = 0;
  // Plays on from where it stands (its start at first).
  virtual void Play() = 0;
  // Holds the picture shown; the sound goes quiet.
  virtual void Stop() = 0;
  // True once it has played to its end (or to where the file breaks off).
  virtual bool Ended() = 0;
  // The picture due now (null while none has been decoded, and always headless). Pictures
  // that are late are passed over, never shown behind time.
  virtual ImagePtr CurrentFrame() = 0;
  // When (on the backend's clock) something changes next: the next picture, or the end.
  // Unset while stopped.
  virtual std::optional<int64_t> NextChangeMs() = 0;
};

class MoviePlayer {
 public:
  virtual ~MoviePlayer() = default;
  // Opens and checks a movie file. Throws VbError 53, 321 or 7.
  virtual std::unique_ptr<Movie> Open(const std::filesystem::path& file) = 0;
};

}  // namespace qv::platform
