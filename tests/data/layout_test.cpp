// The record layouts: every byte of every record belongs to exactly one field, fields
// follow one another without gaps, and the offsets the game files rely on are where
// they must be.

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "data/conversation_record.h"
#include "data/general_record.h"
#include "data/item_record.h"
#include "data/location_record.h"
#include "data/saved_game_record.h"
#include "data/scene_record.h"

namespace qv::data {
namespace {

struct Field {
  std::string name;
  int offset;
  int width;
};

class LayoutRecorder : public FieldVisitor {
 public:
  void Text(FieldName n, int offset, int width, std::string&) override { Add(n, offset, width); }
  void Int16(FieldName n, int offset, int16_t&) override { Add(n, offset, 2); }
  void Int32(FieldName n, int offset, int32_t&) override { Add(n, offset, 4); }
  void BeginGroup(std::string_view name, int index) override {
    group_ = std::string(name) + "[" + std::to_string(index) + "].";
  }
  void EndGroup() override { group_.clear(); }

  std::vector<Field> fields;
  std::map<std::string, int> offset_of;

 private:
  void Add(FieldName n, int offset, int width) {
    std::string name = group_ + std::string(n.name);
    if (n.index >= 0) name += "(" + std::to_string(n.index) + ")";
    fields.push_back({name, offset, width});
    offset_of[name] = offset;
  }
  std::string group_;
};

template <typename Record>
LayoutRecorder Layout() {
  Record record;
  LayoutRecorder recorder;
  VisitFields(record, recorder);
  return recorder;
}

template <typename Record>
void ExpectPackedLayout(int size) {
  SCOPED_TRACE(size);
  LayoutRecorder layout = Layout<Record>();
  std::vector<Field> fields = layout.fields;
  std::set<std::string> names;
  for (const Field& f : fields)
    EXPECT_TRUE(names.insert(f.name).second) << "duplicate " << f.name;
  std::sort(fields.begin(), fields.end(), [](auto& a, auto& b) { return a.offset < b.offset; });
  int end = 0;
  for (const Field& f : fields) {
    EXPECT_EQ(f.offset, end) << f.name << " does not start where the previous field ends";
    end = f.offset + f.width;
  }
  EXPECT_EQ(end, Record::kSize);
  EXPECT_EQ(Record::kSize, size);
}

TEST(RecordLayouts, EveryLayoutIsPackedAndHasItsSize) {
  ExpectPackedLayout<SceneRecord>(4395);
  ExpectPackedLayout<LocationRecord>(112);
  ExpectPackedLayout<ItemRecord>(209);
  ExpectPackedLayout<GeneralRecord>(908);
  ExpectPackedLayout<ConversationRecord>(1712);
  ExpectPackedLayout<SavedGameRecord>(1113);
}

TEST(RecordLayouts, OffsetsTheGameFilesRelyOn) {
  auto scene = Layout<SceneRecord>().offset_of;
  EXPECT_EQ(scene["LinkRight(1)"], 221);
  EXPECT_EQ(scene["LinkUp(2)"], 223) << "the rest of LinkRight comes after the other links";
  EXPECT_EQ(scene["LinkRight(2)"], 247);
  EXPECT_EQ(scene["Objects[19].ObjType"], 4188) << "slot 20 starts at 4188";
  EXPECT_EQ(scene["Objects[19].ObjN32"], 4393) << "and ends at 4394";
  EXPECT_EQ(scene["Objects[0].ObjS4"], 255 + 66);
  EXPECT_EQ(scene["Objects[0].ObjN25"], 255 + 141 + 50);

  auto general = Layout<GeneralRecord>().offset_of;
  EXPECT_EQ(general["SavingAllowed"], 397);
  EXPECT_EQ(general["CursorFile(14)"], 708);

  auto save = Layout<SavedGameRecord>().offset_of;
  EXPECT_EQ(save["TrackVolume"], 85);
  EXPECT_EQ(save["Flags(254)"], 599);

  auto conv = Layout<ConversationRecord>().offset_of;
  EXPECT_EQ(conv["ConvLineMedia(0)"], 317);
  EXPECT_EQ(conv["ConvExtraInt1(0)"], 1662);
}

}  // namespace
}  // namespace qv::data
