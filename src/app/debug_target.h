#pragma once
// What the debug window acts on in a game: the engine's scenes and flags, the inventory,
// the map and the notify log's progress lines.

#include <cstdint>
#include <functional>

#include "data/scene_data.h"
#include "diag/debug_window.h"
#include "engine/engine.h"
#include "screen/inventory.h"
#include "screen/map_window.h"

namespace qv::app {

class GameDebugTarget final : public diag::DebugTarget {
 public:
  GameDebugTarget(engine::Engine& engine, data::SceneData& data, screen::Inventory& inventory,
                  screen::MapWindow& map)
      : engine_(engine), data_(data), inventory_(inventory), map_(map) {}

  // Minimizes the player's window (the application connects it).
  std::function<void()> minimize;

  int16_t CurrentScene() const override { return data_.scene.CurrentScene; }
  int16_t SceneCount() const override { return data_.SceneCount; }
  void LoadScene(int16_t scene) override { engine_.LoadScene(scene); }
  int16_t Flag(int16_t flag) const override { return engine_.state.Flags[flag]; }
  void SetFlag(int16_t flag, int16_t value) override { engine_.ChangeFlag(flag, value, 0); }
  int16_t InvCount() const override { return data_.InvCount; }
  int16_t ItemsHeld() const override { return inventory_.ItemsHeld; }
  void AddInventoryItem(int16_t item) override { inventory_.AddInventoryItem(item, false, 0); }
  void ClearInventory() override { inventory_.ClearAllItems(); }
  void ShowMap() override {
    map_.SetMapActive(true);
    map_.ShowMapWindow();
  }
  void MinimizePlayer() override {
    if (minimize) minimize();
  }
  bool VerboseLog() const override { return engine_.state.VerboseLog; }
  void SetVerboseLog(bool on) override { engine_.state.VerboseLog = on; }

 private:
  engine::Engine& engine_;
  data::SceneData& data_;
  screen::Inventory& inventory_;
  screen::MapWindow& map_;
};

}  // namespace qv::app
