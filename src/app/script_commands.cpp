#include "app/script_commands.h"

#include <stdexcept>
#include <utility>
#include <vector>

#include "app/player.h"
#include "app/run_log.h"
#include "platform/input.h"

namespace qv::app {

namespace {

using Kind = ArgRule::Kind;

constexpr int64_t kInt16Min = -32768;
constexpr int64_t kInt16Max = 32767;
// The longest scripted wait: about 24 days.
constexpr int64_t kMaxWaitMs = 2147483647;

ArgRule Arg(Kind kind, std::string name) {
  ArgRule arg;
  arg.kind = kind;
  arg.name = std::move(name);
  return arg;
}
ArgRule Range(std::string name, int64_t min, int64_t max) {
  ArgRule arg = Arg(Kind::kNumber, std::move(name));
  arg.min = min;
  arg.max = max;
  return arg;
}
ArgRule Int16(std::string name) {
  return Range(std::move(name), kInt16Min, kInt16Max);
}
ArgRule Words(std::vector<std::string> words) {
  ArgRule arg = Arg(Kind::kWord, "");
  arg.words = std::move(words);
  return arg;
}
ArgRule Text(std::string name) {
  return Arg(Kind::kText, std::move(name));
}
ArgRule List(std::string name, int64_t min, int64_t max, size_t max_count) {
  ArgRule arg = Range(std::move(name), min, max);
  arg.kind = Kind::kNumberList;
  arg.max_count = max_count;
  return arg;
}

// The numbers of the player's fixed tables.
constexpr int64_t kObjectSlots = 20;
constexpr int64_t kInventorySlots = 16;
constexpr int64_t kMapLocations = 20;
constexpr int64_t kConversationLines = 5;
constexpr int64_t kSoundChannels = 20;
constexpr int64_t kCursors = 15;
constexpr int64_t kFlags = 255;
constexpr int64_t kMenuButtons = 5;

void Wait(ScriptContext& context, const ScriptCommand& command) {
  context.wait_until = context.player().loop().NowMs() + command.Number(0);
  FinishWait(context);
}

void Answer(ScriptContext& context, const ScriptCommand& command) {
  context.player().QueueBoxAnswer(AnswerFromWord(command.Text(0)));
}

void ExpectMessage(ScriptContext& context, const ScriptCommand& command) {
  const auto& shown = context.player().messages();
  const size_t from = context.message_mark;
  context.message_mark = shown.size();
  const std::string& wanted = command.Text(0);
  for (size_t i = from; i < shown.size(); ++i) {
    if (shown[i].text.find(wanted) != std::string::npos) return;
  }
  if (from == shown.size()) {
    context.Fail(from == 0 ? "no message box was shown"
                           : "no message box since the previous expect message");
    return;
  }
  std::string found;
  for (size_t i = from; i < shown.size(); ++i) {
    if (!found.empty()) found += "; ";
    found += "[MessageBox] " + OneLine(shown[i].title) + ": " + OneLine(shown[i].text);
  }
  context.Fail(found);
}

}  // namespace

// Where the user's pointer reaches `control` on the screen: its middle, or, when
// something lies over the middle, the first point of a grid over it that nothing covers
// (when something covers all of it, the middle: the input goes to what covers it, as a
// user's would). Nothing when the control is not on screen.
std::optional<std::pair<int, int>> PointOn(Player& player, const ui::Control& control) {
  if (!control.Shown()) return std::nullopt;
  const platform::Rect r = control.ScreenRect();
  if (r.w <= 0 || r.h <= 0) return std::nullopt;
  auto reaches = [&](int x, int y) { return player.desktop().ControlAt(x, y) == &control; };
  const std::pair<int, int> middle{r.x + r.w / 2, r.y + r.h / 2};
  if (reaches(middle.first, middle.second)) return middle;
  constexpr int kGrid = 8;
  for (int gy = 0; gy < kGrid; ++gy) {
    for (int gx = 0; gx < kGrid; ++gx) {
      const int x = r.x + (2 * gx + 1) * r.w / (2 * kGrid);
      const int y = r.y + (2 * gy + 1) * r.h / (2 * kGrid);
      if (reaches(x, y)) return std::pair<int, int>{x, y};
    }
  }
  return middle;
}

void InjectMouse(Player& player, platform::InputEvent::Kind kind, std::pair<int, int> at) {
  platform::InputEvent event;
  event.kind = kind;
  event.x = at.first;
  event.y = at.second;
  if (kind != platform::InputEvent::Kind::kMouseMove) event.button = platform::MouseButton::kLeft;
  player.backend().InjectInput(event);
}

// The pointer goes to the control and the left button is pressed and released there.
void ClickOn(Player& player, std::pair<int, int> at) {
  InjectMouse(player, platform::InputEvent::Kind::kMouseMove, at);
  InjectMouse(player, platform::InputEvent::Kind::kMouseDown, at);
  InjectMouse(player, platform::InputEvent::Kind::kMouseUp, at);
}

void ScriptContext::Fail(std::string found) {
  if (!failure_) failure_ = std::move(found);
}

void FinishWait(ScriptContext& context) {
  auto& loop = context.player().loop();
  while (context.wait_until && loop.NowMs() < *context.wait_until) {
    loop.PassTime(*context.wait_until - loop.NowMs());
  }
  context.wait_until.reset();
}

void Plug(CommandTable& table, std::string_view name, CommandAction action) {
  CommandRule* command = table.Find(name);
  if (command == nullptr) throw std::logic_error("no script command " + std::string(name));
  command->action = std::move(action);
}

BoxAnswer AnswerFromWord(std::string_view word) {
  if (word == "yes") return BoxAnswer::kYes;
  if (word == "no") return BoxAnswer::kNo;
  if (word == "cancel") return BoxAnswer::kCancel;
  return BoxAnswer::kOk;
}

CommandTable MakeCommandTable() {
  CommandTable table;
  auto add = [&](std::string name, std::vector<ArgRule> args, CommandAction action = {}) {
    table.Add({std::move(name), std::move(args), std::move(action)});
  };
  const std::vector<std::string> kLinks = {"up", "right", "down", "left"};

  // Acting as the player does. The commands without an action wait for their subsystem.
  add("new-game", {});
  add("scene", {Int16("N")});
  add("set-flag", {Int16("N"), Int16("V")});
  add("give", {Int16("N")});
  add("click object", {Range("N", 1, kObjectSlots)});
  add("hover object", {Range("N", 1, kObjectSlots)});
  add("click link", {Words(kLinks)});
  add("hover link", {Words(kLinks)});
  add("click item", {Range("N", 1, kInventorySlots)});
  add("hover item", {Range("N", 1, kInventorySlots)});
  add("click bar", {});
  add("examine", {});
  add("click line", {Range("N", 1, kConversationLines)});
  add("hover line", {Range("N", 1, kConversationLines)});
  add("click location", {Range("N", 1, kMapLocations)});
  add("map-cancel", {});
  add("click button", {Words({"mainmenu", "save", "exit"})});
  add("hover button", {Range("N", 1, kMenuButtons)});
  add("menu", {Words({"intro", "new", "load", "credits", "close"})});
  add("quit", {Words({"yes", "no"})});
  add("save", {Text("\"NAME\""), Text("\"DESCRIPTION\"")});
  add("load", {Text("\"NAME\"")});
  add("key", {Arg(Kind::kKey, "NAME")});
  add("cd", {Text("\"LABEL\"")});
  add("wait", {Range("MS", 0, kMaxWaitMs)}, Wait);
  add("answer", {Words({"ok", "yes", "no", "cancel"})}, Answer);

  // Checking what the player would see.
  add("expect flag", {Range("N", 1, kFlags), Arg(Kind::kOperator, "OP"), Int16("V")});
  add("expect scene", {Int16("N")});
  ArgRule hand = Range("N", 1, kInventorySlots);
  hand.words = {"none"};
  add("expect hand", {hand});
  add("expect inventory", {List("ITEMS...", kInt16Min, kInt16Max, kInventorySlots)});
  add("expect map", {List("LOCATIONS...", 1, kMapLocations, kMapLocations)});
  add("expect log", {Text("\"TEXT\"")});
  add("expect no-log", {Text("\"TEXT\"")});
  add("expect message", {Text("\"TEXT\"")}, ExpectMessage);
  add("expect sound", {Range("CH", 1, kSoundChannels), Text("\"FILE\"")});
  add("expect silent", {Range("CH", 1, kSoundChannels)});
  add("expect soundtrack", {Text("\"FILE\"")});
  add("expect visible", {Range("N", 1, kObjectSlots)});
  add("expect hidden", {Range("N", 1, kObjectSlots)});
  add("expect conversation", {Int16("R")});
  add("expect cursor", {Range("N", 1, kCursors)});

  // Each subsystem gives its commands their actions.
  PlugEngineCommands(table);
  PlugSoundCommands(table);
  PlugScreenCommands(table);
  PlugShellCommands(table);
  PlugSavesCommands(table);
  return table;
}

}  // namespace qv::app
