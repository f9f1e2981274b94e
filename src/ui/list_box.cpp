#include "ui/list_box.h"

#include <algorithm>
#include <system_error>

#include "core/text.h"
#include "core/vb_error.h"
#include "data/game_folder.h"
#include "ui/desktop.h"

namespace qv::ui {

using platform::Key;
using platform::Rect;

namespace {

const std::string kNoLine;

}  // namespace

void ListBox::AddItem(std::string text, int at) {
  if (at < -1 || at > ListCount()) Raise(kErrInvalidCall);
  if (ListCount() >= kCapacity) Raise(kErrOutOfMemory);
  if (at == -1) {
    items_.push_back(std::move(text));
  } else {
    items_.insert(items_.begin() + at, std::move(text));
    if (list_index_ >= at) ++list_index_;
  }
  Invalidate();
}

void ListBox::RemoveItem(int at) {
  if (at < 0 || at >= ListCount()) Raise(kErrInvalidCall);
  items_.erase(items_.begin() + at);
  if (list_index_ == at) {
    list_index_ = -1;
  } else if (list_index_ > at) {
    --list_index_;
  }
  top_index_ = std::clamp(top_index_, 0, std::max(ListCount() - VisibleRows(), 0));
  Invalidate();
}

void ListBox::Clear() {
  ReplaceItems({});
}

void ListBox::ReplaceItems(std::vector<std::string> items) {
  items_ = std::move(items);
  list_index_ = -1;
  top_index_ = 0;
  Invalidate();
}

const std::string& ListBox::List(int at) const {
  if (at < 0 || at >= ListCount()) return kNoLine;
  return items_[static_cast<size_t>(at)];
}

void ListBox::SetList(int at, std::string text) {
  if (at < 0 || at >= ListCount()) Raise(kErrInvalidCall);
  items_[static_cast<size_t>(at)] = std::move(text);
  Invalidate();
}

void ListBox::SetListIndex(int at) {
  if (at < -1 || at >= ListCount()) Raise(kErrInvalidCall);
  Select(at, false);
}

void ListBox::Select(int at, bool by_player) {
  const bool changed = at != list_index_;
  list_index_ = at;
  ScrollTo(at);
  if (changed) Invalidate();
  if ((changed || by_player) && on_click) {
    auto run = on_click;
    run();
  }
}

void ListBox::SetTopIndex(int at) {
  at = std::clamp(at, 0, std::max(ListCount() - VisibleRows(), 0));
  if (at == top_index_) return;
  top_index_ = at;
  Invalidate();
}

int ListBox::RowHeight() const {
  return Desktop::LineHeight(desktop(), Font()) + 1;
}

int ListBox::VisibleRows() const {
  return std::max((Height() - 2) / RowHeight(), 1);
}

void ListBox::ScrollTo(int at) {
  if (at < 0) return;
  if (at < top_index_) {
    SetTopIndex(at);
  } else if (at >= top_index_ + VisibleRows()) {
    SetTopIndex(at - VisibleRows() + 1);
  }
}

void ListBox::ScrollBarDown(int y) {
  // The arrows at both ends scroll a line; the track between them a page.
  const int rows = VisibleRows();
  if (y < kScrollBarWidth) {
    SetTopIndex(top_index_ - 1);
  } else if (y >= Height() - kScrollBarWidth) {
    SetTopIndex(top_index_ + 1);
  } else if (y < Height() / 2) {
    SetTopIndex(top_index_ - rows);
  } else {
    SetTopIndex(top_index_ + rows);
  }
}

void ListBox::MouseDown(const MouseArgs& args) {
  if (args.button == platform::MouseButton::kLeft) {
    if (HasScrollBar() && args.x >= Width() - kScrollBarWidth) {
      ScrollBarDown(args.y);
    } else if (args.y >= 1) {
      const int row = top_index_ + (args.y - 1) / RowHeight();
      if (row < ListCount()) Select(row, true);
    }
  }
  Control::MouseDown(args);
}

void ListBox::KeyDown(KeyArgs& args) {
  if (items_.empty()) return;
  int at = list_index_;
  switch (args.key) {
    case Key::kUp:
      at = std::max(at - 1, 0);
      break;
    case Key::kDown:
      at = std::min(at + 1, ListCount() - 1);
      break;
    case Key::kHome:
      at = 0;
      break;
    case Key::kEnd:
      at = ListCount() - 1;
      break;
    default:
      return;
  }
  if (at != list_index_) Select(at, true);
  args.handled = true;
}

void ListBox::PaintSelf(platform::Renderer& renderer, const Rect& rect) {
  renderer.FillRect(rect, kWindowWhite);
  DrawFrame(renderer, rect, kShadow);
  const int row_height = RowHeight();
  const bool bar = HasScrollBar();
  const int text_width = rect.w - 2 - (bar ? kScrollBarWidth : 0);
  const platform::Rgb color = Enabled() ? kWindowText : kShadow;
  renderer.PushClip({rect.x + 1, rect.y + 1, std::max(text_width, 0), std::max(rect.h - 2, 0)});
  int y = rect.y + 1;
  for (int i = top_index_; i < ListCount() && y < rect.y + rect.h; ++i, y += row_height) {
    const bool selected = i == list_index_;
    if (selected) renderer.FillRect({rect.x + 1, y, text_width, row_height}, kHighlight);
    const std::string& line = items_[static_cast<size_t>(i)];
    if (!line.empty()) {
      renderer.DrawText(line, rect.x + 3, y, Font(), selected ? kWindowWhite : color);
    }
  }
  renderer.PopClip();
  if (bar) {
    const Rect track{rect.x + rect.w - 1 - kScrollBarWidth, rect.y + 1, kScrollBarWidth,
                     rect.h - 2};
    renderer.FillRect(track, kButtonFace);
    renderer.FillRect({track.x, track.y, track.w, kScrollBarWidth}, kShadow);
    renderer.FillRect({track.x, track.y + track.h - kScrollBarWidth, track.w, kScrollBarWidth},
                      kShadow);
    // The thumb shows which part of the list is in view.
    const int span = std::max(track.h - 2 * kScrollBarWidth, 1);
    const int thumb = std::max(span * VisibleRows() / ListCount(), 4);
    const int max_top = std::max(ListCount() - VisibleRows(), 1);
    const int pos = (span - thumb) * top_index_ / max_top;
    renderer.FillRect({track.x + 2, track.y + kScrollBarWidth + pos, track.w - 4, thumb},
                      kWindowText);
  }
}

void FileListBox::SetPattern(std::string pattern) {
  pattern_ = std::move(pattern);
  Refresh();
}

void FileListBox::SetPath(const std::filesystem::path& folder) {
  std::error_code ec;
  if (!std::filesystem::is_directory(folder, ec)) Raise(kErrPathNotFound);
  path_ = folder;
  Refresh();
}

void FileListBox::Refresh() {
  std::vector<std::string> patterns;
  for (size_t start = 0; start <= pattern_.size();) {
    size_t end = pattern_.find(';', start);
    if (end == std::string::npos) end = pattern_.size();
    std::string one(TrimBlanks(std::string_view(pattern_).substr(start, end - start)));
    if (!one.empty()) patterns.push_back(std::move(one));
    start = end + 1;
  }
  std::vector<std::string> names;
  std::error_code ec;
  if (!path_.empty()) {
    for (auto it = std::filesystem::directory_iterator(path_, ec);
         !ec && it != std::filesystem::directory_iterator(); it.increment(ec)) {
      std::error_code type_ec;
      if (!it->is_regular_file(type_ec)) continue;
      std::string name = it->path().filename().string();
      if (name.empty() || name.front() == '.') continue;
      const bool matches = std::any_of(patterns.begin(), patterns.end(), [&](const std::string& p) {
        return data::MatchesWildcard(p, name);
      });
      if (matches) names.push_back(std::move(name));
      if (static_cast<int>(names.size()) >= kCapacity) break;
    }
  }
  std::sort(names.begin(), names.end(), [](const std::string& a, const std::string& b) {
    const std::string la = LowerAscii(a);
    const std::string lb = LowerAscii(b);
    return la != lb ? la < lb : a < b;
  });
  ReplaceItems(std::move(names));
}

std::string FileListBox::FileName() const {
  return ListIndex() < 0 ? std::string() : List(ListIndex());
}

}  // namespace qv::ui
