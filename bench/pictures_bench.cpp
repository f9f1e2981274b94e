// Loading a scene background (a 700 x 475 JPEG) and an animated object (a 100-frame
// 200 x 200 GIF): our loader, uncached, against the bare library decode of the same
// file (IMG_Load; DGifSlurp). The goal is to stay within 1.2 x of the library.
//
//   build/bench/pictures_bench

#include <SDL.h>
#include <SDL_image.h>
#include <benchmark/benchmark.h>
#include <gif_lib.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>

#include "pictures/gif_writer.h"
#include "platform/pictures/picture_files.h"
#include "test_support.h"

namespace {

namespace fs = std::filesystem;
using qv::platform::PictureFiles;

fs::path WriteJpeg(const fs::path& dir) {
  SDL_Surface* surface = SDL_CreateRGBSurfaceWithFormat(0, 700, 475, 24, SDL_PIXELFORMAT_RGB24);
  auto* pixels = static_cast<uint8_t*>(surface->pixels);
  for (int y = 0; y < 475; ++y) {
    for (int x = 0; x < 700; ++x) {
      uint8_t* p = pixels + y * surface->pitch + x * 3;
      p[0] = static_cast<uint8_t>(x * 255 / 700);
      p[1] = static_cast<uint8_t>((x * y / 7) ^ (y * 3));
      p[2] = static_cast<uint8_t>(y * 255 / 475);
    }
  }
  fs::path path = dir / "scene.jpg";
  IMG_SaveJPG(surface, path.string().c_str(), 90);
  SDL_FreeSurface(surface);
  return path;
}

fs::path WriteGif(const fs::path& dir) {
  qv::testing::GifLayout design;
  design.width = design.height = 200;
  design.loop = 0;
  design.colors.clear();
  for (uint32_t i = 0; i < 64; ++i)
    design.colors.push_back(i * 0x040302);
  for (int k = 0; k < 100; ++k) {
    qv::testing::GifFrameLayout frame = qv::testing::SolidFrame(0, 0, 200, 200, 0);
    for (int y = 0; y < 200; ++y) {
      for (int x = 0; x < 200; ++x) {
        int d = (x - 100 + k) * (x - 100 + k) + (y - 100) * (y - 100);
        frame.indexes[static_cast<size_t>(y * 200 + x)] = static_cast<uint8_t>((d / 97 + k) % 64);
      }
    }
    frame.control = true;
    frame.delay_cs = 4;
    frame.disposal = 1;
    frame.transparent = 0;
    design.frames.push_back(std::move(frame));
  }
  std::vector<uint8_t> bytes = qv::testing::WriteGif(design);
  fs::path path = dir / "object.gif";
  std::ofstream(path, std::ios::binary)
      .write(reinterpret_cast<const char*>(bytes.data()),
             static_cast<std::streamsize>(bytes.size()));
  return path;
}

void OurLoader(benchmark::State& state, const fs::path& path) {
  PictureFiles files;
  for (auto _ : state) {
    files.ClearCache();
    benchmark::DoNotOptimize(files.Load(path));
  }
}

void BareImgLoad(benchmark::State& state, const fs::path& path) {
  for (auto _ : state) {
    SDL_Surface* surface = IMG_Load(path.string().c_str());
    benchmark::DoNotOptimize(surface);
    SDL_FreeSurface(surface);
  }
}

void BareGifSlurp(benchmark::State& state, const fs::path& path) {
  for (auto _ : state) {
    int error = 0;
    GifFileType* gif = DGifOpenFileName(path.string().c_str(), &error);
    if (!gif || DGifSlurp(gif) != GIF_OK) state.SkipWithError("giflib could not read the file");
    benchmark::DoNotOptimize(gif);
    if (gif) DGifCloseFile(gif, &error);
  }
}

// For reference: the bare decode turned into one 0xAARRGGBB image per frame, as the
// player needs them, without any compositing. It writes the same 4 bytes a pixel as our
// loader, so it pays the same cost of fresh memory.
void BareGifSlurpToArgb(benchmark::State& state, const fs::path& path) {
  for (auto _ : state) {
    int error = 0;
    GifFileType* gif = DGifOpenFileName(path.string().c_str(), &error);
    if (!gif || DGifSlurp(gif) != GIF_OK) state.SkipWithError("giflib could not read the file");
    std::vector<std::vector<uint32_t>> frames;
    for (int i = 0; gif && i < gif->ImageCount; ++i) {
      const SavedImage& image = gif->SavedImages[i];
      const ColorMapObject* map =
          image.ImageDesc.ColorMap ? image.ImageDesc.ColorMap : gif->SColorMap;
      std::vector<uint32_t> argb(static_cast<size_t>(gif->SWidth) * gif->SHeight);
      size_t count = std::min(argb.size(),
                              static_cast<size_t>(image.ImageDesc.Width) * image.ImageDesc.Height);
      for (size_t p = 0; p < count; ++p) {
        const GifColorType& c = map->Colors[image.RasterBits[p] % map->ColorCount];
        argb[p] = 0xFF000000u | uint32_t{c.Red} << 16 | uint32_t{c.Green} << 8 | c.Blue;
      }
      frames.push_back(std::move(argb));
    }
    benchmark::DoNotOptimize(frames);
    if (gif) DGifCloseFile(gif, &error);
  }
}

}  // namespace

int main(int argc, char** argv) {
  qv::testing::TempDir dir;
  fs::path jpeg = WriteJpeg(dir.path());
  fs::path gif = WriteGif(dir.path());
  std::printf("JPEG %ju bytes, GIF %ju bytes\n", fs::file_size(jpeg), fs::file_size(gif));

  benchmark::RegisterBenchmark("Jpeg700x475/ours", OurLoader, jpeg)->Unit(benchmark::kMillisecond);
  benchmark::RegisterBenchmark("Jpeg700x475/IMG_Load", BareImgLoad, jpeg)
      ->Unit(benchmark::kMillisecond);
  benchmark::RegisterBenchmark("Gif100x200x200/ours", OurLoader, gif)
      ->Unit(benchmark::kMillisecond);
  benchmark::RegisterBenchmark("Gif100x200x200/DGifSlurp", BareGifSlurp, gif)
      ->Unit(benchmark::kMillisecond);
  benchmark::RegisterBenchmark("Gif100x200x200/DGifSlurp+ARGB", BareGifSlurpToArgb, gif)
      ->Unit(benchmark::kMillisecond);
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
