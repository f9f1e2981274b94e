// The animated picture control on the real window backend, under SDL's dummy video
// driver: a form with an animation loaded from a GIF file presents its frames, and
// everything closes down cleanly.

#include <gtest/gtest.h>

#include "data/game_folder.h"
#include "media/animated_picture.h"
#include "media/spinner_gif.h"
#include "platform/event_loop.h"
#include "platform/pictures/picture_files.h"
#include "platform/sdl/sdl_backend.h"
#include "test_support.h"
#include "ui/desktop.h"
#include "ui/form.h"
#include "ui/label.h"

namespace qv::media {
namespace {

TEST(AnimatedPictureOnScreen, PresentsFramesAndClosesCleanly) {
  qv::testing::TempDir dir;
  dir.Write("resource/gfx/Spin.gif", qv::testing::SpinnerGif(20, 64, 48, 2));
  data::GameFolder folder(dir.path());
  platform::PictureFiles pictures;

  platform::SdlBackend backend;
  platform::EventLoop loop(backend);
  ui::Desktop desktop(loop);
  {
    ui::Form main(desktop, "Main");
    main.Move(0, 0, 800, 600);
    const platform::CursorPicture& cursor = pictures.builtins().Cursor(13);
    main.SetMouseIcon(cursor.picture->frames[0], cursor.hot_x, cursor.hot_y);
    main.SetMousePointer(ui::kPointerCustom);
    auto& caption = main.Create<ui::Label>("Msg");
    caption.SetAutoSize(true);
    caption.SetCaption("Loading.  Please wait...");
    auto& anim =
        main.Create<AnimatedPicture>("Animation", 1, loop, PictureSource{folder, pictures});
    anim.Move(100, 100, 10, 10);
    anim.SetAutoSize(true);
    bool loaded = false;
    int changes = 0;
    anim.on_picture_loaded = [&] { loaded = true; };
    anim.on_frame_changed = [&] { ++changes; };
    main.Show();

    anim.Load(folder.AppPath() + "resource\\gfx\\spin.GIF");
    loop.WaitUntil([&] { return loaded; }, "the spinner to load");
    EXPECT_EQ(anim.FrameCount(), 20);
    EXPECT_EQ(anim.Width(), 64);
    anim.Start();
    const int64_t frames_before = backend.frames_presented();
    loop.PassTime(400);  // 20 ms a frame: about 20 frame changes
    EXPECT_GE(changes, 5);
    EXPECT_GE(backend.frames_presented() - frames_before, 5);
    EXPECT_TRUE(anim.Playing());
    main.Hide();
    loop.DoEvents();
  }
  loop.DoEvents();  // the form and its controls are gone; nothing is left to run
  EXPECT_FALSE(loop.timers().NextDeadline().has_value());
}

}  // namespace
}  // namespace qv::media
