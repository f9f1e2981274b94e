#pragma once
// Saved games on a headless player: a game of three scenes and eight items (items 1 to
// 3 held at the start), a save button and a load button, and helpers for save files.

#include <string>
#include <vector>

#include "data/record_codec.h"
#include "data/saved_game_record.h"
#include "shell/shell_fixture.h"

namespace qv::testing {

class SavesTest : public ShellTest {
 protected:
  void SetUp() override {
    Game(R"({"GameTitle": "Saves", "SavingAllowed": 1, "SaveButtonShown": 1, "InventoryShown": 1,
             "HoverSound": "hover.wav", "ClickSound": "click.wav", "MenuMusic": "menu.wav"})");
    tools::BuildGame(tools::ParseGameJson(R"({"Items": [{"InInventoryAtStart": 1},
        {"InInventoryAtStart": 1}, {"InInventoryAtStart": 1}, {}, {}, {}, {}, {}]})"),
                     dir_.path());
  }

  std::filesystem::path Saved(const std::string& name) const {
    return dir_.path() / "Saved" / name;
  }
  // A sound record: scene 2, flag 4 = 9, items 2 and 6.
  static data::SavedGameRecord Record() {
    data::SavedGameRecord r;
    r.Description = "A saved game";
    r.SaveDate = "12-07-2026";
    r.SaveTime = "02:35 PM";
    r.Scene = 2;
    r.Flags[3] = 9;
    r.Inventory[0] = 2;
    r.Inventory[1] = 6;
    return r;
  }
  void WriteSave(const std::string& name, const data::SavedGameRecord& r) const {
    dir_.Write("Saved/" + name, data::EncodeRecord(r));
  }
  data::SavedGameRecord ReadSave(const std::string& name) const {
    return data::DecodeRecord<data::SavedGameRecord>(ReadBytes(Saved(name)));
  }
  // Every file in the save folder, hidden ones too.
  std::vector<std::string> SavedFiles() const {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(dir_.path() / "Saved"))
      names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
  }
};

}  // namespace qv::testing
