#pragma once
// The game-data files as JSON, for quorvex-dump and quorvex-build and for tests that
// build fixture games from a few lines. Field names are the record layouts' own; a text
// is shown without its trailing blank padding; nothing else is lost, so building what a
// dump printed gives the same bytes back.
//
// A game is one object with any of the keys "Scenes", "Locations", "Items", "General",
// "Conversations" (one file each) and "SavedGames" (an object from file name to file).
// A file is an array of records, or {"Records": [...], "Tail": "<hex>"} when its length
// is not a whole number of records. A scene's "Objects" is an array of up to 20 slots;
// a slot may name its place with "Slot": 1..20, otherwise it follows the previous one.
// Omitted fields are blank or 0.

#include <cstdint>
#include <filesystem>
#include <map>
#include <stdexcept>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

namespace qv::tools {

using Json = nlohmann::ordered_json;

// Bad JSON for a game: the message names the file, record and field.
class GameJsonError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// One game file as bytes, with the path it has inside the game folder.
struct GameFile {
  std::string relative_path;  // "resource/Quorvex1.dat", "Saved/name.sav"
  std::vector<uint8_t> bytes;
};

// The kinds of file the tools know.
enum class FileKind { kScenes, kLocations, kItems, kGeneral, kConversations, kSavedGame };

// The kind of a file from its name (case-insensitive), or throws GameJsonError.
FileKind KindOfFileName(const std::string& file_name);

// JSON of one file's bytes.
Json FileToJson(FileKind kind, const std::vector<uint8_t>& bytes);

// JSON of one file, read a record at a time. Throws GameJsonError for what is no
// ordinary file (a FIFO, a device) and for a size absurd for the layout (more than the
// 32767 records the player can count; more than 16 for the general settings and saved
// games, which hold one).
Json FileToJson(FileKind kind, const std::filesystem::path& path);

// Bytes of one file's JSON; throws GameJsonError naming the field at fault.
std::vector<uint8_t> FileFromJson(FileKind kind, const Json& json, const std::string& where);

// Reads every game file of a game folder (the five data files that exist and the saved
// games of its Saved folder) into one JSON object. A saved game's file name that is not
// UTF-8 is read as Windows-1252, as record texts are.
Json DumpGameFolder(const std::filesystem::path& game_dir);

// Reads one file into a JSON object with the single key of its kind.
Json DumpFile(const std::filesystem::path& file);

// Encodes a whole game JSON into files, checking everything before anything is written.
std::vector<GameFile> EncodeGame(const Json& game);

// Writes the encoded files under out_dir, creating folders as needed.
void WriteGameFiles(const std::vector<GameFile>& files, const std::filesystem::path& out_dir);

// EncodeGame + WriteGameFiles: the library form of quorvex-build.
void BuildGame(const Json& game, const std::filesystem::path& out_dir);

// Parses JSON text, allowing comments (fixture games are commented).
Json ParseGameJson(const std::string& text);

}  // namespace qv::tools
