#include "app/script_commands.h"

#include <utility>
#include <vector>

#include "app/player.h"
#include "app/run_log.h"
#include "app/script.h"

namespace qv::app {

namespace {

using Kind = ArgSpec::Kind;

constexpr int64_t kInt16Min = -32768;
constexpr int64_t kInt16Max = 32767;
// The longest scripted wait: about 24 days.
constexpr int64_t kMaxWaitMs = 2147483647;

ArgSpec Arg(Kind kind, std::string name) {
  ArgSpec arg;
  arg.kind = kind;
  arg.name = std::move(name);
  return arg;
}
ArgSpec Range(std::string name, int64_t min, int64_t max) {
  ArgSpec arg = Arg(Kind::kNumber, std::move(name));
  arg.min = min;
  arg.max = max;
  return arg;
}
ArgSpec Int16(std::string name) {
  return Range(std::move(name), kInt16Min, kInt16Max);
}
ArgSpec Words(std::vector<std::string> words) {
  ArgSpec arg = Arg(Kind::kWord, "");
  arg.words = std::move(words);
  return arg;
}
ArgSpec Text(std::string name) {
  return Arg(Kind::kText, std::move(name));
}
ArgSpec List(std::string name, int64_t min, int64_t max, size_t max_count) {
  ArgSpec arg = Range(std::move(name), min, max);
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

// ---- the engine: a new game, the debug window's Load and Set Flag, what the game shows

void NewGame(ScriptContext& context, const ScriptCommand&) { context.player().NewGame(); }

void LoadSceneCommand(ScriptContext& context, const ScriptCommand& command) {
  // As the debug window's Load: a number outside the scene file loads nothing.
  Player& player = context.player();
  int64_t n = command.Number(0);
  if (n >= 1 && n <= player.scene_data().SceneCount) {
    player.engine().LoadScene(static_cast<int16_t>(n));
  }
}

void SetFlag(ScriptContext& context, const ScriptCommand& command) {
  // As the debug window's Set Flag: flags 1 to 255 only.
  int64_t n = command.Number(0);
  if (n < 1 || n > 255) return;
  Player& player = context.player();
  RunProcedure(player.boxes(), "SetFlagbtn_Click", [&] {
    player.engine().ChangeFlag(static_cast<int16_t>(n), static_cast<int16_t>(command.Number(1)), 0);
  });
}

void ExpectFlag(ScriptContext& context, const ScriptCommand& command) {
  int64_t value = context.player().engine().state.Flags[static_cast<int>(command.Number(0))];
  const std::string& op = command.Text(1);
  int64_t wanted = command.Number(2);
  bool holds = op == "=" ? value == wanted : op == "<>" ? value != wanted
             : op == "<" ? value < wanted : value > wanted;
  if (!holds) context.Fail("flag " + std::to_string(command.Number(0)) + " = " + std::to_string(value));
}

void ExpectScene(ScriptContext& context, const ScriptCommand& command) {
  int16_t scene = context.player().scene_data().scene.CurrentScene;
  if (scene != command.Number(0)) context.Fail("scene " + std::to_string(scene));
}

// The index of the first log line at or after `from` equal to text, or npos.
size_t FindLogLine(const Player& player, size_t from, const std::string& text) {
  const auto& lines = player.log_lines();
  for (size_t i = from; i < lines.size(); ++i) {
    if (lines[i] == text) return i;
  }
  return std::string::npos;
}

void ExpectLog(ScriptContext& context, const ScriptCommand& command) {
  size_t at = FindLogLine(context.player(), context.log_mark, command.Text(0));
  if (at == std::string::npos) {
    const auto& lines = context.player().log_lines();
    std::string found = lines.size() > context.log_mark
                            ? "the last line was " + Quoted(lines.back())
                            : "no log line since the previous expect log";
    context.Fail(found);
    return;
  }
  context.log_mark = at + 1;
}

void ExpectNoLog(ScriptContext& context, const ScriptCommand& command) {
  size_t at = FindLogLine(context.player(), context.log_mark, command.Text(0));
  if (at != std::string::npos) context.Fail("that line, as line " + std::to_string(at + 1) + " of the log");
}

bool ObjectShown(const Player& player, int slot) {
  const auto& screen = player.screen();
  return screen.Animation[slot]->Visible() || screen.NoGIF[slot]->Visible();
}

void ExpectVisible(ScriptContext& context, const ScriptCommand& command) {
  if (!ObjectShown(context.player(), static_cast<int>(command.Number(0)))) context.Fail("hidden");
}

void ExpectHidden(ScriptContext& context, const ScriptCommand& command) {
  if (ObjectShown(context.player(), static_cast<int>(command.Number(0)))) context.Fail("shown");
}

}  // namespace

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

BoxAnswer AnswerFromWord(std::string_view word) {
  if (word == "yes") return BoxAnswer::kYes;
  if (word == "no") return BoxAnswer::kNo;
  if (word == "cancel") return BoxAnswer::kCancel;
  return BoxAnswer::kOk;
}

CommandTable MakeCommandTable() {
  CommandTable table;
  auto add = [&](std::string name, std::vector<ArgSpec> args, CommandAction action = {}) {
    table.Add({std::move(name), std::move(args), std::move(action)});
  };
  const std::vector<std::string> kLinks = {"up", "right", "down", "left"};

  // Acting as the player does. The commands without an action wait for their subsystem.
  add("new-game", {}, NewGame);
  add("scene", {Int16("N")}, LoadSceneCommand);
  add("set-flag", {Int16("N"), Int16("V")}, SetFlag);
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
  add("click button", {Words({"mainmenu", "save"})});
  add("menu", {Words({"intro", "new", "load", "credits", "close"})});
  add("quit", {Words({"yes", "no"})});
  add("save", {Text("\"NAME\""), Text("\"DESCRIPTION\"")});
  add("load", {Text("\"NAME\"")});
  add("key", {Arg(Kind::kKey, "NAME")});
  add("wait", {Range("MS", 0, kMaxWaitMs)}, Wait);
  add("answer", {Words({"ok", "yes", "no", "cancel"})}, Answer);

  // Checking what the player would see.
  add("expect flag", {Range("N", 1, kFlags), Arg(Kind::kOperator, "OP"), Int16("V")}, ExpectFlag);
  add("expect scene", {Int16("N")}, ExpectScene);
  ArgSpec hand = Range("N", 1, kInventorySlots);
  hand.words = {"none"};
  add("expect hand", {hand});
  add("expect inventory", {List("ITEMS...", kInt16Min, kInt16Max, kInventorySlots)});
  add("expect map", {List("LOCATIONS...", 1, kMapLocations, kMapLocations)});
  add("expect log", {Text("\"TEXT\"")}, ExpectLog);
  add("expect no-log", {Text("\"TEXT\"")}, ExpectNoLog);
  add("expect message", {Text("\"TEXT\"")}, ExpectMessage);
  add("expect sound", {Range("CH", 1, kSoundChannels), Text("\"FILE\"")});
  add("expect silent", {Range("CH", 1, kSoundChannels)});
  add("expect soundtrack", {Text("\"FILE\"")});
  add("expect visible", {Range("N", 1, kObjectSlots)}, ExpectVisible);
  add("expect hidden", {Range("N", 1, kObjectSlots)}, ExpectHidden);
  add("expect conversation", {Int16("R")});
  add("expect cursor", {Range("N", 1, kCursors)});
  return table;
}

}  // namespace qv::app
