// The controls' own behaviour: label sizing, typing into text boxes, list boxes and
// file lists, check boxes and picture controls.

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
