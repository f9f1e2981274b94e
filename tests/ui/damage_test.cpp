// Frames that repaint only what changed must show exactly what a full repaint shows: a
// scene of overlapping controls on the real window backend (SDL's software drawing under
// the dummy video driver) is changed, moved, hidden and covered, and after each frame the
// whole screen, and the window showing it, are compared pixel by pixel with a full
// repaint. The headless backend tells which parts a frame repainted.

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "platform/event_loop.h"
#include "platform/sdl/sdl_backend.h"
#include "ui/desktop.h"
#include "ui/form.h"
#include "ui/label.h"
#include "ui/picture_box.h"
#include "ui/ui_fixture.h"

namespace qv::ui::testing {
namespace {

using platform::ImagePtr;
using platform::Rect;

platform::SdlConfig Software() {
  platform::SdlConfig config;
  config.renderer = platform::kSoftwareRenderer;
  return config;
}

// A picture with a pattern, so that a part drawn in the wrong place shows.
ImagePtr Pattern(int w, int h, uint32_t seed, bool holes = false) {
  std::vector<uint32_t> pixels(static_cast<size_t>(w) * h);
  for (int y = 0; y < h; ++y) {
    for (int x = 0; x < w; ++x) {
      uint32_t argb =
          0xFF000000u | ((static_cast<uint32_t>(x * 7 + y * 13) * 2654435761u + seed) & 0xFFFFFFu);
      if (holes && (x / 4 + y / 4) % 3 == 0) argb &= 0x00FFFFFFu;  // see-through
      pixels[static_cast<size_t>(y) * w + x] = argb;
    }
  }
  return std::make_shared<platform::Image>(w, h, std::move(pixels));
}

// "" when two screens are equal, else how many pixels differ and where the first is.
std::string Differences(const platform::Image& a, const platform::Image& b) {
  if (a.width() != b.width() || a.height() != b.height()) return "sizes differ";
  size_t count = 0;
  size_t first = 0;
  for (size_t i = 0; i < a.pixels().size(); ++i) {
    if (a.pixels()[i] == b.pixels()[i]) continue;
    if (count++ == 0) first = i;
  }
  if (count == 0) return "";
  return std::to_string(count) + " pixels differ, the first at (" +
         std::to_string(first % static_cast<size_t>(a.width())) + ", " +
         std::to_string(first / static_cast<size_t>(a.width())) + ")";
}

class DamageOnScreen : public ::testing::Test {
 protected:
  platform::SdlBackend backend{Software()};
  platform::EventLoop loop{backend};
  Desktop desktop{loop};
  Form main{desktop, "Main"};
  PictureBox* scene = nullptr;
  Image* object = nullptr;
  Image* cover = nullptr;
  Label* caption = nullptr;

  void SetUp() override {
    main.Move(0, 0, 800, 600);
    scene = &Place<PictureBox>(main, "ScnImg", {50, 40, 700, 475});
    scene->SetPicture(Pattern(700, 475, 1));
    object = &Place<Image>(*scene, "NoGIF", {100, 100, 40, 30}, 1);
    object->SetPicture(Pattern(40, 30, 2, /*holes=*/true));
    cover = &Place<Image>(*scene, "NoGIF", {120, 110, 60, 40}, 2);
    cover->SetPicture(Pattern(60, 40, 3, /*holes=*/true));
    caption = &Place<Label>(main, "Msg", {160, 145, 200, 24});
    caption->SetTransparent(true);
    caption->SetCaption("Inventory Full");
    main.Show();
    loop.DoEvents();
  }

  // Lets the change be drawn, then checks the frame against a full repaint.
  void ExpectSameAsFullRepaint(const std::string& what) {
    const int64_t frames = backend.frames_presented();
    loop.DoEvents();
    ASSERT_EQ(backend.frames_presented(), frames + 1) << what << ": a frame was drawn";
    const ImagePtr partial = backend.CaptureScreen();
    const ImagePtr window = backend.CaptureWindow();
    loop.RequestRedraw();
    loop.DoEvents();
    const ImagePtr full = backend.CaptureScreen();
    ASSERT_TRUE(partial && full && window);
    EXPECT_EQ(Differences(*partial, *full), "") << what;
    // The window is at 1 x: it must show the screen as it is, also where only parts of
    // it were copied.
    ASSERT_EQ(window->width(), 800);
    EXPECT_EQ(Differences(*window, *full), "") << what << ": the window";
  }
};

TEST_F(DamageOnScreen, ChangedMovedHiddenAndCoveredControlsLookAsAfterAFullRepaint) {
  const ImagePtr before = backend.CaptureScreen();
  object->SetPicture(Pattern(40, 30, 9, /*holes=*/true));  // beneath `cover`
  ExpectSameAsFullRepaint("a picture changed under another");
  EXPECT_NE(Differences(*backend.CaptureScreen(), *before), "") << "the change shows";

  object->Move(300, 200);
  ExpectSameAsFullRepaint("a control moved");
  cover->SetVisible(false);
  ExpectSameAsFullRepaint("a control hidden");
  cover->SetVisible(true);
  cover->ZOrder(1);
  ExpectSameAsFullRepaint("a control sent back");
  caption->SetCaption("Inventory");
  ExpectSameAsFullRepaint("a transparent label's text got shorter");
  scene->Move(60, 40);
  ExpectSameAsFullRepaint("a container moved with its children");

  // A form over the scene, then gone again; two changes far apart in one frame.
  Form dialog(desktop, "SaveGame");
  dialog.Move(200, 150, 300, 200);
  dialog.SetCaption("Save Game");
  dialog.SetBorder(BorderStyle::kFixed);
  dialog.Show();
  ExpectSameAsFullRepaint("a form shown over the scene");
  dialog.Hide();
  object->Move(5, 5);
  caption->Move(600, 500);
  ExpectSameAsFullRepaint("a form hidden, and two controls moved far apart");
}

TEST_F(DamageOnScreen, AScaledPictureCutByTheDamageKeepsItsPixels) {
  object->SetStretch(true);
  object->Move(100, 100, 97, 61);  // 40 x 30 drawn at an odd scale
  loop.RequestRedraw();
  loop.DoEvents();
  cover->Move(130, 120);  // damages a part of the scaled picture
  ExpectSameAsFullRepaint("a scaled picture partly repainted");
}

TEST_F(DesktopTest, AFrameRepaintsOnlyWhatChanged) {
  auto form = MakeForm("Main", 0, 0, 800, 600);
  auto& scene = Place<PictureBox>(*form, "ScnImg", {50, 40, 700, 475});
  auto& object = Place<Image>(scene, "NoGIF", {100, 100, 40, 30}, 1);
  loop.DoEvents();
  object.Move(690, 300);  // where it was, and the part inside its container where it is
  loop.DoEvents();
  EXPECT_EQ(backend.last_damage(), (std::vector<Rect>{{150, 140, 40, 30}, {740, 340, 10, 30}}));
  EXPECT_EQ(FramesAfterDoEvents(), 0) << "nothing changed";
  const int64_t before = backend.frames_presented();
  scene.SetBackColor(scene.BackColor());
  MoveTo(10, 10);
  EXPECT_EQ(backend.frames_presented(), before) << "the same colour again, the mouse moving";
  Form hidden(desktop, "MapWindow");
  hidden.Create<PictureBox>("Image1").SetBackColor(platform::Rgb::FromHex(0xFF0000));
  EXPECT_EQ(FramesAfterDoEvents(), 0) << "a hidden form changed";
}

TEST(DamageRegion, MergesWhatTouchesAndKeepsAFewRectangles) {
  platform::DamageRegion region;
  region.Add({0, 0, 10, 10});
  region.Add({10, 0, 10, 10});   // edge to edge
  region.Add({100, 100, 0, 5});  // empty
  EXPECT_EQ(region.rects(), (std::vector<Rect>{{0, 0, 20, 10}}));
  region.Add({5, 5, 30, 30});  // reaches the first
  EXPECT_EQ(region.rects(), (std::vector<Rect>{{0, 0, 35, 35}}));
  std::vector<Rect> added;
  for (int i = 0; i < 20; ++i) {
    added.push_back({100 + 40 * (i % 10), 300 + 100 * (i / 10), 10, 10});
    region.Add(added.back());
  }
  const std::vector<Rect> rects = region.Take();
  EXPECT_TRUE(region.empty());
  EXPECT_LE(rects.size(), platform::DamageRegion::kMaxRects);
  for (const Rect& r : added) {
    bool covered = false;
    for (const Rect& big : rects)
      covered = covered || platform::Intersect(r, big) == r;
    EXPECT_TRUE(covered) << "every damaged pixel is still repainted";
  }
}

}  // namespace
}  // namespace qv::ui::testing
