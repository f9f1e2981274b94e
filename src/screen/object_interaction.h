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
#include <string>
#include <string_view>

#include "engine/engine.h"
#include "screen/interaction_settings.h"
#include "screen/inventory.h"

namespace qv::screen {

class ObjectInteraction {
 public:
  // The channel of a held item's wrong-use sound and of a Goodie's inventory-full sound.
  static constexpr int16_t kItemSoundChannel = 15;
  // Where players learn about updates (the unknown-type box).
  static constexpr std::string_view kWebAddress = "www.quorvex.example";
  static constexpr std::string_view kOutdatedTitle = "Outdated version of Quorvex Player";

  // Connects the click, pointer-move and animation-end handlers of `Animation(1..20)` and
  // `NoGIF(1..20)`. Everything must outlive this object.
  ObjectInteraction(engine::Engine& engine, Inventory& inventory,
                    const InteractionSettings& settings);
  ObjectInteraction(const ObjectInteraction&) = delete;
  ObjectInteraction& operator=(const ObjectInteraction&) = delete;

  // The handlers, by object number.
  void AnimationClick(int16_t n) { Click(n, false); }
  void NoGIFClick(int16_t n) { Click(n, true); }
  void AnimationMouseMove(int16_t n) { Hover(n, false); }
  void NoGIFMouseMove(int16_t n) { Hover(n, true); }
  // The end of an object's animation: completes a Switch's movement.
  void AnimationEnded(int16_t n);
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
  // An object's fields as they were when it was clicked: what the click does stays the
  // object's own even when a flag change on the way switches scene.
  struct Object {
    int16_t n = 0;
    int16_t type = 0;
    VbArray<std::string, 0, 8> S;
    VbArray<int16_t, 0, 32> N;
  };
  // A refusal sound on an object's channel.
  struct Refusal {
    std::string file;
    int16_t channel = 0;
    int32_t volume = 0;
    int32_t pan = 0;
    bool default_sound = true;  // the settings' refusal sound when `file` is empty
  };

  Object Read(int16_t n) const;
  void Click(int16_t n, bool still);
  void Hover(int16_t n, bool still);
  void ClickLink(const Object& o, bool still);
  void ClickGoodie(const Object& o);
  void ClickSwitch(const Object& o);
  void ClickReactor(const Object& o);
  void UnknownType();

  // The item requirement: true when the right item is in hand. Otherwise logs the
  // refusal, plays its sound and returns false.
  bool HasRequiredItem(const char* kind, int16_t n, int16_t item, const Refusal& refusal);
  // The held item was used on an object: back to the bar (keep) or out of the inventory.
  void UseHeldItem(bool keep);
  void PlayDefaultRefusal(int16_t channel);
  void Progress(const std::string& text) { engine_.Progress(text); }

  engine::Engine& engine_;
  engine::EngineServices& s_;
  Inventory& inventory_;
  const InteractionSettings& settings_;
};

}  // namespace qv::screen
