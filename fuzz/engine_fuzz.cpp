// Fuzzes the engine with a scene record of any content: the record is loaded as scene 1
// of a headless game, then the rest of the input is a few flag changes (flag, value,
// operation as 16-bit numbers), and then the player's mouse goes over every object and
// every inventory slot and clicks each, with an empty hand and with an item in hand, and
// every object's animation is told it has ended. Then the direction links are hovered
// and clicked, the held items examined (a sound and a close-up, with their effects), and
// the map opened, with a click on every location and a cancel. The game has one picture,
// "anim.gif", of three frames, so that records naming it get switches that move and links
// and reactors that animate. Whatever the record holds, the player must neither crash nor
// read outside a table; failures end in the game's own error boxes.

#include <cstdint>
#include <cstring>
#include <vector>

#include "core/vb_error.h"
#include "data/scene_record.h"
#include "engine/engine_harness.h"
#include "platform/event_loop.h"
#include "screen/screen_fixture.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  constexpr size_t kRecord = qv::data::SceneRecord::kSize;
  std::vector<uint8_t> record(kRecord, 0);
  std::memcpy(record.data(), data, size < kRecord ? size : kRecord);
  // Three items that combine in a ring, so that every click on an item does something;
  // two show a picture in the bar, the third none. The first is examined by a sound and
  // changes a flag, the second in a close-up and turns into the third. Three locations:
  // one leading to scene 2, one with a movie to scene 3, one to a scene the file refuses.
  qv::testing::EngineHarness h(R"j({"Scenes": [{}, {}, {}], "Items": [
      {"CanCombine": 1, "CombinesWith": 2, "CombineProduct": 3, "AllowDuplicates": 1,
       "BarPicture": "anim.gif", "ExamineMode": 0, "ExamineChangesFlag": 1, "ExamineFlag": 3,
       "ExamineFlagValue": 1, "ExamineFlagOp": 1, "ExamineAddsLocation": 1,
       "ExamineLocation": 2},
      {"CanCombine": 1, "CombinesWith": 3, "CombineProduct": 1, "BarPicture": "anim.gif",
       "ExamineMode": 1, "CloseupMode": 1, "CloseupFile": "anim.gif", "ExamineGivesItem": 1,
       "ExamineItemGiven": 3},
      {"CanCombine": 1, "CombinesWith": 1, "CombineProduct": 2}],
    "Locations": [{"LocPicture": "(None)", "LocScene": 2, "LocOnMapAtStart": 1},
                  {"LocPicture": "anim.gif", "LocScene": 3, "LocMediaOn": 1,
                   "LocMedia": "a.avi"},
                  {"LocPicture": "(None)", "LocScene": -1, "LocOnMapAtStart": 1}]})j");
  // Scenes 1 and 3 are the fuzzed record; scene 2 is empty, for jumps and switches.
  std::vector<uint8_t> file = record;
  file.resize(2 * kRecord, 0);
  file.insert(file.end(), record.begin(), record.end());
  h.dir().Write("resource/Quorvex1.dat", file);
  qv::testing::WritePictures(h, {"anim.gif"}, 3);
  // The user of the map and the close-up, whoever opens them: clicks every location, then
  // cancels; closes the close-up at once.
  struct User : qv::platform::IdleUser {
    qv::testing::EngineHarness& h;
    int16_t next = 1;
    explicit User(qv::testing::EngineHarness& harness) : h(harness) {}
    bool Act() override {
      if (h.closeup().form().Visible()) {
        h.closeup().Command1Click();
      } else if (h.map().form().Visible()) {
        if (next <= 20) {
          h.map().LoctnMouseMove(next);
          h.map().LoctnClick(next++);
        } else {
          h.map().ButtnCancelClick();
        }
      } else {
        return false;  // nothing waits for a user: a wait that can never end
      }
      return true;
    }
  } user(h);
  h.loop().SetIdleUser(&user);
  h.engine().services().data.OpenSceneBase();
  h.data().OpenLocBase([&] { h.map().BuildMap(); });
  h.LoadScene(1);
  auto word = [&](size_t at) { return static_cast<int16_t>(data[at] | (data[at + 1] << 8)); };
  for (size_t at = kRecord; at + 6 <= size && at < kRecord + 6 * 8; at += 6) {
    try {
      h.engine().ChangeFlag(word(at), word(at + 2), word(at + 4));
    } catch (const qv::VbError&) {
      // A bad flag number or an overflow reaches the caller, as it should.
    }
    h.Settle();
  }

  qv::screen::Inventory& inventory = h.inventory();
  qv::screen::ObjectInteraction& objects = h.interaction();
  const qv::ui::MouseArgs left = qv::testing::LeftButton();
  for (int16_t item : {int16_t{1}, int16_t{2}, int16_t{3}}) {
    try {
      inventory.AddInventoryItem(item, false, 0);
    } catch (const qv::VbError&) {
    }
  }
  for (int hand = 0; hand < 2; ++hand) {
    // The second round holds the first item over everything.
    if (hand == 1 && inventory.ItemsHeld > 0) {
      h.screen().ShowCursor(qv::screen::kDefaultCursor);
      inventory.ItemMouseDown(1, left);
    }
    for (int16_t n = 1; n <= 20; ++n) {
      // Whatever the last click started (a scene load, a busy delay) has time to end.
      h.loop().PassTime(200);
      objects.AnimationMouseMove(n);
      objects.NoGIFMouseMove(n);
      objects.AnimationClick(n);
      h.Settle();
      objects.NoGIFClick(n);
      h.Settle();
    }
    for (int16_t slot = 1; slot <= 16; ++slot) {
      inventory.ItemMouseMove(slot);
      inventory.ItemMouseDown(slot, left);
      h.Settle();
    }
    inventory.BarMouseMove();
    inventory.BarMouseDown(left);
    // An end of play that no click started (a looping animation, a reaction) changes
    // nothing; one that did completes its switch.
    for (int16_t n = 1; n <= 20; ++n)
      objects.AnimationEnded(n);
    h.Settle();
  }
  h.loop().PassTime(2000);  // switch movements end

  qv::screen::DirectionLinks& links = h.links();
  for (int k = 1; k <= 4; ++k) {
    h.loop().PassTime(200);
    links.MouseMove(k);
    links.Click(k);
    h.Settle();
  }
  for (int16_t slot = 1; slot <= inventory.ItemsHeld; ++slot) {
    h.loop().PassTime(200);
    inventory.BarMouseDown(left);
    inventory.ItemMouseDown(slot, left);
    h.closeup().ExamineItemClick();
    h.Settle();
  }
  for (int visit = 0; visit < 2; ++visit) {
    h.loop().PassTime(200);
    h.map().SetMapActive(true);
    h.map().ShowMapWindow();
    h.Settle();
  }
  h.loop().SetIdleUser(nullptr);
  return 0;
}
