// Start-up of the demo game on a headless player, from the program's start to the main
// menu waiting for input. The virtual clock skips the start-up's own timers (1.2 s of
// start screen, the engine logo), so what is measured is the work: building the player
// and its windows, the general settings, the five data files, the interface pictures,
// the CD check and the saved-games folder. Goal: under 150 ms.
// Run: build/bench/start_up_bench --benchmark_repetitions=10
// --benchmark_report_aggregates_only=true

#include <benchmark/benchmark.h>

#include <memory>

#include "app/player.h"
#include "platform/headless/headless_backend.h"

#ifndef QV_DEMO_GAME_DIR
#define QV_DEMO_GAME_DIR ""
#endif

namespace {

void BM_StartUpToTheMainMenu(benchmark::State& state) {
  for (auto _ : state) {
    qv::platform::HeadlessConfig config;
    config.record_frames = false;
    qv::app::Player player(std::make_unique<qv::platform::HeadlessBackend>(config),
                           QV_DEMO_GAME_DIR);
    player.Start();
    if (!player.shell().MainMenu().Visible()) state.SkipWithError("the main menu did not come");
    benchmark::DoNotOptimize(player.loop().NowMs());
  }
}
BENCHMARK(BM_StartUpToTheMainMenu)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
