// The notify log window: lines kept while hidden, the three menu commands, and a list
// that refuses a line.

#include "diag/notify_log.h"

#include <gtest/gtest.h>

#include "platform/event_loop.h"
#include "platform/headless/headless_backend.h"
#include "ui/desktop.h"

namespace qv::diag {
namespace {

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
}  // namespace qv::diag
