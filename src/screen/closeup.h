#pragma once
// Examining the item in hand: the game screen's `ExamineItem` button, and the close-up
// window `Closeup` that shows the item's animated close-up picture under its name. By
// the item's examine mode, examining plays the item's examine sound (0) or shows the
// close-up (1), and then runs the item's examine effects in order: a map location, a
// flag change (which runs the engine), and the item turning into another that stays in
// hand. Any other mode does nothing. An empty hand examines nothing, without even the
// button's click sound.
//
// The close-up picture is loaded when the item is picked up, so that the window opens
// at once; a picture that is not there leaves the window empty. The window is modal:
// the effects run once it has been closed (its close button, or Escape).

#include <cstdint>
#include <memory>
#include <string>

#include "data/general_settings.h"
#include "engine/engine.h"
#include "media/animated_picture.h"
#include "screen/game_screen.h"
#include "screen/inventory.h"
#include "ui/button.h"
#include "ui/form.h"
#include "ui/label.h"
#include "ui/picture_box.h"
#include "ui/timer.h"

namespace qv::screen {

// What the close-up works with; everything must outlive it.
struct CloseupServices {
  ui::Desktop& desktop;
  media::PictureSource pictures;
  GameScreen& screen;
  const data::GeneralSettings& settings;
};

class Closeup {
 public:
  // The close-up picture's place in a window of the fixed size.
  static constexpr int kFixedWidth = 230;
  static constexpr int kFixedHeight = 260;
  // How long the window waits before the animation starts.
  static constexpr int kStartUpDelayMs = 100;

  // Connects the `ExamineItem` button and the inventory's close-up preparation.
  Closeup(CloseupServices services, engine::Engine& engine, Inventory& inventory);
  ~Closeup();
  Closeup(const Closeup&) = delete;
  Closeup& operator=(const Closeup&) = delete;

  // The general settings' close-up sizing switch: off keeps the window at its fixed
  // size, on sizes it to the picture (never beyond the screen).
  bool SizedToPicture() const { return s_.settings.CloseupSizedToPicture(); }

  // Loads the close-up picture of the item in `slot`. `procedure` names the handler that
  // reports a picture that exists but cannot be shown.
  void PrepareCloseup(int16_t slot, const char* procedure);

  // The handlers.
  void ExamineItemClick();
  void Activate();
  void StartUpDelayTick();
  void Command1Click();

  ui::Form& form() { return *form_; }

  media::AnimatedPicture* ClsUpImg = nullptr;
  ui::Label* ClsCapt = nullptr;
  ui::CommandButton* Command1 = nullptr;
  ui::CommandButton* Dummy = nullptr;
  ui::PictureBox* Block = nullptr;
  std::unique_ptr<ui::Timer> StartUpDelay;

 private:
  void ConfigureImage(bool loaded);
  void ShowCloseup(const ItemSlot& item, int16_t slot);
  void SizeWindow();
  // The effects of examining `item`, held in `slot`.
  void ExamineEffects(const ItemSlot& item, int16_t slot);

  CloseupServices s_;
  engine::Engine& engine_;
  Inventory& inventory_;
  std::unique_ptr<ui::Form> form_;
  // Copied from the item when it is examined.
  int16_t mode_ = 0;
  std::string sound_;
  int32_t volume_ = 0;
  int32_t pan_ = 0;
};

}  // namespace qv::screen
