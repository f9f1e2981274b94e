#pragma once
// What the engine asks of the subsystems around it that are built on it: movies, the
// delay countdowns, conversations, the map, the inventory, the CD check and the shell.
// Each is built by its own part of the player and handed to the engine when the parts
// are put together.

#include <cstdint>
#include <string>

namespace qv::engine {

class MoviePort {
 public:
  virtual ~MoviePort() = default;
  // Starts a movie and returns at once. MovieFinished is false from then until it has
  // ended (or at once, when it cannot play); MovieWaitsScene says whether it was started
  // with `wait_scene`.
  virtual void PlayMovie(const std::string& name, int16_t param, bool wait_scene,
                         bool keep_cover) = 0;
  virtual bool MovieFinished() const = 0;
  virtual bool MovieWaitsScene() const = 0;
};

class DelayPort {
 public:
  virtual ~DelayPort() = default;
  // The flag change a delay slot applies when it expires.
  virtual void SetDelayChange(int16_t slot, int16_t flag, int16_t value, int16_t op) = 0;
  virtual void StartDelay(int16_t slot, int16_t seconds) = 0;
  virtual void StopAllTimers() = 0;
  // Clears the busy-cursor marks of the 20 delay slots.
  virtual void ClearBusyCursorMarks() = 0;
};

class ConversationPort {
 public:
  virtual ~ConversationPort() = default;
  virtual void ShowConversation(int16_t record, int16_t slot) = 0;
  // True while the box shows a blocking conversation (its object's ObjN7 = 1): clicks on
  // scene objects other than Goodies are ignored.
  virtual bool BlockingConversationShowing() const = 0;
  // The line under the pointer loses its highlight (the pointer went onto the scene):
  // it takes its clicked or not-yet-clicked colour again.
  virtual void UnhighlightLines() = 0;
};

class MapPort {
 public:
  virtual ~MapPort() = default;
  virtual void AddMapLocation(int16_t location) = 0;
  // Clears the 20 known-location entries (a game ends or starts).
  virtual void ClearLocations() = 0;
  virtual void SetMapActive(bool active) = 0;
  // Shows the map window modally: returns when the player has closed it.
  virtual void ShowMapWindow() = 0;
};

class InventoryPort {
 public:
  virtual ~InventoryPort() = default;
  virtual void AddInventoryItem(int16_t item) = 0;
  // The slot of the item in hand; 99 when the hand is empty.
  virtual int16_t HandSlot() const = 0;
  virtual void SetHandSlot(int16_t slot) = 0;
  // Shows the bar picture of a slot again (an item put back).
  virtual void ShowItem(int16_t slot) = 0;
  // Hides the 16 bar pictures.
  virtual void HideAllItems() = 0;
};

class ShellPort {
 public:
  virtual ~ShellPort() = default;
  virtual bool RunningFromCD() const = 0;
  virtual void CheckCD(int16_t scene) = 0;
  virtual int16_t CreditsScene() const = 0;
  // The end of a game: hides the windows of a game that are open (debug window, quit
  // question, save dialog, close-up, map).
  virtual void HideGameWindows() = 0;
  virtual void SetQuitBusy(bool busy) = 0;
  // Gives the game screen's main-menu button its normal picture.
  virtual void ResetMainMenuButton() = 0;
  // Shows the main menu (the end of a game); credits mode ends.
  virtual void ShowMainMenu() = 0;
};

}  // namespace qv::engine
