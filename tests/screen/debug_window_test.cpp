// The debug window on a game: every field and button, the answers in its result boxes,
// and numbers typed as text, out of range, huge or negative, read as the classic Val
// reads them. The notify log window: lines kept while hidden, the three menu commands,
// and a list that refuses a line.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "diag/val.h"
#include "screen_fixture.h"

namespace qv::testing {
namespace {

using diag::NotifyLog;
using diag::ReadNumber;
using diag::Val;
using ::testing::Contains;
using ::testing::ElementsAre;

// Three scenes; in scene 1 a responder that switches to scene 3 when flag 4 is 1.
class DebugWindow : public ::testing::Test {
 protected:
  DebugWindow() : h(Game()) {
    for (int i = 1; i <= 17; ++i)
      WritePictures(h, {"item" + std::to_string(i) + ".gif"});
    h.EnterScene(1);
    h.debug().Show();
  }
  // Items 1..17, each with a bar picture "itemN.gif".
  static std::string Game() {
    std::string items;
    for (int i = 1; i <= 17; ++i)
      items += R"({"BarPicture": "item)" + std::to_string(i) + R"(.gif"},)";
    items.pop_back();
    return R"({"Items": [)" + items + R"(], "Scenes": [
        {"Objects": [{"ObjType": 5, "ObjN0": 1, "ObjN1": 4, "ObjN2": 0, "ObjN3": 1,
                      "ObjN10": 1, "ObjN11": 3}]}, {}, {}]})";
  }
  static void Type(ui::TextBox* field, const std::string& text) { field->SetText(text); }

  EngineHarness h;
};

TEST_F(DebugWindow, LoadAndQueryAnswerInTheirBoxes) {
  diag::QVDebug& debug = h.debug();
  EXPECT_EQ(debug.form().Caption(), "Quorvex Debug Window");
  EXPECT_EQ(debug.CurScnLabel->Caption(), "1)");
  for (const char* text : {"4", "99999999999", "0.5"}) {
    Type(debug.LdScn, text);
    debug.Command1Click();
    EXPECT_EQ(debug.LdScnResult->Text(), "Scene # must be between 1 and 3") << text;
  }
  Type(debug.LdScn, " 2.5");
  debug.Command1Click();
  h.Settle();
  EXPECT_EQ(debug.LdScnResult->Text(), "Scene 2 loaded");
  EXPECT_EQ(debug.CurScnLabel->Caption(), "2)");
  EXPECT_EQ(h.scene().CurrentScene, 2);

  h.state().Flags[5] = -7;
  for (const char* text : {"0", "256"}) {
    Type(debug.QueryFlag, text);
    debug.Command2Click();
    EXPECT_EQ(debug.QFlagResult->Text(), "Flag # must be between 1 and 255") << text;
  }
  Type(debug.QueryFlag, "5 apples");
  debug.Command2Click();
  EXPECT_EQ(debug.QFlagResult->Text(), "Flag 5 = -7");
  EXPECT_TRUE(h.Boxes().empty());
}

TEST_F(DebugWindow, SetFlagRunsTheEngineAndRefusesWhatDoesNotFit) {
  diag::QVDebug& debug = h.debug();
  h.ClearLog();
  Type(debug.SetFlg, "300");
  Type(debug.SFValue, "1");
  debug.SetFlagbtnClick();
  EXPECT_EQ(debug.SetFlgResult->Text(), "Flag # must be between 1 and 255");
  Type(debug.SetFlg, "6");
  Type(debug.SFValue, "-12.5");
  debug.SetFlagbtnClick();
  EXPECT_EQ(debug.SetFlgResult->Text(), "Flag 6 set to-12");
  Type(debug.SFValue, "40000");
  debug.SetFlagbtnClick();
  EXPECT_THAT(h.Boxes(),
              ElementsAre("Unexpected error in procedure: SetFlagbtn_Click\r\nError #6: Overflow"));
  EXPECT_EQ(h.state().Flags[6], -12) << "nothing changed";
  Type(debug.SetFlg, "4");
  Type(debug.SFValue, "1");
  debug.SetFlagbtnClick();
  h.Settle();
  EXPECT_EQ(debug.SetFlgResult->Text(), "Flag 4 set to 1");
  EXPECT_EQ(h.scene().CurrentScene, 3) << "as a game action would";
  EXPECT_THAT(h.Lines(), Contains("<Flag 4> Set to  1"));
}

TEST_F(DebugWindow, GiveUpToTheLimitClearAllAndTheOtherButtons) {
  diag::QVDebug& debug = h.debug();
  Type(debug.GiveInv, "18");
  debug.Command4Click();
  EXPECT_EQ(debug.GiveInvResult->Text(), "Item # must be between 1 and 17");
  for (int i = 1; i <= 15; ++i)
    EXPECT_EQ(debug.Give(i), "Item " + std::to_string(i) + " added to inventory");
  EXPECT_EQ(debug.Give(16), "Inventory Limits Reached (16)") << "although it was added";
  EXPECT_EQ(h.inventory().ItemsHeld, 16);

  h.inventory().ItemMouseDown(3, LeftButton());
  debug.Command6Click();
  EXPECT_EQ(h.inventory().ItemsHeld, 0);
  EXPECT_EQ(h.inventory().HandSlot(), 99) << "the hand holds nothing that is gone";
  EXPECT_FALSE(h.screen().invitem[1]->Visible());
  EXPECT_EQ(h.inventory().images.ItemIcon[1], h.inventory().images.NoPic());

  debug.Check1->SetValue(1);
  debug.Check1->SetValue(0);
  EXPECT_FALSE(h.state().VerboseLog);
  debug.Check1->SetValue(1);
  EXPECT_TRUE(h.state().VerboseLog);

  User user(h.loop());
  bool map_up = false;
  user.actions.push_back([&] {
    map_up = h.map().MapActive && h.map().form().Visible();
    h.map().Command1Click();
  });
  debug.Show();
  debug.Command7Click();
  EXPECT_TRUE(map_up);
  debug.Command3Click();
  EXPECT_EQ(h.backend().minimized(), 1) << "Minimize Player";
  EXPECT_TRUE(h.log().NoWin().Visible()) << "the notify window shows with progress lines on";
  EXPECT_FALSE(debug.form().Visible());
}

TEST(Val, DecimalHexOctalAndWhatReadsAsNothingAndFieldsRoundHalvesToEven) {
  EXPECT_EQ(Val("  42abc"), 42);
  EXPECT_EQ(Val("1 2\t3"), 123) << "blanks and tabs anywhere are skipped";
  EXPECT_EQ(Val("-3.5e2x"), -350);
  EXPECT_EQ(Val("2D2"), 200);
  EXPECT_EQ(Val(".5"), 0.5);
  EXPECT_EQ(Val("1e"), 1);
  for (const char* nothing : {"", "abc", "-", ".", "$5", "e5"})
    EXPECT_EQ(Val(nothing), 0) << nothing;
  EXPECT_EQ(Val("&H1f"), 31);
  EXPECT_EQ(Val("&HFFFF"), -1) << "four hex digits are a 16-bit value";
  EXPECT_EQ(Val("&H10000"), 65536);
  EXPECT_EQ(Val("&HFFFFFFFF"), -1);
  EXPECT_EQ(Val("&O17"), 15);
  EXPECT_EQ(Val("&17"), 15);
  EXPECT_EQ(Val("&Hz"), 0);
  EXPECT_THROW(Val("&H100000000"), VbError);
  EXPECT_THROW(Val("1e999"), VbError);

  EXPECT_EQ(ReadNumber("12.5"), 12);
  EXPECT_EQ(ReadNumber("13.5"), 14);
  EXPECT_EQ(ReadNumber("-0.5"), 0);
  EXPECT_EQ(ReadNumber(" 7.51"), 8);
}

class NotifyLogTest : public ::testing::Test {
 protected:
  NotifyLogTest()
      : loop_(backend_),
        desktop_(loop_),
        log_(desktop_, backend_.headless_boxes(), backend_.clipboard()) {}

  platform::HeadlessBackend backend_;
  platform::EventLoop loop_;
  ui::Desktop desktop_;
  NotifyLog log_;
};

TEST_F(NotifyLogTest, LinesLoggedBeforeTheWindowShowsAreKeptCopiedLineByLineAndUnloaded) {
  log_.CopyToClipboard();
  EXPECT_EQ(backend_.clipboard().GetText(), "") << "an empty list copies an empty text";
  log_.Append("Loading scene 1...");
  log_.Append("Scene 1 loaded.");
  EXPECT_FALSE(log_.NoWin().Visible());
  log_.NoWin().Show();
  EXPECT_EQ(log_.Lines(), (std::vector<std::string>{"Loading scene 1...", "Scene 1 loaded."}));
  EXPECT_EQ(log_.NoWin().Caption(), "Notify Window (Debug)");
  log_.CopyToClipboard();
  EXPECT_EQ(backend_.clipboard().GetText(), "Loading scene 1...\nScene 1 loaded.\n");
  log_.Unload();
  EXPECT_FALSE(log_.Created());
  EXPECT_TRUE(log_.Lines().empty());
}

TEST_F(NotifyLogTest, EmptyContentsAsksFirst) {
  log_.Append("x");
  backend_.headless_boxes().QueueAnswer(BoxAnswer::kNo);
  log_.EmptyContents();
  EXPECT_EQ(log_.Lines().size(), 1u);
  backend_.headless_boxes().QueueAnswer(BoxAnswer::kYes);
  log_.EmptyContents();
  EXPECT_TRUE(log_.Lines().empty());
  const auto& shown = backend_.headless_boxes().shown();
  ASSERT_EQ(shown.size(), 2u);
  EXPECT_EQ(shown[0].text, "Empty the contents of the Notify Window?");
  EXPECT_EQ(shown[0].buttons, BoxButtons::kYesNo);
}

TEST_F(NotifyLogTest, CompactingAlternatesWithTheDesignedHeight) {
  ui::Form& form = log_.NoWin();
  EXPECT_EQ(ui::PixelsToTwips(form.Height()), NotifyLog::kCompactHeightTwips) << "starts compacted";
  auto caption = [&] { return form.Menus()[2]->Caption(); };
  EXPECT_EQ(caption(), "Expand Window");
  log_.CompactOrExpand();
  EXPECT_GT(form.Height(), 45);
  EXPECT_EQ(caption(), "Shrink Window");
  log_.CompactOrExpand();
  EXPECT_EQ(form.Height(), 45);
  EXPECT_EQ(caption(), "Expand Window");
}

TEST_F(NotifyLogTest, AFullListIsEmptiedAndLoggingGoesOn) {
  for (int i = 0; i < ui::ListBox::kCapacity; ++i)
    log_.Append("line");
  EXPECT_TRUE(backend_.headless_boxes().shown().empty());
  log_.Append("one too many");
  ASSERT_EQ(backend_.headless_boxes().shown().size(), 1u);
  EXPECT_EQ(backend_.headless_boxes().shown()[0].text,
            "An error has occured with the Notify Window.\rError # 7 : Out of memory\rList Count = "
            "32767");
  EXPECT_TRUE(log_.Lines().empty()) << "the failing line is lost";
  log_.Append("next");
  EXPECT_EQ(log_.Lines(), std::vector<std::string>{"next"});
}

}  // namespace
}  // namespace qv::testing
