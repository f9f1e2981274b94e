#include "tools/game_json.h"

#include <algorithm>
#include <fstream>
#include <iterator>
#include <set>

#include "core/text.h"
#include "data/conversation_record.h"
#include "data/game_folder.h"
#include "data/general_record.h"
#include "data/item_record.h"
#include "data/location_record.h"
#include "data/record_codec.h"
#include "data/saved_game_record.h"
#include "data/scene_data.h"
#include "data/scene_record.h"

namespace qv::tools {

namespace fs = std::filesystem;
using data::FieldName;
using data::FieldVisitor;

namespace {

// ---- record -> JSON ------------------------------------------------------------------

class JsonWriter : public FieldVisitor {
 public:
  explicit JsonWriter(Json& root) : root_(root), target_(&root) {}

  void Text(FieldName name, int, int, std::string& value) override {
    Set(name, Cp1252ToUtf8(TrimTrailingBlanks(value)));
  }
  void Int16(FieldName name, int, int16_t& value) override { Set(name, value); }
  void Int32(FieldName name, int, int32_t& value) override { Set(name, value); }

  void BeginGroup(std::string_view name, int) override {
    Json& list = root_[std::string(name)];
    if (list.is_null()) list = Json::array();
    list.push_back(Json::object());
    target_ = &list.back();
  }
  void EndGroup() override { target_ = &root_; }

 private:
  void Set(FieldName name, Json value) {
    Json& slot = (*target_)[std::string(name.name)];
    if (name.index < 0) {
      slot = std::move(value);
      return;
    }
    if (slot.is_null()) slot = Json::array();
    while (slot.size() <= static_cast<size_t>(name.index))
      slot.push_back(nullptr);
    slot[static_cast<size_t>(name.index)] = std::move(value);
  }

  Json& root_;
  Json* target_;
};

// ---- JSON -> record ------------------------------------------------------------------

// Reads one record's fields from a JSON object, refusing unknown field names, values out
// of range and texts that do not fit.
class JsonReader : public FieldVisitor {
 public:
  JsonReader(const Json& object, std::string where) : record_(object), where_(std::move(where)) {
    if (!object.is_object()) Fail(where_, "a record must be a JSON object");
    current_ = &record_;
    current_where_ = where_;
  }

  void Text(FieldName name, int, int width, std::string& value) override {
    const Json* j = Lookup(name);
    value.clear();
    if (!j) return;
    if (!j->is_string()) Fail(FieldWhere(name), "must be a text");
    auto bytes = Utf8ToCp1252(j->get_ref<const std::string&>());
    if (!bytes) Fail(FieldWhere(name), "holds a character Windows-1252 cannot represent");
    if (bytes->size() > static_cast<size_t>(width)) {
      Fail(FieldWhere(name), "text of " + std::to_string(bytes->size()) +
                                 " characters does not fit its field of " + std::to_string(width));
    }
    value = *bytes;
  }

  void Int16(FieldName name, int, int16_t& value) override {
    value = static_cast<int16_t>(Integer(name, INT16_MIN, INT16_MAX, "16-bit"));
  }
  void Int32(FieldName name, int, int32_t& value) override {
    value = static_cast<int32_t>(Integer(name, INT32_MIN, INT32_MAX, "32-bit"));
  }

  void BeginGroup(std::string_view name, int index) override {
    std::string key(name);
    if (!groups_.count(key)) groups_[key] = PlaceGroup(key);
    const Json* slot = groups_[key][static_cast<size_t>(index)];
    current_ = slot ? slot : &empty_;
    current_where_ = where_ + ", " + key + " slot " + std::to_string(index + 1);
    current_used_ = {"Slot"};
    current_arrays_.clear();
  }

  void EndGroup() override {
    CheckUnused(*current_, current_used_, current_arrays_, current_where_);
    current_ = &record_;
    current_where_ = where_;
  }

  // After the visit: every key of the record must have been a field.
  void Finish() { CheckUnused(record_, record_used_, record_arrays_, where_); }

 private:
  [[noreturn]] static void Fail(const std::string& where, const std::string& what) {
    throw GameJsonError(where + ": " + what);
  }

  bool InGroup() const { return current_ != &record_; }
  std::set<std::string>& Used() { return InGroup() ? current_used_ : record_used_; }
  std::map<std::string, int>& Arrays() { return InGroup() ? current_arrays_ : record_arrays_; }

  std::string FieldWhere(FieldName name) const {
    std::string s = current_where_ + ", " + std::string(name.name);
    if (name.index >= 0) s += "[" + std::to_string(name.index) + "]";
    return s;
  }

  const Json* Lookup(FieldName name) {
    std::string key(name.name);
    Used().insert(key);
    auto it = current_->find(key);
    if (it == current_->end() || it->is_null()) return nullptr;
    if (name.index < 0) return &*it;
    if (!it->is_array()) Fail(current_where_ + ", " + key, "must be an array");
    int& most = Arrays()[key];
    most = std::max(most, name.index + 1);
    if (static_cast<size_t>(name.index) >= it->size()) return nullptr;
    const Json& element = (*it)[static_cast<size_t>(name.index)];
    return element.is_null() ? nullptr : &element;
  }

  int64_t Integer(FieldName name, int64_t low, int64_t high, const char* width) {
    const Json* j = Lookup(name);
    if (!j) return 0;
    if (!j->is_number_integer()) Fail(FieldWhere(name), "must be a whole number");
    bool in_range = j->is_number_unsigned()
                        ? j->get<uint64_t>() <= static_cast<uint64_t>(high)
                        : (j->get<int64_t>() >= low && j->get<int64_t>() <= high);
    if (!in_range) {
      Fail(FieldWhere(name), j->dump() + " is outside the " + width + " range " +
                                 std::to_string(low) + ".." + std::to_string(high));
    }
    return j->get<int64_t>();
  }

  // Places the elements of a group array by their "Slot" or in order.
  std::vector<const Json*> PlaceGroup(const std::string& key) {
    record_used_.insert(key);
    std::vector<const Json*> slots(data::SceneRecord::kSlots, nullptr);
    auto it = record_.find(key);
    if (it == record_.end() || it->is_null()) return slots;
    if (!it->is_array()) Fail(where_ + ", " + key, "must be an array");
    size_t next = 0;
    for (const Json& element : *it) {
      if (!element.is_object()) Fail(where_ + ", " + key, "each slot must be a JSON object");
      if (auto s = element.find("Slot"); s != element.end()) {
        if (!s->is_number_integer() || s->get<int64_t>() < 1 ||
            s->get<int64_t>() > static_cast<int64_t>(slots.size())) {
          Fail(where_ + ", " + key,
               "Slot must be a number from 1 to " + std::to_string(slots.size()));
        }
        next = static_cast<size_t>(s->get<int64_t>() - 1);
      }
      if (next >= slots.size()) Fail(where_ + ", " + key, "more slots than the scene has");
      if (slots[next])
        Fail(where_ + ", " + key, "slot " + std::to_string(next + 1) + " given twice");
      slots[next++] = &element;
    }
    return slots;
  }

  static void CheckUnused(const Json& object, const std::set<std::string>& used,
                          const std::map<std::string, int>& arrays, const std::string& where) {
    for (auto it = object.begin(); it != object.end(); ++it) {
      if (!used.count(it.key())) Fail(where, "unknown field '" + it.key() + "'");
      if (auto a = arrays.find(it.key());
          a != arrays.end() && it->size() > static_cast<size_t>(a->second)) {
        Fail(where + ", " + it.key(), "has " + std::to_string(it->size()) + " elements, at most " +
                                          std::to_string(a->second));
      }
    }
  }

  const Json& record_;
  std::string where_;
  const Json* current_;
  std::string current_where_;
  const Json empty_ = Json::object();
  std::set<std::string> record_used_, current_used_;
  std::map<std::string, int> record_arrays_, current_arrays_;
  std::map<std::string, std::vector<const Json*>> groups_;
};

// ---- one layout ----------------------------------------------------------------------

template <typename Record>
Json RecordToJson(std::span<const uint8_t> bytes) {
  Record record = data::DecodeRecord<Record>(bytes);
  Json j = Json::object();
  JsonWriter writer(j);
  VisitFields(record, writer);
  return j;
}

template <typename Record>
std::vector<uint8_t> RecordFromJson(const Json& j, const std::string& where) {
  Record record;
  JsonReader reader(j, where);
  VisitFields(record, reader);
  reader.Finish();
  return data::EncodeRecord(record);
}

struct KindInfo {
  FileKind kind;
  const char* key;
  std::string_view path_literal;  // inside the game folder
  int record_size;
};

constexpr KindInfo kKinds[] = {
    {FileKind::kScenes, "Scenes", data::kScenePath, data::SceneRecord::kSize},
    {FileKind::kLocations, "Locations", data::kLocationPath, data::LocationRecord::kSize},
    {FileKind::kItems, "Items", data::kItemPath, data::ItemRecord::kSize},
    {FileKind::kGeneral, "General", data::kGeneralPath, data::GeneralRecord::kSize},
    {FileKind::kConversations, "Conversations", data::kConversationPath,
     data::ConversationRecord::kSize},
    {FileKind::kSavedGame, "SavedGames", "", data::SavedGameRecord::kSize},
};

const KindInfo& Info(FileKind kind) {
  for (const KindInfo& info : kKinds) {
    if (info.kind == kind) return info;
  }
  throw GameJsonError("unknown file kind");
}

Json OneRecordToJson(FileKind kind, std::span<const uint8_t> bytes) {
  switch (kind) {
    case FileKind::kScenes:
      return RecordToJson<data::SceneRecord>(bytes);
    case FileKind::kLocations:
      return RecordToJson<data::LocationRecord>(bytes);
    case FileKind::kItems:
      return RecordToJson<data::ItemRecord>(bytes);
    case FileKind::kGeneral:
      return RecordToJson<data::GeneralRecord>(bytes);
    case FileKind::kConversations:
      return RecordToJson<data::ConversationRecord>(bytes);
    case FileKind::kSavedGame:
      return RecordToJson<data::SavedGameRecord>(bytes);
  }
  throw GameJsonError("unknown file kind");
}

std::vector<uint8_t> OneRecordFromJson(FileKind kind, const Json& j, const std::string& where) {
  switch (kind) {
    case FileKind::kScenes:
      return RecordFromJson<data::SceneRecord>(j, where);
    case FileKind::kLocations:
      return RecordFromJson<data::LocationRecord>(j, where);
    case FileKind::kItems:
      return RecordFromJson<data::ItemRecord>(j, where);
    case FileKind::kGeneral:
      return RecordFromJson<data::GeneralRecord>(j, where);
    case FileKind::kConversations:
      return RecordFromJson<data::ConversationRecord>(j, where);
    case FileKind::kSavedGame:
      return RecordFromJson<data::SavedGameRecord>(j, where);
  }
  throw GameJsonError("unknown file kind");
}

std::string ToHex(std::span<const uint8_t> bytes) {
  static constexpr char kDigits[] = "0123456789abcdef";
  std::string hex;
  for (uint8_t b : bytes) {
    hex += kDigits[b >> 4];
    hex += kDigits[b & 15];
  }
  return hex;
}

std::vector<uint8_t> FromHex(const std::string& hex, const std::string& where) {
  auto digit = [&](char c) -> int {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    throw GameJsonError(where + ", Tail: not a hexadecimal text");
  };
  if (hex.size() % 2 != 0) throw GameJsonError(where + ", Tail: odd number of hex digits");
  std::vector<uint8_t> bytes;
  for (size_t i = 0; i < hex.size(); i += 2) {
    bytes.push_back(static_cast<uint8_t>(digit(hex[i]) * 16 + digit(hex[i + 1])));
  }
  return bytes;
}

// The most records a file of each kind can sensibly hold: the player counts records in
// 16 bits, and the general settings and a saved game are one record each.
size_t MaxRecords(FileKind kind) {
  return kind == FileKind::kGeneral || kind == FileKind::kSavedGame ? 16 : 32767;
}

// Opens a game file for reading, refusing what is no ordinary file (a FIFO would block
// for ever, a device never ends) and sizes absurd for its layout (a sparse file of a
// terabyte would not fit in memory as JSON).
std::ifstream OpenRecordFile(FileKind kind, const fs::path& path, uintmax_t& size) {
  std::error_code ec;
  if (!fs::is_regular_file(fs::status(path, ec))) {
    throw GameJsonError(path.string() + ": not an ordinary file");
  }
  size = fs::file_size(path, ec);
  if (ec) throw GameJsonError(path.string() + ": cannot be read");
  const uintmax_t record = static_cast<uintmax_t>(Info(kind).record_size);
  const uintmax_t most = MaxRecords(kind) * record + record - 1;
  if (size > most) {
    throw GameJsonError(path.string() + ": " + std::to_string(size) + " bytes is too long for " +
                        std::to_string(record) + "-byte records (at most " +
                        std::to_string(MaxRecords(kind)) + " records)");
  }
  std::ifstream in(path, std::ios::binary);
  if (!in) throw GameJsonError(path.string() + ": cannot be read");
  return in;
}

// A file name as JSON text: a name that is not UTF-8 (written by Windows, say) is read
// as Windows-1252, as the texts in records are, so no byte of it is lost.
std::string NameText(const std::string& name) {
  try {
    (void)Json(name).dump();  // JSON text must be UTF-8: this is the check it makes
    return name;
  } catch (const Json::type_error&) {
    return Cp1252ToUtf8(name);
  }
}

// A saved game's file name must be a plain name: it is written inside Saved/.
void CheckPlainName(const std::string& name) {
  bool bad = name.empty() || name == "." || name == ".." ||
             name.find_first_of("/\\:") != std::string::npos ||
             name.find('\0') != std::string::npos;
  if (bad) throw GameJsonError("SavedGames: '" + name + "' is not a plain file name");
}

}  // namespace

FileKind KindOfFileName(const std::string& file_name) {
  std::string lower = LowerAscii(file_name);
  if (lower == "quorvex1.dat") return FileKind::kScenes;
  if (lower == "quorvex2.dat") return FileKind::kLocations;
  if (lower == "quorvex3.dat") return FileKind::kItems;
  if (lower == "quorvex4.dat") return FileKind::kGeneral;
  if (lower == "quorvex5.dat") return FileKind::kConversations;
  if (lower.size() > 4 && lower.substr(lower.size() - 4) == ".sav") return FileKind::kSavedGame;
  throw GameJsonError(NameText(file_name) + ": not a game file (Quorvex1..5.dat or *.sav)");
}

Json FileToJson(FileKind kind, const fs::path& path) {
  uintmax_t size = 0;
  std::ifstream in = OpenRecordFile(kind, path, size);
  const auto length = static_cast<size_t>(Info(kind).record_size);
  Json records = Json::array();
  std::vector<uint8_t> record(length);
  // One record at a time: the file is never held whole.
  for (uintmax_t n = 0; n < size / length; ++n) {
    in.read(reinterpret_cast<char*>(record.data()), static_cast<std::streamsize>(length));
    if (in.gcount() != static_cast<std::streamsize>(length)) {
      throw GameJsonError(path.string() + ": shorter than it was");
    }
    records.push_back(OneRecordToJson(kind, record));
  }
  const auto rest = static_cast<size_t>(size % length);
  if (rest == 0) return records;
  record.resize(rest);
  in.read(reinterpret_cast<char*>(record.data()), static_cast<std::streamsize>(rest));
  if (in.gcount() != static_cast<std::streamsize>(rest)) {
    throw GameJsonError(path.string() + ": shorter than it was");
  }
  Json file = Json::object();
  file["Records"] = std::move(records);
  file["Tail"] = ToHex(record);
  return file;
}

Json FileToJson(FileKind kind, const std::vector<uint8_t>& bytes) {
  const auto size = static_cast<size_t>(Info(kind).record_size);
  Json records = Json::array();
  size_t whole = bytes.size() / size;
  for (size_t n = 0; n < whole; ++n) {
    records.push_back(OneRecordToJson(kind, std::span(bytes).subspan(n * size, size)));
  }
  if (bytes.size() % size == 0) return records;
  Json file = Json::object();
  file["Records"] = std::move(records);
  file["Tail"] = ToHex(std::span(bytes).subspan(whole * size));
  return file;
}

std::vector<uint8_t> FileFromJson(FileKind kind, const Json& json, const std::string& where) {
  const Json* records = &json;
  std::vector<uint8_t> tail;
  if (json.is_object()) {
    for (auto it = json.begin(); it != json.end(); ++it) {
      if (it.key() != "Records" && it.key() != "Tail") {
        throw GameJsonError(where + ": unknown key '" + it.key() + "'");
      }
    }
    auto r = json.find("Records");
    if (r == json.end()) throw GameJsonError(where + ": Records missing");
    records = &*r;
    if (auto t = json.find("Tail"); t != json.end()) {
      if (!t->is_string()) throw GameJsonError(where + ", Tail: must be a hexadecimal text");
      tail = FromHex(t->get<std::string>(), where);
      if (tail.size() >= static_cast<size_t>(Info(kind).record_size)) {
        throw GameJsonError(where + ", Tail: must be shorter than one record");
      }
    }
  }
  if (!records->is_array()) throw GameJsonError(where + ": must be an array of records");
  std::vector<uint8_t> bytes;
  int n = 0;
  for (const Json& record : *records) {
    auto encoded = OneRecordFromJson(kind, record, where + " record " + std::to_string(++n));
    bytes.insert(bytes.end(), encoded.begin(), encoded.end());
  }
  bytes.insert(bytes.end(), tail.begin(), tail.end());
  return bytes;
}

Json DumpGameFolder(const fs::path& game_dir) {
  data::GameFolder folder(game_dir);
  if (!fs::is_directory(folder.root())) throw GameJsonError(game_dir.string() + ": not a folder");
  Json game = Json::object();
  for (const KindInfo& info : kKinds) {
    if (info.kind == FileKind::kSavedGame) continue;
    fs::path path = folder.Resolve(info.path_literal);
    std::error_code ec;
    if (fs::exists(fs::status(path, ec))) game[info.key] = FileToJson(info.kind, path);
  }
  fs::path saved = folder.Resolve("Saved");
  if (fs::is_directory(saved)) {
    std::vector<fs::path> files;
    for (const auto& entry : fs::directory_iterator(saved)) {
      std::string name = entry.path().filename().string();
      if (LowerAscii(name).ends_with(".sav")) files.push_back(entry.path());
    }
    std::sort(files.begin(), files.end());
    Json saves = Json::object();
    for (const fs::path& file : files) {
      saves[NameText(file.filename().string())] = FileToJson(FileKind::kSavedGame, file);
    }
    if (!saves.empty()) game["SavedGames"] = std::move(saves);
  }
  return game;
}

Json DumpFile(const fs::path& file) {
  std::string name = file.filename().string();
  FileKind kind = KindOfFileName(name);
  Json game = Json::object();
  Json content = FileToJson(kind, file);
  if (kind == FileKind::kSavedGame) {
    game["SavedGames"][NameText(name)] = std::move(content);
  } else {
    game[Info(kind).key] = std::move(content);
  }
  return game;
}

std::vector<GameFile> EncodeGame(const Json& game) {
  if (!game.is_object()) throw GameJsonError("a game must be a JSON object");
  std::vector<GameFile> files;
  for (auto it = game.begin(); it != game.end(); ++it) {
    const KindInfo* info = nullptr;
    for (const KindInfo& k : kKinds) {
      if (it.key() == k.key) info = &k;
    }
    if (!info) throw GameJsonError("unknown key '" + it.key() + "'");
    if (info->kind != FileKind::kSavedGame) {
      std::string path(info->path_literal);
      std::replace(path.begin(), path.end(), '\\', '/');
      files.push_back({path, FileFromJson(info->kind, *it, it.key())});
      continue;
    }
    if (!it->is_object()) throw GameJsonError("SavedGames: must be an object of file names");
    for (auto save = it->begin(); save != it->end(); ++save) {
      CheckPlainName(save.key());
      files.push_back({"Saved/" + save.key(),
                       FileFromJson(FileKind::kSavedGame, *save, "SavedGames " + save.key())});
    }
  }
  return files;
}

void WriteGameFiles(const std::vector<GameFile>& files, const fs::path& out_dir) {
  for (const GameFile& file : files) {
    fs::path path = out_dir / file.relative_path;
    fs::create_directories(path.parent_path());
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(file.bytes.data()),
              static_cast<std::streamsize>(file.bytes.size()));
    out.close();
    if (!out) throw GameJsonError(path.string() + ": cannot be written");
  }
}

void BuildGame(const Json& game, const fs::path& out_dir) {
  WriteGameFiles(EncodeGame(game), out_dir);
}

Json ParseGameJson(const std::string& text) {
  try {
    return Json::parse(text, nullptr, true, /*ignore_comments=*/true);
  } catch (const Json::parse_error& e) {
    throw GameJsonError(std::string("not valid JSON: ") + e.what());
  }
}

}  // namespace qv::tools
