#include "screen/game_screen.h"

#include <algorithm>
#include <string>

namespace qv::screen {

namespace {

constexpr platform::Rgb kBlack = platform::Rgb::FromHex(0x000000);
constexpr platform::Rgb kSilver = platform::Rgb::FromHex(0xC0C0C0);
constexpr platform::Rgb kWhite = platform::Rgb::FromHex(0xFFFFFF);

// Inventory bar: 16 cells of 42 x 42 pixels, one pixel apart, inside a 700 x 60 bar.
constexpr int kBarTop = kSceneHeight + 5;
constexpr int kItemSize = 42;
constexpr int kItemStep = 43;

// How long the cover stays after a scene is built, and a message on the message line.
constexpr int kBlockTimerMs = 50;
constexpr int kMsgTimerMs = 2000;

// The frame around the hovered inventory item: drawn only, never in the mouse's way.
class HighlightFrame : public ui::Control {
 public:
  using ui::Control::Control;

 protected:
  void PaintSelf(platform::Renderer& renderer, const platform::Rect& rect) override {
    ui::DrawFrame(renderer, rect, kWhite);
  }
};

// A button whose normal picture is known shows it (replaced only when it shows another).
void ShowNormalPicture(ui::Image& button, const platform::ImagePtr& normal) {
  if (normal && button.Picture() != normal) button.SetPicture(normal);
}

}  // namespace

GameScreen::GameScreen(ui::Desktop& desktop, media::PictureSource pictures,
                       const platform::BuiltinPictures& builtins)
    : main_(std::make_unique<ui::Form>(desktop, "Main")), builtins_(builtins) {
  ui::Form& main = *main_;
  platform::EventLoop& loop = desktop.loop();
  main.Move(0, 0, desktop.ScreenWidth(), desktop.ScreenHeight());
  main.SetBackColor(kBlack);
  main.SetVisible(false);

  Picture1 = &main.Create<ui::PictureBox>("Picture1");
  Picture1->SetBackColor(kBlack);
  ScnImg = &Picture1->Create<ui::PictureBox>("ScnImg");
  ScnImg->SetBackColor(kBlack);

  // Objects are children of the play area, placed in the scene picture's coordinates.
  for (int i = 1; i <= 20; ++i) {
    Animation[i] = &Picture1->Create<media::AnimatedPicture>("Animation", i, loop, pictures);
    Animation[i]->SetAutoSize(true);
    Animation[i]->SetVisible(false);
  }
  for (int i = 1; i <= 20; ++i) {
    NoGIF[i] = &Picture1->Create<ui::Image>("NoGIF", i);
    NoGIF[i]->SetStretch(true);
    NoGIF[i]->SetVisible(false);
  }
  for (int k = 1; k <= 4; ++k)
    Directionl[k] = &Picture1->Create<ui::Image>("Directionl", k);

  ConvBox = &Picture1->Create<ui::PictureBox>("ConvBox");
  ConvBox->SetBackColor(kBlack);
  ConvBox->SetBorder(true);
  ConvBox->SetVisible(false);
  for (int k = 1; k <= 5; ++k) {
    ConvText[k] = &ConvBox->Create<ui::Label>("ConvText", k);
    ConvText[k]->SetTransparent(true);
    ConvText[k]->SetAutoSize(true);
    ConvText[k]->SetForeColor(kSilver);
    ConvText[k]->SetVisible(false);
  }

  MsgStatus = &Picture1->Create<ui::PictureBox>("MsgStatus");
  MsgStatus->SetBackColor(kBlack);
  MsgStatus->SetBorder(true);
  MsgStatus->SetVisible(false);
  Msg = &MsgStatus->Create<ui::Label>("Msg");
  Msg->SetTransparent(true);
  Msg->SetForeColor(platform::Rgb::FromHex(0xFFFFFF));
  Msg->SetAlign(ui::Alignment::kCenter);

  Block = &Picture1->Create<ui::PictureBox>("Block");
  Block->SetBackColor(kBlack);
  Block->SetVisible(false);

  // Placeholder pictures: hidden holders whose pictures objects borrow.
  FNF = &main.Create<media::AnimatedPicture>("FNF", 0, loop, pictures);
  FNF->SetPicture(builtins.FNF());
  FNF->SetVisible(false);
  AniGIF1 = &main.Create<media::AnimatedPicture>("AniGIF1", 0, loop, pictures);
  AniGIF1->SetPicture(builtins.AniGIF1());
  AniGIF1->SetVisible(false);
  UnknownObject = &main.Create<media::AnimatedPicture>("UnknownObject", 0, loop, pictures);
  UnknownObject->SetPicture(builtins.UnknownObject());
  UnknownObject->SetVisible(false);

  InvBar = &Picture1->Create<ui::PictureBox>("InvBar");
  InvBar->SetBackColor(platform::Rgb::FromHex(0x202020));
  for (int s = 1; s <= 16; ++s) {
    invitem[s] = &InvBar->Create<ui::Image>("invitem", s);
    invitem[s]->SetStretch(true);
    invitem[s]->SetVisible(false);
  }
  ItemHiLite = &InvBar->Create<HighlightFrame>("ItemHiLite");
  ItemHiLite->SetReceivesMouse(false);
  ItemHiLite->SetVisible(false);
  FlashFixIcon = &main.Create<ui::Image>("FlashFixIcon");
  FlashFixIcon->SetVisible(false);

  // The panels lie on the play area, like the buttons.
  LargeScore = &Picture1->Create<ui::PictureBox>("LargeScore");
  LargeScore->SetBackColor(kBlack);
  LargeScore->SetBorder(true);
  Label1 = &LargeScore->Create<ui::Label>("Label1");
  CurrScore_Large = &LargeScore->Create<ui::Label>("CurrScore_Large");
  Label5 = &LargeScore->Create<ui::Label>("Label5");
  MaxScore_Large = &LargeScore->Create<ui::Label>("MaxScore_Large");
  SmallScore = &Picture1->Create<ui::PictureBox>("SmallScore");
  SmallScore->SetBackColor(kBlack);
  SmallScore->SetBorder(true);
  Label2 = &SmallScore->Create<ui::Label>("Label2");
  CurrScore_Small = &SmallScore->Create<ui::Label>("CurrScore_Small");
  Label3 = &SmallScore->Create<ui::Label>("Label3");
  MaxScore_Small = &SmallScore->Create<ui::Label>("MaxScore_Small");
  for (ui::Label* label : {Label1, CurrScore_Large, Label5, MaxScore_Large, Label2, CurrScore_Small,
                           Label3, MaxScore_Small}) {
    label->SetTransparent(true);
    label->SetForeColor(kSilver);
  }
  // The fixed texts let the pointer through to their panel.
  for (ui::Label* label : {Label1, Label2, Label5, Label3})
    label->SetReceivesMouse(false);
  for (ui::Label* label : {Label1, Label2})
    label->SetCaption("Score:");
  for (ui::Label* label : {Label5, Label3})
    label->SetCaption("/");
  for (ui::Label* label : {CurrScore_Large, CurrScore_Small, MaxScore_Large, MaxScore_Small})
    label->SetCaption("0");
  platform::FontChoice large_font = CurrScore_Large->Font();
  large_font.size_px = 18;
  large_font.bold = true;
  for (ui::Label* label : {CurrScore_Large, Label5, MaxScore_Large})
    label->SetFont(large_font);
  LargeScore->SetVisible(false);
  SmallScore->SetVisible(false);

  Command1 = &Picture1->Create<ui::CommandButton>("Command1");
  Command1->SetCaption("Debug");
  Command1->SetVisible(false);
  Command2 = &Picture1->Create<ui::CommandButton>("Command2");
  Command2->SetCaption("MAP");
  Command2->SetVisible(false);
  MainMenuButtn = &Picture1->Create<ui::Image>("MainMenuButtn");
  SaveGameButtn = &Picture1->Create<ui::Image>("SaveGameButtn");
  ExamineItem = &Picture1->Create<ui::Image>("ExamineItem");
  // Picture holders: never shown; a loaded picture gives its button the normal picture.
  auto holder = [&](const char* name, int index) {
    auto& control = main.Create<media::AnimatedPicture>(name, index, loop, pictures);
    control.SetVisible(false);
    return &control;
  };
  MMB_Resource = holder("MMB_Resource", 0);
  SGB_Resource = holder("SGB_Resource", 0);
  EI_Resource = holder("EI_Resource", 0);
  for (media::AnimatedPicture* resource : {MMB_Resource, SGB_Resource, EI_Resource}) {
    resource->on_picture_loaded = [this, &loop] {
      TakeButtonPictures();
      loop.DoEvents();
    };
  }
  for (int k = 1; k <= 5; ++k)
    ButtnDefault[k] = holder("ButtnDefault", k);

  // The timers start switched off; their intervals as designed.
  BlockTimer = std::make_unique<ui::Timer>(loop.timers(), "BlockTimer");
  BlockTimer->SetEnabled(false);
  BlockTimer->SetInterval(kBlockTimerMs);
  BlockTimer->SetTransient(true);  // a scene is not ready for the player until it ticks
  MsgTimer = std::make_unique<ui::Timer>(loop.timers(), "MsgTimer");
  MsgTimer->SetEnabled(false);
  MsgTimer->SetInterval(kMsgTimerMs);
  MsgTimer->on_tick = [this] {
    MsgTimer->SetEnabled(false);
    MsgStatus->SetVisible(false);
  };

  for (int k = 1; k <= 15; ++k) {
    const auto& cursor = builtins.Cursor(k);
    SetCursorPicture(k, cursor.picture, cursor.hot_x, cursor.hot_y);
  }
  Layout();
}

GameScreen::~GameScreen() = default;

void GameScreen::Layout() {
  Picture1->Move(0, 0, kPlayWidth, kPlayHeight);
  ScnImg->Move(0, 0, kSceneWidth, kSceneHeight);
  MsgStatus->Move(0, 0, 240, 40);
  Msg->Move(0, 10, MsgStatus->Width(), 20);
  for (int s = 1; s <= 16; ++s) {
    invitem[s]->Move(6 + (s - 1) * kItemStep, 9, kItemSize, kItemSize);
  }
  ItemHiLite->Move(invitem[1]->Left() - 1, invitem[1]->Top(), kItemSize + 2, kItemSize + 1);
  LargeScore->Move(kSceneWidth + 5, 10, 90, 60);
  Label1->Move(6, 4, 80, 18);
  CurrScore_Large->Move(6, 26, 36, 26);
  Label5->Move(42, 26, 10, 26);
  MaxScore_Large->Move(52, 26, 36, 26);
  SmallScore->Move(kSceneWidth + 5, 10, 90, 40);
  Label2->Move(6, 2, 80, 18);
  CurrScore_Small->Move(6, 19, 36, 18);
  Label3->Move(42, 19, 10, 18);
  MaxScore_Small->Move(52, 19, 36, 18);
  Command1->Move(kSceneWidth + 5, kBarTop - 30, 44, 24);
  Command2->Move(kSceneWidth + 51, kBarTop - 30, 44, 24);
  MainMenuButtn->Move(kSceneWidth + 5, kBarTop, 90, 30);
  SaveGameButtn->Move(kSceneWidth + 5, kBarTop + 35, 90, 30);
  ExamineItem->Move(kSceneWidth + 5, kBarTop + 70, 90, 30);
  InvBar->Move(0, kBarTop, kSceneWidth, 60);
  PlaceAroundScene();
}

void GameScreen::KeepInside(ui::Control& control, int width, int height) {
  const int w = std::clamp(control.Width(), 0, width);
  const int h = std::clamp(control.Height(), 0, height);
  control.Move(std::clamp(control.Left(), 0, width - w), std::clamp(control.Top(), 0, height - h),
               w, h);
}

void GameScreen::PlaceAroundScene() {
  KeepInside(*ScnImg, kPlayWidth, kPlayHeight);
  // The cover lies over the scene picture.
  Block->Move(ScnImg->Left(), ScnImg->Top(), ScnImg->Width(), ScnImg->Height());
  MsgStatus->Move(ScnImg->Width() / 2 - MsgStatus->Width() / 2,
                  ScnImg->Height() / 2 - MsgStatus->Height() / 2);
  // The conversation box stands at the scene picture's right edge, from 343 down.
  const int conv_top = std::min(343, std::max(ScnImg->Height() - 60, 0));
  ConvBox->Move(ScnImg->Width() - 156, conv_top, 156, std::max(ScnImg->Height() - conv_top, 60));
  for (int k = 1; k <= 5; ++k)
    ConvText[k]->Move(77, 8 + (k - 1) * 24);
  for (ui::Control* control :
       {static_cast<ui::Control*>(ConvBox), static_cast<ui::Control*>(InvBar),
        static_cast<ui::Control*>(LargeScore), static_cast<ui::Control*>(SmallScore),
        static_cast<ui::Control*>(MainMenuButtn), static_cast<ui::Control*>(SaveGameButtn),
        static_cast<ui::Control*>(ExamineItem)}) {
    KeepInside(*control, kPlayWidth, kPlayHeight);
  }
}

void GameScreen::FormLoad() {
  Block->Move(ScnImg->Left(), ScnImg->Top(), kSceneWidth, kSceneHeight);
  Picture1->Move(0, 0);
  const int screen_w = main_->Width();
  const int screen_h = main_->Height();
  if (screen_w > 800) {
    Picture1->Move((screen_w - Picture1->Width()) / 2, (screen_h - Picture1->Height()) / 2);
  }
  ShowCursor(kDefaultCursor);
  MsgStatus->Move(ScnImg->Width() / 2 - MsgStatus->Width() / 2,
                  ScnImg->Height() / 2 - MsgStatus->Height() / 2);
  ConvBox->SetTop(343);
}

void GameScreen::NarrowScorePanel(ui::PictureBox& panel) {
  const bool large = &panel == LargeScore;
  (large ? Label5 : Label3)->SetVisible(false);
  (large ? MaxScore_Large : MaxScore_Small)->SetVisible(false);
  panel.SetWidth(48);
}

void GameScreen::TakeButtonPictures() {
  MainMenuNormal = MMB_Resource->FramePicture(1);
  MainMenuHighlight = MMB_Resource->FramePicture(0);
  SaveGameNormal = SGB_Resource->FramePicture(1);
  SaveGameHighlight = SGB_Resource->FramePicture(0);
  ExamineNormal = EI_Resource->FramePicture(1);
  ExamineHighlight = EI_Resource->FramePicture(2);
  ShowNormalButtons();
}

void GameScreen::ShowMessage(const std::string& text) {
  Msg->SetCaption(text);
  MsgStatus->SetVisible(true);
  // A new message gets its whole time on screen, even while an earlier one shows.
  MsgTimer->SetEnabled(false);
  MsgTimer->SetEnabled(true);
}

void GameScreen::ShowScore(const std::string& score) {
  CurrScore_Large->SetCaption(score);
  CurrScore_Small->SetCaption(score);
}

void GameScreen::DisableGameButtons() {
  SaveGameButtn->SetEnabled(false);
  InvBar->SetEnabled(false);
  ExamineItem->SetEnabled(false);
}

void GameScreen::HideGameScreen() {
  main_->Hide();
  main_->SetTopMost(false);
}

void GameScreen::ShowNormalButtons() {
  ShowNormalPicture(*MainMenuButtn, MainMenuNormal);
  ShowNormalPicture(*SaveGameButtn, SaveGameNormal);
  ShowNormalExamineButton();
}

void GameScreen::ShowNormalExamineButton() {
  ShowNormalPicture(*ExamineItem, ExamineNormal);
}

void GameScreen::SetCursorPicture(int number, platform::PicturePtr picture, int hot_x, int hot_y) {
  Cursor& cursor = cursors_.at(static_cast<size_t>(number));
  cursor = {std::move(picture), hot_x, hot_y};
  if (number == current_cursor_) {
    current_cursor_ = 0;
    ShowCursor(number);
  }
}

void GameScreen::ShowPictureCursor(const platform::ImagePtr& picture) {
  if (current_cursor_ == 0 && picture_cursor_ == picture) return;
  current_cursor_ = 0;
  picture_cursor_ = picture;
  const int hot_x = picture ? picture->width() / 2 : 0;
  const int hot_y = picture ? picture->height() / 2 : 0;
  main_->SetMouseIcon(picture, hot_x, hot_y);
  main_->SetMousePointer(ui::kPointerCustom);
}

void GameScreen::ShowCursor(int number) {
  if (number < 1 || number > 15) Raise(kErrSubscript);
  if (number == current_cursor_) return;
  current_cursor_ = number;
  picture_cursor_.reset();
  const Cursor& cursor = cursors_[static_cast<size_t>(number)];
  platform::ImagePtr image;
  if (cursor.picture && !cursor.picture->frames.empty()) image = cursor.picture->frames.front();
  main_->SetMouseIcon(image, cursor.hot_x, cursor.hot_y);
  main_->SetMousePointer(ui::kPointerCustom);
}

void GameScreen::ShowBuiltinCursor(int number) {
  const platform::CursorPicture& builtin = builtins_.Cursor(number);
  const Cursor& cursor = cursors_[static_cast<size_t>(number)];
  if (cursor.picture == builtin.picture) {
    ShowCursor(number);
    return;
  }
  const platform::ImagePtr image = builtin.picture && !builtin.picture->frames.empty()
                                       ? builtin.picture->frames.front()
                                       : nullptr;
  if (current_cursor_ == 0 && picture_cursor_ == image) return;
  current_cursor_ = 0;
  picture_cursor_ = image;
  main_->SetMouseIcon(image, builtin.hot_x, builtin.hot_y);
  main_->SetMousePointer(ui::kPointerCustom);
}

void GameScreen::ShowCursorOn(ui::Form& form, int number) const {
  if (number < 1 || number > 15) Raise(kErrSubscript);
  const Cursor& cursor = cursors_[static_cast<size_t>(number)];
  platform::ImagePtr image;
  if (cursor.picture && !cursor.picture->frames.empty()) image = cursor.picture->frames.front();
  form.SetMouseIcon(image, cursor.hot_x, cursor.hot_y);
  form.SetMousePointer(ui::kPointerCustom);
}

}  // namespace qv::screen
