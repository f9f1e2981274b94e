#include "app/script_runner.h"

#include <utility>

#include "app/command_line.h"
#include "app/player.h"

namespace qv::app {

ScriptRunner::ScriptRunner(Player& player, Script script)
    : script_(std::move(script)), context_(player) {}

bool ScriptRunner::Act() {
  if (context_.failed()) return false;
  if (context_.wait_until) {
    FinishWait(context_);
    return true;
  }
  if (next_ >= script_.commands.size()) return false;
  const ScriptCommand& command = script_.commands[next_++];
  last_ = &command;
  context_.resumed = context_.again;
  context_.again = false;
  command.definition->action(context_, command);
  if (context_.again) --next_;
  return !context_.failed();
}

std::string ScriptRunner::FailureReport() const {
  if (!context_.failed() || last_ == nullptr) return {};
  return script_.name + ":" + std::to_string(last_->line) + ": " + last_->text +
         " failed\n  found: " + context_.found();
}

std::string ScriptRunner::Position() const {
  if (last_ == nullptr) return {};
  return script_.name + ":" + std::to_string(last_->line) + " (" + last_->text + ")";
}

std::string ScriptRunner::UnrunReport() const {
  if (next_ >= script_.commands.size()) return {};
  const ScriptCommand& command = script_.commands[next_];
  return script_.name + ":" + std::to_string(command.line) + ": " + command.text +
         " not run: the player has ended";
}

int RunToEnd(Player& player, const ScriptRunner& runner, std::ostream& err) {
  try {
    player.Start();
    player.Run();
    return kExitOk;
  } catch (const shell::ProgramExited&) {
    if (runner.failed()) {
      err << runner.FailureReport() << "\n";
      return kExitFailed;
    }
    const std::string unrun = runner.UnrunReport();
    if (unrun.empty()) return kExitOk;
    err << unrun << "\n";
    return kExitFailed;
  } catch (const platform::RunFinished&) {
    if (!runner.failed()) return kExitOk;
    err << runner.FailureReport() << "\n";
    return kExitFailed;
  } catch (const platform::Deadlock& deadlock) {
    const std::string where = runner.Position();
    err << "quorvex-player: " << deadlock.what << (where.empty() ? "" : " (after " + where + ")")
        << "\n";
    return kExitFailed;
  }
}

}  // namespace qv::app
