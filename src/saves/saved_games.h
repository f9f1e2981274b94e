#pragma once
// Saved games: a game in progress as one 1113-byte record in Saved/<name>.sav, and the
// way back from such a file to a running game. Saving goes through a snapshot that the
// game screen's save button takes (TakeSaveSnapshot) and the save dialog writes
// (SaveGameFile); restoring reads a file, checks every field against the game before
// anything live changes, and rebuilds the game from it (LoadSavedGame).
//
// Files are written whole or not at all: a crash, a full disk or a folder that cannot be
// written leaves the old save as it was. A name the player types that would leave the
// folder or is no plain file name is refused with a box.

#include <array>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "core/message_box.h"
#include "data/general_settings.h"
#include "data/saved_game_record.h"
#include "data/scene_data.h"
#include "engine/delays.h"
#include "engine/engine.h"
#include "media/music.h"
#include "platform/event_loop.h"
#include "platform/user_files.h"
#include "screen/game_screen.h"
#include "screen/inventory.h"
#include "screen/map_window.h"
#include "shell/shell.h"

namespace qv::saves {

// The live copy of a saved game's contents.
struct Snapshot {
  // Fields 4 to 16 as the game had them at the last snapshot or load; the description,
  // date and time of the last loaded file, untrimmed, as the file had them.
  data::SavedGameRecord record;
  // The file ReadSaveHeader examined last: trimmed, in UTF-8, for the dialogs.
  std::string HeaderDescription;
  std::string HeaderDate;
  std::string HeaderTime;
};

struct SavesServices {
  platform::EventLoop& loop;
  MessageBoxService& boxes;
  data::SceneData& data;
  screen::GameScreen& screen;
  media::Music& music;
  engine::Engine& engine;
  engine::Delays& delays;
  screen::MapWindow& map;
  screen::Inventory& inventory;
  const data::GeneralSettings& settings;
  shell::Shell& shell;
};

// What typing `typed` as a save name makes of it: a name with a dot anywhere loses its
// last four characters, then ".sav" is added ("mygame.sav" and "mygame" give
// "mygame.sav", "my.game" gives "my..sav").
std::string SaveFileName(std::string_view typed);
// Why `typed` cannot name a saved game ("" when it can): separators and the characters
// Windows forbids, control characters, a leading dot, names the system reserves (CON,
// NUL, COM1 ...), characters outside Windows-1252, nothing left before the extension, a
// name too long for the file system.
std::string SaveNameProblem(std::string_view typed);

// "Date" of a save: mm-dd-yyyy; "time": hh:mm AM/PM as "02:35 PM".
std::string SaveDateText(const platform::LocalTime& t);
std::string SaveTimeText(const platform::LocalTime& t);

// Raises unless the record can be restored into this game: a scene the scene file holds
// (63), items the item file holds (63), running delays of a flag 0..255 (9) and of no
// negative length (5).
void CheckSavedGame(const data::SavedGameRecord& record, const data::SceneData& data);

class SavedGames {
 public:
  static constexpr int16_t kDelaySlots = 20;
  // The largest file read as a save: anything bigger is no saved game.
  static constexpr uintmax_t kMaxFileBytes = 64 * 1024;

  explicit SavedGames(SavesServices services);

  Snapshot SaveSnapshot;
  // Where the time stamps of new saves come from.
  std::function<platform::LocalTime()> clock = platform::LocalTimeNow;

  // The folder saves are written to (SavedPath), and the game's own Saved folder when
  // that is another one (a read-only game): its saves can be loaded too.
  std::filesystem::path SavedFolder() const;
  std::optional<std::filesystem::path> ReadOnlyFolder() const;

  // Copies the live game into the snapshot, all at once: nothing runs in between, so a
  // delay cannot expire half-way through and leave the snapshot torn.
  void TakeSaveSnapshot();

  // Writes the snapshot as `name` (the typed name; on return the file's full path) with
  // `description`. False without writing when the name is refused (a box says why) or
  // the player declines to write over an existing file. A file error raises; the old file
  // stays as it was.
  bool SaveGameFile(std::string& name, const std::string& description);

  // Keeps the trimmed description, date and time of a listed file. A short file gives
  // empty texts for what it lacks.
  void ReadSaveHeader(const std::string& name);

  // Reads and checks a listed file: 53 when it is missing, 63 when it is shorter than a
  // record or larger than any save, and CheckSavedGame's errors. Bytes after the record
  // are not part of it. Nothing changes.
  data::SavedGameRecord ReadSavedGame(const std::string& name) const;

  // Reads, checks and restores a listed file. A file that fails the checks raises and
  // leaves the game as it was.
  void LoadSavedGame(const std::string& name);
  // Restores a checked record.
  void RestoreSavedGame(const data::SavedGameRecord& record);

 private:
  void ContinueSavedGame();
  // The file a listed name stands for: the save folder's, else the read-only folder's.
  std::filesystem::path ListedFile(const std::string& name) const;

  SavesServices s_;
};

}  // namespace qv::saves
