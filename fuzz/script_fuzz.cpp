// Fuzzes the walkthrough-script parser: any bytes must parse into commands and error
// messages without crashing, and every command must parse again from its own text to the
// same command.

#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "app/script.h"
#include "app/script_commands.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static const qv::app::CommandTable table = qv::app::MakeCommandTable();
  std::string_view text(reinterpret_cast<const char*>(data), size);
  qv::app::Script script = qv::app::ParseScript(text, "fuzz.qvs", table);
  for (const auto& command : script.commands) {
    qv::app::Script again = qv::app::ParseScript(command.text, "again.qvs", table);
    if (!again.errors.empty() || again.commands.size() != 1) std::abort();
    const auto& copy = again.commands[0];
    if (copy.definition != command.definition || copy.args.size() != command.args.size())
      std::abort();
    for (size_t i = 0; i < copy.args.size(); ++i) {
      if (copy.args[i].number != command.args[i].number ||
          copy.args[i].text != command.args[i].text ||
          copy.args[i].numbers != command.args[i].numbers) {
        std::abort();
      }
    }
  }
  for (const auto& error : script.errors) {
    if (error.rfind("fuzz.qvs:", 0) != 0) std::abort();
  }
  return 0;
}
