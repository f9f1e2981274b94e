// The timed player of headless runs: a movie lasts its real length on the virtual clock.

#include <algorithm>

#include "platform/movies/movie_players.h"

namespace qv::platform {

namespace {

class TimedMovie : public Movie {
 public:
  TimedMovie(const Clock& clock, MovieInfo info) : clock_(clock), info_(info) {}

  const MovieInfo& info() const override { return info_; }

  void Play() override {
    if (playing_) return;
    started_ = clock_.NowMs() - position_;
    playing_ = true;
  }
  void Stop() override {
    position_ = Position();
    playing_ = false;
  }
  bool Ended() override { return Position() >= info_.duration_ms; }
  ImagePtr CurrentFrame() override { return nullptr; }
  std::optional<int64_t> NextChangeMs() override {
    if (!playing_) return std::nullopt;
    return started_ + info_.duration_ms;
  }

 private:
  int64_t Position() const {
    if (!playing_) return position_;
    return std::min(clock_.NowMs() - started_, info_.duration_ms);
  }

  const Clock& clock_;
  MovieInfo info_;
  bool playing_ = false;
  int64_t started_ = 0;
  int64_t position_ = 0;
};

class TimedPlayer : public MoviePlayer {
 public:
  TimedPlayer(const Clock& clock, MemoryBudget& budget, MovieLimits limits)
      : clock_(clock), budget_(budget), limits_(limits) {}

  std::unique_ptr<Movie> Open(const std::filesystem::path& file) override {
    // Checked exactly as for playing, memory included; then measured and let go.
    std::unique_ptr<MovieDecoder> decoder = MovieDecoder::OpenFile(file, limits_, budget_);
    decoder->ScanDuration();
    return std::make_unique<TimedMovie>(clock_, decoder->info());
  }

 private:
  const Clock& clock_;
  MemoryBudget& budget_;
  MovieLimits limits_;
};

}  // namespace

std::unique_ptr<MoviePlayer> MakeTimedPlayer(const Clock& clock, MemoryBudget& budget,
                                             MovieLimits limits) {
  return std::make_unique<TimedPlayer>(clock, budget, limits);
}

}  // namespace qv::platform
