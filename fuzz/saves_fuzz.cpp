// Fuzzes restoring a saved game: the input is a save file of any length and content,
// restored into a running headless game (three scenes, eight items, four locations)
// exactly as the load dialog's OK does. A file that fails the checks must leave the game
// as it was; one that passes must become a game that runs on (its delays expire, its
// scene takes clicks). Nothing may crash or read outside a table.

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>

#include "app/player.h"
#include "core/vb_error.h"
#include "platform/headless/headless_backend.h"
#include "test_support.h"
#include "tools/game_json.h"

namespace {

struct Game {
  qv::testing::TempDir dir;
  std::unique_ptr<qv::app::Player> player;

  Game() {
    qv::tools::BuildGame(qv::tools::ParseGameJson(R"j({
        "General": [{"SavingAllowed": 1, "SaveButtonShown": 1, "InventoryShown": 1,
                     "HasScore": 1, "ScoreFlag": 7, "MaxScore": 10}],
        "Scenes": [{}, {}, {}],
        "Items": [{"InInventoryAtStart": 1}, {}, {}, {}, {}, {}, {}, {"AllowDuplicates": 1}],
        "Locations": [{"LocPicture": "(None)", "LocScene": 2}, {"LocPicture": "(None)",
                      "LocScene": 3}, {"LocPicture": "(None)", "LocScene": 1},
                      {"LocPicture": "(None)", "LocScene": 2}]})j"),
                         dir.path());
    std::filesystem::create_directories(dir.path() / "Saved");
    qv::app::PlayerSettings settings;
    settings.verbose_log = true;
    player = std::make_unique<qv::app::Player>(std::make_unique<qv::platform::HeadlessBackend>(),
                                               dir.path(), settings);
    player->Start();
    player->shell().StartNewGame();
  }
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static Game game;
  qv::app::Player& p = *game.player;
  {
    std::ofstream out(game.dir.path() / "Saved" / "fuzz.sav", std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
  }
  const auto flags = p.engine().state.Flags;
  const int16_t scene = p.scene_data().scene.CurrentScene;
  const int16_t items = p.inventory().ItemsHeld;
  try {
    p.saved_games().LoadSavedGame("fuzz.sav");
  } catch (const qv::VbError&) {
    // Refused before anything changed.
    bool same = p.scene_data().scene.CurrentScene == scene && p.inventory().ItemsHeld == items;
    for (int n = 1; n <= 255; ++n)
      same = same && p.engine().state.Flags[n] == flags[n];
    if (!same) std::abort();
  }
  // The restored game runs on: delays expire, a save of it is taken and written.
  p.loop().PassTime(2500);
  p.saved_games().TakeSaveSnapshot();
  std::string name = "again";
  try {
    p.saved_games().SaveGameFile(name, "fuzzed");
  } catch (const qv::VbError&) {
  }
  return 0;
}
