#pragma once
// What the engine asks of the game screen: the controls of the scene's objects, links and
// conversation box, which it sets up as the rules say, and the cover, the cursor and the
// score. The game screen implements it; the engine knows nothing else of the screen.

#include <cstdint>
#include <string>

#include "media/animated_picture.h"
#include "platform/image.h"
#include "ui/label.h"
#include "ui/picture_box.h"

namespace qv::engine {

// Cursor numbers: the pictures 1..15 of the game's cursor set.
inline constexpr int kSwitchCursor = 10;
inline constexpr int kGoodieCursor = 11;
inline constexpr int kReactorCursor = 12;
inline constexpr int kDefaultCursor = 13;
// While the busy cursor shows, clicks and hovers on the game screen do nothing.
inline constexpr int kBusyCursor = 14;

class ScreenPort {
 public:
  virtual ~ScreenPort() = default;

  // `Animation(i)`, the picture of object slot i (1..20), and `NoGIF(i)`, the clickable
  // area of a Link drawn as an invisible area.
  virtual media::AnimatedPicture& ObjectPicture(int16_t slot) = 0;
  virtual ui::Image& ObjectArea(int16_t slot) = 0;
  // Direction link k (1 up, 2 right, 3 down, 4 left) covers this area.
  virtual void PlaceLink(int k, int left, int top, int width, int height) = 0;
  // The scene's background (null: none).
  virtual void SetScenePicture(const platform::ImagePtr& picture) = 0;
  // The placeholder pictures: a picture file that is not there, a visible object without
  // a picture, an object type code the player does not know.
  virtual platform::PicturePtr NotFoundPicture() const = 0;
  virtual platform::PicturePtr NoPicture() const = 0;
  virtual platform::PicturePtr UnknownObjectPicture() const = 0;

  // The conversation box and its lines 1..5.
  virtual ui::PictureBox& ConversationBox() = 0;
  virtual ui::Label& ConversationLine(int k) = 0;

  // The cover over the scene while it is built. RemoveCoverSoon starts the timer whose
  // tick removes it and gives the player the pointer back.
  virtual void ShowCover() = 0;
  virtual void RemoveCoverSoon() = 0;

  // Makes cursor `number` the mouse icon; CurrentCursor is 0 while a picture (the item in
  // hand) is the icon.
  virtual void ShowCursor(int number) = 0;
  virtual int CurrentCursor() const = 0;
  bool BusyCursorShowing() const { return CurrentCursor() == kBusyCursor; }

  // Both score captions.
  virtual void ShowScore(const std::string& score) = 0;
  // The credits: the save button, the inventory bar and the examine button take no clicks.
  virtual void DisableGameButtons() = 0;
  // The end of a game: the game screen goes and no longer stays on top.
  virtual void HideGameScreen() = 0;
};

}  // namespace qv::engine
