#pragma once
// The movies as the engine and the shell ask for them: both ports lead to the one
// media::Movies of the game.

#include <cstdint>
#include <string>

#include "engine/collaborators.h"
#include "media/movies.h"
#include "shell/ports.h"

namespace qv::app {

class MoviePorts : public engine::MoviePort, public shell::StartMoviesPort {
 public:
  explicit MoviePorts(media::Movies& movies) : movies_(movies) {}

  // engine::MoviePort
  void PlayMovie(const std::string& name, int16_t param, bool wait_scene,
                 bool keep_cover) override {
    movies_.PlayMovie(name, param, wait_scene, keep_cover);
  }
  bool MovieFinished() const override { return movies_.MovieFinished; }
  bool MovieWaitsScene() const override { return movies_.MovieWaitsScene; }

  // shell::StartMoviesPort
  void PlayOpenCredsGif(const std::string& name) override { movies_.PlayOpenCredsGif(name); }
  void PlayOpenCredsAVI(const std::string& name) override { movies_.PlayOpenCredsAVI(name); }
  bool OpeningLogoPlaying() const override { return movies_.OpeningLogoPlaying; }
  void PlayIntroAVI(const std::string& name, int16_t option) override {
    movies_.PlayIntroAVI(name, option);
  }
  void SkipOpeningLogo() override { movies_.SkipOpeningLogo(); }
  void CloseMovies() override { movies_.CloseMovies(); }

 private:
  media::Movies& movies_;
};

}  // namespace qv::app
