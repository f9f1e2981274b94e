#include "app/script_runner.h"

#include <utility>

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
  command.spec->action(context_, command);
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

}  // namespace qv::app
