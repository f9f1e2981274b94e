#pragma once
// Stand-ins for the parts of the player that are not built yet. Each records the calls
// the engine makes (for headless runs and tests to read) and otherwise does only the
// little the engine's own rules need to stay consistent: the sound stand-in remembers
// what each channel was asked to play, a movie ends at once, the conversation box is
// shown for the requested slot (without its lines), the inventory remembers the hand.

#include <cstdint>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "engine/collaborators.h"

namespace qv::screen {
class GameScreen;
}

namespace qv::engine {

struct GameState;

class StandIns : public SoundPort,
                 public MusicPort,
                 public MoviePort,
                 public DelayPort,
                 public ConversationPort,
                 public MapPort,
                 public InventoryPort,
                 public ShellPort {
 public:
  explicit StandIns(screen::GameScreen& screen) : screen_(screen) {}
  // The game state the conversation stand-in keeps ShownConversation in.
  void AttachState(GameState& state) { state_ = &state; }

  // Called with every call as it is recorded (tests look at the game at that moment).
  std::function<void(const std::string&)> on_call;

  // Every call, in order, as "Name(arg, arg, ...)".
  const std::vector<std::string>& calls() const { return calls_; }
  void ClearCalls() { calls_.clear(); }

  struct Channel {
    std::string file;
    bool loop = false;
  };
  // What each channel was last asked to play and has not been asked to stop.
  const std::map<int16_t, Channel>& channels() const { return channels_; }
  const std::string& soundtrack() const { return soundtrack_; }
  // The conversation record last shown.
  int16_t shown_record() const { return shown_record_; }

  // SoundPort
  void PlayWav(const std::string& name, bool loop, int16_t channel, int32_t pan,
               int32_t volume) override;
  void PlayWAVQVX(const std::string& name, bool loop, int16_t channel, int32_t pan,
                  int32_t volume) override;
  void StopWav(int16_t channel) override;
  // MusicPort
  void Soundtrack(const std::string& name, int32_t volume, bool force) override;
  void ClearSoundtrack() override { soundtrack_.clear(); }
  void StopMP3() override { Record("StopMP3()"); }
  void StopMIDI() override { Record("StopMIDI()"); }
  // MoviePort
  void PlayMovie(const std::string& name, int16_t param, bool wait_scene, bool keep_cover) override;
  bool MovieFinished() const override { return true; }
  bool MovieWaitsScene() const override { return false; }
  // DelayPort
  void SetDelayChange(int16_t slot, int16_t flag, int16_t value, int16_t op) override;
  void StartDelay(int16_t slot, int16_t seconds) override;
  void StopAllTimers() override { Record("StopAllTimers()"); }
  void ClearBusyCursorMarks() override {}
  // ConversationPort
  void ShowConversation(int16_t record, int16_t slot) override;
  // MapPort
  void AddMapLocation(int16_t location) override;
  void ClearLocations() override {}
  void SetMapActive(bool) override {}
  // InventoryPort
  void AddInventoryItem(int16_t item) override;
  int16_t HandSlot() const override { return hand_slot_; }
  void SetHandSlot(int16_t slot) override { hand_slot_ = slot; }
  void ShowItem(int16_t slot) override;
  void HideAllItems() override {}
  // ShellPort
  bool RunningFromCD() const override { return false; }
  void CheckCD(int16_t scene) override;
  int16_t CreditsScene() const override { return 0; }
  void HideGameWindows() override {}
  void SetQuitBusy(bool) override {}
  void ResetMainMenuButton() override {}
  void ShowMainMenu() override { Record("ShowMainMenu()"); }

 private:
  void Record(std::string call) {
    calls_.push_back(std::move(call));
    if (on_call) on_call(calls_.back());
  }

  GameState* state_ = nullptr;
  screen::GameScreen& screen_;
  std::vector<std::string> calls_;
  std::map<int16_t, Channel> channels_;
  std::string soundtrack_;
  int16_t hand_slot_ = 99;
  int16_t shown_record_ = 0;
};

}  // namespace qv::engine
