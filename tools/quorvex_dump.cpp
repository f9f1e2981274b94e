// quorvex-dump GAME_DIR|FILE: prints a game's data files as JSON.

#include <filesystem>
#include <iostream>
#include <string>

#include "tools/game_json.h"

namespace {

constexpr const char* kUsage =
    "usage: quorvex-dump GAME_DIR|FILE\n"
    "Prints the game's record files (resource/Quorvex1..5.dat and Saved/*.sav) as JSON,\n"
    "or one such file when FILE is given.\n";

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::cerr << kUsage;
    return 2;
  }
  std::string arg = argv[1];
  if (arg == "--help" || arg == "-h") {
    std::cout << kUsage;
    return 0;
  }
  try {
    std::filesystem::path path(arg);
    qv::tools::Json game = std::filesystem::is_directory(path) ? qv::tools::DumpGameFolder(path)
                                                               : qv::tools::DumpFile(path);
    std::cout << game.dump(2) << "\n";
    return 0;
  } catch (const std::exception& e) {
    std::cerr << "quorvex-dump: " << e.what() << "\n";
    return 1;
  }
}
