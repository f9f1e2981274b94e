#pragma once
// The game's five record files and the current scene: opening and counting them at
// start-up, reading records by number while the game runs, closing them at exit.

#include <cstdint>
#include <functional>
#include <optional>
#include <string_view>

#include "core/message_box.h"
#include "data/conversation_record.h"
#include "data/game_folder.h"
#include "data/general_record.h"
#include "data/item_record.h"
#include "data/location_record.h"
#include "data/record_file.h"
#include "data/scene_record.h"
#include "data/scene_tables.h"

namespace qv::data {

// The path literals of the five files, as the game data has always spelled them.
inline constexpr std::string_view kScenePath = "resource/Quorvex1.dat";
inline constexpr std::string_view kLocationPath = "resource\\Quorvex2.dat";
inline constexpr std::string_view kItemPath = "resource\\Quorvex3.dat";
inline constexpr std::string_view kGeneralPath = "resource/Quorvex4.dat";
inline constexpr std::string_view kConversationPath = "resource\\Quorvex5.dat";

class SceneData {
 public:
  SceneData(const GameFolder& folder, MessageBoxService& boxes);

  // The opening procedures. Each opens its file and counts its records; a failure shows
  // the procedure's unexpected-error box, leaves its count as it was and returns.
  // `then` runs inside the same procedure after a successful open (what the procedure
  // goes on to do: build the map, apply the settings); its failures get the same box.
  void OpenSceneBase();
  void OpenLocBase(const std::function<void()>& then = {});
  void OpenInvBase();
  // Reads record 1 only when the file is exactly 908 bytes; `then` gets that record, or
  // null when the file has another length (it runs either way once the file is open).
  void OpenGenBase(const std::function<void(const GeneralRecord*)>& then = {});
  void OpenConvBase();

  // Closes the files: conversations, scenes, map locations, inventory items, general
  // settings. Closing a file that is not open does nothing.
  void CloseBases();

  // Reads scene record `scene_no` into the tables and makes it the current scene.
  // Raises on a failed read (record 0: "Bad record number"); the tables keep what they
  // held. Hiding the object controls first is the scene loader's work.
  void ReadScene(int16_t scene_no);
  // The same in two steps: the record read (raising as above, nothing changed), then
  // made the current scene.
  SceneRecord ReadSceneRecord(int16_t scene_no) const;
  void UseScene(const SceneRecord& record, int16_t scene_no);

  // Record readers for the other Parts. A file that is not open raises "Bad file name
  // or number" (52); a record number below 1 raises 63; a record past the end is zeros,
  // except a conversation's, which raises "Input past end of file" (62).
  LocationRecord ReadLocation(int64_t n) const;
  ItemRecord ReadItem(int64_t n) const;
  ConversationRecord ReadConversation(int64_t n) const;
  // Record 1 of the general settings, or nothing when the file is not exactly 908 bytes.
  std::optional<GeneralRecord> ReadGeneral() const;
  bool GeneralOpen() const { return general_file_.has_value(); }

  const GameFolder& folder() const { return folder_; }

  int16_t SceneCount = 0;
  int16_t LocCount = 0;
  int16_t InvCount = 0;
  SceneTables scene;

 private:
  static const RecordFile& Require(const std::optional<RecordFile>& file);

  const GameFolder& folder_;
  MessageBoxService& boxes_;
  std::optional<RecordFile> scene_file_;
  std::optional<RecordFile> location_file_;
  std::optional<RecordFile> item_file_;
  std::optional<RecordFile> general_file_;
  std::optional<RecordFile> conversation_file_;
};

}  // namespace qv::data
