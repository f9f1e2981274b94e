#pragma once
// The game screen `Main`: the scene picture with its 20 object controls (animated and
// still), the four direction links, the cover shown while a scene is built, the
// conversation box, the inventory bar, the message line, the score panels and the
// picture buttons. The layout is designed for the 800 x 600 screen: the scene picture
// fills the top-left 700 x 475, the inventory bar lies below it and the buttons and the
// score to its right.

#include <array>
#include <cstdint>
#include <memory>
#include <string>

#include "core/vb_array.h"
#include "engine/screen_port.h"
#include "media/animated_picture.h"
#include "platform/event_loop.h"
#include "platform/pictures/builtin_pictures.h"
#include "ui/button.h"
#include "ui/desktop.h"
#include "ui/form.h"
#include "ui/label.h"
#include "ui/picture_box.h"
#include "ui/timer.h"

namespace qv::screen {

// The size of the scene picture area.
inline constexpr int kSceneWidth = 700;
inline constexpr int kSceneHeight = 475;

using engine::kBusyCursor;
using engine::kDefaultCursor;
using engine::kGoodieCursor;
using engine::kReactorCursor;
using engine::kSwitchCursor;

// LastHoverButton when the pointer is over no button (the scene, links, inventory), and
// the codes of the three picture buttons (the map window's closing also sets 98).
inline constexpr int16_t kNoHoverButton = 97;
inline constexpr int16_t kMainMenuHover = 98;
inline constexpr int16_t kSaveHover = 99;
inline constexpr int16_t kExamineHover = 100;

// The designed size of the play area: the whole window on an 800 x 600 screen.
inline constexpr int kPlayWidth = 800;
inline constexpr int kPlayHeight = 600;

class GameScreen : public engine::ScreenPort {
 public:
  GameScreen(ui::Desktop& desktop, media::PictureSource pictures,
             const platform::BuiltinPictures& builtins);
  ~GameScreen() override;
  GameScreen(const GameScreen&) = delete;
  GameScreen& operator=(const GameScreen&) = delete;

  ui::Form& Main() { return *main_; }

  // The window's load: the cover over the scene picture, the play area centred on a
  // screen wider than 800 pixels, the default cursor, the message line centred on the
  // scene picture and the conversation box's top.
  void FormLoad();
  // After the scene picture took a new size: the cover, the message line, the
  // conversation box, the inventory bar, the score and the buttons follow it, and every
  // control is kept inside the play area.
  void PlaceAroundScene();
  // Keeps a control of the play area inside it, shrinking it when it is larger.
  static void KeepInside(ui::Control& control, int width, int height);

  // The cursor pictures 1..15 (the game's own files or the built-in ones).
  void SetCursorPicture(int number, platform::PicturePtr picture, int hot_x, int hot_y);
  // Makes cursor `number` the screen's mouse icon (pointer mode custom). Setting the
  // cursor that already shows changes nothing.
  void ShowCursor(int number) override;
  // The cursor showing now (0 when the icon is not one of the 15).
  int CurrentCursor() const override { return current_cursor_; }
  // Makes a picture the mouse icon (an item's hand or highlighted picture), held by its
  // middle; CurrentCursor() becomes 0. Setting the picture that already shows changes
  // nothing.
  void ShowPictureCursor(const platform::ImagePtr& picture);
  // The picture ShowPictureCursor made the mouse icon (null while a numbered cursor shows).
  const platform::ImagePtr& PictureCursor() const { return picture_cursor_; }
  // Makes the player's own picture of cursor `number` (1..15) the mouse icon, whatever
  // picture the game gave that cursor: the direction links show these. While the game
  // keeps the player's picture, it counts as cursor `number`.
  void ShowBuiltinCursor(int number);
  // Makes cursor `number` the mouse icon of another of the game's windows (the map, the
  // menus, the dialogs).
  void ShowCursorOn(ui::Form& form, int number) const;

  // The normal pictures of the three picture buttons (the highlighted ones show while the
  // pointer is on a button). Null until the game's button pictures are read: a button
  // without one keeps whatever it shows.
  platform::ImagePtr MainMenuNormal;
  platform::ImagePtr SaveGameNormal;
  platform::ImagePtr ExamineNormal;
  // The pointer has left the buttons: each shows its normal picture again (replaced only
  // when it shows another). ShowNormalExamineButton does it for `ExamineItem` alone.
  void ShowNormalButtons();
  void ShowNormalExamineButton();
  // The pictures of a button's resource control: the normal one (frame 1) and the
  // highlighted one (frame 0; the examine button's frame 2).
  void TakeButtonPictures();
  platform::ImagePtr MainMenuHighlight;
  platform::ImagePtr SaveGameHighlight;
  platform::ImagePtr ExamineHighlight;

  // The message line ("Inventory Full", "MUSIC ON"): `text` in `Msg`, `MsgStatus` shown
  // centred on the scene picture until `MsgTimer` fires and hides it again.
  void ShowMessage(const std::string& text);

  // ---- what the engine asks of the screen
  media::AnimatedPicture& ObjectPicture(int16_t slot) override { return *Animation[slot]; }
  ui::Image& ObjectArea(int16_t slot) override { return *NoGIF[slot]; }
  void PlaceLink(int k, int left, int top, int width, int height) override {
    Directionl[k]->Move(left, top, width, height);
  }
  void SetScenePicture(const platform::ImagePtr& picture) override { ScnImg->SetPicture(picture); }
  platform::PicturePtr NotFoundPicture() const override { return FNF->Picture(); }
  platform::PicturePtr NoPicture() const override { return AniGIF1->Picture(); }
  platform::PicturePtr UnknownObjectPicture() const override { return UnknownObject->Picture(); }
  ui::PictureBox& ConversationBox() override { return *ConvBox; }
  ui::Label& ConversationLine(int k) override { return *ConvText[k]; }
  void ShowCover() override { Block->SetVisible(true); }
  void RemoveCoverSoon() override { BlockTimer->SetEnabled(true); }
  void ShowScore(const std::string& score) override;
  void DisableGameButtons() override;
  void HideGameScreen() override;

  ui::PictureBox* Picture1 = nullptr;
  ui::PictureBox* ScnImg = nullptr;
  ui::PictureBox* Block = nullptr;
  ui::PictureBox* ConvBox = nullptr;
  VbArray<ui::Label*, 0, 5> ConvText{};
  VbArray<media::AnimatedPicture*, 0, 20> Animation{};
  VbArray<ui::Image*, 0, 20> NoGIF{};
  // 1 up, 2 right, 3 down, 4 left.
  VbArray<ui::Image*, 0, 4> Directionl{};
  media::AnimatedPicture* FNF = nullptr;
  media::AnimatedPicture* AniGIF1 = nullptr;
  media::AnimatedPicture* UnknownObject = nullptr;
  ui::PictureBox* InvBar = nullptr;
  VbArray<ui::Image*, 0, 16> invitem{};
  // The frame around the inventory item under the pointer; the mouse passes through it.
  ui::Control* ItemHiLite = nullptr;
  // Hidden: holds the hand picture of the item in hand, the source of the mouse icon.
  ui::Image* FlashFixIcon = nullptr;
  ui::PictureBox* MsgStatus = nullptr;
  ui::Label* Msg = nullptr;
  ui::PictureBox* LargeScore = nullptr;
  ui::PictureBox* SmallScore = nullptr;
  // Large panel: "Score:", the current score, "/", the maximum; the small one alike.
  ui::Label* Label1 = nullptr;
  ui::Label* CurrScore_Large = nullptr;
  ui::Label* Label5 = nullptr;
  ui::Label* MaxScore_Large = nullptr;
  ui::Label* Label2 = nullptr;
  ui::Label* CurrScore_Small = nullptr;
  ui::Label* Label3 = nullptr;
  ui::Label* MaxScore_Small = nullptr;
  // A panel whose maximum score is 0 shows only "Score:" and the current score.
  void NarrowScorePanel(ui::PictureBox& panel);
  // The authors' buttons, shown in games built with debugging: "Debug" opens the debug
  // window, "MAP" the map, both beside the game.
  ui::CommandButton* Command1 = nullptr;
  ui::CommandButton* Command2 = nullptr;
  ui::Image* MainMenuButtn = nullptr;
  ui::Image* SaveGameButtn = nullptr;
  ui::Image* ExamineItem = nullptr;
  // Hidden holders of the button pictures: the game screen's three buttons and the main
  // menu's five (the general settings load them).
  media::AnimatedPicture* MMB_Resource = nullptr;
  media::AnimatedPicture* SGB_Resource = nullptr;
  media::AnimatedPicture* EI_Resource = nullptr;
  VbArray<media::AnimatedPicture*, 0, 5> ButtnDefault{};

  std::unique_ptr<ui::Timer> BlockTimer;
  std::unique_ptr<ui::Timer> MsgTimer;

  // The code of the button whose hover sound played last (kNoHoverButton: none), so that
  // a button's hover sound plays once each time the pointer comes onto it.
  int16_t LastHoverButton = kNoHoverButton;

 private:
  struct Cursor {
    platform::PicturePtr picture;
    int hot_x = 0;
    int hot_y = 0;
  };

  void Layout();

  std::unique_ptr<ui::Form> main_;
  std::array<Cursor, 16> cursors_;  // element 0 unused
  const platform::BuiltinPictures& builtins_;
  int current_cursor_ = 0;
  platform::ImagePtr picture_cursor_;
};

}  // namespace qv::screen
