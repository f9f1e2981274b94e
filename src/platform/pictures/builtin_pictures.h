#pragma once
// The pictures the player brings along, drawn in code: the 15 cursors a game may
// replace with its own files, and the placeholder pictures shown where a game's picture
// is missing or cannot be shown.
//
// Cursors (each 32 x 32, with its hot spot):
//   1 up, 2 right, 3 down, 4 left  arrows for the four directions a link leads
//   5 up-right, 6 down-right, 7 down-left, 8 up-left   diagonal link arrows
//   9 a magnifier (look closer)
//  10 Switch: a lever            11 Goodie: a grabbing hand
//  12 Reactor: a pointing finger 13 the default arrow
//  14 busy: an hourglass         15 a crosshair
//
// Placeholders (32 x 32):
//   FNF            a picture file that was not found: a framed box crossed in red
//   AniGIF1        a visible object without a picture: a dashed frame
//   UnknownObject  an object of a type the player does not know: a yellow "!" box
//   NoPic          an empty item picture: fully transparent
//   NewLoca        the marker of a location new on the map: a red marker that pulses
//                  (two frames, 500 ms each, for ever)

#include <array>

#include "platform/pictures.h"

namespace qv::platform {

// A cursor and the point of it that is the pointer's position.
struct CursorPicture {
  PicturePtr picture;
  int hot_x = 0;
  int hot_y = 0;
};

class BuiltinPictures {
 public:
  static constexpr int kCursorCount = 15;
  static constexpr int kSwitchCursor = 10;
  static constexpr int kGoodieCursor = 11;
  static constexpr int kReactorCursor = 12;
  static constexpr int kDefaultCursor = 13;
  static constexpr int kBusyCursor = 14;

  // Draws every picture (well under a millisecond).
  BuiltinPictures();

  // Cursor 1 to 15; any other number raises "Subscript out of range" (9).
  const CursorPicture& Cursor(int number) const;

  const PicturePtr& FNF() const { return fnf_; }
  const PicturePtr& AniGIF1() const { return ani_gif1_; }
  const PicturePtr& UnknownObject() const { return unknown_object_; }
  const PicturePtr& NoPic() const { return no_pic_; }
  const PicturePtr& NewLoca() const { return new_loca_; }

 private:
  std::array<CursorPicture, kCursorCount + 1> cursors_;  // element 0 unused
  PicturePtr fnf_;
  PicturePtr ani_gif1_;
  PicturePtr unknown_object_;
  PicturePtr no_pic_;
  PicturePtr new_loca_;
};

}  // namespace qv::platform
