#include "screen/game_buttons.h"

#include "core/procedure.h"

namespace qv::screen {

namespace {

constexpr int16_t kEmptyHand = 99;

// A button shows a picture; replaced only when it shows another.
void ShowPicture(ui::Image& button, const platform::ImagePtr& picture) {
  if (picture && button.Picture() != picture) button.SetPicture(picture);
}

}  // namespace

GameButtons::GameButtons(GameScreen& screen, MessageBoxService& boxes, media::SoundChannels& sound,
                         const data::GeneralSettings& settings,
                         const engine::InventoryPort& inventory)
    : screen_(screen), boxes_(boxes), sound_(sound), settings_(settings), inventory_(inventory) {
  struct Wiring {
    ui::Image* button;
    int16_t code;
  };
  for (Wiring w :
       {Wiring{screen.MainMenuButtn, kMainMenuHover}, Wiring{screen.SaveGameButtn, kSaveHover},
        Wiring{screen.ExamineItem, kExamineHover}}) {
    w.button->on_mouse_move = [this, code = w.code](const ui::MouseArgs&) {
      ButtonMouseMove(code);
    };
    // The examine button's click is the close-up's.
    if (w.code != kExamineHover) w.button->on_click = [this, code = w.code] { ButtonClick(code); };
  }
}

void GameButtons::PlaySound(const data::SettingsSound& sound) {
  if (sound.file.empty()) return;
  sound_.PlayWAVQVX(sound.file, false, media::kButtonChannel, sound.pan, sound.volume);
}

void GameButtons::ButtonMouseMove(int16_t code) {
  GameScreen& screen = screen_;
  if (screen.BusyCursorShowing()) return;
  RunProcedure(boxes_, "Buttn_MouseMove", [&] {
    if (inventory_.HandSlot() == kEmptyHand) screen.ShowCursor(kDefaultCursor);
    // The button under the pointer lights up; the others show their normal pictures.
    ShowPicture(*screen.MainMenuButtn,
                code == kMainMenuHover ? screen.MainMenuHighlight : screen.MainMenuNormal);
    ShowPicture(*screen.SaveGameButtn,
                code == kSaveHover ? screen.SaveGameHighlight : screen.SaveGameNormal);
    ShowPicture(*screen.ExamineItem,
                code == kExamineHover ? screen.ExamineHighlight : screen.ExamineNormal);
    if (!settings_.hover.file.empty() && screen.LastHoverButton != code) {
      screen.LastHoverButton = code;
      PlaySound(settings_.hover);
    }
  });
}

void GameButtons::ButtonClick(int16_t code) {
  if (screen_.BusyCursorShowing()) return;
  RunProcedure(boxes_, "Buttn_Click", [&] { PlaySound(settings_.click); });
  const std::function<void()>& open = code == kMainMenuHover ? on_main_menu : on_save;
  if (open) {
    auto run = open;
    run();
  }
}

}  // namespace qv::screen
