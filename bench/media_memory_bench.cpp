// Peak memory of decoding one sound: each case runs in a child process of its own, which
// decodes one WAV from a file and reports how far its peak resident set grew, beside the
// size of the decoded samples. The goal: at most about 1.5 times the decoded size.
//
//   build/bench/media_memory_bench

#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "platform/memory_budget.h"
#include "platform/sound_files.h"

namespace {

// A WAV of `seconds` of a square wave in the given layout (PCM, or float when bits = 32
// and `is_float`).
void WriteWav(const std::filesystem::path& file, int rate, int channels, int bits, bool is_float,
              double seconds) {
  const auto frames = static_cast<uint64_t>(rate * seconds);
  const uint64_t data = frames * static_cast<uint64_t>(channels * bits / 8);
  std::ofstream out(file, std::ios::binary);
  auto le = [&](uint64_t v, int n) {
    for (int i = 0; i < n; ++i)
      out.put(static_cast<char>(v >> (8 * i)));
  };
  out.write("RIFF", 4);
  le(36 + data, 4);
  out.write("WAVEfmt ", 8);
  le(16, 4);
  le(is_float ? 3 : 1, 2);
  le(static_cast<uint64_t>(channels), 2);
  le(static_cast<uint64_t>(rate), 4);
  le(static_cast<uint64_t>(rate * channels * bits / 8), 4);
  le(static_cast<uint64_t>(channels * bits / 8), 2);
  le(static_cast<uint64_t>(bits), 2);
  out.write("data", 4);
  le(data, 4);
  std::vector<char> second(static_cast<size_t>(rate) * static_cast<size_t>(channels * bits / 8));
  for (size_t i = 0; i < second.size(); ++i)
    second[i] = static_cast<char>((i / 64) % 2 == 0 ? 0x30 : 0x50);
  for (uint64_t done = 0; done < data; done += second.size())
    out.write(second.data(),
              static_cast<std::streamsize>(std::min<uint64_t>(second.size(), data - done)));
}

long PeakKb() {
  struct rusage usage {};
  getrusage(RUSAGE_SELF, &usage);
  return usage.ru_maxrss;
}

}  // namespace

int main() {
  struct Case {
    const char* name;
    int rate, channels, bits;
    bool is_float;
    double seconds;
  };
  const Case cases[] = {{"8-bit mono 11025 Hz, 11 MiB", 11025, 1, 8, false, 1046.0},
                        {"16-bit stereo 44100 Hz, 100 MiB", 44100, 2, 16, false, 594.0},
                        {"24-bit stereo 48000 Hz, 60 MiB", 48000, 2, 24, false, 218.0},
                        {"float stereo 22050 Hz, 40 MiB", 22050, 2, 32, true, 237.0}};
  const auto dir = std::filesystem::temp_directory_path() / "qv-media-memory-bench";
  std::filesystem::create_directories(dir);
  std::printf("%-34s %12s %12s %7s\n", "sound", "decoded MiB", "peak+ MiB", "ratio");
  for (const Case& c : cases) {
    const auto file = dir / "sound.wav";
    WriteWav(file, c.rate, c.channels, c.bits, c.is_float, c.seconds);
    int pipe_fds[2];
    if (pipe(pipe_fds) != 0) return 1;
    const pid_t child = fork();
    if (child == 0) {
      const long before = PeakKb();
      qv::platform::MemoryBudget budget(uint64_t{1} << 30);
      const auto sound = qv::platform::DecodeWavFile(file, budget);
      const double decoded = static_cast<double>(sound.bytes()) / (1 << 20);
      const double grown = static_cast<double>(PeakKb() - before) / 1024.0;
      char line[160];
      std::snprintf(line, sizeof line, "%-34s %12.1f %12.1f %7.2f\n", c.name, decoded, grown,
                    grown / decoded);
      if (write(pipe_fds[1], line, std::strlen(line)) < 0) _exit(1);
      _exit(0);
    }
    close(pipe_fds[1]);
    char line[160] = {};
    if (read(pipe_fds[0], line, sizeof line - 1) < 0) return 1;
    close(pipe_fds[0]);
    int status = 0;
    waitpid(child, &status, 0);
    std::fputs(line, stdout);
  }
  std::filesystem::remove_all(dir);
  return 0;
}
