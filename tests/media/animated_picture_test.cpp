// The animated picture control as the game's call sites use it: loading with its
// picture-loaded event, playing forward, backward and ping-pong with the file's loop
// count or once, restarting, the frame delays, and what it costs when nobody sees it.

#include "media/animated_picture.h"

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "core/text.h"
#include "core/vb_error.h"
#include "data/game_folder.h"
#include "test_support.h"
#include "ui/ui_fixture.h"

namespace qv::media {
namespace {

using ui::testing::MakePicture;

// Pictures by file name, as if decoded from the game's files.
class FakeLoader : public platform::PictureLoader {
 public:
  platform::PicturePtr Load(const std::filesystem::path& path) override {
    ++loads;
    const std::string name = LowerAscii(path.filename().string());
    if (name == "broken.gif") Raise(kErrInvalidPicture);
    auto it = files.find(name);
    if (it == files.end()) Raise(kErrFileNotFound);
    return it->second;
  }
  std::map<std::string, platform::PicturePtr> files;
  int loads = 0;
};

class AnimatedPictureTest : public ui::testing::DesktopTest {
 protected:
  AnimatedPictureTest() {
    main = MakeForm("Main", 0, 0, 700, 500);
    anim = &main->Create<AnimatedPicture>("Animation", 3, loop, PictureSource{folder, loader});
    anim->Move(100, 100, 50, 50);
    anim->on_frame_changed = [this] { frames.push_back(anim->CurrentFrame()); };
    anim->on_animation_ended = [this] {
      ++ended;
      ended_at = loop.NowMs();
    };
  }

  // Lets time pass and returns the frames shown meanwhile.
  std::vector<int> Play(int64_t ms) {
    frames.clear();
    loop.PassTime(ms);
    return frames;
  }

  qv::testing::TempDir dir;
  data::GameFolder folder{dir.path()};
  FakeLoader loader;
  std::unique_ptr<ui::Form> main;
  AnimatedPicture* anim = nullptr;
  std::vector<int> frames;
  int ended = 0;
  int64_t ended_at = -1;
};

TEST_F(AnimatedPictureTest, PictureLoadedArrivesAfterASuccessfulLoadCallReturns) {
  loader.files["door.gif"] = MakePicture(3, 40, 30);
  int loaded = 0;
  anim->on_picture_loaded = [&] {
    ++loaded;
    EXPECT_EQ(anim->FrameCount(), 3) << "the picture is in place when the event runs";
  };
  anim->Load(folder.AppPath() + "resource\\gfx\\Door.GIF");
  EXPECT_EQ(loaded, 0) << "never inside the load call";
  loop.DoEvents();
  EXPECT_EQ(loaded, 1);
  loop.DoEvents();
  EXPECT_EQ(loaded, 1) << "once per load";

  // Copying the picture to another control raises no loaded event there.
  auto& copy = main->Create<AnimatedPicture>("Loctn", 1, loop, PictureSource{folder, loader});
  int copy_loaded = 0;
  copy.on_picture_loaded = [&] { ++copy_loaded; };
  copy.SetPicture(anim->Picture());
  loop.DoEvents();
  EXPECT_EQ(copy.FrameCount(), 3);
  EXPECT_EQ(copy_loaded, 0);

  // A failed load raises its error, shows nothing and raises no loaded event.
  anim->Start();
  for (auto [name, number] : {std::pair{"resource\\gfx\\gone.gif", kErrFileNotFound},
                              std::pair{"resource\\gfx\\broken.gif", kErrInvalidPicture},
                              std::pair{"..\\..\\etc\\passwd", kErrBadFileName}}) {
    EXPECT_EQ(qv::testing::VbErrorNumber([&] { anim->Load(name); }), number) << name;
    EXPECT_EQ(anim->Picture(), nullptr) << name;
    EXPECT_FALSE(anim->Playing());
  }
  loop.DoEvents();
  EXPECT_EQ(loaded, 1);
  EXPECT_EQ(anim->FramePicture(1), nullptr);
}

TEST_F(AnimatedPictureTest, ForwardAndPingPongPlayTheFilesLoopCountThenEnd) {
  anim->SetPicture(MakePicture(3, 4, 3, {50}, /*loop_count=*/2));
  anim->Start();
  EXPECT_EQ(Play(1000), (std::vector<int>{1, 2, 0, 1, 2}));
  EXPECT_EQ(ended, 1);
  EXPECT_EQ(ended_at, 300) << "after the last frame's own delay";

  anim->SetDirection(AnimatedPicture::kPingPong);
  anim->SetRestart(true);
  anim->Start();
  EXPECT_EQ(Play(2000), (std::vector<int>{1, 2, 1, 0, 1, 2, 1, 0}));
  EXPECT_EQ(ended, 2);
}

TEST_F(AnimatedPictureTest, ASwitchPlaysBackwardToFrameZeroAndThenEnds) {
  anim->SetPicture(MakePicture(4, 4, 3, {50}, /*loop_count=*/0));
  // What a click on a Switch that is on does: 21 = 1, frame = last, start.
  anim->SetDirection(AnimatedPicture::kBackward);
  anim->SetCurrentFrame(anim->FrameCount() - 1);
  anim->Start();
  EXPECT_EQ(Play(1000), (std::vector<int>{2, 1, 0}));
  EXPECT_EQ(ended, 1) << "one pass, whatever the file's loop count";
  EXPECT_EQ(anim->CurrentFrame(), 0);
  EXPECT_EQ(ended_at, 200);

  // Starting it again where it stands ends after that frame's delay, without moving.
  anim->Start();
  EXPECT_TRUE(Play(1000).empty());
  EXPECT_EQ(ended, 2);

  // Hidden meanwhile (the update pass hides the Switch), it still ends on time.
  anim->SetCurrentFrame(3);
  anim->Start();
  anim->SetVisible(false);
  const int64_t started = loop.NowMs();
  loop.PassTime(1000);
  EXPECT_EQ(ended, 3);
  EXPECT_EQ(ended_at - started, 200);
}

TEST_F(AnimatedPictureTest, RestartDecidesWhereStartBegins) {
  anim->SetPicture(MakePicture(4, 4, 3, {50}, /*loop_count=*/1));
  anim->SetCurrentFrame(2);
  anim->Start();  // 29 off: goes on from frame 2
  EXPECT_EQ(Play(1000), (std::vector<int>{3}));

  // An object that already played once does not replay when started again.
  EXPECT_TRUE(Play(0).empty());
  anim->Start();
  EXPECT_TRUE(Play(1000).empty());
  EXPECT_EQ(ended, 2);

  // 29 on: from the first frame of the direction.
  anim->SetRestart(true);
  anim->Start();
  EXPECT_EQ(anim->CurrentFrame(), 0);
  EXPECT_EQ(Play(1000), (std::vector<int>{1, 2, 3}));
  anim->SetDirection(AnimatedPicture::kBackward);
  anim->SetCurrentFrame(1);
  anim->Start();
  EXPECT_EQ(anim->CurrentFrame(), 3);
  EXPECT_EQ(Play(1000), (std::vector<int>{2, 1, 0}));
}

TEST_F(AnimatedPictureTest, StoppedOrNeverStartedStandsStillAndStillPicturesEndAtOnce) {
  anim->SetPicture(MakePicture(5, 4, 3, {50}, 0));
  anim->SetCurrentFrame(1);
  EXPECT_TRUE(Play(1000).empty()) << "never started: stands still";
  EXPECT_FALSE(loop.timers().NextDeadline().has_value()) << "and costs nothing";
  anim->Start();
  Play(120);
  anim->Stop();
  EXPECT_EQ(anim->CurrentFrame(), 3);
  EXPECT_TRUE(Play(1000).empty());
  EXPECT_FALSE(loop.timers().NextDeadline().has_value());
  EXPECT_EQ(ended, 0) << "a stop raises nothing";

  anim->SetPicture(MakePicture(1));
  anim->Start();
  EXPECT_EQ(ended, 0) << "not inside Start";
  EXPECT_FALSE(anim->Playing());
  loop.DoEvents();
  EXPECT_EQ(ended, 1);

  anim->SetPicture(nullptr);
  anim->Start();
  loop.DoEvents();
  EXPECT_EQ(ended, 2) << "nothing to play ends too";
  anim->SetCurrentFrame(5);
  EXPECT_EQ(anim->CurrentFrame(), 0);
}

TEST_F(AnimatedPictureTest, TinyDelaysShowForAHundredMilliseconds) {
  anim->SetPicture(MakePicture(4, 4, 3, {0, 10, 20, 70}, /*loop_count=*/1));
  std::vector<int64_t> times;
  anim->on_frame_changed = [&] { times.push_back(loop.NowMs()); };
  anim->Start();
  loop.PassTime(1000);
  EXPECT_EQ(times, (std::vector<int64_t>{100, 200, 220}));
  EXPECT_EQ(ended_at, 290);
}

TEST_F(AnimatedPictureTest, LoopsForEverAndRedrawsOnlyWhenAShownFrameChanges) {
  anim->SetPicture(MakePicture(3, 4, 3, {50}, 0));
  loop.DoEvents();
  anim->Start();
  int64_t before = backend.frames_presented();
  loop.PassTime(500);
  EXPECT_EQ(backend.frames_presented() - before, 10) << "one frame per frame change";
  EXPECT_EQ(ended, 0) << "a picture that loops for ever never ends";

  // Hidden, a picture that loops for ever waits, and nothing is drawn or scheduled.
  anim->SetVisible(false);
  const int paused_at = anim->CurrentFrame();
  loop.DoEvents();
  before = backend.frames_presented();
  loop.PassTime(1000);
  EXPECT_EQ(backend.frames_presented(), before);
  EXPECT_FALSE(loop.timers().NextDeadline().has_value());
  EXPECT_TRUE(anim->Playing());
  main->Hide();
  anim->SetVisible(true);
  EXPECT_FALSE(loop.timers().NextDeadline().has_value()) << "its form is hidden";
  main->Show();
  EXPECT_EQ(Play(50), (std::vector<int>{(paused_at + 1) % 3})) << "goes on where it paused";
}

TEST_F(AnimatedPictureTest, ButtonFramesAndTheFittedCloseUp) {
  auto button = MakePicture(2, 60, 20);
  anim->SetPicture(button);
  EXPECT_EQ(anim->FramePicture(1), button->frames[1]) << "normal picture";
  EXPECT_EQ(anim->FramePicture(0), button->frames[0]) << "highlighted picture";
  EXPECT_EQ(anim->FramePicture(2), button->frames[1]) << "past the end: the last frame";

  // The close-up: a fixed size with the picture fitted, proportions kept, centred.
  anim->SetAutoSize(false);
  anim->SetSizeMode(1);
  anim->Move(0, 0, 230, 260);
  loop.DoEvents();
  const auto* drawn = backend.renderer().FindImage(button->frames[0]->id());
  ASSERT_NE(drawn, nullptr);
  EXPECT_EQ(drawn->rect, (platform::Rect{0, 92, 230, 76}));
  anim->SetAutoSize(true);
  EXPECT_EQ(anim->Width(), 60);
}

TEST_F(AnimatedPictureTest, EventsOfADestroyedControlAreDropped) {
  anim->SetPicture(MakePicture(1));
  anim->Start();  // event 11 is on its way
  bool ran = false;
  anim->on_animation_ended = [&] { ran = true; };
  main.reset();
  loop.DoEvents();
  EXPECT_FALSE(ran);
}

}  // namespace
}  // namespace qv::media
