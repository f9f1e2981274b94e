// Scene loading: leaving the current scene, reading the new one, its conditional jump,
// setting up the 20 object controls, and the update pass that shows the objects whose
// conditions hold and hands the hidden ones to the rules.

#include <algorithm>

#include "core/text.h"
#include "core/vb_error.h"
#include "core/vb_math.h"
#include "engine/engine.h"

namespace qv::engine {

namespace {

const char* TypeName(int16_t type) {
  switch (type) {
    case kAmbient:
      return "Ambient";
    case kLink:
      return "Link";
    case kGoodie:
      return "Goodie";
    case kSwitch:
      return "Switch";
    case kReactor:
      return "Reactor";
    case kResponder:
      return "Responder";
    case kDelay:
      return "Delay";
    case kMultiTrigger:
      return "Multi-Trigger";
    case kConversation:
      return "Conversation";
    case kFlagConjunction:
      return "Flag Conjunction";
    default:
      return ">>> Unknown <<<";
  }
}

// The two playback settings of an object's control (direction, repeat) by its
// animation mode; -1 leaves a setting as it is.
struct Playback {
  int direction;
  int once;
};

Playback PlaybackFor(int16_t type, int16_t mode) {
  if (type == kReactor) {
    switch (mode) {
      case 1:
      case 3:
        return {0, 0};
      case 2:
      case 4:
        return {2, 0};
      case 5:
        return {0, -1};
      default:
        return {-1, -1};
    }
  }
  switch (mode) {
    case 1:
      return {0, 0};
    case 2:
      return {2, 0};
    case 3:
      return type == kGoodie ? Playback{0, -1} : Playback{0, 1};
    default:
      return {-1, -1};
  }
}

// An invisible link's height or width text as a size in pixels.
int SizeFromText(const std::string& text) {
  double value = RoundHalfEven(LeadingNumber(text));
  return static_cast<int>(std::clamp(value, 0.0, 32767.0));
}

}  // namespace

void Engine::WaitForMovie() {
  s_.loop.WaitUntil([this] { return s_.movies.MovieFinished(); });
}

void Engine::LoadScene(int16_t scene_no) {
  RunProcedure(s_.boxes, "LoadScene", [&] { LoadSceneBody(scene_no); });
}

void Engine::LoadSceneBody(int16_t scene_no) {
  NestingGuard guard(*this);
  const uint64_t this_load = ++loads_started_;
  screen::GameScreen& screen = s_.screen;
  data::SceneTables& t = scene();

  SceneChanging = true;
  state.LoadedNewScene = false;
  state.ShownConversation = 0;
  state.LastFlagChanged = 0;
  if (!s_.movies.MovieFinished() && s_.movies.MovieWaitsScene()) WaitForMovie();
  if (!PendingMovie.empty()) {
    s_.movies.PlayMovie(PendingMovie, PendingMovieParam, true, true);
    WaitForMovie();
    PendingMovie.clear();
  }
  Progress("Loading scene" + NumText(scene_no) + "...");
  // A credits scene number of 0 means the game has none.
  if (s_.shell.CreditsScene() != 0 && scene_no == s_.shell.CreditsScene()) {
    int16_t hand = s_.inventory.HandSlot();
    if (hand != 99) {
      s_.inventory.ShowItem(hand);
      s_.inventory.SetHandSlot(99);
    }
    screen.SaveGameButtn->SetEnabled(false);
    screen.InvBar->SetEnabled(false);
    screen.ExamineItem->SetEnabled(false);
  }
  screen.ShowCursor(screen::kBusyCursor);
  for (int i = 1; i <= 20; ++i) {
    clicks.SwitchAnimating[i] = false;
    clicks.HotSpotUsed[i] = false;
    clicks.ReactorUsed[i] = false;
    memories.WavPlayed[i] = false;
    memories.WatchedWav[i].clear();
  }
  // Leaving a scene stops its sounds; channels 14, 18, 19 and 20 play on.
  for (int16_t channel = 1; channel <= 13; ++channel)
    s_.sound.StopWav(channel);
  for (int16_t channel : {int16_t{15}, int16_t{16}, int16_t{17}})
    s_.sound.StopWav(channel);
  if (t.CurrentScene != 0) {
    if (!t.ExitSound.empty()) {
      s_.sound.PlayWAVQVX(t.ExitSound, false, 16, t.ExitSoundPan, t.ExitSoundVolume);
    }
    if (!t.ExitMovie.empty()) {
      s_.movies.PlayMovie(t.ExitMovie, t.ExitMovieParam, true, true);
      WaitForMovie();
    }
  }
  if (screen.ConvBox->Visible()) {
    state.ShownConversation = 0;
    screen.ConvBox->SetVisible(false);
  }
  screen.Block->SetVisible(true);
  s_.loop.DoEvents();

  for (int i = 1; i <= 20; ++i) {
    screen.Animation[i]->SetVisible(false);
    screen.NoGIF[i]->SetVisible(false);
  }
  s_.data.ReadScene(scene_no);

  if (t.JumpEnabled == 1 && t.JumpScene != 0) {
    if (t.JumpScene == scene_no) {
      Progress("CheckFlag ERROR - Scene #" + PlainNum(scene_no) +
               " - Cannot set 'Jump To Scene' same as Current Scene");
    } else if (TestFlag(t.JumpFlag, t.JumpOp, t.JumpValue)) {
      t.CurrentScene = 0;
      LoadScene(t.JumpScene);
      return;
    }
  }
  if (s_.shell.RunningFromCD()) s_.shell.CheckCD(scene_no);
  if (!t.ScenePicture.empty()) {
    // A missing or broken background is reported, and the scene is still built: the
    // player can go on playing it.
    RunProcedure(s_.boxes, "LoadScene", [&] {
      auto path =
          s_.data.folder().Resolve(s_.data.folder().AppPath() + "resource\\Gfx\\" + t.ScenePicture);
      platform::PicturePtr picture = s_.pictures.Load(path);
      screen.ScnImg->SetPicture(picture->frames.empty() ? nullptr : picture->frames.front());
    });
  }
  if (t.EntryFlagOn == 1) ChangeFlag(t.EntryFlag, t.EntryFlagValue, t.EntryFlagOp);
  // A scene switch inside the entry flag change has built the new scene completely.
  if (loads_started_ != this_load) return;

  auto place = [](ui::Image& area, const VbArray<int16_t, 0, 5>& link) {
    area.Move(link[3], link[2], link[4], link[5]);
  };
  place(*screen.Directionl[1], t.LinkUp);
  place(*screen.Directionl[3], t.LinkDown);
  place(*screen.Directionl[4], t.LinkLeft);
  place(*screen.Directionl[2], t.LinkRight);

  UpdateObjData();
  // A multi-trigger that switched scene on entry has built the new scene completely;
  // its entry media, cover and log line are not repeated here.
  if (loads_started_ != this_load) return;

  if (!t.SoundtrackFile.empty()) s_.music.Soundtrack(t.SoundtrackFile, t.SoundtrackVolume, false);
  if (!t.EntryMovie.empty()) {
    s_.movies.PlayMovie(t.EntryMovie, t.EntryMovieParam, true, true);
    WaitForMovie();
  }
  if (!t.EntrySoundA.empty()) {
    s_.sound.PlayWAVQVX(t.EntrySoundA, false, 16, t.EntrySoundAPan, t.EntrySoundAVolume);
  }
  if (!t.EntrySoundB.empty()) {
    s_.sound.PlayWAVQVX(t.EntrySoundB, true, 17, t.EntrySoundBPan, t.EntrySoundBVolume);
  }
  screen.BlockTimer->SetEnabled(true);
  SceneChanging = false;
  Progress("Scene" + NumText(t.CurrentScene) + " loaded.");
}

void Engine::UpdateObjData() {
  RunProcedure(s_.boxes, "UpdateObjData", [&] { UpdateObjDataBody(); });
}

bool Engine::LoadObjectPicture(int16_t i, const std::string& name) {
  screen::GameScreen& screen = s_.screen;
  media::AnimatedPicture& control = *screen.Animation[i];
  std::string path = s_.data.folder().AppPath() + "resource\\gfx\\" + name;
  if (!s_.data.folder().FileExists(path)) {
    control.SetPicture(screen.FNF->Picture());
    return false;
  }
  // A picture that exists but cannot be shown is reported; the object shows the
  // not-found picture and the scene is built on.
  bool loaded = RunProcedure(s_.boxes, "UpdateObjData", [&] { control.Load(path); });
  if (!loaded) control.SetPicture(screen.FNF->Picture());
  return loaded;
}

void Engine::UpdateObjDataBody() {
  screen::GameScreen& screen = s_.screen;
  data::SceneTables& t = scene();
  PicturesLoaded = 0;
  for (int i = 1; i <= 20; ++i) {
    screen.Animation[i]->SetVisible(false);
    screen.NoGIF[i]->SetVisible(false);
    screen.Animation[i]->Stop();
  }
  for (int i = 1; i <= 20; ++i)
    screen.Animation[i]->SetVisible(true);

  SlotTable<std::string> picture_name;
  for (int16_t i = 1; i <= 20; ++i) {
    media::AnimatedPicture& control = *screen.Animation[i];
    int16_t type = t.ObjType[i];
    control.SetTag(TypeName(type));
    auto settings = [&](int16_t mode) {
      Playback playback = PlaybackFor(type, mode);
      if (playback.direction >= 0) control.SetDirection(playback.direction);
      if (playback.once >= 0) control.SetPlayOnce(playback.once);
    };
    switch (type) {
      case kAmbient:
        picture_name[i] = t.ObjS[0][i];
        settings(t.ObjN[0][i]);
        break;
      case kLink:
        picture_name[i] = t.ObjS[0][i];
        settings(t.ObjN[1][i]);
        screen.NoGIF[i]->SetTag(TypeName(type));
        break;
      case kGoodie:
        picture_name[i] = t.ObjS[0][i];
        settings(t.ObjN[0][i]);
        break;
      case kSwitch:
        picture_name[i] = t.ObjS[0][i];
        // A switch's movement plays once, whatever the file's loop count says, so that
        // its flag changes when the movement ends.
        control.SetDirection(0);
        control.SetPlayOnce(1);
        break;
      case kReactor:
        picture_name[i] = t.ObjS[0][i];
        settings(t.ObjN[0][i]);
        break;
      case kResponder:
      case kDelay:
      case kMultiTrigger:
      case kConversation:
      case kFlagConjunction:
        InitHiddenObjectMemories(i);
        if (type == kMultiTrigger) {
          control.SetRestart(false);
          if (t.ObjN[0][i] == 0) {
            CheckMultiTriggersOnEntry();
            if (state.LoadedNewScene) {
              LoadScene(state.NewSceneNum);
              return;
            }
          }
        }
        break;
      default:
        control.SetRestart(false);
        break;
    }
  }

  int requested = 0;
  for (int16_t i = 1; i <= 20; ++i) {
    int16_t type = t.ObjType[i];
    if (type == -1) continue;
    media::AnimatedPicture& control = *screen.Animation[i];
    if (!picture_name[i].empty()) {
      if (LoadObjectPicture(i, picture_name[i])) ++requested;
    } else if ((type == kLink && t.ObjN[25][i] == 0) || type == kGoodie || type == kSwitch ||
               type == kReactor) {
      control.SetPicture(screen.AniGIF1->Picture());
    } else if (type >= kResponder && type <= kFlagConjunction) {
      control.SetPicture(nullptr);
      control.SetVisible(false);
    } else {
      control.SetPicture(screen.UnknownObject->Picture());
      control.SetVisible(true);
    }
  }
  // Every requested picture reports itself loaded through the event loop; a control
  // that never does cannot hold the scene up for more than kPictureWaitMs.
  const int64_t give_up = s_.loop.NowMs() + kPictureWaitMs;
  platform::Timer bound(s_.loop.timers());
  bound.SetInterval(kPictureWaitMs);
  bound.SetEnabled(true);
  s_.loop.WaitUntil([&] { return PicturesLoaded >= requested || s_.loop.NowMs() >= give_up; });
  UpdateObjData2();
}

void Engine::UpdateObjData2() {
  RunProcedure(s_.boxes, "UpdateObjData2", [&] { UpdateObjData2Body(); });
}

void Engine::UpdateObjData2Body() {
  screen::GameScreen& screen = s_.screen;
  data::SceneTables& t = scene();
  auto& N = t.ObjN;
  for (int i = 1; i <= 20; ++i)
    ObjActive[i] = false;
  auto visible_by = [&](int16_t i, int mode_field) {
    int16_t mode = N[mode_field][i];
    if (mode == 1) return true;
    if (mode == 2)
      return TestFlag(N[mode_field + 1][i], N[mode_field + 2][i], N[mode_field + 3][i]);
    return false;
  };

  int16_t entry_record = 0, entry_slot = 0;
  bool entry_requested = false;
  for (int16_t i = 1; i <= 20; ++i) {
    switch (t.ObjType[i]) {
      case kAmbient:
        ObjActive[i] = visible_by(i, 4);
        if (ObjActive[i]) {
          if (N[8][i] == 1) ChangeFlag(N[9][i], N[10][i], N[11][i]);
          if (N[12][i] == 1) s_.map.AddMapLocation(N[13][i]);
        }
        break;
      case kLink:
        ObjActive[i] = visible_by(i, 13);
        break;
      case kGoodie:
        ObjActive[i] = visible_by(i, 11);
        break;
      case kSwitch:
        ObjActive[i] = visible_by(i, 12);
        if (ObjActive[i]) {
          // The switch shows its state: on = its last frame.
          media::AnimatedPicture& control = *screen.Animation[i];
          if (state.Flags[N[0][i]] != 0) {
            control.SetDirection(1);
            control.SetCurrentFrame(control.FrameCount() - 1);
          } else {
            control.SetDirection(0);
            control.SetCurrentFrame(0);
          }
          s_.loop.DoEvents();
        }
        break;
      case kReactor:
        ObjActive[i] = visible_by(i, 4);
        break;
      case kResponder:
        if (N[4][i] == 1) t.ObjType[i] = -2;
        break;
      case kDelay:
        if (N[0][i] == 0 && TestFlag(N[1][i], N[2][i], N[3][i])) {
          ObjActive[i] = true;
          s_.delays.StartDelay(i, N[4][i]);
        }
        if (!ObjActive[i]) t.ObjType[i] = -3;
        break;
      case kMultiTrigger:
        ObjActive[i] = N[0][i] == 0;
        if (!ObjActive[i]) t.ObjType[i] = -4;
        break;
      case kConversation:
        if (N[1][i] == 1) {
          // An entry conversation is shown by the pass (the last one in slot order).
          ObjActive[i] = state.ShownConversation != i;
          entry_requested = true;
          entry_record = N[0][i];
          entry_slot = i;
        } else if (N[1][i] == 2) {
          ObjActive[i] = state.ShownConversation != i && TestFlag(N[2][i], N[3][i], N[4][i]);
        }
        if (!ObjActive[i]) t.ObjType[i] = -5;
        break;
      case kFlagConjunction:
        ObjActive[i] = N[0][i] == 0;
        if (N[0][i] == 1) t.ObjType[i] = -6;
        break;
      default:
        break;
    }
  }

  for (int16_t i = 1; i <= 20; ++i) {
    if (!ObjActive[i]) continue;
    media::AnimatedPicture& control = *screen.Animation[i];
    auto show_at_place = [&] {
      control.Move(t.ObjX[i], t.ObjY[i]);
      control.SetVisible(true);
    };
    switch (t.ObjType[i]) {
      case kAmbient:
        show_at_place();
        control.Start();
        if (!t.ObjS[1][i].empty()) {
          s_.sound.PlayWav(t.ObjS[1][i], N[0][i] != 3, GetSoundChannel(0, i, 1), N[3][i], N[2][i]);
        }
        break;
      case kLink:
        if (N[25][i] != 0) {
          control.SetVisible(false);
          ui::Image& area = *screen.NoGIF[i];
          area.Move(t.ObjX[i], t.ObjY[i], SizeFromText(t.ObjS[5][i]), SizeFromText(t.ObjS[4][i]));
          area.SetVisible(true);
        } else {
          show_at_place();
        }
        if (!t.ObjS[1][i].empty() && !clicks.HotSpotUsed[i]) {
          s_.sound.PlayWav(t.ObjS[1][i], true, GetSoundChannel(1, i, 1), N[3][i], N[2][i]);
        }
        if (N[1][i] != 3 && N[25][i] == 0 && !clicks.HotSpotUsed[i]) control.Start();
        break;
      case kGoodie:
        show_at_place();
        if (N[0][i] != 3) {
          control.Start();
          if (!t.ObjS[1][i].empty()) {
            s_.sound.PlayWav(t.ObjS[1][i], true, GetSoundChannel(2, i, 1), N[2][i], N[1][i]);
          }
        }
        break;
      case kSwitch:
        show_at_place();
        break;
      case kReactor:
        show_at_place();
        if (N[0][i] == 5) {
          control.Stop();
        } else {
          control.Start();
        }
        if ((N[0][i] == 3 || N[0][i] == 4) && !t.ObjS[2][i].empty()) {
          s_.sound.PlayWav(t.ObjS[2][i], true, GetSoundChannel(4, i, 1), N[3][i], N[2][i]);
        }
        break;
      default:
        break;
    }
  }

  if (entry_requested) s_.conversations.ShowConversation(entry_record, entry_slot);
  CheckHiddenObjects();
  state.RestoringGame = false;
  if (state.LoadedNewScene) {
    LoadScene(state.NewSceneNum);
    return;
  }
  for (int i = 1; i <= 20; ++i) {
    int16_t& type = t.ObjType[i];
    if (type <= -2 && type >= -6) type = static_cast<int16_t>(3 - type);
  }
  for (int i = 1; i <= 20; ++i) {
    if (!ObjActive[i]) {
      screen.Animation[i]->SetVisible(false);
      screen.NoGIF[i]->SetVisible(false);
      s_.loop.DoEvents();
    }
  }
  ScnTimerDone = false;
  screen.ScnTimer->SetEnabled(true);
  s_.loop.WaitUntil([this] { return ScnTimerDone; });
}

int16_t Engine::GetSoundChannel(int16_t kind, int16_t obj, int16_t variant) const {
  const auto& N = scene().ObjN;
  int16_t field = 0;
  switch (kind) {
    case kAmbient:
      field = N[14][obj];
      break;
    case kLink:
      if (variant < 1 || variant > 3) return 0;
      field = N[21 + variant][obj];
      break;
    case kGoodie:
      if (variant < 1 || variant > 3) return 0;
      field = N[18 + variant][obj];
      break;
    case kSwitch:
      if (variant < 1 || variant > 2) return 0;
      field = N[15 + variant][obj];
      break;
    case kReactor:
      field = N[15][obj];
      if (field == -1) return 15;
      break;
    case kResponder:
      field = N[20][obj];
      break;
    default:
      return 0;
  }
  if (field == 0 || field == -1) return static_cast<int16_t>(obj > 13 ? obj - 13 : obj);
  return field;
}

}  // namespace qv::engine
