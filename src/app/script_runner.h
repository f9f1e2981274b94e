#pragma once
// Runs a walkthrough script as the player's user: the event loop asks it to act whenever
// the player is idle (at the top level, in a modal window, in a wait), and it feeds the
// next command in, exactly where a person's click would arrive. After each command the
// loop lets the player run until nothing is pending at the current time before asking
// again.

#include <ostream>
#include <string>

#include "app/script.h"
#include "app/script_commands.h"
#include "platform/event_loop.h"

namespace qv::app {

class ScriptRunner : public platform::IdleUser {
 public:
  // The script must have parsed without errors; its rules must outlive the runner.
  ScriptRunner(Player& player, Script script);

  // Runs the next command. False when the script is over or an expectation failed.
  bool Act() override;

  bool failed() const { return context_.failed(); }
  // "SCRIPT:LINE: COMMAND failed\n  found: ..." for the expectation that failed.
  std::string FailureReport() const;
  // "SCRIPT:LINE (COMMAND)" for the command in progress or last run, or "" before the
  // first: where a deadlock happened.
  std::string Position() const;
  // "SCRIPT:LINE: COMMAND not run: the player has ended" for the first command the
  // program's end left unrun, or "" when every command ran.
  std::string UnrunReport() const;

 private:
  Script script_;
  ScriptContext context_;
  size_t next_ = 0;
  const ScriptCommand* last_ = nullptr;
};

// Starts the player and runs it until the exit sequence ends it or, with a scripted user,
// until the script is over. Returns the exit status: 0, or 1 after a failed expectation,
// a deadlock or commands the program's end left unrun, whose report goes to `err`.
int RunToEnd(Player& player, const ScriptRunner& runner, std::ostream& err);

}  // namespace qv::app
