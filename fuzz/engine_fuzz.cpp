// Fuzzes the engine with a scene record of any content: the record is loaded as scene 1
// of a headless game, then the rest of the input is a few flag changes (flag, value,
// operation as 16-bit numbers). Whatever the record holds, the player must neither crash
// nor read outside a table; failures end in the game's own error boxes.

#include <cstdint>
#include <cstring>
#include <vector>

#include "core/vb_error.h"
#include "data/scene_record.h"
#include "engine/engine_harness.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  constexpr size_t kRecord = qv::data::SceneRecord::kSize;
  std::vector<uint8_t> record(kRecord, 0);
  std::memcpy(record.data(), data, size < kRecord ? size : kRecord);
  qv::testing::EngineHarness h(R"({"Scenes": [{}, {}, {}]})");
  // Scenes 1 and 3 are the fuzzed record; scene 2 is empty, for jumps and switches.
  std::vector<uint8_t> file = record;
  file.resize(2 * kRecord, 0);
  file.insert(file.end(), record.begin(), record.end());
  h.dir().Write("resource/Quorvex1.dat", file);
  h.engine().services().data.OpenSceneBase();
  h.LoadScene(1);
  auto word = [&](size_t at) {
    return static_cast<int16_t>(data[at] | (data[at + 1] << 8));
  };
  for (size_t at = kRecord; at + 6 <= size && at < kRecord + 6 * 8; at += 6) {
    try {
      h.engine().ChangeFlag(word(at), word(at + 2), word(at + 4));
    } catch (const qv::VbError&) {
      // A bad flag number or an overflow reaches the caller, as it should.
    }
    h.Settle();
  }
  return 0;
}
