#include "diag/debug_window.h"

#include "core/procedure.h"
#include "core/text.h"
#include "core/vb_math.h"
#include "diag/val.h"

namespace qv::diag {

namespace {

constexpr int kFrameWidth = 200;

// A frame: a bordered box with its caption in the top-left corner.
ui::PictureBox& Frame(ui::Form& form, const std::string& name, const std::string& caption, int left,
                      int top, int height) {
  ui::PictureBox& frame = form.Create<ui::PictureBox>(name);
  frame.SetBorder(true);
  frame.Move(left, top, kFrameWidth, height);
  ui::Label& label = frame.Create<ui::Label>(name + "Caption");
  label.SetCaption(caption);
  label.Move(4, 2, kFrameWidth - 10, 16);
  return frame;
}

template <typename T>
T& Place(ui::PictureBox& frame, const std::string& name, int left, int top, int width, int height) {
  T& control = frame.Create<T>(name);
  control.Move(left, top, width, height);
  return control;
}

ui::Label& Caption(ui::PictureBox& frame, const std::string& text, int left, int top, int width) {
  ui::Label& label = Place<ui::Label>(frame, text, left, top, width, 16);
  label.SetCaption(text);
  return label;
}

ui::TextBox& Result(ui::PictureBox& frame, const std::string& name, int top) {
  ui::TextBox& box = Place<ui::TextBox>(frame, name, 6, top, kFrameWidth - 14, 20);
  box.SetLocked(true);
  return box;
}

}  // namespace

double ReadNumber(const std::string& text) {
  return RoundHalfEven(Val(text));
}

QVDebug::QVDebug(ui::Desktop& desktop, MessageBoxService& boxes, NotifyLog& notify_log,
                 DebugTarget& target)
    : desktop_(desktop),
      boxes_(boxes),
      notify_log_(notify_log),
      target_(target),
      form_(std::make_unique<ui::Form>(desktop, "QVDebug")) {
  ui::Form& form = *form_;
  form.SetVisible(false);
  form.SetBorder(ui::BorderStyle::kFixed);
  form.SetCaption("Quorvex Debug Window");
  Layout();
  form.on_load = [this] { form_->CenterOnScreen(); };
  form.on_activate = [this] { ShowCurrentScene(); };
  Check1->on_click = [this] { Check1Click(); };
  Command7->on_click = [this] { Command7Click(); };
  Command5->on_click = [this] { Command5Click(); };
  Command3->on_click = [this] { Command3Click(); };
  Command1->on_click = [this] { Command1Click(); };
  Command2->on_click = [this] { Command2Click(); };
  SetFlagbtn->on_click = [this] { SetFlagbtnClick(); };
  Command4->on_click = [this] { Command4Click(); };
  Command6->on_click = [this] { Command6Click(); };
}

QVDebug::~QVDebug() = default;

void QVDebug::Layout() {
  ui::Form& form = *form_;
  form.Move(0, 0, 2 * kFrameWidth + 24, 330);

  ui::PictureBox& options = Frame(form, "Frame1", "Debugging Options", 8, 8, 140);
  Check1 = &Place<ui::CheckBox>(options, "Check1", 6, 22, 150, 20);
  Check1->SetCaption("Notify Window");
  Command7 = &Place<ui::CommandButton>(options, "Command7", 6, 46, 90, 22);
  Command7->SetCaption("Show Map");
  Command5 = &Place<ui::CommandButton>(options, "Command5", 100, 46, 92, 22);
  Command5->SetCaption("Hide This Window");
  Command3 = &Place<ui::CommandButton>(options, "Command3", 6, 72, 186, 22);
  Command3->SetCaption("Minimize Player");
  DebugInfo = &Place<ui::TextBox>(options, "DebugInfo", 6, 98, kFrameWidth - 14, 34);

  ui::PictureBox& load = Frame(form, "Frame2", "Load Scene", 8, 156, 130);
  Caption(load, "Scene #", 6, 24, 60);
  LdScn = &Place<ui::TextBox>(load, "LdScn", 70, 22, 60, 20);
  Command1 = &Place<ui::CommandButton>(load, "Command1", 136, 22, 56, 22);
  Command1->SetCaption("Load");
  LdScnResult = &Result(load, "LdScnResult", 50);
  Caption(load, "(Current Scene is", 6, 78, 110);
  CurScnLabel = &Place<ui::Label>(load, "CurScnLabel", 118, 78, 70, 16);

  ui::PictureBox& query = Frame(form, "Frame3", "Query Flag", kFrameWidth + 16, 8, 76);
  Caption(query, "Flag #", 6, 24, 60);
  QueryFlag = &Place<ui::TextBox>(query, "QueryFlag", 70, 22, 60, 20);
  Command2 = &Place<ui::CommandButton>(query, "Command2", 136, 22, 56, 22);
  Command2->SetCaption("Query");
  QFlagResult = &Result(query, "QFlagResult", 50);

  ui::PictureBox& set = Frame(form, "Frame4", "Set Flag", kFrameWidth + 16, 90, 100);
  Caption(set, "Flag #", 6, 24, 50);
  SetFlg = &Place<ui::TextBox>(set, "SetFlg", 56, 22, 44, 20);
  Caption(set, "Value", 104, 24, 40);
  SFValue = &Place<ui::TextBox>(set, "SFValue", 146, 22, 46, 20);
  SetFlagbtn = &Place<ui::CommandButton>(set, "SetFlagbtn", 6, 46, 186, 22);
  SetFlagbtn->SetCaption("Set Flag");
  SetFlgResult = &Result(set, "SetFlgResult", 72);

  ui::PictureBox& give = Frame(form, "Frame5", "Give Inventory Item", kFrameWidth + 16, 196, 120);
  Caption(give, "Item Index #", 6, 24, 80);
  GiveInv = &Place<ui::TextBox>(give, "GiveInv", 88, 22, 46, 20);
  Command4 = &Place<ui::CommandButton>(give, "Command4", 140, 22, 52, 22);
  Command4->SetCaption("Give");
  Command6 = &Place<ui::CommandButton>(give, "Command6", 6, 48, 186, 22);
  Command6->SetCaption("Clear All Inventory Items");
  GiveInvResult = &Result(give, "GiveInvResult", 76);
}

void QVDebug::Show() {
  form_->Show();
}

void QVDebug::ShowCurrentScene() {
  CurScnLabel->SetCaption(PlainNum(target_.CurrentScene()) + ")");
}

std::string QVDebug::Load(double n) {
  std::string result;
  RunProcedure(boxes_, "Command1_Click", [&] {
    const int16_t count = target_.SceneCount();
    if (n >= 1 && n <= count) {
      const auto scene = static_cast<int16_t>(n);
      target_.LoadScene(scene);
      result = "Scene" + NumText(scene) + " loaded";
      LdScnResult->SetText(result);
      ShowCurrentScene();
    } else {
      result = "Scene # must be between 1 and" + NumText(count);
      LdScnResult->SetText(result);
    }
  });
  return result;
}

std::string QVDebug::Query(double n) {
  std::string result;
  RunProcedure(boxes_, "Command2_Click", [&] {
    if (n >= 1 && n <= 255) {
      const auto flag = static_cast<int16_t>(n);
      result = "Flag" + NumText(flag) + " = " + PlainNum(target_.Flag(flag));
    } else {
      result = "Flag # must be between 1 and 255";
    }
    QFlagResult->SetText(result);
  });
  return result;
}

std::string QVDebug::Set(double n, double value) {
  std::string result;
  RunProcedure(boxes_, "SetFlagbtn_Click", [&] {
    if (n >= 1 && n <= 255) {
      const auto flag = static_cast<int16_t>(n);
      const int16_t v = ToInt16(value);
      target_.SetFlag(flag, v);
      result = "Flag" + NumText(flag) + " set to" + NumText(v);
    } else {
      result = "Flag # must be between 1 and 255";
    }
    SetFlgResult->SetText(result);
  });
  return result;
}

std::string QVDebug::Give(double n) {
  std::string result;
  RunProcedure(boxes_, "Command4_Click", [&] {
    const int16_t count = target_.InvCount();
    if (n < 1 || n > count) {
      result = "Item # must be between 1 and" + NumText(count);
    } else {
      const auto item = static_cast<int16_t>(n);
      target_.AddInventoryItem(item);
      // Also when this very item took the last place.
      result = target_.ItemsHeld() == 16 ? "Inventory Limits Reached (16)"
                                         : "Item" + NumText(item) + " added to inventory";
    }
    GiveInvResult->SetText(result);
  });
  return result;
}

void QVDebug::Command1Click() {
  RunProcedure(boxes_, "Command1_Click", [&] { Load(ReadNumber(LdScn->Text())); });
}

void QVDebug::Command2Click() {
  RunProcedure(boxes_, "Command2_Click", [&] { Query(ReadNumber(QueryFlag->Text())); });
}

void QVDebug::SetFlagbtnClick() {
  RunProcedure(boxes_, "SetFlagbtn_Click", [&] {
    const double n = ReadNumber(SetFlg->Text());
    // The value is read only for a flag in range.
    const double value = n >= 1 && n <= 255 ? ReadNumber(SFValue->Text()) : 0;
    Set(n, value);
  });
}

void QVDebug::Command4Click() {
  RunProcedure(boxes_, "Command4_Click", [&] { Give(ReadNumber(GiveInv->Text())); });
}

void QVDebug::Command6Click() {
  RunProcedure(boxes_, "Command6_Click", [&] { target_.ClearInventory(); });
}

void QVDebug::ShowNotifyWindow() {
  if (target_.VerboseLog()) {
    notify_log_.NoWin().Show();
  } else if (notify_log_.Created()) {
    notify_log_.NoWin().Hide();
  }
}

void QVDebug::Command7Click() {
  RunProcedure(boxes_, "Command7_Click", [&] {
    form_->Hide();
    ShowNotifyWindow();
    target_.ShowMap();
  });
}

void QVDebug::Command5Click() {
  RunProcedure(boxes_, "Command5_Click", [&] {
    form_->Hide();
    ShowNotifyWindow();
  });
}

void QVDebug::Command3Click() {
  RunProcedure(boxes_, "Command3_Click", [&] {
    form_->Hide();
    target_.MinimizePlayer();
  });
}

void QVDebug::Check1Click() {
  target_.SetVerboseLog(Check1->Value() == 1);
}

}  // namespace qv::diag
