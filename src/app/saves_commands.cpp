// The walkthrough commands of the saved games: `save "NAME" "DESCRIPTION"` and
// `load "NAME"`, each through its dialog as a player would use it. A command opens its
// dialog first when it is not up (the game screen's save button, the menu's load
// button) and goes on inside it.

#include <string>

#include "app/player.h"
#include "app/script.h"
#include "app/script_commands.h"
#include "core/text.h"

namespace qv::app {

namespace {

using platform::InputEvent;

bool Click(ScriptContext& context, const ui::Control& control, const std::string& missing) {
  auto at = PointOn(context.player(), control);
  if (!at) {
    context.Fail(missing);
    return false;
  }
  ClickOn(context.player(), *at);
  return true;
}

// Clicks into a text box, selects its whole text (Ctrl+A) and types `text` over it.
bool Type(ScriptContext& context, const ui::TextBox& box, const std::string& text) {
  if (!Click(context, box, "the box " + box.name() + " is not on screen")) return false;
  InputEvent select_all;
  select_all.kind = InputEvent::Kind::kKeyDown;
  select_all.key = platform::Key::kChar;
  select_all.text = "a";
  select_all.ctrl = true;
  context.player().backend().InjectInput(select_all);
  InputEvent event;
  if (text.empty()) {
    event.kind = InputEvent::Kind::kKeyDown;
    event.key = platform::Key::kDelete;
  } else {
    event.kind = InputEvent::Kind::kKeyPress;
    event.key = platform::Key::kChar;
    event.text = text;
  }
  context.player().backend().InjectInput(event);
  return true;
}

// Opens a dialog with `opener` unless it is up; true when the command goes on now.
bool InDialog(ScriptContext& context, const ui::Form& dialog, const ui::Control& opener,
              const std::string& missing) {
  if (dialog.Shown()) return true;
  if (context.resumed) {
    context.Fail("the " + dialog.name() + " dialog did not open");
  } else if (Click(context, opener, missing)) {
    context.again = true;
  }
  return false;
}

void Save(ScriptContext& context, const ScriptCommand& command) {
  Player& player = context.player();
  saves::SaveDialogs::SaveWindow& dialog = player.save_dialogs().save_window();
  if (!InDialog(context, *dialog.form, *player.screen().SaveGameButtn,
                "the save button is not on screen")) {
    return;
  }
  if (!Type(context, *dialog.Text1, command.Text(0))) return;
  if (!Type(context, *dialog.Text2, command.Text(1))) return;
  Click(context, *dialog.ButtnOK, "the save dialog's OK button is not on screen");
}

void Load(ScriptContext& context, const ScriptCommand& command) {
  Player& player = context.player();
  saves::SaveDialogs::LoadWindow& dialog = player.save_dialogs().load_window();
  if (!InDialog(context, *dialog.form, *player.shell().Buttn[3],
                player.shell().MainMenu().Shown() ? "the menu's load button is not shown"
                                                  : "the main menu is not on screen")) {
    return;
  }
  std::string wanted = command.Text(0);
  const ui::FileListBox& list = *dialog.File1;
  int found = -1;
  for (int pass = 0; pass < 2 && found < 0; ++pass) {
    for (int i = 0; i < list.ListCount() && found < 0; ++i) {
      if (EqualsIgnoreCaseCp1252(list.List(i), wanted)) found = i;
    }
    wanted += ".sav";
  }
  if (found < 0) {
    std::string listed;
    for (int i = 0; i < list.ListCount(); ++i)
      listed += (listed.empty() ? "" : ", ") + list.List(i);
    context.Fail("no file " + command.Text(0) + " in the list (" +
                 (listed.empty() ? std::string("it is empty") : listed) + ")");
    return;
  }
  // Choosing a line is what a click on it does.
  dialog.File1->SetListIndex(found);
  Click(context, *dialog.ButtnOK, "the load dialog's OK button is not on screen");
}

}  // namespace

void PlugSavesCommands(CommandTable& table) {
  Plug(table, "save", Save);
  Plug(table, "load", Load);
}

}  // namespace qv::app
