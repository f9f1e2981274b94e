#include "saves/saved_games.h"

#include <cerrno>
#include <cstdio>
#include <span>

#include "core/procedure.h"
#include "core/text.h"
#include "core/vb_error.h"
#include "core/vb_math.h"
#include "data/record_codec.h"
#include "data/scene_tables.h"
#include "platform/regular_file.h"

namespace qv::saves {

namespace {

namespace fs = std::filesystem;

constexpr std::string_view kExtension = ".sav";
// The longest file name the file systems we run on take, in bytes.
constexpr size_t kMaxNameBytes = 255;
constexpr const char* kReserved[] = {
    "CON",  "PRN",  "AUX",  "NUL",  "COM1", "COM2", "COM3", "COM4", "COM5", "COM6", "COM7",  "COM8",
    "COM9", "LPT1", "LPT2", "LPT3", "LPT4", "LPT5", "LPT6", "LPT7", "LPT8", "LPT9", "CLOCK$"};

// A record text from player input: Windows-1252, cut to the field's width.
std::string FieldText(std::string_view utf8, size_t width) {
  std::string bytes = Utf8ToCp1252Lossy(utf8);
  if (bytes.size() > width) bytes.resize(width);
  return bytes;
}

// A file error as the error a player knows.
VbError FileError(const platform::WriteError& e) {
  switch (e.error()) {
    case ENOSPC:
    case EDQUOT:
    case EFBIG:
      return VbError(kErrDiskFull);
    case EACCES:
    case EPERM:
    case EROFS:
      return VbError(kErrPermissionDenied);
    case ENOENT:
    case ENOTDIR:
      return VbError(kErrPathNotFound);
    default:
      return VbError(kErrPathFileAccess);
  }
}

// Control characters in a name shown in a box become "?".
std::string Printable(std::string_view text) {
  std::string shown(text);
  for (char& c : shown) {
    if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F) c = '?';
  }
  return shown;
}

}  // namespace

std::string SaveFileName(std::string_view typed) {
  std::string name(typed);
  if (name.find('.') != std::string::npos) name.resize(name.size() < 4 ? 0 : name.size() - 4);
  return name + std::string(kExtension);
}

std::string SaveNameProblem(std::string_view typed) {
  for (unsigned char c : typed) {
    if (c < 0x20 || c == 0x7F ||
        std::string_view("\\/:*?\"<>|").find(static_cast<char>(c)) != std::string_view::npos) {
      return "A file name may not hold \\ / : * ? \" < > | or control characters.";
    }
  }
  if (!typed.empty() && typed.front() == '.') return "A file name may not start with a dot.";
  if (!Utf8ToCp1252(typed)) {
    return "A file name may hold only characters of the Western European code page.";
  }
  const std::string name = SaveFileName(typed);
  if (name.size() == kExtension.size()) return "Nothing is left of the name before \".sav\".";
  if (name.size() > kMaxNameBytes) return "The name is too long.";
  // Windows keeps these names for devices, with any extension and trailing blanks or dots.
  std::string stem = name.substr(0, name.find('.'));
  while (!stem.empty() && stem.back() == ' ')
    stem.pop_back();
  for (const char* reserved : kReserved) {
    if (EqualsIgnoreCase(stem, reserved)) return "The name is reserved by the system.";
  }
  return "";
}

std::string SaveDateText(const platform::LocalTime& t) {
  char text[32];
  std::snprintf(text, sizeof text, "%02d-%02d-%04d", t.month, t.day, t.year);
  return text;
}

std::string SaveTimeText(const platform::LocalTime& t) {
  const int hour12 = t.hour % 12 == 0 ? 12 : t.hour % 12;
  char text[32];
  std::snprintf(text, sizeof text, "%02d:%02d %s", hour12, t.minute, t.hour < 12 ? "AM" : "PM");
  return text;
}

void CheckSavedGame(const data::SavedGameRecord& r, const data::SceneData& data) {
  if (r.Scene < 1 || r.Scene > data.SceneCount) Raise(kErrBadRecordNumber);
  for (int16_t item : r.Inventory) {
    if (item != 0 && (item < 1 || item > data.InvCount)) Raise(kErrBadRecordNumber);
  }
  for (size_t k = 0; k < r.TimerRunning.size(); ++k) {
    if (r.TimerRunning[k] != 1) continue;
    if (r.DelayFlag[k] < 0 || r.DelayFlag[k] > 255) Raise(kErrSubscript);
    if (r.DelaySecs[k] < 0) Raise(kErrInvalidCall);
  }
}

SavedGames::SavedGames(SavesServices services) : s_(services) {}

fs::path SavedGames::SavedFolder() const {
  return fs::path(s_.shell.SavedPath);
}

std::optional<fs::path> SavedGames::ReadOnlyFolder() const {
  const fs::path own = s_.data.folder().root() / "Saved";
  std::error_code ec;
  if (!fs::is_directory(own, ec)) return std::nullopt;
  if (fs::equivalent(own, SavedFolder(), ec)) return std::nullopt;
  return own;
}

fs::path SavedGames::ListedFile(const std::string& name) const {
  // Only plain names of the listed folders are files of ours.
  if (name.empty() || name == "." || name == ".." ||
      name.find_first_of("/\\") != std::string::npos || name.find('\0') != std::string::npos) {
    Raise(kErrBadFileName);
  }
  const fs::path file = SavedFolder() / name;
  std::error_code ec;
  if (fs::exists(file, ec)) return file;
  if (auto other = ReadOnlyFolder()) {
    if (fs::exists(*other / name, ec)) return *other / name;
  }
  return file;
}

void SavedGames::TakeSaveSnapshot() {
  data::SavedGameRecord& r = SaveSnapshot.record;
  const engine::Delays& delays = s_.delays;
  for (int16_t n = 1; n <= kDelaySlots; ++n) {
    r.TimerRunning[n - 1] = delays.TimerRunning[n] == 1 ? 1 : 0;
    r.DelaySecs[n - 1] = delays.DelaySecs[n];
    r.DelayFlag[n - 1] = delays.DelayFlag[n];
    r.DelayValue[n - 1] = delays.DelayValue[n];
    r.DelayOp[n - 1] = delays.DelayOp[n];
  }
  for (int n = 1; n <= 255; ++n)
    r.Flags[n - 1] = s_.engine.state.Flags[n];
  for (int16_t n = 1; n <= screen::Inventory::kSlots; ++n)
    r.Inventory[n - 1] = n <= s_.inventory.ItemsHeld ? s_.inventory.Slots[n].Item : int16_t{0};
  for (int n = 1; n <= 20; ++n)
    r.MapLocations[n - 1] = s_.map.LocOnMap[n];
  r.Scene = s_.data.scene.CurrentScene;
  r.TrackName = FieldText(s_.music.CurrentSoundtrack, 15);
  r.TrackVolume = s_.music.CurrentSoundtrackVolume;
}

bool SavedGames::SaveGameFile(std::string& name, const std::string& description) {
  const std::string problem = SaveNameProblem(name);
  if (!problem.empty()) {
    s_.boxes.Show(s_.settings.GameTitle,
                  "The file name '" + Printable(name) + "' cannot be used.\r" + problem,
                  BoxButtons::kOk, BoxIcon::kExclamation);
    return false;
  }
  name = SaveFileName(name);
  const fs::path file = SavedFolder() / name;
  std::error_code ec;
  if (fs::exists(file, ec)) {
    const BoxAnswer answer = s_.boxes.Show(
        s_.settings.GameTitle, "The file '" + name + "' already exists.\rWrite over it?",
        BoxButtons::kYesNo, BoxIcon::kExclamation);
    if (answer != BoxAnswer::kYes) return false;
    // The old file stays until the new one has replaced it whole.
  }
  data::SavedGameRecord record = SaveSnapshot.record;
  const platform::LocalTime now = clock();
  record.Description = FieldText(description, 50);
  record.SaveDate = SaveDateText(now);
  record.SaveTime = SaveTimeText(now);
  const std::vector<uint8_t> bytes = data::EncodeRecord(record);
  try {
    platform::WriteFileAtomically(file, std::string(bytes.begin(), bytes.end()));
  } catch (const platform::WriteError& e) {
    throw FileError(e);
  }
  name = file.string();
  return true;
}

void SavedGames::ReadSaveHeader(const std::string& name) {
  std::vector<uint8_t> bytes =
      platform::ReadOrdinaryFile(ListedFile(name), kMaxFileBytes, kErrBadRecordNumber);
  // What a short file lacks reads as blanks: empty texts.
  if (bytes.size() < 85) bytes.resize(85, ' ');
  const auto r = data::DecodeRecord<data::SavedGameRecord>(bytes);
  SaveSnapshot.HeaderDescription = data::TableText(r.Description);
  SaveSnapshot.HeaderDate = data::TableText(r.SaveDate);
  SaveSnapshot.HeaderTime = data::TableText(r.SaveTime);
}

data::SavedGameRecord SavedGames::ReadSavedGame(const std::string& name) const {
  const std::vector<uint8_t> bytes =
      platform::ReadOrdinaryFile(ListedFile(name), kMaxFileBytes, kErrBadRecordNumber);
  if (bytes.size() < static_cast<size_t>(data::SavedGameRecord::kSize)) {
    Raise(kErrBadRecordNumber);
  }
  auto record = data::DecodeRecord<data::SavedGameRecord>(
      std::span<const uint8_t>(bytes.data(), data::SavedGameRecord::kSize));
  CheckSavedGame(record, s_.data);
  return record;
}

void SavedGames::LoadSavedGame(const std::string& name) {
  RestoreSavedGame(ReadSavedGame(name));
}

void SavedGames::RestoreSavedGame(const data::SavedGameRecord& record) {
  CheckSavedGame(record, s_.data);
  s_.shell.ApplyGeneral(0);
  s_.screen.InvBar->SetVisible(true);
  s_.screen.ExamineItem->SetVisible(true);
  SaveSnapshot.record = record;
  SaveSnapshot.record.TrackName = std::string(TrimBlanks(record.TrackName));
  for (int n = 1; n <= 255; ++n)
    s_.engine.state.Flags[n] = record.Flags[n - 1];
  for (int n = 1; n <= 20; ++n)
    s_.map.LocOnMap[n] = record.MapLocations[n - 1];
  s_.map.RefreshLocations();
  ContinueSavedGame();
}

void SavedGames::ContinueSavedGame() {
  const data::SavedGameRecord& r = SaveSnapshot.record;
  engine::Engine& engine = s_.engine;
  screen::GameScreen& screen = s_.screen;
  shell::Shell& shell = s_.shell;
  engine.StartGame();
  engine.ScnTimer->SetInterval(1);
  shell.MainMenu().SetTopMost(false);
  shell.MainMenu().Hide();
  // The menu is left for the game: its next activation plays its music again.
  shell.ReturningFromLoad = false;
  shell.CreditsMode = false;
  // The bar and the examine button take clicks again after the credits.
  screen.InvBar->SetEnabled(true);
  screen.ExamineItem->SetEnabled(true);
  shell.ApplyGameControlTags();
  const int16_t score_flag = engine.state.ScoreFlag;
  if (score_flag > 0 && score_flag <= 255) {
    screen.ShowScore(PlainNum(engine.state.Flags[score_flag]));
  }
  s_.inventory.SetHandSlot(screen::Inventory::kEmptyHand);
  RunProcedure(s_.boxes, "SavedGameInv", [&] { s_.inventory.SavedGameInv(r.Inventory); });
  shell.StartDebugMode();
  screen.Main().Show();
  engine.state.RestoringGame = true;
  s_.data.scene.CurrentScene = 0;
  engine.LoadScene(r.Scene);
  const std::string track = data::TableText(r.TrackName);
  if (!track.empty()) s_.music.Soundtrack(track, r.TrackVolume, false);
  s_.loop.DoEvents();
  s_.delays.ClearBusyCursorMarks();
  engine::Delays& delays = s_.delays;
  for (int16_t n = 1; n <= kDelaySlots; ++n) {
    delays.DelaySecs[n] = r.DelaySecs[n - 1];
    delays.DelayFlag[n] = r.DelayFlag[n - 1];
    delays.DelayValue[n] = r.DelayValue[n - 1];
    delays.DelayOp[n] = r.DelayOp[n - 1];
  }
  for (int16_t n = 1; n <= kDelaySlots; ++n) {
    if (r.TimerRunning[n - 1] != 1) continue;
    int16_t seconds = delays.DelaySecs[n];
    // Lengths above 999 are taken for milliseconds.
    if (seconds > 999) {
      seconds = ToInt16(RoundHalfEven(seconds / 1000.0));
      delays.DelaySecs[n] = seconds;
    }
    engine.Progress("Starting Delay " + PlainNum(n) + " from saved game...");
    delays.StartTimer(n, int32_t{seconds} * 1000);
  }
}

}  // namespace qv::saves
