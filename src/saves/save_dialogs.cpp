#include "saves/save_dialogs.h"

#include <algorithm>
#include <set>
#include <string>
#include <vector>

#include "core/procedure.h"
#include "core/text.h"
#include "data/game_folder.h"

namespace qv::saves {

namespace {

namespace fs = std::filesystem;

constexpr platform::Rgb kBlack = platform::Rgb::FromHex(0x000000);
constexpr platform::Rgb kPale = platform::Rgb::FromHex(0xC8D0E8);
constexpr platform::Rgb kWarning = platform::Rgb::FromHex(0xFFD040);
constexpr int kListLeft = 20;
constexpr int kListTop = 50;
constexpr int kListWidth = 170;
constexpr int kListHeight = 185;
constexpr int kRightLeft = 205;
constexpr int kRightWidth = 175;
constexpr int kButtonTop = 250;

ui::Label& MakeLabel(ui::Form& parent, const char* name, int left, int top, int width, int height) {
  ui::Label& label = parent.Create<ui::Label>(name);
  label.SetTransparent(true);
  label.SetForeColor(kPale);
  label.SetWordWrap(true);
  label.Move(left, top, width, height);
  return label;
}

// The frame both windows share: a black form centred on the screen, its caption at the top
// and the list of saved games on the left.
template <class Window>
ui::Form& BuildFrame(ui::Desktop& desktop, Window& window, const char* form_name,
                     const char* caption) {
  window.form = std::make_unique<ui::Form>(desktop, form_name);
  ui::Form& form = *window.form;
  form.SetBackColor(kBlack);
  form.Move(0, 0, SaveDialogs::kWidth, SaveDialogs::kHeight);
  form.on_load = [&form] { form.CenterOnScreen(); };
  window.FCaption = &MakeLabel(form, "FCaption", 0, 12, SaveDialogs::kWidth, 24);
  window.FCaption->SetCaption(caption);
  window.FCaption->SetAlign(ui::Alignment::kCenter);
  window.File1 = &form.Create<SavedFileList>("File1");
  window.File1->Move(kListLeft, kListTop, kListWidth, kListHeight);
  return form;
}

}  // namespace

void SavedFileList::RefreshWith(const std::optional<fs::path>& other) {
  Refresh();
  if (!other) return;
  std::vector<std::string> names;
  std::set<std::string> listed;
  for (int i = 0; i < ListCount(); ++i) {
    names.push_back(List(i));
    listed.insert(LowerAscii(List(i)));
  }
  FileListBox extra("extra");
  std::error_code ec;
  if (!fs::is_directory(*other, ec)) return;
  extra.SetPattern(Pattern());
  extra.SetPath(*other);
  for (int i = 0; i < extra.ListCount(); ++i) {
    if (listed.insert(LowerAscii(extra.List(i))).second) names.push_back(extra.List(i));
  }
  std::sort(names.begin(), names.end(), [](const std::string& a, const std::string& b) {
    const std::string la = LowerAscii(a);
    const std::string lb = LowerAscii(b);
    return la != lb ? la < lb : a < b;
  });
  if (static_cast<int>(names.size()) > kCapacity) names.resize(kCapacity);
  ReplaceItems(std::move(names));
}

SaveDialogs::SaveDialogs(DialogServices services) : s_(services) {
  BuildSaveGame();
  BuildLoadGame();
}

SaveDialogs::~SaveDialogs() = default;

std::unique_ptr<ui::Timer> SaveDialogs::MessageTimer(ui::Label& message) {
  auto timer = std::make_unique<ui::Timer>(s_.loop.timers(), "MsgTimer");
  timer->SetEnabled(false);
  timer->SetInterval(kMessageMs);
  ui::Timer* self = timer.get();
  timer->on_tick = [self, &message] {
    self->SetEnabled(false);
    message.SetVisible(false);
  };
  return timer;
}

void SaveDialogs::BuildButtons(ui::Form& form, ui::Image*& ok, ui::Image*& cancel) {
  ok = &form.Create<ui::Image>("ButtnOK");
  ok->Move(kWidth / 2 - shell::kDialogButtonWidth - 20, kButtonTop, shell::kDialogButtonWidth,
           shell::kDialogButtonHeight);
  cancel = &form.Create<ui::Image>("ButtnC");
  cancel->Move(kWidth / 2 + 20, kButtonTop, shell::kDialogButtonWidth, shell::kDialogButtonHeight);
  ui::Image& o = *ok;
  ui::Image& c = *cancel;
  o.on_mouse_move = [this, &o, &c](const ui::MouseArgs&) { ButtonMouseMove(o, c, true); };
  c.on_mouse_move = [this, &o, &c](const ui::MouseArgs&) { ButtonMouseMove(o, c, false); };
  form.on_mouse_move = [this, &o, &c](const ui::MouseArgs&) { ElsewhereMouseMove(o, c); };
}

void SaveDialogs::BuildSaveGame() {
  ui::Form& form = BuildFrame(s_.desktop, save_, "SaveGame", "SAVE GAME");
  save_.Text1 = &form.Create<ui::TextBox>("Text1");
  save_.Text1->Move(kRightLeft, 70, kRightWidth, 22);
  save_.Text1->SetText("Filename");
  save_.Text2 = &form.Create<ui::TextBox>("Text2");
  save_.Text2->Move(kRightLeft, 120, kRightWidth, 22);
  save_.Text2->SetText("Game Description");
  save_.Text2->SetMaxLength(50);
  save_.Label1 = &MakeLabel(form, "Label1", kRightLeft, 160, kRightWidth, 40);
  save_.Label1->SetCaption("Please enter a filename!");
  save_.Label1->SetForeColor(kWarning);
  save_.Label1->SetVisible(false);
  save_.MsgTimer = MessageTimer(*save_.Label1);
  BuildButtons(form, save_.ButtnOK, save_.ButtnC);
  ui::Image& ok = *save_.ButtnOK;
  ui::Image& cancel = *save_.ButtnC;
  for (ui::Control* control : std::initializer_list<ui::Control*>{
           save_.File1, save_.Text1, save_.Text2, save_.Label1, save_.FCaption}) {
    control->on_mouse_move = [this, &ok, &cancel](const ui::MouseArgs&) {
      ElsewhereMouseMove(ok, cancel);
    };
  }
  for (ui::TextBox* box : {save_.Text1, save_.Text2})
    box->on_got_focus = [box] { box->SelectAll(); };
  save_.File1->on_click = [this] { SaveFileClick(); };
  ok.on_click = [this] { SaveOkClick(); };
  cancel.on_click = [this] { SaveCancelClick(); };
  form.on_activate = [this] { SaveActivate(); };
}

void SaveDialogs::BuildLoadGame() {
  ui::Form& form = BuildFrame(s_.desktop, load_, "LoadGame", "LOAD SAVED GAME");
  load_.Label1 = &MakeLabel(form, "Label1", kRightLeft, 60, kRightWidth, 80);
  load_.Label2 = &MakeLabel(form, "Label2", kRightLeft, 150, kRightWidth, 20);
  load_.Label3 = &MakeLabel(form, "Label3", kRightLeft, 172, kRightWidth, 20);
  load_.Label4 = &MakeLabel(form, "Label4", kRightLeft, 200, kRightWidth, 40);
  load_.Label4->SetCaption("Please choose a file!");
  load_.Label4->SetForeColor(kWarning);
  load_.Label4->SetVisible(false);
  load_.MsgTimer = MessageTimer(*load_.Label4);
  BuildButtons(form, load_.ButtnOK, load_.ButtnC);
  ui::Image& ok = *load_.ButtnOK;
  ui::Image& cancel = *load_.ButtnC;
  for (ui::Control* control : std::initializer_list<ui::Control*>{
           load_.File1, load_.Label1, load_.Label2, load_.Label3, load_.Label4, load_.FCaption}) {
    control->on_mouse_move = [this, &ok, &cancel](const ui::MouseArgs&) {
      ElsewhereMouseMove(ok, cancel);
    };
  }
  load_.File1->on_click = [this] { LoadFileClick(); };
  ok.on_click = [this] { LoadOkClick(); };
  cancel.on_click = [this] { LoadCancelClick(); };
  form.on_activate = [this] { LoadActivate(); };
}

void SaveDialogs::ShowSaveGame() {
  s_.games.TakeSaveSnapshot();
  save_.form->ShowModal();
}

void SaveDialogs::ShowLoadGame() {
  load_.form->ShowModal();
}

void SaveDialogs::NormalButtons(ui::Image& ok, ui::Image& cancel) {
  const platform::ImagePtr ok_normal = s_.shell.OK_Resource->FramePicture(1);
  const platform::ImagePtr cancel_normal = s_.shell.Cancel_Resource->FramePicture(1);
  if (ok.Picture() != ok_normal) ok.SetPicture(ok_normal);
  if (cancel.Picture() != cancel_normal) cancel.SetPicture(cancel_normal);
}

void SaveDialogs::UseBackground(ui::Form& form, ui::Label& caption,
                                const ui::PictureBox& background) {
  form.SetPicture(background.Picture());
  caption.SetVisible(background.Picture() == nullptr);
}

void SaveDialogs::HoverSound(int16_t code) {
  int16_t& last = s_.screen.LastHoverButton;
  const data::SettingsSound& hover = s_.settings.hover;
  if (hover.file.empty() || last == code) return;
  last = code;
  s_.sound.PlayWAVQVX(hover.file, false, media::kButtonChannel, hover.pan, hover.volume);
}

void SaveDialogs::ClickSound() {
  const data::SettingsSound& click = s_.settings.click;
  if (click.file.empty()) return;
  s_.sound.PlayWAVQVX(click.file, false, media::kButtonChannel, click.pan, click.volume);
}

void SaveDialogs::ButtonMouseMove(ui::Image& ok, ui::Image& cancel, bool over_ok) {
  RunProcedure(s_.boxes, over_ok ? "ButtnOK_MouseMove" : "ButtnC_MouseMove", [&] {
    const platform::ImagePtr ok_picture = s_.shell.OK_Resource->FramePicture(over_ok ? 0 : 1);
    const platform::ImagePtr cancel_picture =
        s_.shell.Cancel_Resource->FramePicture(over_ok ? 1 : 0);
    if (ok.Picture() != ok_picture) ok.SetPicture(ok_picture);
    if (cancel.Picture() != cancel_picture) cancel.SetPicture(cancel_picture);
    HoverSound(over_ok ? kOkHover : kCancelHover);
  });
}

void SaveDialogs::ElsewhereMouseMove(ui::Image& ok, ui::Image& cancel) {
  NormalButtons(ok, cancel);
  s_.screen.LastHoverButton = kNoButton;
}

void SaveDialogs::SaveActivate() {
  RunProcedure(s_.boxes, "Form_Activate", [this] {
    save_.File1->SetPattern("*.sav");
    save_.File1->SetPath(s_.games.SavedFolder());
    save_.File1->Refresh();
    UseBackground(*save_.form, *save_.FCaption, *s_.shell.Save_BG);
    NormalButtons(*save_.ButtnOK, *save_.ButtnC);
    save_.Text2->SelectAll();
    save_.Text1->SelectAll();
    save_.Text1->SetFocus();
  });
}

void SaveDialogs::LoadActivate() {
  RunProcedure(s_.boxes, "Form_Activate", [this] {
    load_.LoadStarted = false;
    load_.Label1->SetCaption("");
    load_.Label2->SetCaption("");
    load_.Label3->SetCaption("");
    load_.File1->SetPattern("*.sav");
    load_.File1->SetPath(s_.games.SavedFolder());
    load_.File1->RefreshWith(s_.games.ReadOnlyFolder());
    UseBackground(*load_.form, *load_.FCaption, *s_.shell.Load_BG);
    NormalButtons(*load_.ButtnOK, *load_.ButtnC);
  });
}

void SaveDialogs::SaveFileClick() {
  RunProcedure(s_.boxes, "File1_Click", [this] {
    const std::string name = save_.File1->FileName();
    if (name.empty()) return;
    save_.Text1->SetText(name);
    s_.games.ReadSaveHeader(name);
    save_.Text2->SetText(s_.games.SaveSnapshot.HeaderDescription);
  });
}

void SaveDialogs::LoadFileClick() {
  RunProcedure(s_.boxes, "File1_Click", [this] {
    const std::string name = load_.File1->FileName();
    if (name.empty()) return;
    s_.games.ReadSaveHeader(name);
    const Snapshot& snapshot = s_.games.SaveSnapshot;
    load_.Label1->SetCaption(snapshot.HeaderDescription);
    load_.Label2->SetCaption(snapshot.HeaderDate);
    load_.Label3->SetCaption(snapshot.HeaderTime);
  });
}

void SaveDialogs::SaveOkClick() {
  RunProcedure(s_.boxes, "ButtnOK_Click", [this] {
    const std::string& typed = save_.Text1->Text();
    if (typed.empty() || LowerAscii(typed) == "filename") {
      save_.Label1->SetVisible(true);
      save_.MsgTimer->SetEnabled(true);
      return;
    }
    save_.Label1->SetVisible(false);
    save_.MsgTimer->SetEnabled(false);
    NormalButtons(*save_.ButtnOK, *save_.ButtnC);
    HoverSound(kCancelHover);
    std::string name = typed;
    if (s_.games.SaveGameFile(name, save_.Text2->Text())) {
      save_.form->Hide();
      s_.screen.Main().Show();
    }
  });
}

void SaveDialogs::SaveCancelClick() {
  RunProcedure(s_.boxes, "ButtnC_Click", [this] {
    save_.Label1->SetVisible(false);
    save_.MsgTimer->SetEnabled(false);
    ClickSound();
    save_.form->Hide();
    s_.screen.Main().Show();
  });
}

void SaveDialogs::LoadOkClick() {
  if (load_.LoadStarted) return;
  RunProcedure(s_.boxes, "ButtnOK_Click", [this] {
    if (load_.Label2->Caption().empty()) {
      load_.Label4->SetVisible(true);
      load_.MsgTimer->SetEnabled(true);
      return;
    }
    // The file is read and checked whole before anything stops or changes: a broken
    // file leaves the menu, its music and the dialog as they were.
    const data::SavedGameRecord record = s_.games.ReadSavedGame(load_.File1->FileName());
    load_.Label4->SetVisible(false);
    load_.MsgTimer->SetEnabled(false);
    NormalButtons(*load_.ButtnOK, *load_.ButtnC);
    HoverSound(kCancelHover);
    s_.sound.StopWav(media::kMenuMusicChannel);
    s_.music.StopMP3();
    s_.music.StopMIDI();
    s_.screen.LastHoverButton = kNoButton;
    load_.LoadStarted = true;
    NormalButtons(*load_.ButtnOK, *load_.ButtnC);
    load_.form->Hide();
    s_.games.RestoreSavedGame(record);
  });
}

void SaveDialogs::LoadCancelClick() {
  RunProcedure(s_.boxes, "ButtnC_Click", [this] {
    load_.Label4->SetVisible(false);
    load_.MsgTimer->SetEnabled(false);
    ClickSound();
    load_.form->Hide();
  });
}

}  // namespace qv::saves
