// Scene loading: leaving the current scene, reading the new one and its conditional
// jump, building it (background, links, the 20 object controls) and entering it (music,
// entry movie and sounds). The update pass that follows the build is update_pass.cpp.

#include <algorithm>

#include "core/procedure.h"
#include "core/text.h"
#include "core/vb_error.h"
#include "engine/engine.h"

namespace qv::engine {

namespace {

// The two playback settings of an object's control (direction, play once) by its
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

void SetPlayback(media::AnimatedPicture& control, int16_t type, int16_t mode) {
  const Playback playback = PlaybackFor(type, mode);
  if (playback.direction >= 0) control.SetDirection(playback.direction);
  if (playback.once >= 0) control.SetPlayOnce(playback.once);
}

}  // namespace

void Engine::WaitForMovie() {
  s_.loop.WaitUntil([this] { return s_.movies.MovieFinished(); });
}

void Engine::LoadScene(int16_t scene_no) {
  RunProcedure(s_.boxes, "LoadScene", [&] { Nested([&] { LoadSceneBody(scene_no); }); });
}

bool Engine::LoadSceneBody(int16_t scene_no) {
  if (game_ended_) return false;
  // The record is read first: a scene the file refuses leaves the current one as it is.
  const data::SceneRecord record = s_.data.ReadSceneRecord(scene_no);
  const uint64_t this_load = ++loads_started_;
  LeaveScene(scene_no);
  for (int16_t i = 1; i <= 20; ++i) {
    s_.screen.ObjectPicture(i).SetVisible(false);
    s_.screen.ObjectArea(i).SetVisible(false);
  }
  s_.data.UseScene(record, scene_no);
  if (!Jump(scene_no)) return false;
  if (!BuildScene(this_load)) return false;
  EnterScene();
  last_completed_load_ = std::max(last_completed_load_, this_load);
  return true;
}

void Engine::LeaveScene(int16_t scene_no) {
  ScreenPort& screen = s_.screen;
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
    const int16_t hand = s_.inventory.HandSlot();
    if (hand != 99) {
      s_.inventory.ShowItem(hand);
      s_.inventory.SetHandSlot(99);
    }
    screen.DisableGameButtons();
  }
  screen.ShowCursor(kBusyCursor);
  for (int16_t i = 1; i <= 20; ++i) {
    clicks.SwitchAnimating[i] = false;
    clicks.HotSpotUsed[i] = false;
    clicks.ReactorUsed[i] = false;
    memories.WavPlayed[i] = false;
    memories.WatchedWav[i].clear();
  }
  // The scene's sounds stop; the persistent sound, the buttons, the soundtrack and the
  // scene-switching responders' sounds play on.
  for (int16_t channel = 1; channel < media::kPersistentChannel; ++channel)
    s_.sound.StopWav(channel);
  for (int16_t channel :
       {media::kDialogueChannel, media::kSceneChangeChannel, media::kSceneLoopChannel}) {
    s_.sound.StopWav(channel);
  }
  if (t.CurrentScene != 0) {
    if (!t.ExitSound.empty()) {
      s_.sound.PlayWAVQVX(t.ExitSound, false, media::kSceneChangeChannel, t.ExitSoundPan,
                          t.ExitSoundVolume);
    }
    if (!t.ExitMovie.empty()) {
      s_.movies.PlayMovie(t.ExitMovie, t.ExitMovieParam, true, true);
      WaitForMovie();
    }
  }
  if (screen.ConversationBox().Visible()) {
    state.ShownConversation = 0;
    screen.ConversationBox().SetVisible(false);
  }
  screen.ShowCover();
  s_.loop.DoEvents();
}

bool Engine::Jump(int16_t scene_no) {
  data::SceneTables& t = scene();
  if (t.JumpEnabled != 1 || t.JumpScene == 0) return true;
  if (t.JumpScene == scene_no) {
    Progress("CheckFlag ERROR - Scene #" + PlainNum(scene_no) +
             " - Cannot set 'Jump To Scene' same as Current Scene");
    return true;
  }
  if (!TestFlag(t.JumpFlag, t.JumpOp, t.JumpValue)) return true;
  t.CurrentScene = 0;
  const uint64_t before = loads_started_;
  LoadScene(t.JumpScene);
  if (loads_started_ != before) return false;
  // The file refused the scene to jump to: this one is built after all.
  t.CurrentScene = scene_no;
  return true;
}

bool Engine::BuildScene(uint64_t this_load) {
  ScreenPort& screen = s_.screen;
  data::SceneTables& t = scene();
  if (s_.shell.RunningFromCD()) s_.shell.CheckCD(t.CurrentScene);
  if (!t.ScenePicture.empty()) {
    // A missing or broken background is reported, and the scene is still built: the
    // player can go on playing it.
    RunProcedure(s_.boxes, "LoadScene", [&] {
      auto path =
          s_.data.folder().Resolve(s_.data.folder().AppPath() + "resource\\Gfx\\" + t.ScenePicture);
      platform::PicturePtr picture = s_.pictures.Load(path);
      screen.SetScenePicture(picture->frames.empty() ? nullptr : picture->frames.front());
    });
  }
  // A flag change or a multi-trigger may switch scene while this one is built. When
  // that load completes, it has built the new scene entirely; when the file refuses it,
  // this scene is finished as it stands.
  if (t.EntryFlagOn == 1) ChangeFlag(t.EntryFlag, t.EntryFlagValue, t.EntryFlagOp);
  if (game_ended_ || LaterLoadCompleted(this_load)) return false;
  screen.PlaceLink(1, t.LinkUp[3], t.LinkUp[2], t.LinkUp[4], t.LinkUp[5]);
  screen.PlaceLink(3, t.LinkDown[3], t.LinkDown[2], t.LinkDown[4], t.LinkDown[5]);
  screen.PlaceLink(4, t.LinkLeft[3], t.LinkLeft[2], t.LinkLeft[4], t.LinkLeft[5]);
  screen.PlaceLink(2, t.LinkRight[3], t.LinkRight[2], t.LinkRight[4], t.LinkRight[5]);
  UpdateObjData();
  return !game_ended_ && !LaterLoadCompleted(this_load);
}

void Engine::EnterScene() {
  data::SceneTables& t = scene();
  if (!t.SoundtrackFile.empty()) s_.music.Soundtrack(t.SoundtrackFile, t.SoundtrackVolume, false);
  if (!t.EntryMovie.empty()) {
    s_.movies.PlayMovie(t.EntryMovie, t.EntryMovieParam, true, true);
    WaitForMovie();
  }
  if (!t.EntrySoundA.empty()) {
    s_.sound.PlayWAVQVX(t.EntrySoundA, false, media::kSceneChangeChannel, t.EntrySoundAPan,
                        t.EntrySoundAVolume);
  }
  if (!t.EntrySoundB.empty()) {
    s_.sound.PlayWAVQVX(t.EntrySoundB, true, media::kSceneLoopChannel, t.EntrySoundBPan,
                        t.EntrySoundBVolume);
  }
  s_.screen.RemoveCoverSoon();
  SceneChanging = false;
  Progress("Scene" + NumText(t.CurrentScene) + " loaded.");
}

void Engine::UpdateObjData() {
  RunProcedure(s_.boxes, "UpdateObjData", [&] { UpdateObjDataBody(); });
}

void Engine::UpdateObjDataBody() {
  ScreenPort& screen = s_.screen;
  data::SceneTables& t = scene();
  PicturesLoaded = 0;
  for (int16_t i = 1; i <= 20; ++i) {
    screen.ObjectPicture(i).SetVisible(false);
    screen.ObjectArea(i).SetVisible(false);
    screen.ObjectPicture(i).Stop();
  }
  for (int16_t i = 1; i <= 20; ++i)
    screen.ObjectPicture(i).SetVisible(true);

  SlotTable<std::string> picture;
  for (int16_t i = 1; i <= 20; ++i) {
    picture[i] = PrepareObject(i);
    // A multi-trigger's entry check switched scene: that load replaces this set-up.
    if (state.LoadedNewScene && SwitchScene()) return;
  }

  int requested = 0;
  for (int16_t i = 1; i <= 20; ++i) {
    const int16_t type = t.ObjType[i];
    if (type == kFired) continue;
    media::AnimatedPicture& control = screen.ObjectPicture(i);
    if (!picture[i].empty()) {
      if (LoadObjectPicture(i, picture[i])) ++requested;
    } else if ((type == kLink && !data::LinkObject::Read(t, i).invisible_area) || type == kGoodie ||
               type == kSwitch || type == kReactor) {
      control.SetPicture(screen.NoPicture());
    } else if (type >= kResponder && type <= kFlagConjunction) {
      control.SetPicture(nullptr);
      control.SetVisible(false);
    } else {
      control.SetPicture(screen.UnknownObjectPicture());
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

std::string Engine::PrepareObject(int16_t i) {
  const data::SceneTables& t = scene();
  media::AnimatedPicture& control = s_.screen.ObjectPicture(i);
  const int16_t type = t.ObjType[i];
  control.SetTag(data::ObjectTypeName(type));
  switch (type) {
    case kAmbient: {
      const auto o = data::AmbientObject::Read(t, i);
      SetPlayback(control, type, o.mode);
      return o.picture;
    }
    case kLink: {
      const auto o = data::LinkObject::Read(t, i);
      SetPlayback(control, type, o.mode);
      s_.screen.ObjectArea(i).SetTag(data::ObjectTypeName(type));
      return o.picture;
    }
    case kGoodie: {
      const auto o = data::GoodieObject::Read(t, i);
      SetPlayback(control, type, o.mode);
      return o.picture;
    }
    case kSwitch:
      // A switch's movement plays once, whatever the file's loop count says, so that
      // its flag changes when the movement ends.
      control.SetDirection(0);
      control.SetPlayOnce(1);
      return data::SwitchObject::Read(t, i).picture;
    case kReactor: {
      const auto o = data::ReactorObject::Read(t, i);
      SetPlayback(control, type, o.reaction);
      return o.picture;
    }
    case kResponder:
    case kDelay:
    case kConversation:
    case kFlagConjunction:
      InitHiddenObjectMemories(i);
      return "";
    case kMultiTrigger:
      InitHiddenObjectMemories(i);
      control.SetRestart(false);
      if (data::MultiTriggerObject::Read(t, i).mode == 0) CheckMultiTriggersOnEntry();
      return "";
    default:
      control.SetRestart(false);
      return "";
  }
}

bool Engine::LoadObjectPicture(int16_t i, const std::string& name) {
  ScreenPort& screen = s_.screen;
  media::AnimatedPicture& control = screen.ObjectPicture(i);
  std::string path = s_.data.folder().AppPath() + "resource\\gfx\\" + name;
  if (!s_.data.folder().FileExists(path)) {
    control.SetPicture(screen.NotFoundPicture());
    return false;
  }
  // A picture that exists but cannot be shown is reported; the object shows the
  // not-found picture and the scene is built on.
  bool loaded = RunProcedure(s_.boxes, "UpdateObjData", [&] { control.Load(path); });
  if (!loaded) control.SetPicture(screen.NotFoundPicture());
  return loaded;
}

}  // namespace qv::engine
