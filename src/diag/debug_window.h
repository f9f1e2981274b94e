#pragma once
// The debug window `QVDebug` ("Quorvex Debug Window"), a tool for game authors: it loads
// any scene, reads and sets flags, gives and clears inventory items, opens the map,
// minimizes the player and switches the notify log's progress lines on and off. It
// keeps no state of its own: everything goes through the game's own operations
// (DebugTarget), so the effects are exactly the game's.
//
// Numbers typed into its fields are read with Val and rounded to the nearest integer,
// halves to even; a number outside a field's range is answered in its result box. A
// value to set that does not fit a flag (beyond -32768..32767) is an Overflow, reported
// in the handler's box with nothing changed.
//
// The walkthrough runner's scene, set-flag and give commands are the same operations
// (Load, Set, Give) with the number given.

#include <cstdint>
#include <memory>
#include <string>

#include "core/message_box.h"
#include "diag/notify_log.h"
#include "ui/button.h"
#include "ui/desktop.h"
#include "ui/form.h"
#include "ui/label.h"
#include "ui/picture_box.h"
#include "ui/text_box.h"

namespace qv::diag {

// What the window acts on.
class DebugTarget {
 public:
  virtual ~DebugTarget() = default;
  virtual int16_t CurrentScene() const = 0;
  virtual int16_t SceneCount() const = 0;
  virtual void LoadScene(int16_t scene) = 0;
  virtual int16_t Flag(int16_t flag) const = 0;
  // ChangeFlag(flag, value, 0): runs the engine, and may switch scene.
  virtual void SetFlag(int16_t flag, int16_t value) = 0;
  virtual int16_t InvCount() const = 0;
  virtual int16_t ItemsHeld() const = 0;
  virtual void AddInventoryItem(int16_t item) = 0;
  virtual void ClearInventory() = 0;
  // MapActive, and the map window shown modally.
  virtual void ShowMap() = 0;
  virtual void MinimizePlayer() = 0;
  virtual bool VerboseLog() const = 0;
  virtual void SetVerboseLog(bool on) = 0;
};

class QVDebug {
 public:
  QVDebug(ui::Desktop& desktop, MessageBoxService& boxes, NotifyLog& notify_log,
          DebugTarget& target);
  ~QVDebug();
  QVDebug(const QVDebug&) = delete;
  QVDebug& operator=(const QVDebug&) = delete;

  ui::Form& form() { return *form_; }
  // Opens the window (modeless), as the game screen's Debug button does.
  void Show();

  // The operations, with the number already read; each returns the text it puts in its
  // result box. "" when nothing was answered (a failure reported in a box).
  std::string Load(double n);
  std::string Query(double n);
  std::string Set(double n, double value);
  std::string Give(double n);

  // The handlers of the buttons and the check box.
  void Command1Click();  // Load
  void Command2Click();  // Query
  void SetFlagbtnClick();
  void Command4Click();  // Give
  void Command6Click();  // Clear All Inventory Items
  void Command7Click();  // Show Map
  void Command5Click();  // Hide This Window
  void Command3Click();  // Minimize Player
  void Check1Click();

  ui::CheckBox* Check1 = nullptr;
  ui::CommandButton* Command7 = nullptr;
  ui::CommandButton* Command5 = nullptr;
  ui::CommandButton* Command3 = nullptr;
  ui::TextBox* DebugInfo = nullptr;
  ui::TextBox* LdScn = nullptr;
  ui::CommandButton* Command1 = nullptr;
  ui::TextBox* LdScnResult = nullptr;
  ui::Label* CurScnLabel = nullptr;
  ui::TextBox* QueryFlag = nullptr;
  ui::CommandButton* Command2 = nullptr;
  ui::TextBox* QFlagResult = nullptr;
  ui::TextBox* SetFlg = nullptr;
  ui::TextBox* SFValue = nullptr;
  ui::CommandButton* SetFlagbtn = nullptr;
  ui::TextBox* SetFlgResult = nullptr;
  ui::TextBox* GiveInv = nullptr;
  ui::CommandButton* Command4 = nullptr;
  ui::CommandButton* Command6 = nullptr;
  ui::TextBox* GiveInvResult = nullptr;

 private:
  void Layout();
  void ShowCurrentScene();
  // The notify window shows while progress lines are on.
  void ShowNotifyWindow();

  ui::Desktop& desktop_;
  MessageBoxService& boxes_;
  NotifyLog& notify_log_;
  DebugTarget& target_;
  std::unique_ptr<ui::Form> form_;
};

// A number typed into a field of the window: Val, rounded to the nearest integer, halves
// to even.
double ReadNumber(const std::string& text);

}  // namespace qv::diag
