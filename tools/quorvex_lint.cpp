// quorvex-lint GAME_DIR: lists what is wrong with a game.

#include <iostream>
#include <string>
#include <vector>

#include "tools/game_lint.h"

namespace {

constexpr const char* kUsage =
    "usage: quorvex-lint [--json] GAME_DIR\n"
    "Lists what is wrong with the game in GAME_DIR, one finding a line:\n"
    "  FILE:RECORD:FIELD: error|warning: MESSAGE\n"
    "(RECORD from 1, FIELD as the game JSON names it, SlotN.Field for an object slot,\n"
    "Field[i] for an array element; \"-\" for none). --json prints the findings as a JSON\n"
    "array instead. Exit status: 0 no errors (warnings may be listed), 1 errors, 2 bad\n"
    "usage or a folder that is no game.\n";

}  // namespace

int main(int argc, char** argv) {
  bool json = false;
  std::vector<std::string> folders;
  for (int i = 1; i < argc; ++i) {
    std::string arg = argv[i];
    if (arg == "--help" || arg == "-h") {
      std::cout << kUsage;
      return 0;
    }
    if (arg == "--json") {
      json = true;
    } else if (!arg.empty() && arg[0] == '-') {
      std::cerr << "quorvex-lint: unknown option " << arg << "\n" << kUsage;
      return 2;
    } else {
      folders.push_back(arg);
    }
  }
  if (folders.size() != 1) {
    std::cerr << kUsage;
    return 2;
  }
  try {
    std::vector<qv::tools::Finding> findings = qv::tools::LintGame(folders[0]);
    if (json) {
      std::cout << qv::tools::FindingsJson(findings).dump(
                       2, ' ', false, nlohmann::ordered_json::error_handler_t::replace)
                << "\n";
    } else {
      for (const qv::tools::Finding& f : findings)
        std::cout << qv::tools::FindingLine(f) << "\n";
    }
    return qv::tools::HasErrors(findings) ? 1 : 0;
  } catch (const qv::tools::NotAGameError& e) {
    std::cerr << "quorvex-lint: " << e.what() << "\n";
    return 2;
  }
}
