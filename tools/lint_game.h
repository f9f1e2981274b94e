#pragma once
// What quorvex-lint works on: the game's five record files read once, where each
// finding is to be reported, and the checks of media files and of the rules between
// records that game_lint.cpp runs in turn.

#include <array>
#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "data/conversation_record.h"
#include "data/game_folder.h"
#include "data/general_record.h"
#include "data/item_record.h"
#include "data/location_record.h"
#include "data/scene_record.h"
#include "platform/memory_budget.h"
#include "tools/game_lint.h"

namespace qv::tools::lint {

// A place in the game data: file, record (0 = the whole file) and field ("" = none).
struct Site {
  std::string file;
  int record = 0;
  std::string field;

  // The same record, another field.
  Site Field(std::string name) const { return {file, record, std::move(name)}; }
};

class Report {
 public:
  void Error(const Site& at, std::string message) { Add(at, Severity::kError, std::move(message)); }
  void Warning(const Site& at, std::string message) {
    Add(at, Severity::kWarning, std::move(message));
  }
  std::vector<Finding>& findings() { return findings_; }

 private:
  void Add(const Site& at, Severity severity, std::string message) {
    findings_.push_back({at.file, at.record, at.field, severity, std::move(message)});
  }
  std::vector<Finding> findings_;
};

// One record file: its name as the folder spells it and its records, decoded.
template <typename Record>
struct RecordList {
  std::string file;  // "resource/Quorvex1.dat", as found in the folder
  bool exists = false;
  uint64_t length = 0;
  std::vector<Record> records;  // record n at n - 1

  int count() const { return static_cast<int>(records.size()); }
  bool Holds(int n) const { return n >= 1 && n <= count(); }
  const Record& operator[](int n) const { return records[static_cast<size_t>(n - 1)]; }
  Site At(int n, std::string field = "") const { return {file, n, std::move(field)}; }
};

struct Game {
  explicit Game(const std::filesystem::path& dir) : folder(dir) {}

  data::GameFolder folder;
  RecordList<data::SceneRecord> scenes;
  RecordList<data::LocationRecord> locations;
  RecordList<data::ItemRecord> items;
  RecordList<data::GeneralRecord> general;  // read only when the file is 908 bytes
  RecordList<data::ConversationRecord> conversations;
};

// A record's text as the player uses it: trimmed, in UTF-8.
std::string Text(const std::string& raw);

// The name of field `name` of object slot `slot` ("Slot5.ObjS0").
std::string SlotField(int slot, const std::string& name);
// Element `index` of an array field ("LinkUp[1]").
std::string Element(const std::string& name, int index);

// One object slot of a scene record, its fields by number as the game's rules name them.
class ObjectFields {
 public:
  ObjectFields(const data::SceneRecord& scene, int slot)
      : o_(scene.Objects[static_cast<size_t>(slot - 1)]) {}
  int16_t type() const { return o_.ObjType; }
  int16_t x() const { return o_.ObjX; }
  int16_t y() const { return o_.ObjY; }
  int16_t N(int k) const { return o_.ObjN[static_cast<size_t>(k)]; }
  std::string S(int k) const { return Text(o_.ObjS[static_cast<size_t>(k)]); }
  // A slot the author left empty: type 0, no texts, no numbers.
  bool Blank() const;

 private:
  const data::SceneObjectSlot& o_;
};

// The four direction links of a scene record by their field names.
struct DirectionField {
  const char* name;               // "LinkUp", ...
  std::array<int16_t, 6> values;  // cursor, target scene, top, left, width, height
};
std::array<DirectionField, 4> DirectionFields(const data::SceneRecord& scene);

// A location record that is a location (its picture is neither "Del" nor empty).
bool IsLocation(const data::LocationRecord& record);

// What a media file is to the player, which decides its folder and its decoder.
enum class Media {
  kPicture,       // resource/gfx: BMP, JPG, GIF, ...
  kSound,         // resource/mmedia: a WAV
  kMusic,         // resource/mmedia: WAV, MIDI or MP3 by its ending; "(stop sndtrk)"
  kMovie,         // resource/mmedia: an AVI
  kSoundOrMovie,  // by its ending: "wav" a sound, "avi" a movie, anything else nothing
  kLogo,          // by its ending: "gif" a picture, "avi" a movie, anything else nothing
};

// Checks media files: each is looked up once (case-insensitively, as the player does)
// and decoded by the player's own decoders within its budgets.
class MediaChecker {
 public:
  MediaChecker(const data::GameFolder& folder, Report& report);

  // Reports a missing or undecodable file named at `at`; "" names nothing and is fine.
  void Check(const Site& at, const std::string& name, Media kind);

  // The size of a picture that decoded (for placing objects), none otherwise.
  struct Size {
    int width = 0;
    int height = 0;
  };
  std::optional<Size> PictureSize(const std::string& name) const;

 private:
  struct Outcome {
    std::string problem;  // "" = fine
    Size size;
  };
  const Outcome& Look(const std::string& folder, const std::string& name, Media kind);

  const data::GameFolder& folder_;
  Report& report_;
  platform::MemoryBudget budget_;
  std::map<std::string, Outcome> outcomes_;  // by folder + name, as the game spells it
};

// The files' own checks: lengths, the media every record names.
void CheckFiles(const Game& game, Report& report);
void CheckMediaOfRecords(const Game& game, MediaChecker& media);

// The rules between records: numbers of scenes, items, locations, conversations and
// CDs; scenes reached from scene 1; flags; items given; objects on the scene.
void CheckReferences(const Game& game, Report& report);
void CheckReachable(const Game& game, Report& report);
void CheckFlags(const Game& game, Report& report);
void CheckItemsGiven(const Game& game, Report& report);
void CheckPlacement(const Game& game, const MediaChecker& media, Report& report);

}  // namespace qv::tools::lint
