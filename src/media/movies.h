#pragma once
// Movies and logos: the game's opening logo on the start screen (an animated GIF in
// `UserAnimLogo` or an AVI in `UserAVILogo`), the intro movie in its own full-screen
// window `IntroFrm`, and the movies of the game in the game screen's `MovieWindow` on its
// black background `AVIBG`, which objects, responders, conversation lines, map locations
// and scene changes start. Escape ends each of them; a missing file gives its box and the
// game goes on as if it had ended.
//
// The windows the logos and in-game movies show on belong to the start-up and the game
// screen: their controls are placed on them once those exist (AttachStartForm,
// AttachGameScreen). IntroFrm is this part's own.

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>

#include "core/message_box.h"
#include "data/game_folder.h"
#include "data/general_settings.h"
#include "media/animated_picture.h"
#include "media/media_window.h"
#include "media/sound_channels.h"
#include "platform/event_loop.h"
#include "platform/movie.h"
#include "ui/desktop.h"
#include "ui/form.h"
#include "ui/picture_box.h"
#include "ui/timer.h"

namespace qv::media {

struct MoviesServices {
  platform::EventLoop& loop;
  ui::Desktop& desktop;
  MessageBoxService& boxes;
  const data::GameFolder& folder;
  PictureSource pictures;
  platform::MoviePlayer& player;
  SoundChannels& sound;
  // MovieSizeMode.
  const data::GeneralSettings& settings;
};

class Movies {
 public:
  // The scene area of the game screen, where a movie covers the scene picture.
  static constexpr int kAreaWidth = 700;
  static constexpr int kAreaHeight = 475;
  static constexpr int32_t kStillLogoMs = 2000;
  static constexpr int32_t kIntroEndMs = 2000;
  static constexpr int32_t kPostMovieMs = 200;

  explicit Movies(MoviesServices services);
  ~Movies();
  Movies(const Movies&) = delete;
  Movies& operator=(const Movies&) = delete;

  // Places the logo controls and `UserLogoTimer` on the start screen.
  void AttachStartForm(ui::Form& start_form);
  // Places `AVIBG`, `MovieWindow` and `PostMovieTimer` in the game screen's scene area
  // (above everything there), beside the cover `Block`. `show_cursor` shows one of the
  // game's cursors on the game screen.
  void AttachGameScreen(ui::PictureBox& scene_area, ui::Control& block,
                        std::function<void(int)> show_cursor);
  // Shows one of the game's cursors on another window (the intro's).
  std::function<void(ui::Form&, int)> show_cursor_on;
  // Progress lines: the notify log, while verbose logging is on.
  std::function<void(std::string_view)> on_progress;

  // ---- the opening logo; OpeningLogoPlaying stays set until it has ended
  void PlayOpenCredsGif(const std::string& name);
  void PlayOpenCredsAVI(const std::string& name);
  // Escape on the start screen while the game's logo shows.
  void SkipOpeningLogo();

  // ---- the intro: shows IntroFrm and returns when the movie has finished
  void PlayIntroAVI(const std::string& name, int16_t option);

  // ---- movies in the game; returns at once
  void PlayMovie(const std::string& name, int16_t option1, bool wait_scene, bool keep_cover);
  // Escape on the game screen.
  void GameScreenEscape();

  // The exit: every movie window closes.
  void CloseMovies();

  // The movie playing now, as the game named it ("" when none).
  std::string PlayingName() const;

  ui::Form& IntroFrm() { return *intro_form_; }

  // ---- state
  bool OpeningLogoPlaying = false;
  bool OpeningLogoDone = false;
  bool IntroPlaying = false;
  bool IntroDone = false;
  bool MoviePlaying = false;
  // True while no movie is pending: the first scene load does not wait for one.
  bool MovieFinished = true;
  bool MovieWaitsScene = false;
  bool MovieKeepCover = false;

  // ---- controls (null until attached)
  AnimatedPicture* UserAnimLogo = nullptr;
  MediaWindow* UserAVILogo = nullptr;
  std::unique_ptr<ui::Timer> UserLogoTimer;
  MediaWindow* UserIntroMovie = nullptr;
  AnimatedPicture* UserIntro = nullptr;
  std::unique_ptr<ui::Timer> UserIntroTimer;
  ui::PictureBox* AVIBG = nullptr;
  MediaWindow* MovieWindow = nullptr;
  std::unique_ptr<ui::Timer> PostMovieTimer;

 private:
  void LogoLoaded();
  void LogoTimerTick();
  void AviLogoModeChange(int16_t mode);
  void IntroModeChange(int16_t mode);
  void IntroTimerTick();
  void IntroKeyDown(ui::KeyArgs& args);
  void MovieModeChange(int16_t mode);
  void PostMovieTimerTick();
  // The media-window set-up every movie gets before its file: border style 1, the
  // control's own bars off.
  static void Configure(MediaWindow& window);
  // The size MovieSizeMode gives a movie.
  void SizeMovie(MediaWindow& window) const;
  // The box of a file that is not there: `heading`, then the file as "<folder>/<name>".
  void NotFound(std::string_view heading, std::string_view folder, const std::string& name);
  void Progress(std::string_view text) const {
    if (on_progress) on_progress(text);
  }

  MoviesServices s_;
  ui::Form* start_form_ = nullptr;
  std::unique_ptr<ui::Form> intro_form_;
  ui::Control* block_ = nullptr;
  std::function<void(int)> show_cursor_;
  std::string logo_name_;
  std::string intro_name_;
  std::string movie_name_;
};

}  // namespace qv::media
