#pragma once
// The game state as JSON, written at the end of a run (--state-json) so that a run can
// be checked afterwards: the scene, flags, inventory, map, sounds, what the screen shows,
// the notify log and the message boxes.

#include <filesystem>

#include <nlohmann/json.hpp>

namespace qv::app {

class Player;

// Every key is always present; a part of the game that does not exist yet, or holds
// nothing, shows as empty: {} or [], "" for the soundtrack and the window, null for the
// hand and the cursor, 0 for the conversation. `window` is the active window's name,
// `score` the current and maximum captions with the panel shown, `exited` whether the
// exit sequence has run.
nlohmann::ordered_json StateJson(const Player& player);

// Writes StateJson to `file`: to a temporary file beside it first, then renamed over it,
// so that a failed write never leaves half a file ("-": standard output). Throws std::runtime_error
// naming the file when it cannot be written.
void WriteStateJson(const Player& player, const std::filesystem::path& file);

}  // namespace qv::app
