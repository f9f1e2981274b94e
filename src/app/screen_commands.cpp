// The walkthrough commands of the game screen: clicks and hovers on objects, items, lines and
// links, give, and their checks.

#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "app/player.h"
#include "app/script.h"
#include "app/script_commands.h"
#include "core/procedure.h"
#include "core/text.h"
#include "platform/input.h"

namespace qv::app {

namespace {

// ---- conversation lines: click line N, hover line N, expect conversation R

// The middle of conversation line n on the screen, where the user's pointer goes; fails
// the script when the line is not on screen (the user cannot find it).
bool LinePoint(ScriptContext& context, int64_t n, int& x, int& y) {
  const ui::Label& line = *context.player().screen().ConvText[static_cast<int>(n)];
  if (!line.Shown()) {
    context.Fail("line " + std::to_string(n) + " is not on screen");
    return false;
  }
  const platform::Rect rect = line.ScreenRect();
  x = rect.x + rect.w / 2;
  y = rect.y + rect.h / 2;
  return true;
}

// Input reaches the player as the user's own would: through the backend, to whatever
// the desktop finds under the pointer, and the handlers decide (a busy cursor ignores it).
void Inject(Player& player, platform::InputEvent::Kind kind, int x, int y) {
  platform::InputEvent event;
  event.kind = kind;
  event.x = x;
  event.y = y;
  if (kind != platform::InputEvent::Kind::kMouseMove) event.button = platform::MouseButton::kLeft;
  player.backend().InjectInput(event);
}

// The pointer reaches the line first (its hover runs as for a user), then the left
// button goes down and up there.
void ClickLine(ScriptContext& context, const ScriptCommand& command) {
  int x = 0, y = 0;
  if (!LinePoint(context, command.Number(0), x, y)) return;
  Inject(context.player(), platform::InputEvent::Kind::kMouseMove, x, y);
  Inject(context.player(), platform::InputEvent::Kind::kMouseDown, x, y);
  Inject(context.player(), platform::InputEvent::Kind::kMouseUp, x, y);
}

void HoverLine(ScriptContext& context, const ScriptCommand& command) {
  int x = 0, y = 0;
  if (!LinePoint(context, command.Number(0), x, y)) return;
  Inject(context.player(), platform::InputEvent::Kind::kMouseMove, x, y);
}

void ExpectConversation(ScriptContext& context, const ScriptCommand& command) {
  const int16_t shown = context.player().conversations().ShownRecord();
  if (shown == command.Number(0)) return;
  context.Fail(shown == 0 ? "no conversation box" : "conversation " + std::to_string(shown));
}

// ---- scene objects and the inventory: click object N, hover object N, click item N,
// hover item N, click bar, give N, expect hand, expect inventory, expect cursor

// Scene object n as the user sees it: its animated picture, or its still area.
std::optional<std::pair<int, int>> ObjectPoint(ScriptContext& context, int64_t n) {
  Player& player = context.player();
  const int slot = static_cast<int>(n);
  const screen::GameScreen& screen = player.screen();
  const ui::Control& control = screen.Animation[slot]->Visible()
                                   ? static_cast<const ui::Control&>(*screen.Animation[slot])
                                   : *screen.NoGIF[slot];
  auto at = PointOn(player, control);
  if (!at) context.Fail("object " + std::to_string(n) + " is not on screen");
  return at;
}

std::optional<std::pair<int, int>> ItemPoint(ScriptContext& context, int64_t n) {
  Player& player = context.player();
  auto at = PointOn(player, *player.screen().invitem[static_cast<int>(n)]);
  if (!at) context.Fail("inventory slot " + std::to_string(n) + " shows no item");
  return at;
}

void ClickObject(ScriptContext& context, const ScriptCommand& command) {
  if (auto at = ObjectPoint(context, command.Number(0))) ClickOn(context.player(), *at);
}

void HoverObject(ScriptContext& context, const ScriptCommand& command) {
  if (auto at = ObjectPoint(context, command.Number(0))) {
    InjectMouse(context.player(), platform::InputEvent::Kind::kMouseMove, *at);
  }
}

void ClickItem(ScriptContext& context, const ScriptCommand& command) {
  if (auto at = ItemPoint(context, command.Number(0))) ClickOn(context.player(), *at);
}

void HoverItem(ScriptContext& context, const ScriptCommand& command) {
  if (auto at = ItemPoint(context, command.Number(0))) {
    InjectMouse(context.player(), platform::InputEvent::Kind::kMouseMove, *at);
  }
}

void ClickBar(ScriptContext& context, const ScriptCommand&) {
  Player& player = context.player();
  const ui::Control& bar = *player.screen().InvBar;
  auto at = PointOn(player, bar);
  if (!at) {
    context.Fail("the inventory bar is not on screen");
  } else if (player.desktop().ControlAt(at->first, at->second) != &bar) {
    context.Fail("no place of the inventory bar is free of items");
  } else {
    ClickOn(player, *at);
  }
}

void Give(ScriptContext& context, const ScriptCommand& command) {
  // The debug window's Give: a number outside the item file gives nothing, and the
  // script stops there with the window's answer (a walkthrough that goes on without the
  // item would only fail later, further from its cause).
  const std::string answer = context.player().debug().Give(static_cast<double>(command.Number(0)));
  if (IsRangeAnswer(answer)) context.Fail(answer);
}

void ExpectHand(ScriptContext& context, const ScriptCommand& command) {
  const int16_t hand = context.player().inventory().HandSlot();
  const int64_t wanted =
      command.Text(0) == "none" ? screen::Inventory::kEmptyHand : command.Number(0);
  if (hand == wanted) return;
  context.Fail(hand == screen::Inventory::kEmptyHand ? "an empty hand"
                                                     : "the item of slot " + std::to_string(hand));
}

void ExpectInventory(ScriptContext& context, const ScriptCommand& command) {
  const screen::Inventory& inventory = context.player().inventory();
  std::vector<int64_t> held;
  for (int16_t s = 1; s <= inventory.ItemsHeld; ++s)
    held.push_back(inventory.Slots[s].Item);
  if (held == command.Numbers(0)) return;
  std::string found = "inventory";
  for (int64_t item : held)
    found += " " + std::to_string(item);
  context.Fail(held.empty() ? "an empty inventory" : found);
}

void ExpectCursor(ScriptContext& context, const ScriptCommand& command) {
  const screen::GameScreen& screen = context.player().screen();
  const int cursor = screen.CurrentCursor();
  if (cursor == command.Number(0)) return;
  if (cursor != 0) {
    context.Fail("cursor " + std::to_string(cursor));
  } else {
    context.Fail(screen.PictureCursor() ? "an item's picture" : "no cursor of the game");
  }
}
// ---- direction links, the map and the close-up: click link, hover link, click location,
// map-cancel, examine, expect map

int LinkIndex(const std::string& word) {
  return word == "up" ? 1 : word == "right" ? 2 : word == "down" ? 3 : 4;
}

std::optional<std::pair<int, int>> LinkPoint(ScriptContext& context, const ScriptCommand& command) {
  Player& player = context.player();
  const std::string& word = command.Text(0);
  auto at = PointOn(player, *player.screen().Directionl[LinkIndex(word)]);
  if (!at) context.Fail("the " + word + " link is not on screen");
  return at;
}

void ClickLink(ScriptContext& context, const ScriptCommand& command) {
  if (auto at = LinkPoint(context, command)) ClickOn(context.player(), *at);
}

void HoverLink(ScriptContext& context, const ScriptCommand& command) {
  if (auto at = LinkPoint(context, command)) {
    InjectMouse(context.player(), platform::InputEvent::Kind::kMouseMove, *at);
  }
}

void ClickLocation(ScriptContext& context, const ScriptCommand& command) {
  Player& player = context.player();
  const int64_t n = command.Number(0);
  if (!player.map().form().Visible()) {
    context.Fail("the map is not shown");
    return;
  }
  auto at = PointOn(player, *player.map().Loctn[static_cast<int>(n)]);
  if (!at) {
    context.Fail("location " + std::to_string(n) + " is not on the map");
    return;
  }
  ClickOn(player, *at);
}

void MapCancel(ScriptContext& context, const ScriptCommand&) {
  Player& player = context.player();
  auto at = PointOn(player, *player.map().ButtnCancel);
  if (!at) {
    context.Fail("the map is not shown");
    return;
  }
  ClickOn(player, *at);
}

void Examine(ScriptContext& context, const ScriptCommand&) {
  Player& player = context.player();
  auto at = PointOn(player, *player.screen().ExamineItem);
  if (!at) {
    context.Fail("the examine button is not on screen");
    return;
  }
  ClickOn(player, *at);
}

void ExpectMap(ScriptContext& context, const ScriptCommand& command) {
  std::vector<int64_t> shown;
  for (int16_t location : context.player().map().ShownLocations())
    shown.push_back(location);
  if (shown == command.Numbers(0)) return;
  std::string found = "map";
  for (int64_t location : shown)
    found += " " + std::to_string(location);
  context.Fail(shown.empty() ? "an empty map" : found);
}

}  // namespace

bool IsRangeAnswer(const std::string& answer) {
  return answer.find(" must be between ") != std::string::npos;
}

void PlugScreenCommands(CommandTable& table) {
  Plug(table, "click link", ClickLink);
  Plug(table, "hover link", HoverLink);
  Plug(table, "click location", ClickLocation);
  Plug(table, "map-cancel", MapCancel);
  Plug(table, "examine", Examine);
  Plug(table, "expect map", ExpectMap);
  Plug(table, "click object", ClickObject);
  Plug(table, "hover object", HoverObject);
  Plug(table, "click item", ClickItem);
  Plug(table, "hover item", HoverItem);
  Plug(table, "click bar", ClickBar);
  Plug(table, "give", Give);
  Plug(table, "expect hand", ExpectHand);
  Plug(table, "expect inventory", ExpectInventory);
  Plug(table, "expect cursor", ExpectCursor);
  Plug(table, "click line", ClickLine);
  Plug(table, "hover line", HoverLine);
  Plug(table, "expect conversation", ExpectConversation);
}

}  // namespace qv::app
