#include "platform/sdl/sdl_backend.h"

#include <gtest/gtest.h>

#include <SDL.h>

#include <cstdlib>
#include <functional>
#include <memory>
#include <stdexcept>
#include <vector>

#include "platform/event_loop.h"
#include "platform/renderer.h"
#include "platform/sdl/sdl_renderer.h"
#include "platform/sdl/ttf_fonts.h"
#include "platform/user_files.h"
#include "test_support.h"

namespace qv::platform {
namespace {

// A player window under SDL's dummy video driver, with its event loop and a painter made
// of a function. Tests feed it SDL events as the desktop would and let the loop run.
class SdlSession : public Painter, public InputSink {
 public:
  explicit SdlSession(SdlConfig config = {}) : backend(std::move(config)), loop(backend) {
    loop.SetPainter(this);
    loop.SetInputSink(this);
    // As the player does with its own commands: Alt+Enter switches fullscreen.
    loop.SetCommandHandler([this](PlayerCommand command) {
      commands.push_back(command);
      if (command == PlayerCommand::kToggleFullscreen) {
        backend.SetFullscreen(!backend.fullscreen());
      }
    });
  }

  // What each frame draws.
  std::function<void(Renderer&)> paint = [](Renderer&) {};

  // Draws one frame through the event loop, as a change on screen would.
  void Frame() {
    loop.RequestRedraw();
    loop.DoEvents();
  }

  // Queues an SDL event addressed to the player's window, then lets the loop take it.
  void Feed(SDL_Event event) {
    SDL_PushEvent(&event);
    loop.DoEvents();
  }

  // An event of `type` addressed to the player's window (every window event keeps the
  // window's id in the same place).
  SDL_Event Of(uint32_t type) const {
    SDL_Event event{};
    event.type = type;
    event.window.windowID = backend.window_id();
    return event;
  }
  SDL_Event KeyDown(SDL_Keycode key, uint16_t mod = KMOD_NONE) const {
    SDL_Event event = Of(SDL_KEYDOWN);
    event.key.state = SDL_PRESSED;
    event.key.keysym.sym = key;
    event.key.keysym.mod = mod;
    return event;
  }
  SDL_Event Text(const char* utf8) const {
    SDL_Event event = Of(SDL_TEXTINPUT);
    SDL_strlcpy(event.text.text, utf8, sizeof event.text.text);
    return event;
  }
  SDL_Event MouseMotion(int x, int y) const {
    SDL_Event event = Of(SDL_MOUSEMOTION);
    event.motion.x = x;
    event.motion.y = y;
    return event;
  }
  SDL_Event MouseButton(bool down, uint8_t button, int x, int y) const {
    SDL_Event event = Of(down ? SDL_MOUSEBUTTONDOWN : SDL_MOUSEBUTTONUP);
    event.button.button = button;
    event.button.state = down ? SDL_PRESSED : SDL_RELEASED;
    event.button.x = x;
    event.button.y = y;
    return event;
  }
  SDL_Event WindowEvent(SDL_WindowEventID id) const {
    SDL_Event event = Of(SDL_WINDOWEVENT);
    event.window.event = static_cast<uint8_t>(id);
    return event;
  }

  void Paint(Renderer& renderer) override { paint(renderer); }
  void HandleInput(const InputEvent& event) override { input.push_back(event); }

  SdlBackend backend;
  EventLoop loop;
  std::vector<InputEvent> input;  // what reached the player
  std::vector<PlayerCommand> commands;
};

ImagePtr Checkerboard(int w, int h) {
  std::vector<uint32_t> pixels(static_cast<size_t>(w) * h);
  for (int y = 0; y < h; ++y) {
    for (int x = 0; x < w; ++x) {
      pixels[static_cast<size_t>(y) * w + x] = ((x / 8 + y / 8) % 2) ? 0xFFFFFFFF : 0xFF202020;
    }
  }
  return std::make_shared<Image>(w, h, std::move(pixels));
}

TEST(SdlBackend, PresentsPicturesAndTextOnlyWhenChangedAndClosingIsAQuitRequest) {
  SdlSession session;
  ImagePtr picture = Checkerboard(320, 200);
  int frame = 0;
  session.paint = [&](Renderer& r) {
    r.FillRect({0, 0, 800, 600}, Rgb::FromHex(0x102040));
    r.DrawImage(*picture, {40 + frame, 40, 320, 200});
    r.PushClip({0, 500, 800, 100});
    r.DrawText("Frame " + std::to_string(frame), 10, 520, {16, true}, Rgb{255, 255, 0});
    r.PopClip();
  };
  for (frame = 0; frame < 5; ++frame)
    session.Frame();
  EXPECT_EQ(session.backend.frames_presented(), 5);
  session.loop.DoEvents();
  EXPECT_EQ(session.backend.frames_presented(), 5) << "nothing changed, nothing drawn";
  session.Feed(session.WindowEvent(SDL_WINDOWEVENT_EXPOSED));
  EXPECT_EQ(session.backend.frames_presented(), 5) << "an uncovered window shows the last frame";

  // Closing the window, or the desktop's own quit (a signal, the system menu), asks the
  // player to quit.
  bool exit_ran = false;
  session.loop.SetOnQuit([&] { exit_ran = true; });
  session.Feed(session.WindowEvent(SDL_WINDOWEVENT_CLOSE));
  EXPECT_TRUE(session.loop.quit_requested());
  EXPECT_TRUE(exit_ran);
  EXPECT_TRUE(session.input.empty());
  session.loop.ClearQuitRequest();
  SDL_Event quit{};
  quit.type = SDL_QUIT;
  session.Feed(quit);
  EXPECT_TRUE(session.loop.quit_requested());
}

TEST(SdlBackend, KeysAndTextReachThePlayerAltEnterTogglesFullscreen) {
  SdlSession session;
  session.Feed(session.KeyDown(SDLK_ESCAPE));
  session.Feed(session.KeyDown(SDLK_a, KMOD_LSHIFT));
  session.Feed(session.KeyDown(SDLK_LSHIFT));  // a modifier alone is nothing to the player
  session.Feed(session.Text("\xC3\xA9"));
  ASSERT_EQ(session.input.size(), 3u);
  EXPECT_EQ(session.input[0].key, Key::kEscape);
  EXPECT_EQ(session.input[1].key, Key::kChar);
  EXPECT_EQ(session.input[1].text, "a");
  EXPECT_TRUE(session.input[1].shift);
  EXPECT_EQ(session.input[2].kind, InputEvent::Kind::kKeyPress);
  EXPECT_EQ(session.input[2].text, "\xC3\xA9");

  EXPECT_FALSE(session.backend.fullscreen());
  session.Feed(session.KeyDown(SDLK_RETURN, KMOD_LALT));
  EXPECT_TRUE(session.backend.fullscreen());
  SDL_Event repeat = session.KeyDown(SDLK_RETURN, KMOD_LALT);
  repeat.key.repeat = 1;
  session.Feed(repeat);
  EXPECT_TRUE(session.backend.fullscreen()) << "a held key toggles once";
  session.Feed(session.KeyDown(SDLK_RETURN, KMOD_RALT));
  EXPECT_FALSE(session.backend.fullscreen());
  EXPECT_EQ(session.input.size(), 3u) << "Alt+Enter is the player's own, not the game's";
  session.Feed(session.KeyDown(SDLK_RETURN));
  EXPECT_EQ(session.input.back().key, Key::kReturn);

  // The other commands; the letter Alt+S may also type is not the game's either, and a
  // held Ctrl+Plus repeats.
  session.commands.clear();
  session.input.clear();
  session.Feed(session.KeyDown(SDLK_s, KMOD_LALT));
  session.Feed(session.Text("s"));
  SDL_Event held = session.KeyDown(SDLK_EQUALS, KMOD_LCTRL);
  held.key.repeat = 1;
  session.Feed(held);
  session.Feed(session.KeyDown(SDLK_KP_MINUS, KMOD_RCTRL));
  session.Feed(session.KeyDown(SDLK_m, KMOD_LCTRL));
  session.Feed(session.KeyDown(SDLK_f, KMOD_LCTRL));
  session.Feed(session.KeyDown(SDLK_m, KMOD_LCTRL | KMOD_LALT));  // not a command
  EXPECT_EQ(session.commands,
            (std::vector<PlayerCommand>{PlayerCommand::kScreenshot, PlayerCommand::kVolumeUp,
                                        PlayerCommand::kVolumeDown, PlayerCommand::kToggleMute,
                                        PlayerCommand::kToggleScaling}));
  ASSERT_EQ(session.input.size(), 1u);
  EXPECT_EQ(session.input[0].text, "m");
}

TEST(SdlBackend, MousePositionsArriveInLogicalPixelsOfTheScaledScreen) {
  SdlSession session;
  session.Frame();
  session.backend.SetWindowSize(1600, 1200);
  session.loop.DoEvents();  // the renderer learns the new size
  session.Feed(session.MouseMotion(800, 600));
  session.Feed(session.MouseButton(true, SDL_BUTTON_LEFT, 1598, 2));
  session.Feed(session.MouseButton(false, SDL_BUTTON_RIGHT, 1598, 2));
  session.Feed(session.MouseButton(true, SDL_BUTTON_X1, 10, 10));  // not a button the player knows
  auto at = [&](size_t i) { return std::pair(session.input[i].x, session.input[i].y); };
  ASSERT_EQ(session.input.size(), 3u);
  EXPECT_EQ(session.input[0].kind, InputEvent::Kind::kMouseMove);
  EXPECT_EQ(at(0), std::pair(400, 300));
  EXPECT_EQ(session.input[1].button, MouseButton::kLeft);
  EXPECT_EQ(at(1), std::pair(799, 1));
  EXPECT_EQ(session.input[2].kind, InputEvent::Kind::kMouseUp);
  EXPECT_EQ(session.input[2].button, MouseButton::kRight);

  // A wider window: the screen keeps its shape, centred between bars.
  session.backend.SetWindowSize(1000, 600);
  session.loop.DoEvents();
  session.Feed(session.MouseMotion(500, 300));
  EXPECT_EQ(at(3), std::pair(400, 300));
}

TEST(SdlBackend, AnEmptyCursorAndMessageBoxesWorkWithoutARealDesktop) {
  SdlSession session;
  session.backend.SetCursor(Checkerboard(0, 0), 0, 0);  // nothing to show: the arrow

  // The dummy driver has no boxes (and no desktop to fall back on): the box is written
  // out and answered with its first button instead of failing.
  unsetenv("DISPLAY");
  unsetenv("WAYLAND_DISPLAY");
  EXPECT_EQ(session.backend.message_boxes().Show("Quit", "Really?\r\nYes or no", BoxButtons::kYesNo,
                                                 BoxIcon::kQuestion),
            BoxAnswer::kYes);
}

TEST(SdlBackend, OtherScreenSizesAndIntegerScaling) {
  SdlConfig config;
  config.screen_width = 640;
  config.screen_height = 480;
  config.scaling = Scaling::kInteger;
  config.title = "Test game";
  SdlSession session(config);
  session.Frame();
  session.backend.SetWindowSize(1000, 1000);  // room for 1.56 x: pixel-perfect stays at 1 x
  session.loop.DoEvents();
  session.Feed(session.MouseMotion(180 + 320, 260 + 240));
  EXPECT_EQ(std::pair(session.input.back().x, session.input.back().y), std::pair(320, 240));

  config.screen_width = 0;
  EXPECT_THROW(SdlBackend{config}, std::runtime_error);
}

TEST(SdlBackend, TheScreenIsCapturedAsAPngAndTheRendererIsChosenOrNamed) {
  SdlSession session;
  EXPECT_EQ(session.backend.renderer_name(), "software") << "no display to accelerate";
  EXPECT_EQ(session.backend.CaptureScreen(), nullptr) << "nothing drawn yet";
  session.paint = [](Renderer& r) {
    r.FillRect({0, 0, 800, 600}, Rgb::FromHex(0x336699));
    r.FillRect({10, 20, 5, 5}, Rgb::FromHex(0xFF0000));
  };
  session.Frame();
  const ImagePtr screen = session.backend.CaptureScreen();
  ASSERT_NE(screen, nullptr);
  EXPECT_EQ(screen->pixels()[20 * 800 + 10], 0xFFFF0000u);
  EXPECT_EQ(screen->pixels()[0], 0xFF336699u);
  qv::testing::TempDir dir;
  const auto file = dir.path() / "shots" / "shot.png";
  WritePng(*screen, file);
  const std::vector<uint8_t> bytes = qv::testing::ReadBytes(file);
  ASSERT_GE(bytes.size(), 8u);
  EXPECT_EQ(std::string(bytes.begin() + 1, bytes.begin() + 4), "PNG");

  EXPECT_TRUE(IsSoftwareRasteriser("llvmpipe (LLVM 15.0.6, 256 bits)"));
  EXPECT_TRUE(IsSoftwareRasteriser("Software Rasterizer"));
  EXPECT_FALSE(IsSoftwareRasteriser("Mesa Intel(R) UHD Graphics 620 (KBL GT2)"));
  SdlConfig named;
  named.renderer = "no-such-renderer";
  try {
    SdlBackend backend(named);
    ADD_FAILURE() << "an unknown renderer was accepted";
  } catch (const std::runtime_error& e) {
    EXPECT_NE(std::string(e.what()).find("this system has: software"), std::string::npos)
        << e.what();
  }
}

// A software renderer on a plain surface: pixels can be read back, no window needed.
class SdlRendererTest : public ::testing::Test {
 protected:
  static constexpr int kW = 64;
  static constexpr int kH = 48;

  void SetUp() override {
    surface_ = SDL_CreateRGBSurfaceWithFormat(0, kW, kH, 32, SDL_PIXELFORMAT_ARGB8888);
    ASSERT_NE(surface_, nullptr) << SDL_GetError();
    sdl_ = SDL_CreateSoftwareRenderer(surface_);
    ASSERT_NE(sdl_, nullptr) << SDL_GetError();
  }
  void TearDown() override {
    renderer_.reset();
    if (sdl_) SDL_DestroyRenderer(sdl_);
    if (surface_) SDL_FreeSurface(surface_);
  }

  SdlRenderer& Make(SdlRenderer::Budget budget = {}) {
    renderer_ = std::make_unique<SdlRenderer>(sdl_, kW, kH, fonts_, false, budget);
    return *renderer_;
  }

  // The virtual screen's pixel at (x, y) as 0xRRGGBB.
  uint32_t Pixel(int x, int y) {
    SDL_SetRenderTarget(sdl_, renderer_->screen());
    std::vector<uint32_t> pixels(kW * kH);
    EXPECT_EQ(SDL_RenderReadPixels(sdl_, nullptr, SDL_PIXELFORMAT_ARGB8888, pixels.data(), kW * 4),
              0)
        << SDL_GetError();
    SDL_SetRenderTarget(sdl_, nullptr);
    return pixels[static_cast<size_t>(y) * kW + x] & 0xFFFFFF;
  }

  TtfFonts fonts_;
  SDL_Surface* surface_ = nullptr;
  SDL_Renderer* sdl_ = nullptr;
  std::unique_ptr<SdlRenderer> renderer_;
};

TEST_F(SdlRendererTest, DrawsFillsImagesWithAlphaAndTextWithinClips) {
  SdlRenderer& r = Make();
  // A 2x1 picture: opaque red, then fully transparent.
  const Image picture(2, 1, {0xFFFF0000, 0x0000FF00});
  r.BeginFrame();
  r.FillRect({0, 0, kW, kH}, Rgb::FromHex(0x0000FF));
  r.DrawImage(picture, {10, 10, 20, 10});  // scaled: left half red, right half see-through
  r.PushClip({0, 30, 8, 8});
  r.FillRect({0, 30, 20, 10}, Rgb::FromHex(0x00FF00));
  r.PopClip();
  r.DrawText("W", 40, 20, {20, true}, Rgb{255, 255, 255});
  r.EndFrame();
  ASSERT_NE(r.screen(), nullptr);

  EXPECT_EQ(Pixel(12, 12), 0xFF0000u);
  EXPECT_EQ(Pixel(25, 15), 0x0000FFu) << "transparent pixels show what is below";
  EXPECT_EQ(Pixel(4, 32), 0x00FF00u);
  EXPECT_EQ(Pixel(12, 32), 0x0000FFu) << "clipped away";
  int white = 0;
  for (int y = 20; y < 44; ++y) {
    for (int x = 40; x < 60; ++x)
      white += Pixel(x, y) == 0xFFFFFFu;
  }
  EXPECT_GT(white, 10) << "the text was drawn";
}

TEST_F(SdlRendererTest, TexturesIdleTooLongOrLeastRecentlyDrawnOverBudgetGoNeverTheCurrentFrame) {
  SdlRenderer& r = Make({.bytes = 3 * 16 * 16 * 4, .idle_frames = 10});
  std::vector<std::unique_ptr<Image>> pictures;
  for (int i = 0; i < 5; ++i) {
    pictures.push_back(std::make_unique<Image>(
        16, 16, std::vector<uint32_t>(256, 0xFF000000u + static_cast<uint32_t>(i))));
    r.BeginFrame();
    r.DrawImage(*pictures.back(), {0, 0, 16, 16});
    r.EndFrame();
  }
  EXPECT_EQ(r.cached_textures(), 3u);
  EXPECT_LE(r.cached_bytes(), size_t{3 * 16 * 16 * 4});

  // One frame needing more than the budget keeps all it drew.
  r.BeginFrame();
  for (const auto& picture : pictures)
    r.DrawImage(*picture, {0, 0, 16, 16});
  r.DrawText("label", 0, 20, {}, Rgb{});
  r.EndFrame();
  EXPECT_EQ(r.cached_textures(), 6u);
  // Then only the picture still drawn stays, once the others have idled.
  for (int frame = 0; frame < 12; ++frame) {
    r.BeginFrame();
    r.DrawImage(*pictures[4], {8, 0, 16, 16});
    r.EndFrame();
  }
  EXPECT_EQ(r.cached_textures(), 1u);
  EXPECT_EQ(Pixel(9, 1), 0x000004u);
}

TEST_F(SdlRendererTest, MalformedPicturesAndEmptyTextDrawNothing) {
  SdlRenderer& r = Make();
  const Image short_of_pixels(4, 4, std::vector<uint32_t>(3, 0xFFFFFFFF));
  const Image empty(0, 0, {});
  r.BeginFrame();
  r.FillRect({0, 0, kW, kH}, Rgb{});
  r.DrawImage(short_of_pixels, {0, 0, 4, 4});
  r.DrawImage(empty, {0, 0, 4, 4});
  r.DrawText("", 0, 0, {}, Rgb{255, 255, 255});
  r.DrawImage(short_of_pixels, {-50, -50, 10, 10});
  r.EndFrame();
  EXPECT_EQ(Pixel(1, 1), 0u);
}

TEST(TtfFonts, MeasuresWithTheRealFontWithoutAVideoDevice) {
  TtfFonts fonts;
  const FontChoice normal{13, false};
  const TextSize word = fonts.Measure("Inventory", normal);
  EXPECT_GT(word.width, 40);
  EXPECT_LT(word.width, 90);
  EXPECT_GE(word.height, 13);
  EXPECT_GT(fonts.Measure("Inventory", {13, true}).width, word.width) << "bold is wider";

  // Odd texts and sizes are measured without failing.
  const TextSize empty = fonts.Measure("", {});
  EXPECT_EQ(empty.width, 0);
  EXPECT_GT(empty.height, 0) << "an empty label still has a line height";
  EXPECT_GT(fonts.Measure("Caf\xC3\xA9 \xE2\x82\xAC", {}).width, 0);
  EXPECT_GE(fonts.Measure("bad \xFF\xFE utf-8", {}).width, 0);
  EXPECT_GT(fonts.Measure(std::string_view("a\0b", 3), {}).width, 0);
  EXPECT_GT(fonts.Measure("x", {0, false}).height, 0) << "sizes are clamped";
  EXPECT_GT(fonts.Measure("x", {-3, true}).height, 0);
  EXPECT_LT(fonts.Measure("x", {100000, false}).height, 2 * TtfFonts::kMaxSizePx);
}

TEST(TtfFonts, AMissingFontFileIsAClearErrorAndAMissingBoldFallsBack) {
  const auto defaults = TtfFonts::DefaultFiles();
  try {
    TtfFonts fonts({"/nonexistent/NoSuch.ttf", defaults.bold});
    FAIL() << "opened a missing font";
  } catch (const std::runtime_error& error) {
    EXPECT_NE(std::string(error.what()).find("/nonexistent/NoSuch.ttf"), std::string::npos);
  }
  TtfFonts fallback({defaults.regular, "/nonexistent/Bold.ttf"});
  EXPECT_GT(fallback.Measure("Inventory", {13, true}).width,
            fallback.Measure("Inventory", {13, false}).width)
      << "the regular font made bold";
}

}  // namespace
}  // namespace qv::platform
