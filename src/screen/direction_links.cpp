#include "screen/direction_links.h"

#include <string>

#include "core/procedure.h"
#include "data/scene_objects.h"

namespace qv::screen {

namespace {

// A link's cursor number; one the player does not have shows the default cursor.
int LinkCursor(int16_t number) {
  return number >= 1 && number <= 15 ? number : kDefaultCursor;
}

}  // namespace

DirectionLinks::DirectionLinks(engine::Engine& engine, GameScreen& screen, Inventory& inventory)
    : engine_(engine), screen_(screen), inventory_(inventory) {
  for (int k = 1; k <= 4; ++k) {
    ui::Image& link = *screen.Directionl[k];
    link.on_click = [this, k] { Click(k); };
    link.on_mouse_move = [this, k](const ui::MouseArgs&) { MouseMove(k); };
  }
}

const char* DirectionLinks::Name(int k) {
  switch (k) {
    case 1:
      return "Up";
    case 2:
      return "Right";
    case 3:
      return "Down";
    default:
      return "Left";
  }
}

void DirectionLinks::Click(int k) {
  if (screen_.BusyCursorShowing()) return;
  engine::EngineServices& s = engine_.services();
  RunProcedure(s.boxes, "Directionl_Click", [&] {
    if (s.conversations.BlockingConversationShowing()) return;
    const auto link = data::DirectionLink::Read(engine_.scene(), k);
    if (link.target_scene == 0) return;
    engine_.Progress("Link (" + std::string(Name(k)) + ") clicked.");
    engine_.SceneChanging = true;
    screen_.ShowCursor(kBusyCursor);
    const uint64_t loads = engine_.SceneLoadsStarted();
    engine_.LoadScene(link.target_scene);
    if (engine_.SceneLoadsStarted() != loads) return;
    // The scene file refused the target (its load box has said so): the player stays
    // in this scene and must not be left behind the busy cursor.
    engine_.SceneChanging = false;
    if (inventory_.HandSlot() == Inventory::kEmptyHand) {
      screen_.ShowCursor(kDefaultCursor);
    } else {
      screen_.ShowPictureCursor(screen_.FlashFixIcon->Picture());
    }
  });
}

void DirectionLinks::MouseMove(int k) {
  if (screen_.BusyCursorShowing()) return;
  engine::EngineServices& s = engine_.services();
  RunProcedure(s.boxes, "Directionl_MouseMove", [&] {
    screen_.LastHoverButton = kNoHoverButton;
    // The save and examine buttons lose their highlight; the main-menu button keeps it.
    if (screen_.SaveGameNormal && screen_.SaveGameButtn->Picture() != screen_.SaveGameNormal) {
      screen_.SaveGameButtn->SetPicture(screen_.SaveGameNormal);
    }
    screen_.ShowNormalExamineButton();
    if (engine_.SceneChanging) return;
    if (screen_.ConvBox->Visible()) s.conversations.UnhighlightLines();
    if (s.conversations.BlockingConversationShowing()) return;
    const auto link = data::DirectionLink::Read(engine_.scene(), k);
    if (link.target_scene != 0) {
      screen_.ShowBuiltinCursor(LinkCursor(link.cursor));
    } else if (inventory_.HandSlot() == Inventory::kEmptyHand) {
      screen_.ShowCursor(kDefaultCursor);
    } else {
      screen_.ShowPictureCursor(screen_.FlashFixIcon->Picture());
    }
  });
}

}  // namespace qv::screen
