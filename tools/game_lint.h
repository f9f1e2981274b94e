#pragma once
// quorvex-lint's checks: what is wrong with a game folder, as an author wants to hear it
// before a player finds it. Each finding names the file, the record and the field at
// fault:
//
//   resource/Quorvex1.dat:3:Slot5.ObjS0: error: no file "door.gif" in resource/gfx
//
// The record is numbered from 1 ("-" for the file as a whole); a field of an object slot
// is written SlotN.Field, an element of an array Field[i] with the index the game JSON
// gives it (from 0). Errors are what the player cannot do as the author meant it: a file
// a record names that is missing or does not decode within the player's budgets, a
// number of a scene, item, location, conversation or CD that its file does not hold, a
// flag outside 1-255, a settings file the player ignores. Warnings are what the player
// does but hardly anyone means: scenes nothing reaches from scene 1, flags tested that
// nothing sets or set that nothing tests, items nothing gives, objects off the scene.

#include <filesystem>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

namespace qv::tools {

enum class Severity { kError, kWarning };

struct Finding {
  std::string file;   // the path in the game folder, "/" separated ("resource/Quorvex1.dat")
  int record = 0;     // from 1; 0 = the file as a whole
  std::string field;  // "" = the record as a whole
  Severity severity = Severity::kError;
  std::string message;
};

// A folder that is no game (it holds no resource folder); the message names it.
class NotAGameError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// Every finding for the game in `game_dir`, in the order of the files and their records.
std::vector<Finding> LintGame(const std::filesystem::path& game_dir);

// "file:record:field: error: message" (record and field "-" when there are none).
std::string FindingLine(const Finding& finding);

// [{"file": ..., "record": n, "field": ..., "severity": "error"|"warning", "message": ...}]
nlohmann::ordered_json FindingsJson(const std::vector<Finding>& findings);

bool HasErrors(const std::vector<Finding>& findings);

}  // namespace qv::tools
