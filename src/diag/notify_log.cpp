#include "diag/notify_log.h"

#include "core/procedure.h"
#include "core/text.h"
#include "core/vb_error.h"

namespace qv::diag {

namespace {

// The window as designed: 400 x 300 pixels at 2000 twips from the left, at the top.
constexpr int kLeftTwips = 2000;
constexpr int kWidthPixels = 400;
constexpr int kHeightPixels = 300;

}  // namespace

NotifyLog::NotifyLog(ui::Desktop& desktop, MessageBoxService& boxes, platform::Clipboard& clipboard)
    : desktop_(desktop), boxes_(boxes), clipboard_(clipboard) {}

NotifyLog::~NotifyLog() = default;

ui::Form& NotifyLog::NoWin() {
  if (!form_) Create();
  return *form_;
}

void NotifyLog::Create() {
  form_ = std::make_unique<ui::Form>(desktop_, "NoWin");
  ui::Form& form = *form_;
  form.SetBorder(ui::BorderStyle::kFixed);
  form.SetCaption("Notify Window (Debug)");
  form.SetVisible(false);
  form.MoveTwips(kLeftTwips, 0, ui::PixelsToTwips(kWidthPixels), ui::PixelsToTwips(kHeightPixels));
  form.AddMenu("cc", "Copy to Clipboard").on_click = [this] { CopyToClipboard(); };
  form.AddMenu("ClC", "Empty Contents").on_click = [this] { EmptyContents(); };
  comp_exp_ = &form.AddMenu("CompExp", "Expand Window");
  comp_exp_->on_click = [this] { CompactOrExpand(); };
  list_ = &form.Create<ui::ListBox>("List1");
  list_->Move(0, 0, form.ClientWidth(), form.ClientHeight());
  auto pointer_over = [this](const ui::MouseArgs&) {
    if (on_pointer_over) on_pointer_over();
  };
  form.on_mouse_move = pointer_over;
  list_->on_mouse_move = pointer_over;
  full_height_twips_ = ui::PixelsToTwips(form.Height());
  form.SetHeight(ui::TwipsToPixels(kCompactHeightTwips));
}

void NotifyLog::Unload() {
  if (!form_) return;
  form_->Unload();
  form_.reset();
  list_ = nullptr;
  comp_exp_ = nullptr;
}

void NotifyLog::Append(std::string_view text) {
  NoWin();
  if (listener_) listener_(text);
  const bool added = RunReporting(
      boxes_,
      [this] {
        return ErrorBoxFormat{
            "An error has occured with the Notify Window.", "\rError #",   true, " : ",
            "\rList Count =" + NumText(list_->ListCount()), BoxIcon::kNone};
      },
      [&] {
        list_->AddItem(std::string(text));
        list_->SetListIndex(list_->ListCount() - 1);
      });
  // A list that refuses lines starts again empty.
  if (!added) list_->Clear();
}

std::vector<std::string> NotifyLog::Lines() const {
  std::vector<std::string> lines;
  if (!list_) return lines;
  for (int i = 0; i < list_->ListCount(); ++i)
    lines.push_back(list_->List(i));
  return lines;
}

void NotifyLog::CopyToClipboard() {
  RunReporting(
      boxes_,
      [] {
        return ErrorBoxFormat{"An error has occured with the Notify Window.  Please report!",
                              "\rError #",
                              true,
                              " / ",
                              "",
                              BoxIcon::kNone};
      },
      [&] {
        std::string text;
        for (const std::string& line : Lines())
          text += line + "\n";
        clipboard_.Clear();
        clipboard_.SetText(text);
      });
}

void NotifyLog::EmptyContents() {
  if (boxes_.Show(kAppTitle, "Empty the contents of the Notify Window?", BoxButtons::kYesNo,
                  BoxIcon::kQuestion) == BoxAnswer::kYes) {
    NoWin();
    list_->Clear();
  }
}

void NotifyLog::CompactOrExpand() {
  ui::Form& form = NoWin();
  if (form.Height() != ui::TwipsToPixels(kCompactHeightTwips)) {
    form.SetHeight(ui::TwipsToPixels(kCompactHeightTwips));
    comp_exp_->SetCaption("Expand Window");
  } else {
    form.SetHeight(ui::TwipsToPixels(full_height_twips_));
    comp_exp_->SetCaption("Shrink Window");
  }
}

}  // namespace qv::diag
