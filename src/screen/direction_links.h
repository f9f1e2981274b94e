#pragma once
// The four direction links at the edges of the scene picture, `Directionl(1..4)` (up,
// right, down, left), each an area the scene record places and gives a target scene and
// a cursor. Clicking a link with a target leaves for that scene; hovering shows the
// link's cursor (the player's own picture of it), or, over a link without a target, the
// default cursor or the held item. Nothing reacts while the busy cursor shows or while a
// blocking conversation is up.

#include <cstdint>

#include "engine/engine.h"
#include "screen/game_screen.h"
#include "screen/inventory.h"

namespace qv::screen {

class DirectionLinks {
 public:
  // Connects the click and pointer-move handlers of `Directionl(1..4)`. Everything must
  // outlive this object.
  DirectionLinks(engine::Engine& engine, GameScreen& screen, Inventory& inventory);
  DirectionLinks(const DirectionLinks&) = delete;
  DirectionLinks& operator=(const DirectionLinks&) = delete;

  // k = 1 up, 2 right, 3 down, 4 left.
  void Click(int k);
  void MouseMove(int k);

  // "Up", "Right", "Down", "Left".
  static const char* Name(int k);

 private:
  engine::Engine& engine_;
  GameScreen& screen_;
  Inventory& inventory_;
};

}  // namespace qv::screen
