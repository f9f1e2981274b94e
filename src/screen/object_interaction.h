#pragma once
// What the player does with the scene's objects: the cursor shown over each, and what a
// click does. Links (called "HotSpot" in their log lines) lead to another scene or the
// map, Goodies give an inventory item, Switches toggle a flag (when the switch has an
// animation, the flag changes once the movement has played), Reactors react with a
// sound, a movie or their animation. Links, Goodies and Switches may require an item in
// hand; the wrong item, or none, is refused with a sound and leaves everything as it was.
//
// An object with a still picture (`NoGIF`, an invisible clickable area) only ever acts
// as a Link. Nothing reacts while the busy cursor shows, and while a blocking
// conversation is up only Goodies do. A type code the player does not know shows a box
// telling the player that the game needs a newer player.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "data/general_settings.h"
#include "data/scene_objects.h"
#include "engine/engine.h"
#include "screen/game_screen.h"
#include "screen/inventory.h"

namespace qv::screen {

class ObjectInteraction {
 public:
  // Where players learn about updates (the unknown-type box).
  static constexpr std::string_view kWebAddress = "www.quorvex.example";
  static constexpr std::string_view kOutdatedTitle = "Outdated version of Quorvex Player";

  // Connects the click, pointer-move and animation-end handlers of `Animation(1..20)` and
  // `NoGIF(1..20)`. Everything must outlive this object.
  ObjectInteraction(engine::Engine& engine, GameScreen& screen, Inventory& inventory,
                    const data::GeneralSettings& settings);
  ObjectInteraction(const ObjectInteraction&) = delete;
  ObjectInteraction& operator=(const ObjectInteraction&) = delete;

  // The handlers, by object number.
  void AnimationClick(int16_t n) { Click(n, false); }
  void NoGIFClick(int16_t n) { Click(n, true); }
  void AnimationMouseMove(int16_t n) { Hover(n, false); }
  void NoGIFMouseMove(int16_t n) { Hover(n, true); }
  // The end of an object's animation: completes a Switch's movement.
  void AnimationEnded(int16_t n);
  // The cover's timer: the scene is ready, and the busy cursor makes way for the default
  // one or for the hand picture of the item in hand.
  void CoverTimerTick();
  // The pointer on the scene picture between objects: the buttons and the conversation
  // lines lose their highlight, and the cursor is the held item's hand picture, or the
  // default cursor with an empty hand.
  void SceneMouseMove();
  // The pointer on the window around the play area or on the score: the buttons lose
  // their highlight and the default cursor shows.
  void WindowMouseMove();

  // The text of the unknown-type box (its three lines).
  static std::string OutdatedText();

 private:
  // A click works on the object's fields as they were when it was clicked (each click
  // reads its object's view first): what it does stays the object's own even when a flag
  // change on the way switches scene.
  void Click(int16_t n, bool still);
  void Hover(int16_t n, bool still);
  // What the pointer becomes over object n: a cursor number, or (cursor 0) a picture.
  struct Pointer {
    int cursor = 0;
    platform::ImagePtr picture;
  };
  // Nothing when the pointer stays as it is.
  std::optional<Pointer> PointerOver(int16_t n, int16_t type, bool still) const;
  void ClickLink(int16_t n, bool still);
  void ClickGoodie(int16_t n);
  void ClickSwitch(int16_t n);
  void ClickReactor(int16_t n);
  void UnknownType();

  // The item requirement: true when the right item is in hand. Otherwise logs the
  // refusal, plays the object's refusal sound on `channel` (or, unless
  // `default_refusal` is false, the settings' one when it has none) and returns false.
  bool HasRequiredItem(const char* kind, int16_t n, int16_t item, const data::ObjectSound& refusal,
                       int16_t channel, bool default_refusal = true);
  // The held item was used on an object: back to the bar (keep) or out of the inventory.
  void UseHeldItem(bool keep);
  void PlayDefaultRefusal(int16_t channel);
  void Progress(const std::string& text) { engine_.Progress(text); }

  engine::Engine& engine_;
  engine::EngineServices& s_;
  GameScreen& screen_;
  Inventory& inventory_;
  const data::GeneralSettings& settings_;
};

}  // namespace qv::screen
