// The decoding player of runs with a window: FFmpeg on a thread of the movie's own, the
// sound on the output's movie stream, the pictures paced by the sound that was heard.

#include <algorithm>
#include <condition_variable>
#include <deque>
#include <mutex>
#include <thread>

#include "core/vb_error.h"
#include "platform/movies/movie_players.h"
#include "platform/sound_files.h"

namespace qv::platform {

namespace {

// How far the decoder runs ahead: sound (in frames of the mixing rate) it keeps queued,
// and the most it ever holds (a movie whose sound lies far from its pictures in the file,
// or an output that does not pull it).
constexpr size_t kSoundAheadFrames = kMixRate;
constexpr size_t kMaxSoundFrames = size_t{10} * kMixRate;
// When the next picture is not decoded yet at its time, look again this much later.
constexpr int64_t kBehindRetryMs = 10;

// What the decoding thread, the event loop's thread and the sound output share.
struct Shared {
  std::mutex mutex;
  std::condition_variable decoder_wake;
  std::deque<MovieVideoFrame> frames;
  std::deque<int16_t> sound;  // interleaved, waiting to be heard
  int64_t heard_frames = 0;   // pulled by the sound output: the sound clock
  int64_t sound_end_ms = 0;   // of everything decoded so far
  int64_t picture_end_ms = 0;
  bool done = false;  // the decoder has given everything
  bool quit = false;
};

class MovieSound : public SoundStream {
 public:
  explicit MovieSound(std::shared_ptr<Shared> shared) : shared_(std::move(shared)) {}
  size_t Pull(int16_t* out, size_t frames) override {
    size_t n;
    {
      std::lock_guard lock(shared_->mutex);
      n = std::min(frames, shared_->sound.size() / kMixChannels);
      const auto end = shared_->sound.begin() + static_cast<ptrdiff_t>(n * kMixChannels);
      std::copy(shared_->sound.begin(), end, out);
      shared_->sound.erase(shared_->sound.begin(), end);
      shared_->heard_frames += static_cast<int64_t>(n);
    }
    if (n > 0) shared_->decoder_wake.notify_one();
    return n;
  }

 private:
  std::shared_ptr<Shared> shared_;
};

class DecodedMovie : public Movie {
 public:
  DecodedMovie(std::unique_ptr<MovieDecoder> decoder, AudioDevice& audio, const Clock& clock,
               const MovieLimits& limits)
      : decoder_(std::move(decoder)),
        audio_(audio),
        clock_(clock),
        info_(decoder_->info()),
        queued_frames_(static_cast<size_t>(std::max(limits.queued_frames, 1))),
        shared_(std::make_shared<Shared>()),
        sound_(std::make_shared<MovieSound>(shared_)) {}

  ~DecodedMovie() override {
    {
      std::lock_guard lock(shared_->mutex);
      shared_->quit = true;
    }
    shared_->decoder_wake.notify_one();
    if (thread_.joinable()) thread_.join();
    audio_.StopStream(sound_.get());
  }
  DecodedMovie(const DecodedMovie&) = delete;
  DecodedMovie& operator=(const DecodedMovie&) = delete;

  const MovieInfo& info() const override { return info_; }

  void Play() override {
    if (playing_) return;
    if (!thread_.joinable()) thread_ = std::thread([this] { Decode(); });
    anchor_wall_ = clock_.NowMs();
    anchor_media_ = media_;
    playing_ = true;
    if (!info_.has_sound) return;
    try {
      audio_.PlayStream(sound_);
    } catch (const VbError&) {
      // No sound output to be had: the movie plays silent, its pictures by the clock.
    }
  }

  void Stop() override {
    if (!playing_) return;
    media_ = MediaMs();
    playing_ = false;
    audio_.StopStream(sound_.get());
  }

  bool Ended() override {
    const int64_t media = MediaMs();
    std::lock_guard lock(shared_->mutex);
    return shared_->done && shared_->frames.empty() && media >= EndMs();
  }

  ImagePtr CurrentFrame() override {
    const int64_t media = MediaMs();
    bool taken = false;
    {
      std::lock_guard lock(shared_->mutex);
      // Every picture that is due: the latest shows, the ones before it are late.
      while (!shared_->frames.empty() && shared_->frames.front().time_ms <= media) {
        current_ = std::move(shared_->frames.front().image);
        shared_->frames.pop_front();
        taken = true;
      }
    }
    if (taken) shared_->decoder_wake.notify_one();
    return current_;
  }

  std::optional<int64_t> NextChangeMs() override {
    if (!playing_) return std::nullopt;
    const int64_t media = MediaMs();
    const int64_t now = clock_.NowMs();
    std::lock_guard lock(shared_->mutex);
    if (!shared_->frames.empty()) {
      return now + std::max<int64_t>(1, shared_->frames.front().time_ms - media);
    }
    if (!shared_->done) return now + kBehindRetryMs;
    return now + std::max<int64_t>(1, EndMs() - media);
  }

 private:
  // The movie's time: the sound heard, while it is being heard; the clock otherwise
  // (a silent movie, after its sound, or while the sound waits for the decoder). It never
  // goes back, so no picture shows twice.
  int64_t MediaMs() {
    if (!playing_) return media_;
    const int64_t now = clock_.NowMs();
    if (info_.has_sound) {
      int64_t heard;
      {
        std::lock_guard lock(shared_->mutex);
        heard = shared_->heard_frames * 1000 / kMixRate;
      }
      if (heard != last_heard_) {
        last_heard_ = heard;
        anchor_media_ = heard;
        anchor_wall_ = now;
      }
    }
    media_ = std::max(media_, anchor_media_ + (now - anchor_wall_));
    return media_;
  }

  // With the mutex held.
  int64_t EndMs() const { return std::max(shared_->picture_end_ms, shared_->sound_end_ms); }

  bool NeedsMore() const {
    if (shared_->quit) return true;
    if (shared_->done) return false;
    const size_t sound_frames = shared_->sound.size() / kMixChannels;
    const bool sound_short = info_.has_sound && sound_frames < kSoundAheadFrames;
    return shared_->frames.size() < queued_frames_ || sound_short;
  }

  void Decode() {
    MovieVideoFrame frame;
    MovieSoundPiece piece;
    while (true) {
      {
        std::unique_lock lock(shared_->mutex);
        shared_->decoder_wake.wait(lock, [this] { return NeedsMore(); });
        if (shared_->quit) return;
      }
      MovieDecoder::Got got;
      try {
        got = decoder_->Next(frame, piece);
      } catch (const std::exception&) {
        got = MovieDecoder::Got::kEnd;  // out of memory mid-way: the movie ends there
      }
      std::lock_guard lock(shared_->mutex);
      switch (got) {
        case MovieDecoder::Got::kFrame:
          shared_->picture_end_ms =
              std::max(shared_->picture_end_ms,
                       frame.time_ms + static_cast<int64_t>(1000 / info_.frames_per_second));
          shared_->frames.push_back(std::move(frame));
          // Pictures far ahead of a sound that is starving: the oldest go.
          while (shared_->frames.size() > 2 * queued_frames_)
            shared_->frames.pop_front();
          break;
        case MovieDecoder::Got::kSound:
          shared_->sound.insert(shared_->sound.end(), piece.samples.begin(), piece.samples.end());
          // Sound nobody hears (an output that is not pulling) goes, the oldest first, so
          // the pictures go on by the clock.
          if (shared_->sound.size() > kMaxSoundFrames * kMixChannels) {
            const size_t drop = shared_->sound.size() - kMaxSoundFrames * kMixChannels;
            shared_->sound.erase(shared_->sound.begin(),
                                 shared_->sound.begin() + static_cast<ptrdiff_t>(drop));
            shared_->heard_frames += static_cast<int64_t>(drop / kMixChannels);
          }
          shared_->sound_end_ms +=
              static_cast<int64_t>(piece.samples.size() / kMixChannels) * 1000 / kMixRate;
          break;
        case MovieDecoder::Got::kEnd:
          shared_->done = true;
          return;
      }
    }
  }

  std::unique_ptr<MovieDecoder> decoder_;  // used by the decoding thread only
  AudioDevice& audio_;
  const Clock& clock_;
  const MovieInfo info_;
  const size_t queued_frames_;
  std::shared_ptr<Shared> shared_;
  std::shared_ptr<MovieSound> sound_;
  std::thread thread_;
  ImagePtr current_;
  bool playing_ = false;
  int64_t media_ = 0;  // the movie's time when last read (or where it stopped)
  int64_t anchor_wall_ = 0;
  int64_t anchor_media_ = 0;
  int64_t last_heard_ = -1;
};

class DecodingPlayer : public MoviePlayer {
 public:
  DecodingPlayer(AudioDevice& audio, const Clock& clock, MemoryBudget& budget, MovieLimits limits)
      : audio_(audio), clock_(clock), budget_(budget), limits_(limits) {}

  std::unique_ptr<Movie> Open(const std::filesystem::path& file) override {
    return std::make_unique<DecodedMovie>(MovieDecoder::OpenFile(file, limits_, budget_), audio_,
                                          clock_, limits_);
  }

 private:
  AudioDevice& audio_;
  const Clock& clock_;
  MemoryBudget& budget_;
  MovieLimits limits_;
};

}  // namespace

std::unique_ptr<MoviePlayer> MakeDecodingPlayer(AudioDevice& audio, const Clock& clock,
                                                MemoryBudget& budget, MovieLimits limits) {
  return std::make_unique<DecodingPlayer>(audio, clock, budget, limits);
}

}  // namespace qv::platform
