#pragma once
// The pictures of the player's own interface, drawn in code: what every window shows when
// the game brings no picture of its own (the standard interface files bgmenu, btnintro ...
// btnclose, bggame, btnquit, btnsave, btnexamine, bgquit, btnyes, btnno, btnok,
// btncancel, bgsave, bgload), and the engine's animated logo of the start screen.
//
// Button pictures have two frames, as the game's own button GIFs do: frame 0 highlighted,
// frame 1 normal. Texts are drawn in a small built-in pixel font (capital letters, digits
// and a little punctuation), so the pictures look the same on every machine.

#include <string_view>

#include "platform/pictures.h"

namespace qv::shell {

// The designed sizes of the built-in pictures.
inline constexpr int kMenuButtonWidth = 200;
inline constexpr int kMenuButtonHeight = 40;
inline constexpr int kGameButtonWidth = 90;
inline constexpr int kGameButtonHeight = 30;
inline constexpr int kDialogButtonWidth = 100;
inline constexpr int kDialogButtonHeight = 32;
inline constexpr int kQuitWidth = 320;
inline constexpr int kQuitHeight = 150;
inline constexpr int kLogoWidth = 240;
inline constexpr int kLogoHeight = 120;

class InterfacePictures {
 public:
  // Draws them all (a few milliseconds).
  InterfacePictures();

  // The menu's five buttons: 1 intro, 2 new game, 3 load, 4 credits, 5 close.
  const platform::PicturePtr& MenuButton(int n) const;
  const platform::PicturePtr& MenuBackground() const { return menu_background_; }
  const platform::PicturePtr& GameBackground() const { return game_background_; }
  const platform::PicturePtr& MainMenuButton() const { return main_menu_button_; }
  const platform::PicturePtr& SaveButton() const { return save_button_; }
  // Three frames: 0 and 2 highlighted, 1 normal (the examine button lights up with frame 2).
  const platform::PicturePtr& ExamineButton() const { return examine_button_; }
  const platform::PicturePtr& QuitBackground() const { return quit_background_; }
  const platform::PicturePtr& SaveBackground() const { return save_background_; }
  const platform::PicturePtr& LoadBackground() const { return load_background_; }
  const platform::PicturePtr& YesButton() const { return yes_; }
  const platform::PicturePtr& NoButton() const { return no_; }
  const platform::PicturePtr& OkButton() const { return ok_; }
  const platform::PicturePtr& CancelButton() const { return cancel_; }
  // The engine's logo: a beam of light sweeps over "QVX", played once.
  const platform::PicturePtr& EngineLogo() const { return engine_logo_; }

  // The width in pixels of a text in the pixel font at `scale`.
  static int TextWidth(std::string_view text, int scale);

 private:
  platform::PicturePtr menu_buttons_[5];
  platform::PicturePtr menu_background_;
  platform::PicturePtr game_background_;
  platform::PicturePtr main_menu_button_;
  platform::PicturePtr save_button_;
  platform::PicturePtr examine_button_;
  platform::PicturePtr quit_background_;
  platform::PicturePtr save_background_;
  platform::PicturePtr load_background_;
  platform::PicturePtr yes_;
  platform::PicturePtr no_;
  platform::PicturePtr ok_;
  platform::PicturePtr cancel_;
  platform::PicturePtr engine_logo_;
};

}  // namespace qv::shell
