// Fuzzes the engine with a scene record of any content: the record is loaded as scene 1
// of a headless game, then the rest of the input is a few flag changes (flag, value,
// operation as 16-bit numbers), and then the player's mouse goes over every object and
// every inventory slot and clicks each, with an empty hand and with an item in hand, and
// every object's animation is told it has ended. The game has one picture, "anim.gif",
// of three frames, so that records naming it get switches that move and links and
// reactors that animate. Whatever the record holds, the player must neither crash nor
// read outside a table; failures end in the game's own error boxes.

#include <cstdint>
#include <cstring>
#include <vector>

#include "core/vb_error.h"
#include "data/scene_record.h"
#include "engine/engine_harness.h"
#include "pictures/gif_writer.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  constexpr size_t kRecord = qv::data::SceneRecord::kSize;
  std::vector<uint8_t> record(kRecord, 0);
  std::memcpy(record.data(), data, size < kRecord ? size : kRecord);
  // Three items that combine in a ring, so that every click on an item does something;
  // two show a picture in the bar, the third none.
  qv::testing::EngineHarness h(R"({"Scenes": [{}, {}, {}], "Items": [
      {"CanCombine": 1, "CombinesWith": 2, "CombineProduct": 3, "AllowDuplicates": 1,
       "BarPicture": "anim.gif"},
      {"CanCombine": 1, "CombinesWith": 3, "CombineProduct": 1, "BarPicture": "anim.gif"},
      {"CanCombine": 1, "CombinesWith": 1, "CombineProduct": 2}]})");
  // Scenes 1 and 3 are the fuzzed record; scene 2 is empty, for jumps and switches.
  std::vector<uint8_t> file = record;
  file.resize(2 * kRecord, 0);
  file.insert(file.end(), record.begin(), record.end());
  h.dir().Write("resource/Quorvex1.dat", file);
  qv::testing::GifSpec gif;
  gif.width = gif.height = 4;
  gif.loop = 1;
  for (uint8_t f = 0; f < 3; ++f) {
    qv::testing::GifFrameSpec frame =
        qv::testing::SolidFrame(0, 0, 4, 4, static_cast<uint8_t>(f % 2));
    frame.control = true;
    frame.delay_cs = 10;
    gif.frames.push_back(frame);
  }
  h.dir().Write("resource/gfx/anim.gif", qv::testing::WriteGif(gif));
  h.engine().services().data.OpenSceneBase();
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
  qv::ui::MouseArgs left;
  left.button = qv::platform::MouseButton::kLeft;
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
  return 0;
}
