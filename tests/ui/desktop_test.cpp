// How the desktop routes the player's mouse and keys to forms and controls, shows and
// waits for modal forms, and shows the mouse icon.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "ui/button.h"
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

}  // namespace
}  // namespace qv::ui::testing
