// The walkthrough commands of the player as a whole: the main menu's buttons (new-game,
// menu, hover button), the game screen's picture buttons, the quit question, the exit
// screen's button and the disc in the drive.

#include <string>

#include "app/player.h"
#include "app/script.h"
#include "app/script_commands.h"

namespace qv::app {

namespace {

using platform::InputEvent;

// Clicks a control the user can see; fails the script with `missing` otherwise.
void ClickControl(ScriptContext& context, const ui::Control& control, const std::string& missing) {
  if (auto at = PointOn(context.player(), control)) {
    ClickOn(context.player(), *at);
  } else {
    context.Fail(missing);
  }
}

void MenuButton(ScriptContext& context, int n) {
  ClickControl(context, *context.player().shell().Buttn[n],
               context.player().shell().MainMenu().Shown()
                   ? "the menu's button " + std::to_string(n) + " is not shown"
                   : "the main menu is not on screen");
}

void NewGame(ScriptContext& context, const ScriptCommand&) {
  MenuButton(context, 2);
}

void Menu(ScriptContext& context, const ScriptCommand& command) {
  const std::string& word = command.Text(0);
  const int n = word == "intro"     ? 1
                : word == "new"     ? 2
                : word == "load"    ? 3
                : word == "credits" ? 4
                                    : 5;
  MenuButton(context, n);
}

void HoverButton(ScriptContext& context, const ScriptCommand& command) {
  const int n = static_cast<int>(command.Number(0));
  if (auto at = PointOn(context.player(), *context.player().shell().Buttn[n])) {
    InjectMouse(context.player(), InputEvent::Kind::kMouseMove, *at);
  } else {
    context.Fail("the menu's button " + std::to_string(n) + " is not on screen");
  }
}

void ClickButton(ScriptContext& context, const ScriptCommand& command) {
  Player& player = context.player();
  const std::string& word = command.Text(0);
  if (word == "exit") {
    ClickControl(context, *player.shell().Command1, "the exit screen's button is not on screen");
  } else if (word == "save") {
    ClickControl(context, *player.screen().SaveGameButtn, "the save button is not on screen");
  } else {
    ClickControl(context, *player.screen().MainMenuButtn, "the main-menu button is not on screen");
  }
}

void Quit(ScriptContext& context, const ScriptCommand& command) {
  shell::Shell& shell = context.player().shell();
  const bool yes = command.Text(0) == "yes";
  ClickControl(context, yes ? *shell.ButtnYes : *shell.ButtnNo,
               "the quit question is not on screen");
}

void ChangeDisc(ScriptContext& context, const ScriptCommand& command) {
  shell::SimulatedDrive* drive = context.player().simulated_drive();
  if (drive == nullptr) {
    context.Fail("no disc drive: the game does not lie on a disc (--cd-label)");
    return;
  }
  drive->Insert(command.Text(0));
}

}  // namespace

void PlugShellCommands(CommandTable& table) {
  Plug(table, "new-game", NewGame);
  Plug(table, "menu", Menu);
  Plug(table, "hover button", HoverButton);
  Plug(table, "click button", ClickButton);
  Plug(table, "quit", Quit);
  Plug(table, "cd", ChangeDisc);
}

}  // namespace qv::app
