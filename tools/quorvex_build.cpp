// quorvex-build JSON OUT_DIR: writes the game files a JSON describes.

#include <filesystem>
#include <fstream>
#include <iostream>
#include <iterator>
#include <sstream>
#include <string>

#include "tools/game_json.h"

namespace {

constexpr const char* kUsage =
    "usage: quorvex-build JSON OUT_DIR\n"
    "Writes the game files that JSON (a file, or - for standard input) describes into\n"
    "OUT_DIR: resource/Quorvex1..5.dat and Saved/*.sav. Nothing is written when any\n"
    "field is wrong.\n";

}  // namespace

int main(int argc, char** argv) {
  if (argc == 2 && (std::string(argv[1]) == "--help" || std::string(argv[1]) == "-h")) {
    std::cout << kUsage;
    return 0;
  }
  if (argc != 3) {
    std::cerr << kUsage;
    return 2;
  }
  try {
    std::string input = argv[1];
    std::string text;
    if (input == "-") {
      text.assign(std::istreambuf_iterator<char>(std::cin), {});
    } else {
      std::ifstream in(input, std::ios::binary);
      if (!in) throw std::runtime_error(input + ": cannot be read");
      text.assign(std::istreambuf_iterator<char>(in), {});
    }
    auto files = qv::tools::EncodeGame(qv::tools::ParseGameJson(text));
    qv::tools::WriteGameFiles(files, argv[2]);
    return 0;
  } catch (const std::exception& e) {
    std::cerr << "quorvex-build: " << e.what() << "\n";
    return 1;
  }
}
