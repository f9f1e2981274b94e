// The engine's walkthrough commands: a new game, the debug window's scene load and flag
// set, and the checks of flags, scenes, log lines and objects.

#include "app/player.h"
#include "app/script.h"
#include "app/script_commands.h"

namespace qv::app {

namespace {

void LoadSceneCommand(ScriptContext& context, const ScriptCommand& command) {
  // The debug window's Load: a number outside the scene file loads nothing.
  context.player().debug().Load(static_cast<double>(command.Number(0)));
}

void SetFlag(ScriptContext& context, const ScriptCommand& command) {
  // The debug window's Set Flag: flags 1 to 255 only.
  context.player().debug().Set(static_cast<double>(command.Number(0)),
                               static_cast<double>(command.Number(1)));
}

void ExpectFlag(ScriptContext& context, const ScriptCommand& command) {
  int64_t value = context.player().engine().state.Flags[static_cast<int>(command.Number(0))];
  const std::string& op = command.Text(1);
  int64_t wanted = command.Number(2);
  bool holds = op == "="    ? value == wanted
               : op == "<>" ? value != wanted
               : op == "<"  ? value < wanted
                            : value > wanted;
  if (!holds)
    context.Fail("flag " + std::to_string(command.Number(0)) + " = " + std::to_string(value));
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
  if (at != std::string::npos)
    context.Fail("that line, as line " + std::to_string(at + 1) + " of the log");
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

void PlugEngineCommands(CommandTable& table) {
  Plug(table, "scene", LoadSceneCommand);
  Plug(table, "set-flag", SetFlag);
  Plug(table, "expect flag", ExpectFlag);
  Plug(table, "expect scene", ExpectScene);
  Plug(table, "expect log", ExpectLog);
  Plug(table, "expect no-log", ExpectNoLog);
  Plug(table, "expect visible", ExpectVisible);
  Plug(table, "expect hidden", ExpectHidden);
}

}  // namespace qv::app
