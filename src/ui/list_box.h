#pragma once
// List boxes:
//  - ListBox: lines of text, one selected (ListIndex, -1 when none), scrolled so that the
//    selected line shows. It holds at most kCapacity lines, the most a 16-bit line count
//    can number; adding one more raises "Out of memory" (7) and leaves the list as it was.
//    The click handler runs when the selection changes (also when code sets ListIndex,
//    as the classic list box does) and whenever the player clicks a line.
//  - FileListBox: the ordinary files (no folders, no hidden files) of a folder whose
//    names match a pattern such as "*.sav" ("*.a;*.b" for several), sorted by name
//    ignoring case; setting the folder or the pattern lists the files again, and Refresh
//    does so on demand.

#include <filesystem>
#include <string>
#include <vector>

#include "ui/control.h"

namespace qv::ui {

class ListBox : public Control {
 public:
  static constexpr int kCapacity = 32767;

  explicit ListBox(std::string name, int index = 0) : Control(std::move(name), index) {}

  // Adds a line at the end, or before line `at` (0 <= at <= count; otherwise error 5).
  void AddItem(std::string text, int at = -1);
  // Removes line `at` (error 5 when there is none); the selection moves with its line
  // and is cleared when that line goes.
  void RemoveItem(int at);
  void Clear();
  // Line `at`, or "" when there is none.
  const std::string& List(int at) const;
  void SetList(int at, std::string text);
  int ListCount() const { return static_cast<int>(items_.size()); }

  int ListIndex() const { return list_index_; }
  // -1 clears the selection; anything outside -1 .. count - 1 raises error 5.
  void SetListIndex(int at);
  // The first line shown.
  int TopIndex() const { return top_index_; }
  void SetTopIndex(int at);
  // How many lines fit in the box.
  int VisibleRows() const;

  bool CanFocus() const override { return true; }
  void MouseDown(const MouseArgs& args) override;
  void Click() override {}  // the click handler runs on selection instead
  void KeyDown(KeyArgs& args) override;

 protected:
  void PaintSelf(platform::Renderer& renderer, const platform::Rect& rect) override;
  void OnResized() override { ScrollTo(list_index_); }
  // Replaces all lines at once (the selection is cleared).
  void ReplaceItems(std::vector<std::string> items);

 private:
  static constexpr int kScrollBarWidth = 14;

  int RowHeight() const;
  bool HasScrollBar() const { return ListCount() > VisibleRows(); }
  // Selects a line; a player's click runs the handler even when the line was selected.
  void Select(int at, bool by_player);
  // Scrolls so that line `at` shows.
  void ScrollTo(int at);
  void ScrollBarDown(int y);

  std::vector<std::string> items_;
  int list_index_ = -1;
  int top_index_ = 0;
};

class FileListBox : public ListBox {
 public:
  explicit FileListBox(std::string name, int index = 0) : ListBox(std::move(name), index) {}

  const std::string& Pattern() const { return pattern_; }
  void SetPattern(std::string pattern);
  const std::filesystem::path& Path() const { return path_; }
  // A folder that does not exist raises "Path not found" (76) and keeps the old one.
  void SetPath(const std::filesystem::path& folder);
  // Lists the folder's files again; the selection is cleared. A folder that cannot be
  // read (removed since, no permission) lists nothing.
  void Refresh();
  // The selected file's name, or "" when none is selected.
  std::string FileName() const;

 private:
  std::string pattern_ = "*.*";
  std::filesystem::path path_;
};

}  // namespace qv::ui
