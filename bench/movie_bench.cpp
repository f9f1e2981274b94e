// The cost of playing a movie: a 10-second 640 x 480 Cinepak AVI (made here by the ffmpeg
// command) is decoded and converted to the screen's pixels
//   1. as fast as it goes, on the decoder alone: CPU time beside `ffmpeg -benchmark`
//      decoding the same file in the same run (the ratio is our overhead: the conversion
//      to screen pixels and the checks);
//   2. at real-time pace through the decoding player (its own thread, pictures taken as
//      they fall due, no sound output): the process's CPU time over the movie's length.
//      The goal: at most 25 % of one core.
//
//   build/bench/movie_bench [FILE]

#include <sys/resource.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <thread>

#include "platform/clock.h"
#include "platform/headless/recording_audio.h"
#include "platform/movies/movie_decoder.h"
#include "platform/movies/movie_players.h"

namespace {

double CpuSeconds() {
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  return static_cast<double>(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
         static_cast<double>(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

// ffmpeg's own user + system time for decoding the file, from its -benchmark line.
double FfmpegSeconds(const std::filesystem::path& file) {
  const std::string command = "ffmpeg -nostdin -hide_banner -benchmark -i \"" + file.string() +
                              "\" -f null - 2>&1 | grep 'bench: utime'";
  FILE* pipe = popen(command.c_str(), "r");
  if (pipe == nullptr) return -1;
  char line[256] = {};
  double user = -1;
  double sys = 0;
  if (fgets(line, sizeof line, pipe) != nullptr) {
    std::sscanf(line, "bench: utime=%lfs stime=%lfs", &user, &sys);
  }
  pclose(pipe);
  return user < 0 ? -1 : user + sys;
}

}  // namespace

int main(int argc, char** argv) {
  std::filesystem::path file;
  if (argc > 1) {
    file = argv[1];
  } else {
    file = std::filesystem::temp_directory_path() / "qv_movie_bench_cinepak.avi";
    if (!std::filesystem::exists(file)) {
      const std::string make =
          "ffmpeg -nostdin -hide_banner -loglevel error -y -f lavfi -i "
          "testsrc=size=640x480:rate=15:duration=10 -c:v cinepak \"" +
          file.string() + "\"";
      if (std::system(make.c_str()) != 0) {
        std::fprintf(stderr, "ffmpeg could not make the movie\n");
        return 1;
      }
    }
  }

  qv::platform::MemoryBudget budget;
  // 1. Decoding as fast as it goes.
  double decode_cpu = 0;
  int64_t length_ms = 0;
  int frames = 0;
  {
    auto decoder = qv::platform::MovieDecoder::OpenFile(file, {}, budget);
    qv::platform::MovieVideoFrame frame;
    qv::platform::MovieSoundPiece sound;
    const double before = CpuSeconds();
    for (;;) {
      const auto got = decoder->Next(frame, sound);
      if (got == qv::platform::MovieDecoder::Got::kEnd) break;
      if (got == qv::platform::MovieDecoder::Got::kFrame) ++frames;
    }
    decode_cpu = CpuSeconds() - before;
    length_ms = decoder->info().duration_ms;
  }
  const double ffmpeg_cpu = FfmpegSeconds(file);
  std::printf("decode + convert, as fast as it goes: %d frames, %.3f s CPU for %.1f s of movie\n",
              frames, decode_cpu, static_cast<double>(length_ms) / 1000);
  std::printf("ffmpeg -benchmark decoding the same file: %.3f s CPU; ratio ours / ffmpeg: %.2f\n",
              ffmpeg_cpu, ffmpeg_cpu > 0 ? decode_cpu / ffmpeg_cpu : 0.0);

  // 2. At real-time pace through the decoding player.
  qv::platform::SteadyClock clock;
  qv::platform::RecordingAudio audio;
  auto player = qv::platform::MakeDecodingPlayer(audio, clock, budget);
  auto movie = player->Open(file);
  const double before = CpuSeconds();
  const int64_t start = clock.NowMs();
  int shown = 0;
  qv::platform::ImagePtr last;
  movie->Play();
  while (!movie->Ended()) {
    const int64_t now = clock.NowMs();
    const int64_t next = movie->NextChangeMs().value_or(now + 10);
    if (next > now) std::this_thread::sleep_for(std::chrono::milliseconds(next - now));
    qv::platform::ImagePtr frame = movie->CurrentFrame();
    if (frame && frame != last) ++shown;
    last = std::move(frame);
  }
  const double wall = static_cast<double>(clock.NowMs() - start) / 1000;
  const double cpu = CpuSeconds() - before;
  std::printf(
      "played at real-time pace: %d pictures shown in %.2f s, %.3f s CPU = %.1f %% of one "
      "core (goal: at most 25 %%)\n",
      shown, wall, cpu, 100 * cpu / wall);
  return 0;
}
