// The engine's speed on a headless player (virtual waits cost no time):
//  - one ChangeFlag on a scene of 20 hidden objects: goal, median under 20 us of CPU;
//  - loading a scene of 20 objects whose pictures are cached: goal, under 2 ms;
//  - the same with pictures not cached: goal, within 1.3 x the time to decode those
//    pictures alone (DecodeScenePictures).
// Run: build/bench/engine_bench --benchmark_repetitions=10 --benchmark_report_aggregates_only=true

#include <benchmark/benchmark.h>

#include <string>

#include "engine/engine_harness.h"
#include "pictures/gif_writer.h"

namespace {

using qv::testing::EngineHarness;

// Twenty hidden objects whose conditions never hold: every one is looked at on every
// pass, none fires.
std::string HiddenScene() {
  std::string objects;
  auto add = [&](const std::string& object) { objects += (objects.empty() ? "" : ",") + object; };
  for (int i = 0; i < 5; ++i)
    add(R"({"ObjType": 5, "ObjN0": 1, "ObjN1": 100, "ObjN2": 0, "ObjN3": 999})");
  for (int i = 0; i < 5; ++i)
    add(R"({"ObjType": 6, "ObjN0": 1, "ObjN1": 101, "ObjN2": 0, "ObjN3": 999})");
  for (int i = 0; i < 4; ++i) {
    add(R"({"ObjType": 7, "ObjN0": 1, "ObjN1": 102, "ObjN3": 999, "ObjN9": 103, "ObjN11": 999,
            "ObjN17": 104, "ObjN19": 999})");
  }
  for (int i = 0; i < 3; ++i)
    add(R"({"ObjType": 8, "ObjN0": 1, "ObjN1": 2, "ObjN2": 105, "ObjN4": 999})");
  for (int i = 0; i < 3; ++i)
    add(R"({"ObjType": 9, "ObjN0": 0, "ObjN1": 1, "ObjN2": 106, "ObjN4": 999})");
  return R"({"Scenes": [{"Objects": [)" + objects + "]}]}";
}

void BM_ChangeFlag(benchmark::State& state) {
  EngineHarness h(HiddenScene());
  h.state().VerboseLog = false;
  h.LoadScene(1);
  int16_t value = 0;
  for (auto _ : state) {
    h.engine().ChangeFlag(1, value, 0);
    value = static_cast<int16_t>(1 - value);
  }
}
BENCHMARK(BM_ChangeFlag);

// Twenty animated objects, each its own 10-frame 100 x 100 GIF.
std::string PictureScene() {
  std::string objects;
  for (int i = 1; i <= 20; ++i) {
    objects += (i > 1 ? "," : "");
    objects += R"({"ObjType": 0, "ObjN4": 1, "ObjX": )" + std::to_string(30 * i) +
               R"(, "ObjS0": "obj)" + std::to_string(i) + R"(.gif"})";
  }
  return R"({"Scenes": [{"Objects": [)" + objects + "]}]}";
}

void WritePictures(const EngineHarness& h) {
  qv::testing::GifLayout design;
  design.width = 100;
  design.height = 100;
  design.colors = {0x000000, 0xFF0000, 0x00FF00, 0x0000FF};
  design.loop = 0;
  for (int f = 0; f < 10; ++f) {
    auto frame = qv::testing::SolidFrame(0, 0, 100, 100, static_cast<uint8_t>(f % 4));
    frame.control = true;
    frame.delay_cs = 10;
    design.frames.push_back(frame);
  }
  auto bytes = qv::testing::WriteGif(design);
  for (int i = 1; i <= 20; ++i)
    h.dir().Write("resource/gfx/obj" + std::to_string(i) + ".gif", bytes);
}

void BM_LoadSceneCached(benchmark::State& state) {
  EngineHarness h(PictureScene());
  WritePictures(h);
  h.state().VerboseLog = false;
  h.LoadScene(1);
  for (auto _ : state)
    h.LoadScene(1);
}
BENCHMARK(BM_LoadSceneCached)->Unit(benchmark::kMillisecond);

void BM_LoadSceneUncached(benchmark::State& state) {
  EngineHarness h(PictureScene());
  WritePictures(h);
  h.state().VerboseLog = false;
  for (auto _ : state) {
    h.pictures().ClearCache();
    h.LoadScene(1);
  }
}
BENCHMARK(BM_LoadSceneUncached)->Unit(benchmark::kMillisecond);

void BM_DecodeScenePictures(benchmark::State& state) {
  EngineHarness h(PictureScene());
  WritePictures(h);
  for (auto _ : state) {
    qv::platform::PictureFiles loader;
    for (int i = 1; i <= 20; ++i) {
      benchmark::DoNotOptimize(
          loader.Load(h.dir().path() / "resource/gfx" / ("obj" + std::to_string(i) + ".gif")));
    }
  }
}
BENCHMARK(BM_DecodeScenePictures)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
