#include "screen/closeup.h"

#include <algorithm>

#include "core/procedure.h"
#include "core/text.h"
#include "media/sound_channels.h"

namespace qv::screen {

namespace {

constexpr platform::Rgb kBlack = platform::Rgb::FromHex(0x000000);
constexpr platform::Rgb kSilver = platform::Rgb::FromHex(0xC0C0C0);

// The window of the fixed size, in twips, and the room a sized window leaves around its
// picture.
constexpr int kFixedWindowWidthTwips = 4100;
constexpr int kFixedWindowHeightTwips = 4410;
constexpr int kMarginWidthTwips = 650;
constexpr int kMarginHeightTwips = 510;
// The picture's corner in the window, and the close button's size.
constexpr int kImageLeft = 21;
constexpr int kImageTop = 26;
constexpr int kCloseSize = 18;

}  // namespace

Closeup::Closeup(CloseupServices services, engine::Engine& engine, Inventory& inventory)
    : s_(services),
      engine_(engine),
      inventory_(inventory),
      form_(std::make_unique<ui::Form>(services.desktop, "Closeup")) {
  ui::Form& form = *form_;
  form.SetVisible(false);
  form.SetBackColor(kBlack);
  form.MoveTwips(0, 0, kFixedWindowWidthTwips, kFixedWindowHeightTwips);
  ClsUpImg = &form.Create<media::AnimatedPicture>("ClsUpImg", 0, services.desktop.loop(),
                                                  services.pictures);
  ClsUpImg->Move(kImageLeft, kImageTop, kFixedWidth, kFixedHeight);
  ClsUpImg->on_picture_loaded = [this] { inventory_.CloseupLoaded = true; };
  Block = &form.Create<ui::PictureBox>("Block");
  Block->SetBackColor(kBlack);
  ClsCapt = &form.Create<ui::Label>("ClsCapt");
  ClsCapt->SetTransparent(true);
  ClsCapt->SetForeColor(kSilver);
  ClsCapt->Move(kImageLeft, 4, kFixedWidth, 20);
  Command1 = &form.Create<ui::CommandButton>("Command1");
  Command1->SetCaption("X");
  Command1->on_click = [this] { Command1Click(); };
  Dummy = &form.Create<ui::CommandButton>("Dummy");
  StartUpDelay = std::make_unique<ui::Timer>(services.desktop.loop().timers(), "StartUpDelay");
  StartUpDelay->SetEnabled(false);
  StartUpDelay->SetInterval(kStartUpDelayMs);
  StartUpDelay->on_tick = [this] { StartUpDelayTick(); };

  form.on_load = [this] { form_->CenterOnScreen(); };
  form.on_activate = [this] { Activate(); };
  form.on_key_down = [this](ui::KeyArgs& args) {
    if (args.key != platform::Key::kEscape) return;
    args.handled = true;
    Command1Click();
  };
  services.screen.ExamineItem->on_click = [this] { ExamineItemClick(); };
  inventory.prepare_closeup = [this](int16_t slot) { PrepareCloseup(slot, "invitem_MouseDown"); };
}

Closeup::~Closeup() = default;

void Closeup::ConfigureImage(bool loaded) {
  if (SizedToPicture()) {
    ClsUpImg->SetAutoSize(true);
    // Before loading the picture is stretched, afterwards drawn at its own size.
    ClsUpImg->SetSizeMode(loaded ? 0 : -1);
  } else {
    ClsUpImg->SetAutoSize(false);
    ClsUpImg->SetSizeMode(1);
    ClsUpImg->Move(kImageLeft, kImageTop, kFixedWidth, kFixedHeight);
  }
}

void Closeup::PrepareCloseup(int16_t slot, const char* procedure) {
  platform::EventLoop& loop = s_.desktop.loop();
  inventory_.CloseupLoaded = false;
  const std::string file = inventory_.Slots[slot].CloseupFile;
  ConfigureImage(false);
  loop.DoEvents();
  const data::GameFolder& folder = s_.pictures.folder;
  const std::string path = folder.AppPath() + "resource\\gfx\\" + file;
  bool loading = false;
  if (!file.empty() && folder.FileExists(path)) {
    // A picture that is there but cannot be shown is reported; either way the window
    // has nothing to wait for.
    loading = RunProcedure(engine_.services().boxes, procedure, [&] { ClsUpImg->Load(path); });
  }
  if (!loading) {
    ClsUpImg->SetPicture(nullptr);
    inventory_.CloseupLoaded = true;
  }
  loop.DoEvents();
  ConfigureImage(true);
  inventory_.PreparedCloseupSlot = slot;
}

void Closeup::ExamineItemClick() {
  if (s_.screen.BusyCursorShowing()) return;
  const int16_t hand = inventory_.HandSlot();
  if (hand == Inventory::kEmptyHand) return;
  engine::EngineServices& s = engine_.services();
  RunProcedure(s.boxes, "ExamineItem_Click", [&] {
    const ItemSlot item = inventory_.Slots[hand];
    engine_.Progress("Examine Item #" + PlainNum(item.Item));
    const data::SettingsSound& click = s_.settings.click;
    if (!click.file.empty()) {
      s.sound.PlayWAVQVX(click.file, false, media::kButtonChannel, click.pan, click.volume);
    }
    switch (item.ExamineMode) {
      case 0:
        if (!item.ExamineSound.empty()) {
          s.sound.PlayWAVQVX(item.ExamineSound, false, media::kDialogueChannel, item.ExaminePan,
                             item.ExamineVolume);
        }
        ExamineEffects(item, hand);
        break;
      case 1:
        ShowCloseup(item, hand);
        ExamineEffects(item, hand);
        break;
      default:
        break;  // nothing at all
    }
  });
}

void Closeup::ShowCloseup(const ItemSlot& item, int16_t slot) {
  GameScreen& screen = s_.screen;
  screen.ShowCursor(kBusyCursor);
  s_.desktop.loop().DoEvents();
  ClsCapt->SetCaption(item.ItemName);
  mode_ = item.CloseupMode;
  sound_ = item.ExamineSound;
  volume_ = item.ExamineVolume;
  pan_ = item.ExaminePan;
  // The item turned into another since its picture was loaded: load the new one.
  if (inventory_.PreparedCloseupSlot != slot) PrepareCloseup(slot, "ExamineItem_Click");
  s_.desktop.loop().WaitUntil([this] { return inventory_.CloseupLoaded; },
                              "the close-up picture to load");
  SizeWindow();
  Block->SetVisible(true);
  form_->CenterOnScreen();
  form_->ShowModal();
  // Closed before its animation started: the busy cursor must not stay.
  if (screen.BusyCursorShowing()) {
    screen.ShowPictureCursor(screen.FlashFixIcon->Picture());
  }
}

void Closeup::SizeWindow() {
  ui::Form& form = *form_;
  int close_left = 272;
  if (SizedToPicture()) {
    form.MoveTwips(0, 0, ClsUpImg->PictureWidth() * 15 + kMarginWidthTwips,
                   ClsUpImg->PictureHeight() * 15 + kMarginHeightTwips);
    close_left = form.Width() - 20;
    Block->Move(ClsUpImg->Left(), ClsUpImg->Top(), ClsUpImg->PictureWidth(),
                ClsUpImg->PictureHeight());
  } else {
    form.MoveTwips(0, 0, kFixedWindowWidthTwips, kFixedWindowHeightTwips);
    Block->Move(ClsUpImg->Left(), ClsUpImg->Top(), ClsUpImg->Width(), ClsUpImg->Height());
  }
  // A picture larger than the screen makes a window as large as the screen, no larger.
  form.Move(0, 0, std::min(form.Width(), s_.desktop.ScreenWidth()),
            std::min(form.Height(), s_.desktop.ScreenHeight()));
  // The close button stays inside the window, where it can be clicked.
  close_left = std::clamp(close_left, 0, std::max(0, form.ClientWidth() - kCloseSize));
  Command1->Move(close_left, 3, kCloseSize, kCloseSize);
  Dummy->Move(close_left, 3, 0, 0);
}

void Closeup::Activate() {
  if (mode_ == 1 || mode_ == 2) ClsUpImg->SetPlayOnce(mode_ == 1 ? 0 : 1);
  ClsUpImg->SetCurrentFrame(0);
  s_.desktop.loop().DoEvents();
  StartUpDelay->SetEnabled(true);
}

void Closeup::StartUpDelayTick() {
  StartUpDelay->SetEnabled(false);
  s_.screen.ShowCursor(kDefaultCursor);
  s_.screen.ShowCursorOn(*form_, kDefaultCursor);
  Dummy->SetFocus();
  if (mode_ != 1 && mode_ != 2) return;
  Block->SetVisible(false);
  ClsUpImg->Start();
  if (!sound_.empty()) {
    engine_.services().sound.PlayWAVQVX(sound_, mode_ == 1, media::kDialogueChannel, pan_, volume_);
  }
}

void Closeup::Command1Click() {
  // A window closed before its animation started never starts it.
  StartUpDelay->SetEnabled(false);
  engine_.services().sound.StopWav(media::kDialogueChannel);
  ClsUpImg->Stop();
  engine_.Progress("Examine Window Closed");
  form_->Hide();
}

void Closeup::ExamineEffects(const ItemSlot& item, int16_t slot) {
  engine::EngineServices& s = engine_.services();
  if (item.ExamineAddsLocation == 1 && item.ExamineLocation >= 1 && item.ExamineLocation <= 20) {
    s.map.AddMapLocation(item.ExamineLocation);
  }
  if (item.ExamineChangesFlag == 1 && item.ExamineFlag > 0) {
    engine_.ChangeFlag(item.ExamineFlag, item.ExamineFlagValue, item.ExamineFlagOp);
    // The flag change ended the game, or put the item down: nothing is left to replace.
    if (engine_.GameEnded() || inventory_.HandSlot() != slot) return;
  }
  if (item.ExamineGivesItem == 1 && item.ExamineItemGiven != 0) {
    inventory_.AddInventoryItem(item.ExamineItemGiven, true, slot);
    // The close-up loaded is the old item's: the next examine loads the new one's.
    inventory_.PreparedCloseupSlot = 0;
  }
}

}  // namespace qv::screen
