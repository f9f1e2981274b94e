#pragma once
// The notify log: the player's trace for game authors. Every part of the player appends
// lines through NotifyLog(text); the lines live in the list of the small window `NoWin`
// ("Notify Window (Debug)"), which is created on first use and keeps collecting while it
// is hidden. Its menu copies the lines to the clipboard, empties them, and compacts or
// expands the window. Unloading the window (the end of a game) empties the list.
//
// The list holds at most ui::ListBox::kCapacity (32767) lines; the line that does not
// fit shows the window's error box, the list is emptied and logging goes on in the
// empty list.

#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "core/message_box.h"
#include "platform/backend.h"
#include "ui/desktop.h"
#include "ui/form.h"
#include "ui/list_box.h"

namespace qv::diag {

class NotifyLog {
 public:
  // The compacted height in twips: the title and the menu only.
  static constexpr int kCompactHeightTwips = 675;

  NotifyLog(ui::Desktop& desktop, MessageBoxService& boxes, platform::Clipboard& clipboard);
  ~NotifyLog();
  NotifyLog(const NotifyLog&) = delete;
  NotifyLog& operator=(const NotifyLog&) = delete;

  // Appends one line (callers decide whether progress lines are wanted).
  void Append(std::string_view text);

  // Every line, as it is appended, also goes here (the run log of a walkthrough).
  void SetListener(std::function<void(std::string_view)> listener) {
    listener_ = std::move(listener);
  }
  // Called when the pointer moves over the window: the game shows its default cursor
  // unless the busy cursor is showing.
  std::function<void()> on_pointer_over;

  // The window, created on first use.
  ui::Form& NoWin();
  bool Created() const { return form_ != nullptr; }
  // Unloads the window: its lines are gone.
  void Unload();

  // The lines now in the list, oldest first.
  std::vector<std::string> Lines() const;

  // The three menu commands.
  void CopyToClipboard();
  void EmptyContents();
  void CompactOrExpand();

 private:
  void Create();

  ui::Desktop& desktop_;
  MessageBoxService& boxes_;
  platform::Clipboard& clipboard_;
  std::function<void(std::string_view)> listener_;
  std::unique_ptr<ui::Form> form_;
  ui::ListBox* list_ = nullptr;
  ui::MenuItem* comp_exp_ = nullptr;
  int full_height_twips_ = 0;
};

}  // namespace qv::diag
