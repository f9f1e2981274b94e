#include "media/movies.h"

#include <algorithm>

#include "core/procedure.h"
#include "core/text.h"

namespace qv::media {

namespace {

constexpr std::string_view kGfxFolder = "resource\\gfx\\";
// The game's cursors: the normal pointer and the busy one.
constexpr int kNormalCursor = 13;
constexpr int kBusyCursor = 14;
constexpr platform::Rgb kBlack = platform::Rgb::FromHex(0x000000);

// The box of PlayMovie's failures: "Error playing AVI: 'x.avi'" CR "Err #321 / ...".
ErrorBoxFormat PlayErrorFormat(const std::string& name) {
  ErrorBoxFormat format;
  format.heading = "Error playing AVI: '" + name + "'";
  format.number_label = "\rErr #";
  format.separator = " / ";
  format.icon = BoxIcon::kCritical;
  return format;
}

}  // namespace

Movies::Movies(MoviesServices services) : s_(services) {
  intro_form_ = std::make_unique<ui::Form>(s_.desktop, "IntroFrm");
  ui::Form& intro = *intro_form_;
  intro.SetBackColor(kBlack);
  intro.on_load = [this] {
    intro_form_->Move(0, 0, s_.desktop.ScreenWidth(), s_.desktop.ScreenHeight());
  };
  intro.on_key_down = [this](ui::KeyArgs& args) { IntroKeyDown(args); };
  UserIntro = &intro.Create<AnimatedPicture>("UserIntro", 0, s_.loop, s_.pictures);
  UserIntro->SetVisible(false);
  UserIntroMovie = &intro.Create<MediaWindow>("UserIntroMovie", s_.loop, s_.player, s_.folder);
  UserIntroMovie->SetVisible(false);
  UserIntroMovie->on_mode_change = [this](int16_t mode) { IntroModeChange(mode); };
  // The form's timers are off until their moment comes.
  UserIntroTimer = std::make_unique<ui::Timer>(s_.loop.timers(), "UserIntroTimer");
  UserIntroTimer->SetEnabled(false);
  UserIntroTimer->SetInterval(kIntroEndMs);
  UserIntroTimer->on_tick = [this] { IntroTimerTick(); };
}

Movies::~Movies() {
  // The game screen outlives the movies: its movie window lets go of its movie (and of
  // the sound output) now.
  if (MovieWindow != nullptr) MovieWindow->Command("close");
}

void Movies::AttachStartForm(ui::Form& start_form) {
  start_form_ = &start_form;
  UserAnimLogo = &start_form.Create<AnimatedPicture>("UserAnimLogo", 0, s_.loop, s_.pictures);
  UserAnimLogo->SetVisible(false);
  UserAnimLogo->SetAutoSize(true);
  UserAnimLogo->on_picture_loaded = [this] { LogoLoaded(); };
  // One pass, stopping on the last frame, ends the logo.
  UserAnimLogo->on_animation_ended = [this] { UserLogoTimer->SetEnabled(true); };
  UserAVILogo = &start_form.Create<MediaWindow>("UserAVILogo", s_.loop, s_.player, s_.folder);
  UserAVILogo->SetVisible(false);
  UserAVILogo->on_mode_change = [this](int16_t mode) { AviLogoModeChange(mode); };
  UserLogoTimer = std::make_unique<ui::Timer>(s_.loop.timers(), "UserLogoTimer");
  UserLogoTimer->SetEnabled(false);
  UserLogoTimer->on_tick = [this] { LogoTimerTick(); };
}

void Movies::AttachGameScreen(ui::PictureBox& scene_area, ui::Control& block,
                              std::function<void(int)> show_cursor) {
  block_ = &block;
  show_cursor_ = std::move(show_cursor);
  AVIBG = &scene_area.Create<ui::PictureBox>("AVIBG");
  AVIBG->SetBackColor(kBlack);
  AVIBG->SetVisible(false);
  MovieWindow = &scene_area.Create<MediaWindow>("MovieWindow", s_.loop, s_.player, s_.folder);
  MovieWindow->SetVisible(false);
  MovieWindow->on_mode_change = [this](int16_t mode) { MovieModeChange(mode); };
  PostMovieTimer = std::make_unique<ui::Timer>(s_.loop.timers(), "PostMovieTimer");
  PostMovieTimer->SetEnabled(false);
  PostMovieTimer->on_tick = [this] { PostMovieTimerTick(); };
}

void Movies::Configure(MediaWindow& window) {
  window.SetBorderStyle(1);
  window.ShowControls = false;
  window.ShowPositionControls = false;
  window.ShowDisplay = false;
}

void Movies::SizeMovie(MediaWindow& window) const {
  const int width = window.MovieWidth();
  const int height = window.MovieHeight();
  const int16_t mode = s_.settings.MovieSizeMode;
  if (mode == 0) {
    window.Move(window.Left(), window.Top(), kAreaWidth, kAreaHeight);
  } else if (mode == 1) {
    // 400 pixels wide, its shape kept.
    const int scaled = width > 0 ? (height * 400 + width / 2) / width : height;
    window.Move(window.Left(), window.Top(), 400, std::max(1, scaled));
  } else {
    // Its own width; the settings' number is the height (a number no picture could
    // have leaves its own height).
    window.Move(window.Left(), window.Top(), width, mode > 0 ? mode : height);
  }
}

void Movies::NotFound(std::string_view heading, std::string_view folder, const std::string& name) {
  std::string shown = s_.folder.Resolve(folder).string();
  if (shown.empty() || shown.back() != '/') shown += '/';
  s_.boxes.Show(kAppTitle, std::string(heading) + "\r\"" + shown + name + "\" not found.",
                BoxButtons::kOk, BoxIcon::kCritical);
}

// ---- the opening logo

void Movies::PlayOpenCredsGif(const std::string& name) {
  const bool ok = RunProcedure(s_.boxes, "PlayOpenCredsGif", [&] {
    const std::string path = s_.folder.AppPath() + std::string(kGfxFolder) + name;
    logo_name_ = name;
    OpeningLogoPlaying = true;
    if (s_.folder.FileExists(std::string(kGfxFolder) + name)) {
      UserAnimLogo->Load(path);
    } else {
      NotFound("Could not play 'Opening Logo'...", kGfxFolder, name);
      OpeningLogoPlaying = false;
    }
  });
  // A logo that cannot play does not hold start-up up.
  if (!ok) OpeningLogoPlaying = false;
}

void Movies::LogoLoaded() {
  if (!OpeningLogoPlaying) return;
  UserAnimLogo->Move(start_form_->ClientWidth() / 2 - UserAnimLogo->Width() / 2,
                     start_form_->ClientHeight() / 2 - UserAnimLogo->Height() / 2);
  UserAnimLogo->SetPlayOnce(1);
  s_.loop.DoEvents();
  UserAnimLogo->SetVisible(true);
  if (UserAnimLogo->FrameCount() < 2) {
    // A still logo stays two seconds.
    UserLogoTimer->SetInterval(kStillLogoMs);
    UserLogoTimer->SetEnabled(true);
  } else {
    UserLogoTimer->SetInterval(1);
    UserAnimLogo->Start();
  }
}

void Movies::LogoTimerTick() {
  UserLogoTimer->SetEnabled(false);
  UserAnimLogo->SetVisible(false);
  OpeningLogoDone = true;
  OpeningLogoPlaying = false;
}

void Movies::PlayOpenCredsAVI(const std::string& name) {
  const bool ok = RunProcedure(s_.boxes, "PlayOpenCredsAVI", [&] {
    const std::string game_path = std::string(kMediaFolder) + name;
    logo_name_ = name;
    OpeningLogoPlaying = true;
    if (!s_.folder.FileExists(game_path)) {
      NotFound("Could not play 'Opening Logo'...", kMediaFolder, name);
      OpeningLogoPlaying = false;
      return;
    }
    Configure(*UserAVILogo);
    UserAVILogo->SetVisible(false);
    UserAVILogo->SetFileName(s_.folder.AppPath() + game_path);
    const int w = UserAVILogo->MovieWidth();
    const int h = UserAVILogo->MovieHeight();
    UserAVILogo->Move(start_form_->ClientWidth() / 2 - w / 2,
                      start_form_->ClientHeight() / 2 - h / 2, w, h);
    UserAVILogo->SetVisible(true);
    s_.loop.DoEvents();
    UserAVILogo->Command("play");
  });
  if (!ok) {
    UserAVILogo->SetVisible(false);
    OpeningLogoPlaying = false;
  }
}

void Movies::AviLogoModeChange(int16_t mode) {
  if (mode != MediaWindow::kModeStopped) return;
  UserAVILogo->SetVisible(false);
  // The logo is over: its decoder and memory go too.
  UserAVILogo->Command("close");
  OpeningLogoDone = true;
  OpeningLogoPlaying = false;
}

void Movies::SkipOpeningLogo() {
  if (UserAnimLogo != nullptr && UserAnimLogo->Visible()) {
    UserLogoTimer->SetInterval(1);
    UserAnimLogo->Stop();
    UserAnimLogo->SetVisible(false);
    UserLogoTimer->SetEnabled(true);
  }
  if (UserAVILogo != nullptr && UserAVILogo->Visible()) {
    UserAVILogo->Command("stop");
    UserAVILogo->SetVisible(false);
  }
}

// ---- the intro

void Movies::PlayIntroAVI(const std::string& name, int16_t option) {
  RunProcedure(s_.boxes, "PlayIntroAVI", [&] {
    ui::Form& intro = *intro_form_;
    UserIntroMovie->SetVisible(false);
    s_.loop.DoEvents();
    const std::string game_path = std::string(kMediaFolder) + name;
    if (!s_.folder.FileExists(game_path)) {
      NotFound("Could not play 'AVI Intro'...", kMediaFolder, name);
      return;
    }
    if (show_cursor_on) show_cursor_on(intro, kBusyCursor);
    IntroDone = false;
    IntroPlaying = true;
    intro_name_ = name;
    Configure(*UserIntroMovie);
    UserIntroMovie->SetFileName(s_.folder.AppPath() + game_path);
    s_.loop.DoEvents();
    SizeMovie(*UserIntroMovie);
    intro.Load();
    UserIntroMovie->Move(intro.ClientWidth() / 2 - UserIntroMovie->Width() / 2,
                         intro.ClientHeight() / 2 - UserIntroMovie->Height() / 2);
    intro.Show();
    s_.loop.DoEvents();
    UserIntroMovie->Command("play");
    UserIntroMovie->Option = option;
    UserIntroMovie->SetVisible(true);
    s_.loop.WaitUntil([this] { return IntroDone; }, "the intro movie to end");
    if (show_cursor_on) show_cursor_on(intro, kNormalCursor);
  });
}

void Movies::IntroModeChange(int16_t mode) {
  if (mode == MediaWindow::kModeStopped && IntroPlaying) UserIntroTimer->SetEnabled(true);
}

void Movies::IntroTimerTick() {
  UserIntroTimer->SetEnabled(false);
  UserIntroMovie->SetVisible(false);
  UserIntroMovie->Command("close");
  UserIntro->SetVisible(false);
  intro_form_->Hide();
  s_.loop.DoEvents();
  IntroDone = true;
}

void Movies::IntroKeyDown(ui::KeyArgs& args) {
  if (args.key != platform::Key::kEscape) return;
  args.handled = true;
  RunProcedure(s_.boxes, "IntroFrm_KeyDown", [this] {
    if (show_cursor_on) show_cursor_on(*intro_form_, kBusyCursor);
    s_.sound.StopWav(11);
    UserIntroMovie->Command("stop");
    UserIntro->Stop();
    s_.loop.DoEvents();
    UserIntroTimer->SetEnabled(true);
    IntroPlaying = false;
  });
}

// ---- movies in the game

void Movies::PlayMovie(const std::string& name, int16_t option1, bool wait_scene, bool keep_cover) {
  Progress("Play movie: '" + name + "'.");
  const std::string game_path = std::string(kMediaFolder) + name;
  if (!s_.folder.FileExists(game_path)) {
    NotFound("Could not play AVI movie...", kMediaFolder, name);
    // As if it had played: a scene load waiting for it goes on.
    MovieFinished = true;
    return;
  }
  const bool ok = RunReporting(
      s_.boxes, [&name] { return PlayErrorFormat(name); },
      [&] {
        if (show_cursor_) show_cursor_(kNormalCursor);
        MovieKeepCover = keep_cover;
        MovieWaitsScene = wait_scene;
        MovieFinished = false;
        // A movie that ended just before belongs to the past: its clean-up must not end
        // this one.
        PostMovieTimer->SetEnabled(false);
        movie_name_ = name;
        AVIBG->Move(block_->Left(), block_->Top(), kAreaWidth, kAreaHeight);
        AVIBG->SetVisible(true);
        AVIBG->ZOrder(0);
        MovieWindow->SetVisible(false);
        Configure(*MovieWindow);
        MovieWindow->SetFileName("");
        MovieWindow->SetFileName(s_.folder.AppPath() + game_path);
        s_.loop.DoEvents();
        SizeMovie(*MovieWindow);
        MovieWindow->Move(AVIBG->Left() + kAreaWidth / 2 - MovieWindow->Width() / 2,
                          AVIBG->Top() + kAreaHeight / 2 - MovieWindow->Height() / 2);
        MovieWindow->Option = option1;
        MovieWindow->SetVisible(true);
        MovieWindow->ZOrder(0);
        MovieWindow->Command("play");
        MoviePlaying = true;
      });
  if (!ok) {
    // The game goes on as if the movie had ended: nothing waits for it, nothing covers
    // the scene.
    MoviePlaying = false;
    MovieFinished = true;
    MovieWindow->SetVisible(false);
    AVIBG->SetVisible(false);
  }
}

void Movies::MovieModeChange(int16_t mode) {
  if (mode == MediaWindow::kModePlaying) {
    block_->SetVisible(false);
    return;
  }
  if (mode != MediaWindow::kModeStopped) return;
  block_->SetVisible(true);
  AVIBG->SetVisible(false);
  MovieWindow->Command("close");
  MovieWindow->SetVisible(false);
  if (show_cursor_) show_cursor_(kBusyCursor);
  s_.loop.DoEvents();
  PostMovieTimer->SetInterval(kPostMovieMs);
  PostMovieTimer->SetEnabled(true);
}

void Movies::PostMovieTimerTick() {
  PostMovieTimer->SetEnabled(false);
  if (!MovieKeepCover) block_->SetVisible(false);
  if (show_cursor_) show_cursor_(kNormalCursor);
  MovieFinished = true;
  MoviePlaying = false;
}

void Movies::GameScreenEscape() {
  if (!MoviePlaying) return;
  MovieWindow->Command("stop");
  s_.loop.DoEvents();
  Progress("Movie playback cancelled by user.");
}

void Movies::CloseMovies() {
  for (MediaWindow* window : {MovieWindow, UserAVILogo, UserIntroMovie}) {
    if (window != nullptr) window->Command("close");
  }
}

std::string Movies::PlayingName() const {
  if (MovieWindow != nullptr && MovieWindow->Mode() == "playing") return movie_name_;
  if (UserIntroMovie->Mode() == "playing") return intro_name_;
  if (UserAVILogo != nullptr && UserAVILogo->Mode() == "playing") return logo_name_;
  return "";
}

}  // namespace qv::media
