#pragma once
// The walkthrough-script commands: every command's syntax, and what it does once its
// subsystem exists. This is the one place where a subsystem plugs in its commands: give
// the command its action in MakeCommandTable.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <utility>

#include "app/script.h"
#include "core/message_box.h"
#include "platform/input.h"
#include "ui/control.h"

namespace qv::app {

class Player;

// What a command's action works with: the player, and the runner's memory between
// commands.
class ScriptContext {
 public:
  explicit ScriptContext(Player& player) : player_(player) {}

  Player& player() { return player_; }

  // The expectation of the command being run does not hold; `found` says what was there
  // instead. The run stops after the command.
  void Fail(std::string found);
  bool failed() const { return failure_.has_value(); }
  const std::string& found() const { return *failure_; }

  // The first message box the next `expect message` looks at.
  size_t message_mark = 0;
  // The first notify-log line the next `expect log` looks at.
  size_t log_mark = 0;

  // Set by a command that has opened a modal window and goes on inside it: the runner
  // runs the same command again the next time the player waits for its user (then
  // `resumed` is true).
  bool again = false;
  bool resumed = false;

  // The virtual time a scripted `wait` ends at, while one is in progress.
  std::optional<int64_t> wait_until;

 private:
  Player& player_;
  std::optional<std::string> failure_;
};

// Every command of walkthrough scripts. Commands whose subsystem is not built yet have no
// action: a script that uses one stops before it runs.
CommandTable MakeCommandTable();

// Lets time pass up to context.wait_until as the user waits, then clears it. Called by
// `wait`, and by the runner when the player asks for the next command while a wait is
// still in progress (a timer opened a modal window during the wait): the user goes on
// waiting first, as a person following the script would.
void FinishWait(ScriptContext& context);

// The subsystems' commands, each in a file of its own: they give the commands of the
// table their actions.
void PlugEngineCommands(CommandTable& table);  // engine_commands.cpp
void PlugSoundCommands(CommandTable& table);   // sound_commands.cpp
void PlugScreenCommands(CommandTable& table);  // screen_commands.cpp
void PlugShellCommands(CommandTable& table);   // shell_commands.cpp
void PlugSavesCommands(CommandTable& table);   // saves_commands.cpp

// Sets the action of a command of the table (which must be there).
void Plug(CommandTable& table, std::string_view name, CommandAction action);

// True when a debug-window answer says that the number was out of range.
bool IsRangeAnswer(const std::string& answer);
// Where the user's pointer reaches `control` on the screen: its middle, or, when
// something lies over the middle, the first point of a grid over it that nothing covers.
// Nothing when the control is not on screen.
std::optional<std::pair<int, int>> PointOn(Player& player, const ui::Control& control);
// Input as the user's own: through the backend, to whatever the desktop finds there.
void InjectMouse(Player& player, platform::InputEvent::Kind kind, std::pair<int, int> at);
// The pointer goes to the point and the left button is pressed and released there.
void ClickOn(Player& player, std::pair<int, int> at);

// The answer word of `answer`.
BoxAnswer AnswerFromWord(std::string_view word);

}  // namespace qv::app
