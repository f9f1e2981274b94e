// Writes the animated GIF of the idle measurements: write_spinner_gif OUT [W H FRAMES
// DELAY_CS] (default 40 x 30, 4 frames, 10 cs each: ten frames a second, looping).

#include <cstdio>
#include <cstdlib>
#include <fstream>

#include "media/spinner_gif.h"

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: write_spinner_gif OUT [WIDTH HEIGHT FRAMES DELAY_CS]\n");
    return 2;
  }
  auto arg = [&](int i, int fallback) { return argc > i ? std::atoi(argv[i]) : fallback; };
  const auto bytes = qv::testing::SpinnerGif(arg(4, 4), arg(2, 40), arg(3, 30), arg(5, 10));
  std::ofstream out(argv[1], std::ios::binary);
  out.write(reinterpret_cast<const char*>(bytes.data()),
            static_cast<std::streamsize>(bytes.size()));
  return out ? 0 : 1;
}
