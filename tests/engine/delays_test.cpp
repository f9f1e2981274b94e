// Scenarios of the delay timers on a headless player: when a delay's flag change happens,
// delays across scene loads, the busy cursor, restarts, stopping, and the timer errors.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "engine_harness.h"

namespace qv::testing {
namespace {

using ::testing::Contains;
using ::testing::ElementsAre;
using ::testing::Not;

// Scene 1: delay slot 1 fires when flag 1 = 1 and sets flag 2 to 5 after `secs`; a
// responder in slot 3 watches flag 1 too, so its line marks the end of the pass. Scene 2
// changes flag 9 on entry, so its load waits twice.
std::string DelayGame(int secs, int busy = 0) {
  return R"({"Scenes": [{"Objects": [
      {"ObjType": 6, "ObjN0": 1, "ObjN1": 1, "ObjN2": 0, "ObjN3": 1, "ObjN4": )" +
         std::to_string(secs) + R"(, "ObjN5": 2, "ObjN6": 5, "ObjN7": 0, "ObjN8": )" +
         std::to_string(busy) + R"(},
      {"Slot": 3, "ObjType": 5, "ObjN0": 1, "ObjN1": 1, "ObjN2": 0, "ObjN3": 1}]},
      {"EntryFlagOn": 1, "EntryFlag": 9, "EntryFlagValue": 1}]})";
}

TEST(Delays, ZeroSecondsChangesTheFlagAfterThePassAndARestartCountsFromTheNewStart) {
  EngineHarness h(DelayGame(0));
  h.EnterScene(1);
  h.engine().ChangeFlag(1, 1, 0);
  // The whole pass ran (slot 3 included) before the delay expired, inside the wait at the
  // end of the same flag change's update pass.
  auto at = [&](const std::string& line) {
    return std::find(h.Lines().begin(), h.Lines().end(), line) - h.Lines().begin();
  };
  EXPECT_LT(at("Delay 1 started. (0 secs)"), at("[Resp Index # 3] Flag 1= 1. Taking action..."));
  EXPECT_LT(at("[Resp Index # 3] Flag 1= 1. Taking action..."), at("Delay 1 expired."));
  EXPECT_LT(at("Delay 1 expired."), at("<Flag 2> Set to  5"));
  EXPECT_EQ(h.state().Flags[2], 5);

  // Started again while it runs, it counts from the new start and expires once.
  h.delays().SetDelayChange(1, 2, 6, 0);
  h.ClearLog();
  h.delays().StartDelay(1, 5);
  h.loop().PassTime(3000);
  h.delays().StartDelay(1, 4);
  EXPECT_THAT(h.Lines(), ElementsAre("Delay 1 started. (5 secs)", "Delay 1 started. (4 secs)"));
  h.loop().PassTime(3999);
  EXPECT_EQ(h.state().Flags[2], 5) << "not at the end of the first start's 5 s";
  h.loop().PassTime(1);
  EXPECT_EQ(h.state().Flags[2], 6);
  h.loop().PassTime(60000);
  EXPECT_EQ(h.Count(h.Lines(), "Delay 1 expired."), 1);
}

TEST(Delays, ExpiringWhileASceneLoadsRunsAgainForItsWholeLengthAndAppliesInTheNextScene) {
  EngineHarness h(DelayGame(40));
  h.EnterScene(1);
  h.SetFlag(1, 1);
  // The last millisecond passes inside the next scene's load.
  h.loop().PassTime(39999 - 1);
  const int64_t started = h.loop().NowMs();
  h.LoadScene(2);
  EXPECT_THAT(h.Lines(), Contains("Delay 1 restarted. (40 secs) <Loading scene>"));
  EXPECT_THAT(h.Lines(), Not(Contains("Delay 1 expired.")));
  EXPECT_EQ(h.state().Flags[2], 0);

  // Restarted when the 40 s were up (just after the load began), for 40 s more.
  const int64_t restarted = started + 1;
  h.loop().PassTime(restarted + 40000 - 1 - h.loop().NowMs());
  EXPECT_EQ(h.state().Flags[2], 0);
  h.loop().PassTime(1);
  EXPECT_EQ(h.state().Flags[2], 5) << "a delay of scene 1 changes its flag in scene 2";
  EXPECT_EQ(h.scene().CurrentScene, 2);
  EXPECT_EQ(h.Count(h.Lines(), "Delay 1 expired."), 1);
}

TEST(Delays, ANegativeDelayExpiringInASceneLoadWaitsForTheLoadCheaply) {
  // Restarted for fewer than 0 seconds while the scene is built, the countdown still lets
  // time pass (a tenth of a second at least): the load ends and the change follows.
  EngineHarness h(DelayGame(0));
  h.EnterScene(1);
  h.delays().SetDelayChange(1, 2, 5, 0);
  h.delays().StartDelay(1, -3);
  h.LoadScene(2);
  EXPECT_EQ(h.scene().CurrentScene, 2);
  EXPECT_THAT(h.Lines(), Contains("Delay 1 restarted. (-3 secs) <Loading scene>"));
  h.loop().PassTime(100);
  EXPECT_EQ(h.state().Flags[2], 5);
  EXPECT_EQ(h.Count(h.Lines(), "Delay 1 expired."), 1);

  // A load that waits long (an entry movie) is not flooded with restarts.
  h.ClearLog();
  h.delays().StartDelay(1, -3);
  h.engine().SceneChanging = true;
  h.loop().PassTime(1000);
  EXPECT_LE(h.Count(h.Lines(), "Delay 1 restarted. (-3 secs) <Loading scene>"), 10);
}

TEST(Delays, TwoBusyDelaysKeepTheBusyCursorUntilTheSecondExpires) {
  EngineHarness h(R"({"Scenes": [{"Objects": [
      {"ObjType": 6, "ObjN0": 1, "ObjN1": 1, "ObjN2": 0, "ObjN3": 1, "ObjN4": 2,
       "ObjN5": 2, "ObjN6": 1, "ObjN8": 1},
      {"ObjType": 6, "ObjN0": 1, "ObjN1": 1, "ObjN2": 0, "ObjN3": 1, "ObjN4": 5,
       "ObjN5": 3, "ObjN6": 1, "ObjN8": 1}]}]})");
  h.EnterScene(1);
  ASSERT_EQ(h.screen().CurrentCursor(), screen::kDefaultCursor);
  h.SetFlag(1, 1);
  EXPECT_EQ(h.screen().CurrentCursor(), screen::kBusyCursor);
  h.loop().PassTime(2000);
  EXPECT_EQ(h.state().Flags[2], 1);
  EXPECT_EQ(h.screen().CurrentCursor(), screen::kBusyCursor) << "the second still counts";
  h.loop().PassTime(3000);
  EXPECT_EQ(h.state().Flags[3], 1);
  EXPECT_EQ(h.screen().CurrentCursor(), screen::kDefaultCursor);
}

TEST(Delays, ADelayWhoseConditionHoldsOnEntryIsStartedTwiceAndExpiresOnce) {
  // Started by the update pass, then again by the engine run at its end.
  EngineHarness h(R"({"Scenes": [{"Objects": [
      {"ObjType": 6, "ObjN0": 0, "ObjN1": 1, "ObjN2": 0, "ObjN3": 0, "ObjN4": 2,
       "ObjN5": 2, "ObjN6": 1, "ObjN7": 1}]}]})");
  h.LoadScene(1);
  EXPECT_EQ(h.Count(h.Lines(), "Delay 1 started. (2 secs)"), 2);
  EXPECT_THAT(h.Lines(), Contains("[Delay Index # 1] Flag 1= 0. Taking action..."));
  EXPECT_EQ(h.scene().ObjType[1], -1) << "disarmed for this visit";
  h.loop().PassTime(10000);
  EXPECT_EQ(h.Count(h.Lines(), "Delay 1 expired."), 1);
  EXPECT_EQ(h.state().Flags[2], 1) << "added once";
}

TEST(Delays, FailuresShowTheTimerBoxesAndTheGameGoesOn) {
  EngineHarness h(DelayGame(1));
  h.EnterScene(1);
  h.delays().StartTimer(21, 1000);
  h.delays().StartTimer(0, 1000);
  // A flag number outside the flags, and an addition that overflows.
  h.delays().SetDelayChange(1, 300, 1, 0);
  h.delays().StartDelay(1, 1);
  h.state().Flags[7] = 32767;
  h.delays().SetDelayChange(2, 7, 1, 1);
  h.delays().StartDelay(2, 2);
  h.loop().PassTime(3000);
  EXPECT_THAT(h.Boxes(),
              ElementsAre("Error setting Hi-Resolution Timer.\rErr # 9: Subscript out of range",
                          "Error setting Hi-Resolution Timer.\rErr # 9: Subscript out of range",
                          "Error expiring Hi-Resolution Timer.\rErr # 9: Subscript out of range",
                          "Error expiring Hi-Resolution Timer.\rErr # 6: Overflow"));
  EXPECT_EQ(h.state().Flags[7], 32767);
  EXPECT_EQ(h.delays().TimerRunning[1], 0);
  EXPECT_EQ(h.delays().TimerRunning[2], 0);
}

}  // namespace
}  // namespace qv::testing
