#pragma once
// Stand-ins for the parts of the player that are not built yet. Each records the calls
// the engine makes (for headless runs and tests to read) and otherwise does only the
// little the engine's own rules need to stay consistent: a movie ends at once.

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "engine/collaborators.h"

namespace qv::engine {

class StandIns : public MoviePort {
 public:
  // Called with every call as it is recorded (tests look at the game at that moment).
  std::function<void(const std::string&)> on_call;

  // Every call, in order, as "Name(arg, arg, ...)".
  const std::vector<std::string>& calls() const { return calls_; }
  void ClearCalls() { calls_.clear(); }

  // MoviePort
  void PlayMovie(const std::string& name, int16_t param, bool wait_scene, bool keep_cover) override;
  bool MovieFinished() const override { return true; }
  bool MovieWaitsScene() const override { return false; }

 private:
  void Record(std::string call) {
    calls_.push_back(std::move(call));
    if (on_call) on_call(calls_.back());
  }

  std::vector<std::string> calls_;
};

}  // namespace qv::engine
