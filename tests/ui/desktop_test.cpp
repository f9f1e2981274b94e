// How the desktop routes the player's mouse and keys to forms and controls, shows and
// waits for modal forms, and shows the mouse icon; and the controls' own behaviour: label
// sizing, typing into text boxes, list boxes and file lists, check boxes and picture
// controls.

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "test_support.h"
#include "ui/button.h"
#include "ui/label.h"
#include "ui/list_box.h"
#include "ui/picture_box.h"
#include "ui/text_box.h"
#include "ui/ui_fixture.h"

namespace qv::ui::testing {
namespace {

// Records the mouse events a control receives, by its name.
struct EventLog {
  std::vector<std::string> lines;
  void Watch(Control& c) {
    c.on_mouse_down = [this, &c](const MouseArgs& a) {
      lines.push_back(c.name() + " down " + std::to_string(a.x) + "," + std::to_string(a.y));
    };
    c.on_mouse_up = [this, &c](const MouseArgs&) { lines.push_back(c.name() + " up"); };
    c.on_mouse_move = [this, &c](const MouseArgs&) { lines.push_back(c.name() + " move"); };
    c.on_click = [this, &c] { lines.push_back(c.name() + " click"); };
  }
};

TEST_F(DesktopTest, ClickGoesToTheTopmostControlUnderThePointer) {
  auto form = MakeForm("Main", 0, 0, 400, 300);
  auto& scene = Place<PictureBox>(*form, "ScnImg", {10, 10, 200, 200});
  auto& lower = Place<Image>(scene, "NoGIF", {20, 20, 50, 50}, 1);
  auto& upper = Place<Image>(scene, "NoGIF", {40, 40, 50, 50}, 2);
  EventLog log;
  for (Control* c : std::initializer_list<Control*>{form.get(), &scene, &lower, &upper})
    log.Watch(*c);

  ClickAt(55, 55);  // where both overlap: the later one is on top
  EXPECT_EQ(log.lines,
            (std::vector<std::string>{"NoGIF move", "NoGIF down 5,5", "NoGIF up", "NoGIF click"}));
  EXPECT_EQ(desktop.ControlAt(55, 55), &upper);

  lower.ZOrder(0);
  EXPECT_EQ(desktop.ControlAt(55, 55), &lower) << "brought to the front";

  // Hidden and disabled controls, and decorations, let the mouse through to what lies
  // beneath.
  lower.SetVisible(false);
  EXPECT_EQ(desktop.ControlAt(55, 55), &upper);
  upper.SetEnabled(false);
  EXPECT_EQ(desktop.ControlAt(55, 55), &scene);
  scene.SetReceivesMouse(false);
  EXPECT_EQ(desktop.ControlAt(55, 55), form.get());
  EXPECT_EQ(desktop.ControlAt(500, 500), nullptr) << "no form there";
}

TEST_F(DesktopTest, APressCapturesTheControlUntilRelease) {
  auto form = MakeForm("Main", 0, 0, 400, 300);
  auto& a = Place<Image>(*form, "A", {10, 10, 20, 20});
  auto& b = Place<Image>(*form, "B", {100, 10, 20, 20});
  EventLog log;
  log.Watch(a);
  log.Watch(b);

  Press(15, 15);
  MoveTo(105, 15);  // over B, but A holds the mouse
  Release(105, 15);
  EXPECT_EQ(log.lines, (std::vector<std::string>{"A down 5,5", "A move", "A up"}))
      << "a release elsewhere is no click";

  log.lines.clear();
  Press(15, 15);
  MoveTo(105, 15);
  MoveTo(16, 16);  // back on A before letting go
  Release(16, 16);
  EXPECT_EQ(log.lines.back(), "A click");

  log.lines.clear();
  Press(15, 15, MouseButton::kRight);
  Release(15, 15, MouseButton::kRight);
  EXPECT_EQ(log.lines, (std::vector<std::string>{"A down 5,5", "A up"}))
      << "only the left button clicks";
}

TEST_F(DesktopTest, AHandlerThatDestroysItsControlIsSafe) {
  auto form = MakeForm("Main", 0, 0, 400, 300);
  auto* doomed = &Place<Image>(*form, "Doomed", {10, 10, 20, 20});
  bool clicked = false;
  doomed->on_mouse_up = [&](const MouseArgs&) {
    // The form's code rebuilds its controls while the mouse is still on this one.
    auto& owner = *form;
    owner.Unload();
    form.reset();
  };
  doomed->on_click = [&] { clicked = true; };
  Press(15, 15);
  Release(15, 15);
  EXPECT_FALSE(clicked);
  MoveTo(16, 16);  // nothing left to route to
}

TEST_F(DesktopTest, FormsLoadOnceActivateWhenShownOrPressedAndTopMostOnesStayAbove) {
  Form closeup(desktop, "Closeup");
  std::vector<std::string> events;
  closeup.on_load = [&] { events.push_back("load"); };
  closeup.on_activate = [&] { events.push_back("activate"); };
  closeup.on_unload = [&] { events.push_back("unload"); };
  closeup.Load();
  closeup.Show();
  closeup.Show();  // already showing: loaded once, already active
  closeup.Unload();
  closeup.Show();
  EXPECT_EQ(events, (std::vector<std::string>{"load", "activate", "unload", "load", "activate"}));
  closeup.Hide();
  EXPECT_EQ(desktop.ActiveForm(), nullptr);

  auto log_window = MakeForm("NoWin", 0, 0, 100, 100);
  log_window->SetTopMost(true);
  auto main = MakeForm("Main", 0, 0, 400, 300);
  EXPECT_EQ(desktop.FormAt(50, 50), log_window.get());
  EXPECT_EQ(desktop.ActiveForm(), main.get());

  // Showing a form, or pressing on one, activates it.
  log_window->SetTopMost(false);
  events.clear();
  log_window->on_activate = [&] { events.push_back("NoWin activate"); };
  main->on_activate = [&] { events.push_back("Main activate"); };
  main->on_deactivate = [&] { events.push_back("Main deactivate"); };
  log_window->Show();
  Press(390, 290);  // only Main is there
  Release(390, 290);
  EXPECT_EQ(events,
            (std::vector<std::string>{"Main deactivate", "NoWin activate", "Main activate"}));
  EXPECT_EQ(desktop.FormAt(50, 50), log_window.get()) << "pressing does not change the order";
}

TEST_F(DesktopTest, ShowModalWaitsUntilTheFormIsHiddenAndBlocksTheFormsBeneath) {
  auto main = MakeForm("Main", 0, 0, 400, 300);
  auto& behind = Place<CommandButton>(*main, "Behind", {300, 250, 50, 20});
  int behind_clicks = 0;
  behind.on_click = [&] { ++behind_clicks; };

  Form hidden(desktop, "NoWin");  // not shown yet
  Form closeup(desktop, "Closeup");
  closeup.Move(50, 50, 200, 150);
  auto& close = Place<CommandButton>(closeup, "Command1", {10, 10, 60, 20});
  close.on_click = [&] { closeup.Hide(); };

  // The player's clicks, as the scripted user makes them whenever the player waits.
  qv::testing::User player(loop);
  std::string front_while_modal;
  player.actions = {[&] {
                      // A window shown meanwhile goes beneath the modal one.
                      desktop.Forms().front()->Show();
                      front_while_modal = desktop.Forms().back()->name();
                      ClickAt(310, 255);  // on the form beneath
                    },
                    [&] { ClickAt(65, 65); }};  // Command1

  closeup.ShowModal();
  EXPECT_FALSE(closeup.Visible());
  EXPECT_FALSE(closeup.Modal());
  EXPECT_TRUE(player.actions.empty()) << "returned right after the closing click";
  EXPECT_EQ(front_while_modal, "Closeup");
  EXPECT_EQ(behind_clicks, 0) << "the form beneath a modal form gets no input";
  EXPECT_EQ(desktop.ActiveForm(), &hidden) << "the form right beneath takes over";
  ClickAt(310, 255);
  EXPECT_EQ(behind_clicks, 1);

  // A modal form hidden by its own activate handler does not wait (with nobody to end
  // the wait, waiting would be a deadlock).
  loop.SetIdleUser(nullptr);
  closeup.on_activate = [&] { closeup.Hide(); };
  closeup.ShowModal();
  EXPECT_EQ(desktop.ModalForm(), nullptr);
}

TEST_F(DesktopTest, KeysGoToTheActiveFormThenToTheFocusedControl) {
  auto dialog = std::make_unique<Form>(desktop, "SaveGame");
  dialog->Move(100, 100, 300, 200);
  auto& name = Place<TextBox>(*dialog, "Text1", {10, 10, 200, 22});
  auto& description = Place<TextBox>(*dialog, "Text2", {10, 40, 200, 22});
  dialog->Show();
  std::vector<std::string> keys;
  dialog->on_key_press = [&](KeyArgs& args) {
    keys.push_back(args.text);
    if (args.text == "#") args.handled = true;  // the form keeps this one
  };
  EXPECT_EQ(dialog->ActiveControl(), &name) << "the first control takes the focus on Show";

  Type("a");
  Type("#");
  KeyDown(Key::kTab);
  Type("b");
  EXPECT_EQ(name.Text(), "a");
  EXPECT_EQ(description.Text(), "b");
  EXPECT_EQ(keys, (std::vector<std::string>{"a", "#", "b"}));
  KeyDown(Key::kTab, /*shift=*/true);
  EXPECT_TRUE(name.HasFocus());

  // A click gives the focus to the control clicked.
  ClickAt(150, 150);
  EXPECT_TRUE(description.HasFocus());
  // A hidden control loses it; typing then goes nowhere.
  description.SetVisible(false);
  EXPECT_EQ(dialog->ActiveControl(), nullptr);
  Type("c");
  EXPECT_EQ(description.Text(), "b");
  description.SetVisible(true);
  description.SetFocus();

  // Another form that is not active hears nothing.
  auto other = MakeForm("Other", 500, 0, 100, 100);
  int other_keys = 0;
  other->on_key_down = [&](KeyArgs&) { ++other_keys; };
  dialog->Show();
  KeyDown(Key::kEscape);
  EXPECT_EQ(other_keys, 0);
}

TEST_F(DesktopTest, TheCursorIsTheMouseIconOfTheFormUnderThePointer) {
  auto main = MakeForm("Main", 0, 0, 400, 300);
  auto other = MakeForm("Other", 500, 0, 100, 100);
  const platform::ImagePtr hand = MakeImage(32, 32);
  main->SetMouseIcon(hand, 3, 4);
  MoveTo(10, 10);
  EXPECT_EQ(backend.cursor(), nullptr) << "custom pointer mode not set yet";
  main->SetMousePointer(kPointerCustom);
  EXPECT_EQ(backend.cursor(), hand);
  EXPECT_EQ(backend.cursor_hot_x(), 3);
  EXPECT_EQ(desktop.Cursor(), hand);
  MoveTo(550, 50);
  EXPECT_EQ(backend.cursor(), nullptr) << "the other form shows the arrow";
  Press(10, 10);
  MoveTo(550, 50);
  EXPECT_EQ(backend.cursor(), hand) << "the form holding the mouse keeps its icon";
  Release(550, 50);
  EXPECT_EQ(backend.cursor(), nullptr);
}

TEST_F(DesktopTest, ToolTipShowsAfterThePointerRests) {
  auto map = MakeForm("MapWindow", 0, 0, 400, 300);
  auto& location = Place<Image>(*map, "Loctn", {50, 50, 40, 40}, 3);
  location.SetToolTip("Lighthouse");
  MoveTo(60, 60);
  EXPECT_EQ(backend.renderer().FindText("Lighthouse"), nullptr);
  loop.PassTime(Desktop::kToolTipDelayMs);
  EXPECT_NE(backend.renderer().FindText("Lighthouse"), nullptr);
  Press(60, 60);
  loop.DoEvents();
  EXPECT_EQ(backend.renderer().FindText("Lighthouse"), nullptr) << "a press hides it";
}

TEST_F(DesktopTest, FramedFormsMoveByTheirTitleBarAndRunMenuCommandsReleasedOverThem) {
  auto log_window = MakeForm("NoWin", 100, 100, 300, 200);
  log_window->SetBorder(BorderStyle::kFixed);
  log_window->SetCaption("Quorvex Debug Window");
  int clicks = 0;
  log_window->on_click = [&] { ++clicks; };
  Press(150, 105);
  MoveTo(50, 5);
  Release(50, 5);
  EXPECT_EQ(log_window->Left(), 0);
  EXPECT_EQ(log_window->Top(), 0);
  EXPECT_EQ(clicks, 0) << "a press on the title is no click on the form";
  loop.DoEvents();
  EXPECT_NE(backend.renderer().FindText("Quorvex Debug Window"), nullptr);

  int copies = 0;
  int empties = 0;
  log_window->AddMenu("cc", "Copy to Clipboard").on_click = [&] { ++copies; };
  MenuItem& empty = log_window->AddMenu("ClC", "Empty Contents");
  empty.on_click = [&] { ++empties; };
  const int bar_y = 1 + Form::kTitleHeight + Form::kMenuHeight / 2;
  const int empty_x = 15 + desktop.fonts().Measure("Copy to Clipboard", {}).width + 20;
  ClickAt(15, bar_y);
  EXPECT_EQ(copies, 1);
  empty.SetEnabled(false);
  ClickAt(empty_x, bar_y);
  EXPECT_EQ(empties, 0) << "disabled";
  empty.SetEnabled(true);
  ClickAt(empty_x, bar_y);
  EXPECT_EQ(empties, 1);
  Press(15, bar_y);
  Release(200, 150);
  EXPECT_EQ(copies, 1) << "released elsewhere";
}

TEST_F(DesktopTest, LabelsSizeToTheirTextOrWrapItToTheirWidth) {
  auto main = MakeForm("Main", 0, 0, 700, 500);
  auto& label = main->Create<Label>("Msg");
  const int line_height = Desktop::LineHeight(&desktop, label.Font());
  const auto width = [&](const char* text, platform::FontChoice font = {}) {
    return desktop.fonts().Measure(text, font).width;
  };
  label.SetCaption("Score:\r\nInventory Full");
  label.SetAutoSize(true);
  EXPECT_EQ(label.Width(), width("Inventory Full")) << "the widest of the lines";
  EXPECT_EQ(label.Height(), 2 * line_height);

  // Word wrap keeps the width and grows downwards, breaking at blanks.
  label.SetCaption("one two three four five six seven");
  label.SetWordWrap(true);
  label.SetWidth(std::max(width("one two three"), width("four five six")));
  EXPECT_EQ(label.Lines(), (std::vector<std::string>{"one two three", "four five six", "seven"}));
  EXPECT_EQ(label.Height(), 3 * line_height);

  // Without auto-size the caption wraps to the width and each line is drawn beneath the last.
  auto& line = main->Create<Label>("ConvText", 1);
  line.Move(0, 0, std::max(width("Where is"), width("the key?")), 100);
  line.SetCaption("Where is the key?");
  EXPECT_EQ(line.Lines(), (std::vector<std::string>{"Where is", "the key?"}));
  loop.DoEvents();
  const auto* second = backend.renderer().FindText("the key?");
  ASSERT_NE(second, nullptr);
  EXPECT_EQ(second->rect.y, line_height);
  line.SetCaption("averyveryverylongword");
  EXPECT_EQ(line.Lines().size(), 1u) << "a word longer than the width stays whole";
}

TEST_F(DesktopTest, TextBoxTypingSelectingAndTheClipboard) {
  auto dialog = MakeForm("SaveGame", 0, 0, 300, 200);
  auto& box = Place<TextBox>(*dialog, "Text1", {10, 10, 150, 22});
  int changes = 0;
  box.on_change = [&] { ++changes; };
  box.SetText("Filename");
  EXPECT_EQ(changes, 1);
  box.SetFocus();
  box.SelectAll();
  for (const char* c : {"s", "a", "v", "é"})
    Type(c);
  EXPECT_EQ(box.Text(), "savé") << "typing replaces the selection";
  KeyDown(Key::kBackspace);
  EXPECT_EQ(box.Text(), "sav") << "one character, not one byte";
  KeyDown(Key::kHome);
  KeyDown(Key::kRight, /*shift=*/true);
  KeyDown(Key::kRight, /*shift=*/true);
  KeyDown(Key::kDelete);
  EXPECT_EQ(box.Text(), "v") << "shift+arrows select";
  Type("\r");  // Return is a key, not text
  EXPECT_EQ(box.Text(), "v");

  box.SetMaxLength(3);
  for (const char* c : {"1", "2", "3"})
    Type(c);
  EXPECT_EQ(box.Text(), "12v") << "no room for the third";

  Ctrl('a');
  Ctrl('c');
  KeyDown(Key::kEnd);
  EXPECT_EQ(backend.clipboard().GetText(), "12v");
  box.SetMaxLength(0);
  Ctrl('v');
  EXPECT_EQ(box.Text(), "12v12v");

  box.SetLocked(true);
  Type("x");
  KeyDown(Key::kBackspace);
  EXPECT_EQ(box.Text(), "12v12v");
  box.SetText("line\r\nbreak");
  EXPECT_EQ(box.Text(), "linebreak") << "one line only";
}

TEST_F(DesktopTest, ListBoxLinesAndSelection) {
  auto form = MakeForm("NoWin", 0, 0, 300, 200);
  auto& list = Place<ListBox>(*form, "List1", {0, 0, 300, 100});
  int clicks = 0;
  list.on_click = [&] { ++clicks; };
  for (const char* line : {"a", "b", "c"})
    list.AddItem(line);
  list.AddItem("first", 0);
  EXPECT_EQ(list.List(0), "first");
  EXPECT_EQ(list.List(9), "") << "no line there";

  list.SetListIndex(list.ListCount() - 1);  // the newest line, as the notify log does
  EXPECT_EQ(clicks, 1) << "a new selection runs the click handler";
  list.SetListIndex(3);
  EXPECT_EQ(clicks, 1) << "the same selection does not";
  list.RemoveItem(0);
  EXPECT_EQ(list.ListIndex(), 2) << "the selection moves with its line";
  list.RemoveItem(2);
  EXPECT_EQ(list.ListIndex(), -1);
  EXPECT_EQ(VbErrorNumber([&] { list.SetListIndex(5); }), kErrInvalidCall);
  EXPECT_EQ(VbErrorNumber([&] { list.AddItem("x", 7); }), kErrInvalidCall);

  // Clicking a line selects it (and a second click on it runs the handler again).
  const int row = Desktop::LineHeight(&desktop, list.Font()) + 1;
  ClickAt(20, 1 + row + row / 2);
  EXPECT_EQ(list.ListIndex(), 1);
  ClickAt(20, 1 + row + row / 2);
  EXPECT_EQ(clicks, 3);
  KeyDown(Key::kUp);
  EXPECT_EQ(list.ListIndex(), 0);

  // The selected line scrolls into view.
  list.Clear();
  for (int i = 0; i < 50; ++i)
    list.AddItem("line " + std::to_string(i));
  list.SetListIndex(49);
  EXPECT_EQ(list.TopIndex(), 50 - list.VisibleRows());
  loop.DoEvents();
  EXPECT_NE(backend.renderer().FindText("line 49"), nullptr);
  EXPECT_EQ(backend.renderer().FindText("line 0"), nullptr);
}

TEST_F(DesktopTest, FileListBoxListsMatchingOrdinaryFilesSorted) {
  qv::testing::TempDir dir;
  for (const char* name :
       {"beta.sav", "Alpha.SAV", "gamma.sav", "notes.txt", ".hidden.sav", "sub.sav/inner.sav"}) {
    dir.Write(name, "x");
  }
  Form form(desktop, "LoadGame");
  auto& files = form.Create<FileListBox>("File1");
  files.SetPattern("*.sav");
  files.SetPath(dir.path());
  std::vector<std::string> listed;
  for (int i = 0; i < files.ListCount(); ++i)
    listed.push_back(files.List(i));
  EXPECT_EQ(listed, (std::vector<std::string>{"Alpha.SAV", "beta.sav", "gamma.sav"}));
  EXPECT_EQ(files.FileName(), "");
  files.SetListIndex(1);
  EXPECT_EQ(files.FileName(), "beta.sav");

  files.SetPattern("*.txt;*.sav");
  EXPECT_EQ(files.ListCount(), 4);
  dir.Write("delta.sav", "x");
  files.Refresh();
  EXPECT_EQ(files.ListCount(), 5);
  EXPECT_EQ(files.ListIndex(), -1);

  EXPECT_EQ(VbErrorNumber([&] { files.SetPath(dir.path() / "missing"); }), kErrPathNotFound);
  EXPECT_EQ(files.Path(), dir.path()) << "the old folder stays";
  std::filesystem::remove_all(dir.path());
  files.Refresh();
  EXPECT_EQ(files.ListCount(), 0) << "a folder that went lists nothing";
}

TEST_F(DesktopTest, CheckBoxAndButtons) {
  auto debug = MakeForm("QVDebug", 0, 0, 300, 200);
  auto& check = Place<CheckBox>(*debug, "Check1", {10, 10, 120, 20});
  check.SetCaption("Notify Window");
  std::vector<int> seen;
  check.on_click = [&] { seen.push_back(check.Value()); };
  ClickAt(15, 15);
  ClickAt(15, 15);
  check.SetValue(1);
  check.SetValue(1);
  EXPECT_EQ(seen, (std::vector<int>{1, 0, 1})) << "code changes run the handler once";
  EXPECT_EQ(VbErrorNumber([&] { check.SetValue(2); }), kErrInvalidCall);

  auto& load = Place<CommandButton>(*debug, "Command1", {10, 50, 80, 24});
  load.SetCaption("Load");
  int loads = 0;
  load.on_click = [&] { ++loads; };
  ClickAt(20, 60);
  load.SetFocus();
  KeyDown(Key::kReturn);
  load.SetEnabled(false);
  ClickAt(20, 60);
  EXPECT_EQ(loads, 2);
  loop.DoEvents();
  EXPECT_NE(backend.renderer().FindText("Load"), nullptr);
  EXPECT_NE(backend.renderer().FindText("Notify Window"), nullptr);
}

TEST_F(DesktopTest, PictureControlsSizeAndDraw) {
  auto main = MakeForm("Main", 0, 0, 700, 500);
  auto& scene = Place<PictureBox>(*main, "ScnImg", {100, 50, 300, 200});
  auto& item = Place<Image>(scene, "invitem", {10, 10, 5, 5}, 1);
  const platform::ImagePtr icon = MakeImage(40, 30);
  item.SetPicture(icon);
  EXPECT_EQ(item.Width(), 40) << "an image without Stretch takes its picture's size";
  EXPECT_EQ(item.Height(), 30);
  item.SetStretch(true);
  item.Move(10, 10, 80, 60);
  loop.DoEvents();
  const auto* drawn = backend.renderer().FindImage(icon->id());
  ASSERT_NE(drawn, nullptr);
  EXPECT_EQ(drawn->rect, (platform::Rect{110, 60, 80, 60})) << "inside its container";

  scene.SetBorder(true);
  EXPECT_EQ(item.ScreenRect().x, 111) << "children sit inside the border";
  scene.SetAutoSize(true);
  scene.SetPicture(MakeImage(64, 48));
  EXPECT_EQ(scene.Width(), 66) << "its picture and the border";
  EXPECT_EQ(scene.Height(), 50);
}

}  // namespace
}  // namespace qv::ui::testing
