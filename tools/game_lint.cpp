#include "tools/game_lint.h"

#include <algorithm>
#include <system_error>

#include "core/text.h"
#include "core/vb_error.h"
#include "data/record_codec.h"
#include "data/record_file.h"
#include "data/scene_tables.h"
#include "tools/lint_game.h"

namespace qv::tools {

namespace fs = std::filesystem;

namespace lint {

std::string Text(const std::string& raw) {
  return data::TableText(raw);
}

std::string SlotField(int slot, const std::string& name) {
  return "Slot" + std::to_string(slot) + "." + name;
}

std::string Element(const std::string& name, int index) {
  return name + "[" + std::to_string(index) + "]";
}

bool ObjectFields::Blank() const {
  if (o_.ObjType != 0 || o_.ObjX != 0 || o_.ObjY != 0) return false;
  for (const std::string& text : o_.ObjS)
    if (!Text(text).empty()) return false;
  for (int16_t number : o_.ObjN)
    if (number != 0) return false;
  return true;
}

std::array<DirectionField, 4> DirectionFields(const data::SceneRecord& s) {
  return {{{"LinkUp", s.LinkUp},
           {"LinkRight", s.LinkRight},
           {"LinkDown", s.LinkDown},
           {"LinkLeft", s.LinkLeft}}};
}

bool IsLocation(const data::LocationRecord& record) {
  const std::string picture = Text(record.LocPicture);
  return !picture.empty() && picture != "Del";
}

namespace {

// Reads one record file the way the player opens it: its records are as many as the
// player counts, a partial last record padded with zeros.
template <typename Record>
RecordList<Record> ReadRecords(const data::GameFolder& folder, const char* literal, Report& report,
                               bool whole_records_only = false) {
  RecordList<Record> list;
  list.file = literal;
  std::replace(list.file.begin(), list.file.end(), '\\', '/');
  try {
    data::RecordFile file(folder, literal, Record::kSize);
    list.file = file.path().lexically_relative(folder.root()).generic_string();
    list.exists = fs::exists(file.path());
    list.length = file.length();
    if (whole_records_only && list.length != static_cast<uint64_t>(Record::kSize)) return list;
    int16_t count = file.Count();
    list.records.reserve(static_cast<size_t>(count));
    for (int n = 1; n <= count; ++n)
      list.records.push_back(data::DecodeRecord<Record>(file.Read(n)));
  } catch (const VbError& e) {
    report.Error({list.file, 0, ""},
                 "cannot be read: " + e.description() + " (" + std::to_string(e.number()) + ")");
  }
  return list;
}

}  // namespace

void CheckFiles(const Game& game, Report& report) {
  auto whole = [&report](const auto& list, int size, const char* what) {
    if (!list.exists) return;
    if (list.length % static_cast<uint64_t>(size) != 0)
      report.Warning({list.file, 0, ""}, std::to_string(list.length) +
                                             " bytes are not a whole number of " +
                                             std::to_string(size) + "-byte " + what + " records");
  };
  if (!game.scenes.exists || game.scenes.count() == 0)
    report.Error({game.scenes.file, 0, ""}, "the game has no scenes");
  whole(game.scenes, data::SceneRecord::kSize, "scene");
  whole(game.locations, data::LocationRecord::kSize, "location");
  whole(game.items, data::ItemRecord::kSize, "item");
  whole(game.conversations, data::ConversationRecord::kSize, "conversation");
  const auto& general = game.general;
  if (!general.exists) {
    report.Warning({general.file, 0, ""},
                   "missing: the player starts with its built-in settings and interface");
  } else if (general.length != static_cast<uint64_t>(data::GeneralRecord::kSize)) {
    report.Error({general.file, 0, ""},
                 std::to_string(general.length) +
                     " bytes, not 908: the player ignores the settings and starts with its "
                     "built-in interface");
  }
}

}  // namespace lint

std::vector<Finding> LintGame(const fs::path& game_dir) {
  std::error_code ec;
  if (!fs::is_directory(game_dir, ec)) throw NotAGameError(game_dir.string() + ": not a folder");
  lint::Game game(game_dir);
  try {
    if (!fs::is_directory(game.folder.Resolve("resource"), ec))
      throw NotAGameError(game_dir.string() + ": not a game folder (it holds no resource folder)");
  } catch (const VbError&) {
    throw NotAGameError(game_dir.string() + ": not a game folder");
  }
  lint::Report report;
  game.scenes = lint::ReadRecords<data::SceneRecord>(game.folder, "resource/Quorvex1.dat", report);
  game.locations =
      lint::ReadRecords<data::LocationRecord>(game.folder, "resource\\Quorvex2.dat", report);
  game.items = lint::ReadRecords<data::ItemRecord>(game.folder, "resource\\Quorvex3.dat", report);
  game.general =
      lint::ReadRecords<data::GeneralRecord>(game.folder, "resource/Quorvex4.dat", report, true);
  game.conversations =
      lint::ReadRecords<data::ConversationRecord>(game.folder, "resource\\Quorvex5.dat", report);

  lint::CheckFiles(game, report);
  lint::MediaChecker media(game.folder, report);
  lint::CheckMediaOfRecords(game, media);
  lint::CheckReferences(game, report);
  lint::CheckReachable(game, report);
  lint::CheckFlags(game, report);
  lint::CheckItemsGiven(game, report);
  lint::CheckPlacement(game, media, report);

  // In the order of the files and their records; within a record, as the checks found them.
  std::vector<Finding> findings = std::move(report.findings());
  std::stable_sort(findings.begin(), findings.end(), [](const Finding& a, const Finding& b) {
    return std::tie(a.file, a.record) < std::tie(b.file, b.record);
  });
  return findings;
}

std::string FindingLine(const Finding& f) {
  return f.file + ":" + (f.record > 0 ? std::to_string(f.record) : "-") + ":" +
         (f.field.empty() ? "-" : f.field) + ": " +
         (f.severity == Severity::kError ? "error: " : "warning: ") + f.message;
}

nlohmann::ordered_json FindingsJson(const std::vector<Finding>& findings) {
  auto json = nlohmann::ordered_json::array();
  for (const Finding& f : findings) {
    json.push_back({{"file", f.file},
                    {"record", f.record},
                    {"field", f.field},
                    {"severity", f.severity == Severity::kError ? "error" : "warning"},
                    {"message", f.message}});
  }
  return json;
}

bool HasErrors(const std::vector<Finding>& findings) {
  return std::any_of(findings.begin(), findings.end(),
                     [](const Finding& f) { return f.severity == Severity::kError; });
}

}  // namespace qv::tools
