#include "data/scene_data.h"

#include "core/procedure.h"
#include "core/vb_error.h"
#include "data/record_codec.h"

namespace qv::data {

SceneData::SceneData(const GameFolder& folder, MessageBoxService& boxes)
    : folder_(folder), boxes_(boxes) {}

void SceneData::OpenSceneBase() {
  RunProcedure(boxes_, "OpenSceneBase", [&] {
    scene_file_.reset();
    scene_file_.emplace(folder_, kScenePath, SceneRecord::kSize);
    SceneCount = scene_file_->Count();
  });
}

void SceneData::OpenLocBase(const std::function<void()>& then) {
  RunProcedure(boxes_, "OpenLocBase", [&] {
    location_file_.reset();
    location_file_.emplace(folder_, kLocationPath, LocationRecord::kSize);
    LocCount = location_file_->Count();
    if (then) then();
  });
}

void SceneData::OpenInvBase() {
  RunProcedure(boxes_, "OpenInvBase", [&] {
    item_file_.reset();
    item_file_.emplace(folder_, kItemPath, ItemRecord::kSize);
    InvCount = item_file_->Count();
  });
}

void SceneData::OpenGenBase(const std::function<void(const GeneralRecord*)>& then) {
  RunProcedure(boxes_, "OpenGenBase", [&] {
    general_file_.reset();
    general_file_.emplace(folder_, kGeneralPath, GeneralRecord::kSize);
    auto record = ReadGeneral();
    if (then) then(record ? &*record : nullptr);
  });
}

void SceneData::OpenConvBase() {
  RunProcedure(boxes_, "OpenConvBase", [&] {
    conversation_file_.reset();
    conversation_file_.emplace(folder_, kConversationPath, ConversationRecord::kSize);
  });
}

void SceneData::CloseBases() {
  conversation_file_.reset();
  scene_file_.reset();
  location_file_.reset();
  item_file_.reset();
  general_file_.reset();
}

const RecordFile& SceneData::Require(const std::optional<RecordFile>& file) {
  if (!file) Raise(kErrBadFileName);
  return *file;
}

void SceneData::ReadScene(int16_t scene_no) {
  UseScene(ReadSceneRecord(scene_no), scene_no);
}

SceneRecord SceneData::ReadSceneRecord(int16_t scene_no) const {
  return DecodeRecord<SceneRecord>(Require(scene_file_).Read(scene_no));
}

void SceneData::UseScene(const SceneRecord& record, int16_t scene_no) {
  scene.CopyFrom(record);
  scene.CurrentScene = scene_no;
}

LocationRecord SceneData::ReadLocation(int64_t n) const {
  return DecodeRecord<LocationRecord>(Require(location_file_).Read(n));
}

ItemRecord SceneData::ReadItem(int64_t n) const {
  return DecodeRecord<ItemRecord>(Require(item_file_).Read(n));
}

ConversationRecord SceneData::ReadConversation(int64_t n) const {
  const RecordFile& file = Require(conversation_file_);
  // A conversation past the end of its file would be a box without lines.
  if (n > 0 &&
      static_cast<uint64_t>(n - 1) * static_cast<uint64_t>(file.record_length()) >= file.length()) {
    Raise(kErrInputPastEnd);
  }
  return DecodeRecord<ConversationRecord>(file.Read(n));
}

std::optional<GeneralRecord> SceneData::ReadGeneral() const {
  const RecordFile& file = Require(general_file_);
  if (file.length() != static_cast<uint64_t>(GeneralRecord::kSize)) return std::nullopt;
  return DecodeRecord<GeneralRecord>(file.Read(1));
}

}  // namespace qv::data
