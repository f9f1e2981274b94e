#include "screen/object_interaction.h"

#include "core/text.h"

namespace qv::screen {

namespace {

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

ObjectInteraction::ObjectInteraction(engine::Engine& engine, Inventory& inventory,
                                     const InteractionSettings& settings)
    : engine_(engine), s_(engine.services()), inventory_(inventory), settings_(settings) {
  GameScreen& screen = s_.screen;
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
}

std::string ObjectInteraction::OutdatedText() {
  return "This object type is unknown!  This program appears to have been\r"
         "created using a newer version of Quorvex.  Updates to the Quorvex Player\r"
         "are free for everyone.  Visit '" +
         std::string(kWebAddress) + "' for more information.";
}

ObjectInteraction::Object ObjectInteraction::Read(int16_t n) const {
  const data::SceneTables& t = engine_.scene();
  Object o;
  o.n = n;
  o.type = t.ObjType[n];
  for (int k = 0; k <= 8; ++k)
    o.S[k] = t.ObjS[k][n];
  for (int k = 0; k <= 32; ++k)
    o.N[k] = t.ObjN[k][n];
  return o;
}

void ObjectInteraction::Click(int16_t n, bool still) {
  GameScreen& screen = s_.screen;
  if (screen.BusyCursorShowing()) return;
  const bool done = RunProcedure(s_.boxes, still ? "NoGIF_Click" : "Animation_Click", [&] {
    const Object o = Read(n);
    if (o.type != kGoodie && s_.conversations.BlockingConversationShowing()) return;
    if (o.type > kLastKnownType) {
      UnknownType();
      return;
    }
    switch (o.type) {
      case kLink:
        ClickLink(o, still);
        break;
      case kGoodie:
        if (!still) ClickGoodie(o);
        break;
      case kSwitch:
        if (!still) ClickSwitch(o);
        break;
      case kReactor:
        if (!still) ClickReactor(o);
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
  const SettingsSound& refusal = settings_.refusal;
  if (!refusal.file.empty()) {
    s_.sound.PlayWAVQVX(refusal.file, false, channel, refusal.pan, refusal.volume);
  }
}

bool ObjectInteraction::HasRequiredItem(const char* kind, int16_t n, int16_t item,
                                        const Refusal& refusal) {
  const int16_t hand = inventory_.HandSlot();
  if (hand != Inventory::kEmptyHand && inventory_.ItemIn(hand) == item) return true;
  Progress("*** " + std::string(kind) + Obj(n) + " requires Inventory Item #" + PlainNum(item) +
           "!***");
  if (hand == Inventory::kEmptyHand) {
    if (!refusal.file.empty()) {
      s_.sound.PlayWAVQVX(refusal.file, false, refusal.channel, refusal.pan, refusal.volume);
    } else if (refusal.default_sound) {
      PlayDefaultRefusal(refusal.channel);
    }
    return false;
  }
  // The wrong item: it says so itself, with its own sound.
  const ItemSlot& held = inventory_.Slots[hand];
  if (!held.WrongUseSound.empty()) {
    s_.sound.PlayWAVQVX(held.WrongUseSound, false, kItemSoundChannel, held.WrongUsePan,
                        held.WrongUseVolume);
  } else {
    PlayDefaultRefusal(kItemSoundChannel);
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

void ObjectInteraction::ClickLink(const Object& o, bool still) {
  const int16_t n = o.n;
  const auto& N = o.N;
  GameScreen& screen = s_.screen;
  engine::ObjectClickState& clicks = engine_.clicks;
  const bool once_only = N[21] == 1;
  if (once_only && clicks.HotSpotUsed[n]) return;
  const bool needs_item = N[6] == 1;
  if (needs_item && !HasRequiredItem("HotSpot", n, N[7],
                                     {o.S[3], engine_.GetSoundChannel(kLink, n, 3), N[9], N[10]})) {
    return;
  }
  clicks.HotSpotUsed[n] = true;
  if (needs_item) {
    screen.ShowCursor(once_only ? kDefaultCursor : CursorNumber(N[0]));
    Progress("Inventory Item #" + PlainNum(N[7]) + " used on HotSpot" + Obj(n));
  } else {
    Progress("HotSpot" + Obj(n) + " clicked.");
  }
  const bool to_scene = N[11] == 1 && N[12] != 0;
  const bool to_map = N[11] == 2;
  if (to_scene || to_map) screen.ShowCursor(kBusyCursor);
  if (!o.S[1].empty()) s_.sound.StopWav(engine_.GetSoundChannel(kLink, n, 1));
  if (!still && N[1] == 3) {
    // A link that animates only when used plays its animation from the start.
    media::AnimatedPicture& animation = *screen.Animation[n];
    animation.SetRestart(true);
    animation.Start();
  }
  if (!o.S[2].empty()) {
    s_.sound.PlayWAVQVX(o.S[2], false, engine_.GetSoundChannel(kLink, n, 2), N[5], N[4]);
  }
  s_.loop.DoEvents();
  if (needs_item) UseHeldItem(N[8] == 1);
  if (N[17] == 1) engine_.ChangeFlag(N[18], N[19], N[20]);
  if (to_map) {
    screen.Block->SetVisible(true);
    screen.ShowCursor(kDefaultCursor);
    s_.map.SetMapActive(true);
    s_.map.ShowMapWindow();
  } else if (N[12] != 0) {
    engine_.LoadScene(N[12]);
  }
}

void ObjectInteraction::ClickGoodie(const Object& o) {
  const int16_t n = o.n;
  const auto& N = o.N;
  const bool needs_item = N[6] == 1;
  // A Goodie refused for an empty hand plays only a sound of its own.
  if (needs_item &&
      !HasRequiredItem("Goodie", n, N[7],
                       {o.S[3], engine_.GetSoundChannel(kGoodie, n, 3), N[9], N[10], false})) {
    return;
  }
  if (needs_item) {
    Progress("Inventory Item #" + PlainNum(N[7]) + " used on Goodie" + Obj(n));
  } else {
    Progress("Goodie" + Obj(n) + " clicked.");
  }
  if (inventory_.ItemsHeld == Inventory::kSlots) {
    // No room: the item stays where it is, and so does the one in hand.
    const SettingsSound& full = settings_.inventory_full;
    if (!full.file.empty()) {
      s_.sound.PlayWAVQVX(full.file, false, kItemSoundChannel, full.pan, full.volume);
    }
    return;
  }
  const int16_t channel = engine_.GetSoundChannel(kGoodie, n, 2);
  inventory_.AddInventoryItem(N[5], false, 0);
  if (needs_item) UseHeldItem(N[8] == 1);
  if (!o.S[2].empty()) {
    const std::string ending = LastThreeLower(o.S[2]);
    if (ending == "wav") {
      s_.sound.PlayWav(o.S[2], false, channel, N[4], N[3]);
    } else if (ending == "avi") {
      s_.movies.PlayMovie(o.S[2], N[3], true, false);
    }
  }
  if (N[15] == 1) engine_.ChangeFlag(N[16], N[17], N[18]);
}

void ObjectInteraction::ClickSwitch(const Object& o) {
  const int16_t n = o.n;
  const auto& N = o.N;
  media::AnimatedPicture& animation = *s_.screen.Animation[n];
  if (animation.Playing()) return;
  const bool needs_item = N[7] == 1;
  if (needs_item &&
      !HasRequiredItem("Switch", n, N[8],
                       {o.S[3], engine_.GetSoundChannel(kSwitch, n, 2), N[10], N[11]})) {
    return;
  }
  if (needs_item) {
    Progress("Inventory Item #" + PlainNum(N[8]) + " used on Switch" + Obj(n));
    UseHeldItem(N[9] == 1);
  } else {
    Progress("Switch" + Obj(n) + " clicked.");
  }
  const int16_t channel = engine_.GetSoundChannel(kSwitch, n, 1);
  const int16_t state = engine_.state.Flags[N[0]];
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
    engine_.ChangeFlag(N[0], state != 0 ? int16_t{0} : N[4], engine::kSet);
  }
  if (state != 0 && !o.S[1].empty()) s_.sound.PlayWav(o.S[1], false, channel, N[3], N[2]);
  if (state == 0 && !o.S[2].empty()) s_.sound.PlayWav(o.S[2], false, channel, N[6], N[5]);
}

void ObjectInteraction::AnimationEnded(int16_t n) {
  engine::ObjectClickState& clicks = engine_.clicks;
  const data::SceneTables& t = engine_.scene();
  if (t.ObjType[n] != kSwitch || !clicks.SwitchAnimating[n]) return;
  clicks.SwitchAnimating[n] = false;
  RunProcedure(s_.boxes, "Animation_AnimationEnded", [&] {
    const int16_t value = clicks.SwitchState[n] != 0 ? int16_t{0} : t.ObjN[4][n];
    engine_.ChangeFlag(t.ObjN[0][n], value, engine::kSet);
  });
}

void ObjectInteraction::ClickReactor(const Object& o) {
  const int16_t n = o.n;
  const auto& N = o.N;
  engine::ObjectClickState& clicks = engine_.clicks;
  if (N[14] == 1 && clicks.ReactorUsed[n]) return;
  Progress("Reactor" + Obj(n) + " clicked.");
  clicks.ReactorUsed[n] = true;
  const int16_t channel = engine_.GetSoundChannel(kReactor, n, 1);
  const uint64_t loads = engine_.SceneLoadsStarted();
  if (N[8] == 1) engine_.ChangeFlag(N[9], N[10], N[11]);
  s_.loop.DoEvents();
  auto play_sound = [&] {
    if (!o.S[2].empty()) s_.sound.PlayWav(o.S[2], false, channel, N[3], N[2]);
  };
  switch (N[0]) {
    case 1:
    case 2:
      play_sound();
      break;
    case 3:
    case 4:
      if (!o.S[1].empty()) s_.movies.PlayMovie(o.S[1], N[1], true, false);
      break;
    case 5:
      // The reaction animates the object; after a scene switch it is no longer there.
      if (engine_.SceneLoadsStarted() == loads) {
        media::AnimatedPicture& animation = *s_.screen.Animation[n];
        animation.SetRestart(true);
        animation.Start();
      }
      play_sound();
      break;
    default:
      break;
  }
  if (N[12] == 1) s_.map.AddMapLocation(N[13]);
}

void ObjectInteraction::Hover(int16_t n, bool still) {
  GameScreen& screen = s_.screen;
  if (screen.BusyCursorShowing()) return;
  RunProcedure(s_.boxes, still ? "NoGIF_MouseMove" : "Animation_MouseMove", [&] {
    // The pointer has left the inventory item and the buttons.
    screen.ItemHiLite->SetVisible(false);
    screen.ShowNormalButtons();
    if (engine_.SceneChanging) return;
    if (screen.ConvBox->Visible()) s_.conversations.UnhighlightLines();
    const data::SceneTables& t = engine_.scene();
    const int16_t type = t.ObjType[n];
    if (type != kGoodie && s_.conversations.BlockingConversationShowing()) return;

    const auto& N = t.ObjN;
    const engine::ObjectClickState& clicks = engine_.clicks;
    const bool holding = inventory_.HandSlot() != Inventory::kEmptyHand;
    int cursor = 0;  // 0: a picture, or nothing to change
    platform::ImagePtr picture;
    bool change = true;
    if (type > kLastKnownType) {
      cursor = kSwitchCursor;
    } else if (type == kLink) {
      if (N[21][n] == 1 && clicks.HotSpotUsed[n]) {
        cursor = kDefaultCursor;
      } else if (N[6][n] == 1 && holding) {
        picture = inventory_.HeldHighlight();
      } else {
        cursor = CursorNumber(N[0][n]);
      }
    } else if (still) {
      change = false;  // a still object is only ever a Link
    } else {
      switch (type) {
        case kAmbient:
          if (holding) {
            picture = screen.FlashFixIcon->Picture();
          } else {
            cursor = kDefaultCursor;
          }
          break;
        case kGoodie:
          if (N[6][n] == 1 && holding) {
            picture = inventory_.HeldHighlight();
          } else {
            cursor = kGoodieCursor;
          }
          break;
        case kSwitch:
          if (N[7][n] == 1 && holding) {
            picture = inventory_.HeldHighlight();
          } else {
            cursor = kSwitchCursor;
          }
          break;
        case kReactor:
          cursor = N[14][n] == 1 && clicks.ReactorUsed[n] ? kDefaultCursor : kReactorCursor;
          break;
        default:
          change = false;
          break;  // the hidden types
      }
    }
    if (!change) return;
    // Both replace the icon only when it differs, so moving over an object never flickers.
    if (cursor != 0) {
      screen.ShowCursor(cursor);
    } else {
      screen.ShowPictureCursor(picture);
    }
  });
}

void ObjectInteraction::SceneMouseMove() {
  GameScreen& screen = s_.screen;
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
  GameScreen& screen = s_.screen;
  RunProcedure(s_.boxes, "Form_MouseMove", [&] {
    screen.LastHoverButton = kNoHoverButton;
    screen.ShowNormalButtons();
    if (!screen.BusyCursorShowing()) screen.ShowCursor(kDefaultCursor);
  });
}

}  // namespace qv::screen
