// Fuzzes the record codecs and their JSON: any bytes of any file kind must decode, show
// as JSON and build back to the same bytes.

#include <cstdint>
#include <cstdlib>
#include <vector>

#include "data/record_codec.h"
#include "data/scene_tables.h"
#include "tools/game_json.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0) return 0;
  using qv::tools::FileKind;
  constexpr FileKind kKinds[] = {FileKind::kScenes,        FileKind::kLocations,
                                 FileKind::kItems,         FileKind::kGeneral,
                                 FileKind::kConversations, FileKind::kSavedGame};
  FileKind kind = kKinds[data[0] % 6];
  std::vector<uint8_t> bytes(data + 1, data + size);
  auto json = qv::tools::FileToJson(kind, bytes);
  auto back = qv::tools::FileFromJson(kind, qv::tools::ParseGameJson(json.dump()), "fuzz");
  if (back != bytes) std::abort();
  if (kind == FileKind::kScenes) {
    qv::data::SceneTables tables;
    tables.CopyFrom(qv::data::DecodeRecord<qv::data::SceneRecord>(bytes));
  }
  return 0;
}
