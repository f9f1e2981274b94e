#include "screen/object_interaction.h"

#include "core/procedure.h"
#include "core/text.h"

namespace qv::screen {

namespace {

using data::RequiredItem;
using engine::kAmbient;
using engine::kGoodie;
using engine::kLink;
using engine::kReactor;
using engine::kSwitch;

// The highest type code of the scene's hidden objects that can have a control.
constexpr int16_t kLastKnownType = 8;

// A cursor number from game data; one the player does not have shows the default cursor.
int CursorNumber(int16_t number) {
  return number >= 1 && number <= 15 ? number : kDefaultCursor;
}

std::string Obj(int16_t n) {
  return " (Object #" + PlainNum(n) + ")";
}

}  // namespace

ObjectInteraction::ObjectInteraction(engine::Engine& engine, GameScreen& screen,
                                     Inventory& inventory, const data::GeneralSettings& settings)
    : engine_(engine),
      s_(engine.services()),
      screen_(screen),
      inventory_(inventory),
      settings_(settings) {
  for (int16_t n = 1; n <= 20; ++n) {
    media::AnimatedPicture& animation = *screen.Animation[n];
    animation.on_click = [this, n] { AnimationClick(n); };
    animation.on_mouse_move = [this, n](const ui::MouseArgs&) { AnimationMouseMove(n); };
    animation.on_animation_ended = [this, n] { AnimationEnded(n); };
    ui::Image& still = *screen.NoGIF[n];
    still.on_click = [this, n] { NoGIFClick(n); };
    still.on_mouse_move = [this, n](const ui::MouseArgs&) { NoGIFMouseMove(n); };
  }
  screen.ScnImg->on_mouse_move = [this](const ui::MouseArgs&) { SceneMouseMove(); };
  for (ui::Control* window_part :
       {static_cast<ui::Control*>(&screen.Main()), static_cast<ui::Control*>(screen.Picture1),
        static_cast<ui::Control*>(screen.LargeScore), static_cast<ui::Control*>(screen.SmallScore),
        static_cast<ui::Control*>(screen.CurrScore_Large),
        static_cast<ui::Control*>(screen.MaxScore_Large),
        static_cast<ui::Control*>(screen.CurrScore_Small),
        static_cast<ui::Control*>(screen.MaxScore_Small)}) {
    window_part->on_mouse_move = [this](const ui::MouseArgs&) { WindowMouseMove(); };
  }
  screen.BlockTimer->on_tick = [this] { CoverTimerTick(); };
}

void ObjectInteraction::CoverTimerTick() {
  screen_.BlockTimer->SetEnabled(false);
  screen_.Block->SetVisible(false);
  // Without this the busy cursor, and with it every click out, would stay until the
  // pointer crossed the scene picture.
  if (inventory_.HandSlot() == Inventory::kEmptyHand) {
    screen_.ShowCursor(kDefaultCursor);
  } else {
    screen_.ShowPictureCursor(screen_.FlashFixIcon->Picture());
  }
}

std::string ObjectInteraction::OutdatedText() {
  return "This object type is unknown!  This program appears to have been\r"
         "created using a newer version of Quorvex.  Updates to the Quorvex Player\r"
         "are free for everyone.  Visit '" +
         std::string(kWebAddress) + "' for more information.";
}

void ObjectInteraction::Click(int16_t n, bool still) {
  GameScreen& screen = screen_;
  if (screen.BusyCursorShowing()) return;
  const bool done = RunProcedure(s_.boxes, still ? "NoGIF_Click" : "Animation_Click", [&] {
    const int16_t type = engine_.scene().ObjType[n];
    if (type != kGoodie && s_.conversations.BlockingConversationShowing()) return;
    if (type > kLastKnownType) {
      UnknownType();
      return;
    }
    switch (type) {
      case kLink:
        ClickLink(n, still);
        break;
      case kGoodie:
        if (!still) ClickGoodie(n);
        break;
      case kSwitch:
        if (!still) ClickSwitch(n);
        break;
      case kReactor:
        if (!still) ClickReactor(n);
        break;
      default:
        break;  // Ambient objects and the hidden types do nothing
    }
  });
  // A link that failed on its way to another scene must not leave the player waiting
  // behind the busy cursor for good.
  if (!done && screen.BusyCursorShowing()) screen.ShowCursor(kDefaultCursor);
}

void ObjectInteraction::UnknownType() {
  s_.boxes.Show(kOutdatedTitle, OutdatedText(), BoxButtons::kOk, BoxIcon::kExclamation);
}

void ObjectInteraction::PlayDefaultRefusal(int16_t channel) {
  const data::SettingsSound& refusal = settings_.refusal;
  if (!refusal.file.empty()) {
    s_.sound.PlayWAVQVX(refusal.file, false, channel, refusal.pan, refusal.volume);
  }
}

bool ObjectInteraction::HasRequiredItem(const char* kind, int16_t n, int16_t item,
                                        const data::ObjectSound& refusal, int16_t channel,
                                        bool default_refusal) {
  const int16_t hand = inventory_.HandSlot();
  if (hand != Inventory::kEmptyHand && inventory_.ItemIn(hand) == item) return true;
  Progress("*** " + std::string(kind) + Obj(n) + " requires Inventory Item #" + PlainNum(item) +
           "!***");
  if (hand == Inventory::kEmptyHand) {
    if (!refusal.file.empty()) {
      s_.sound.PlayWAVQVX(refusal.file, false, channel, refusal.pan, refusal.volume);
    } else if (default_refusal) {
      PlayDefaultRefusal(channel);
    }
    return false;
  }
  // The wrong item: it says so itself, with its own sound.
  const ItemSlot& held = inventory_.Slots[hand];
  if (!held.WrongUseSound.empty()) {
    s_.sound.PlayWAVQVX(held.WrongUseSound, false, media::kDialogueChannel, held.WrongUsePan,
                        held.WrongUseVolume);
  } else {
    PlayDefaultRefusal(media::kDialogueChannel);
  }
  return false;
}

void ObjectInteraction::UseHeldItem(bool keep) {
  const int16_t hand = inventory_.HandSlot();
  if (keep) {
    inventory_.ShowItem(hand);
  } else {
    inventory_.CompactInventoryBar(hand);
  }
  inventory_.SetHandSlot(Inventory::kEmptyHand);
}

void ObjectInteraction::ClickLink(int16_t n, bool still) {
  const auto link = data::LinkObject::Read(engine_.scene(), n);
  engine::ObjectClickState& clicks = engine_.clicks;
  if (link.once_only && clicks.HotSpotUsed[n]) return;
  const RequiredItem& required = link.required;
  if (required.required && !HasRequiredItem("HotSpot", n, required.item, link.refusal_sound,
                                            engine_.GetSoundChannel(kLink, n, 3))) {
    return;
  }
  clicks.HotSpotUsed[n] = true;
  if (required.required) {
    screen_.ShowCursor(link.once_only ? kDefaultCursor : CursorNumber(link.cursor));
    Progress("Inventory Item #" + PlainNum(required.item) + " used on HotSpot" + Obj(n));
  } else {
    Progress("HotSpot" + Obj(n) + " clicked.");
  }
  const bool to_scene = link.action == 1 && link.target_scene != 0;
  const bool to_map = link.action == 2;
  if (to_scene || to_map) screen_.ShowCursor(kBusyCursor);
  if (!link.idle_sound.file.empty()) s_.sound.StopWav(engine_.GetSoundChannel(kLink, n, 1));
  if (!still && link.mode == 3) {
    // A link that animates only when used plays its animation from the start.
    media::AnimatedPicture& animation = *screen_.Animation[n];
    animation.SetRestart(true);
    animation.Start();
  }
  if (!link.use_sound.file.empty()) {
    s_.sound.PlayWAVQVX(link.use_sound.file, false, engine_.GetSoundChannel(kLink, n, 2),
                        link.use_sound.pan, link.use_sound.volume);
  }
  s_.loop.DoEvents();
  if (required.required) UseHeldItem(required.kept);
  if (link.changes_flag) engine_.ChangeFlag(link.change.flag, link.change.value, link.change.op);
  if (engine_.GameEnded()) return;
  if (to_map) {
    screen_.Block->SetVisible(true);
    screen_.ShowCursor(kDefaultCursor);
    s_.map.SetMapActive(true);
    s_.map.ShowMapWindow();
  } else if (link.target_scene != 0) {
    const uint64_t loads = engine_.SceneLoadsStarted();
    engine_.LoadScene(link.target_scene);
    // A scene the file refuses leaves this one in place: the player may go on in it.
    if (engine_.SceneLoadsStarted() == loads && screen_.BusyCursorShowing()) {
      screen_.ShowCursor(kDefaultCursor);
    }
  }
}

void ObjectInteraction::ClickGoodie(int16_t n) {
  const auto goodie = data::GoodieObject::Read(engine_.scene(), n);
  const RequiredItem& required = goodie.required;
  // A Goodie refused for an empty hand plays only a sound of its own.
  if (required.required && !HasRequiredItem("Goodie", n, required.item, goodie.refusal_sound,
                                            engine_.GetSoundChannel(kGoodie, n, 3), false)) {
    return;
  }
  if (required.required) {
    Progress("Inventory Item #" + PlainNum(required.item) + " used on Goodie" + Obj(n));
  } else {
    Progress("Goodie" + Obj(n) + " clicked.");
  }
  if (inventory_.ItemsHeld == Inventory::kSlots) {
    // No room: the item stays where it is, and so does the one in hand.
    const data::SettingsSound& full = settings_.inventory_full;
    if (!full.file.empty()) {
      s_.sound.PlayWAVQVX(full.file, false, media::kDialogueChannel, full.pan, full.volume);
    }
    return;
  }
  const int16_t channel = engine_.GetSoundChannel(kGoodie, n, 2);
  inventory_.AddInventoryItem(goodie.item, false, 0);
  if (required.required) UseHeldItem(required.kept);
  const data::ObjectSound& media = goodie.take_media;
  if (!media.file.empty()) {
    const std::string ending = LastThreeLower(media.file);
    if (ending == "wav") {
      s_.sound.PlayWav(media.file, false, channel, media.pan, media.volume);
    } else if (ending == "avi") {
      s_.movies.PlayMovie(media.file, media.volume, true, false);
    }
  }
  if (goodie.changes_flag) {
    engine_.ChangeFlag(goodie.change.flag, goodie.change.value, goodie.change.op);
  }
}

void ObjectInteraction::ClickSwitch(int16_t n) {
  const auto sw = data::SwitchObject::Read(engine_.scene(), n);
  media::AnimatedPicture& animation = *screen_.Animation[n];
  if (animation.Playing()) return;
  const RequiredItem& required = sw.required;
  if (required.required && !HasRequiredItem("Switch", n, required.item, sw.refusal_sound,
                                            engine_.GetSoundChannel(kSwitch, n, 2))) {
    return;
  }
  if (required.required) {
    Progress("Inventory Item #" + PlainNum(required.item) + " used on Switch" + Obj(n));
    UseHeldItem(required.kept);
  } else {
    Progress("Switch" + Obj(n) + " clicked.");
  }
  const int16_t channel = engine_.GetSoundChannel(kSwitch, n, 1);
  const int16_t state = engine_.state.Flags[sw.flag];
  const int frames = animation.FrameCount();
  engine::ObjectClickState& clicks = engine_.clicks;
  if (frames > 1) {
    clicks.SwitchAnimating[n] = true;
    if (state != 0) {
      // Switching off plays the movement backwards from its last frame.
      animation.SetDirection(media::AnimatedPicture::kBackward);
      animation.SetCurrentFrame(frames - 1);
    } else {
      animation.SetDirection(media::AnimatedPicture::kForward);
    }
  }
  clicks.SwitchState[n] = state;
  if (frames > 1) {
    animation.Start();  // the flag changes when the movement ends
  } else {
    engine_.ChangeFlag(sw.flag, state != 0 ? int16_t{0} : sw.on_value, engine::kSet);
    if (engine_.GameEnded()) return;
  }
  const data::ObjectSound& sound = state != 0 ? sw.off_sound : sw.on_sound;
  if (!sound.file.empty()) s_.sound.PlayWav(sound.file, false, channel, sound.pan, sound.volume);
}

void ObjectInteraction::AnimationEnded(int16_t n) {
  engine::ObjectClickState& clicks = engine_.clicks;
  const data::SceneTables& t = engine_.scene();
  if (t.ObjType[n] != kSwitch || !clicks.SwitchAnimating[n]) return;
  clicks.SwitchAnimating[n] = false;
  RunProcedure(s_.boxes, "Animation_AnimationEnded", [&] {
    const auto sw = data::SwitchObject::Read(t, n);
    const int16_t value = clicks.SwitchState[n] != 0 ? int16_t{0} : sw.on_value;
    engine_.ChangeFlag(sw.flag, value, engine::kSet);
  });
}

void ObjectInteraction::ClickReactor(int16_t n) {
  const auto reactor = data::ReactorObject::Read(engine_.scene(), n);
  engine::ObjectClickState& clicks = engine_.clicks;
  if (reactor.once_only && clicks.ReactorUsed[n]) return;
  Progress("Reactor" + Obj(n) + " clicked.");
  clicks.ReactorUsed[n] = true;
  const int16_t channel = engine_.GetSoundChannel(kReactor, n, 1);
  const uint64_t loads = engine_.SceneLoadsStarted();
  if (reactor.changes_flag) {
    engine_.ChangeFlag(reactor.change.flag, reactor.change.value, reactor.change.op);
  }
  if (engine_.GameEnded()) return;
  s_.loop.DoEvents();
  auto play_sound = [&] {
    const data::ObjectSound& sound = reactor.sound;
    if (!sound.file.empty()) s_.sound.PlayWav(sound.file, false, channel, sound.pan, sound.volume);
  };
  switch (reactor.reaction) {
    case 1:
    case 2:
      play_sound();
      break;
    case 3:
    case 4:
      if (!reactor.movie.empty())
        s_.movies.PlayMovie(reactor.movie, reactor.movie_param, true, false);
      break;
    case 5:
      // The reaction animates the object; after a scene switch it is no longer there.
      if (engine_.SceneLoadsStarted() == loads) {
        media::AnimatedPicture& animation = *screen_.Animation[n];
        animation.SetRestart(true);
        animation.Start();
      }
      play_sound();
      break;
    default:
      break;
  }
  if (reactor.adds_location) s_.map.AddMapLocation(reactor.location);
}

void ObjectInteraction::Hover(int16_t n, bool still) {
  GameScreen& screen = screen_;
  if (screen.BusyCursorShowing()) return;
  RunProcedure(s_.boxes, still ? "NoGIF_MouseMove" : "Animation_MouseMove", [&] {
    // The pointer has left the inventory item and the buttons.
    screen.ItemHiLite->SetVisible(false);
    screen.ShowNormalButtons();
    if (engine_.SceneChanging) return;
    if (screen.ConvBox->Visible()) s_.conversations.UnhighlightLines();
    const int16_t type = engine_.scene().ObjType[n];
    if (type != kGoodie && s_.conversations.BlockingConversationShowing()) return;
    const std::optional<Pointer> pointer = PointerOver(n, type, still);
    if (!pointer) return;
    // Both replace the icon only when it differs, so moving over an object never flickers.
    if (pointer->cursor != 0) {
      screen.ShowCursor(pointer->cursor);
    } else {
      screen.ShowPictureCursor(pointer->picture);
    }
  });
}

std::optional<ObjectInteraction::Pointer> ObjectInteraction::PointerOver(int16_t n, int16_t type,
                                                                         bool still) const {
  const data::SceneTables& t = engine_.scene();
  const engine::ObjectClickState& clicks = engine_.clicks;
  const bool holding = inventory_.HandSlot() != Inventory::kEmptyHand;
  // An object that needs an item shows the held item highlighted while it is held.
  auto needing = [&](bool needs_item, int cursor) {
    return needs_item && holding ? Pointer{0, inventory_.HeldHighlight()} : Pointer{cursor, {}};
  };
  if (type > kLastKnownType) return Pointer{kSwitchCursor, {}};
  if (type == kLink) {
    const auto link = data::LinkObject::Read(t, n);
    if (link.once_only && clicks.HotSpotUsed[n]) return Pointer{kDefaultCursor, {}};
    return needing(link.required.required, CursorNumber(link.cursor));
  }
  if (still) return std::nullopt;  // a still object is only ever a Link
  switch (type) {
    case kAmbient:
      return holding ? Pointer{0, screen_.FlashFixIcon->Picture()} : Pointer{kDefaultCursor, {}};
    case kGoodie:
      return needing(data::GoodieObject::Read(t, n).required.required, kGoodieCursor);
    case kSwitch:
      return needing(data::SwitchObject::Read(t, n).required.required, kSwitchCursor);
    case kReactor: {
      const bool used_up = data::ReactorObject::Read(t, n).once_only && clicks.ReactorUsed[n];
      return Pointer{used_up ? kDefaultCursor : kReactorCursor, {}};
    }
    default:
      return std::nullopt;  // the hidden types leave the pointer as it is
  }
}

void ObjectInteraction::SceneMouseMove() {
  GameScreen& screen = screen_;
  RunProcedure(s_.boxes, "ScnImg_MouseMove", [&] {
    screen.LastHoverButton = kNoHoverButton;
    screen.ShowNormalButtons();
    if (screen.ConvBox->Visible()) s_.conversations.UnhighlightLines();
    // The busy cursor stays: it is what keeps clicks out until the player is ready.
    if (screen.BusyCursorShowing()) return;
    if (inventory_.HandSlot() != Inventory::kEmptyHand) {
      screen.ShowPictureCursor(screen.FlashFixIcon->Picture());
    } else {
      screen.ShowCursor(kDefaultCursor);
    }
  });
}

void ObjectInteraction::WindowMouseMove() {
  GameScreen& screen = screen_;
  RunProcedure(s_.boxes, "Form_MouseMove", [&] {
    screen.LastHoverButton = kNoHoverButton;
    screen.ShowNormalButtons();
    if (!screen.BusyCursorShowing()) screen.ShowCursor(kDefaultCursor);
  });
}

}  // namespace qv::screen
