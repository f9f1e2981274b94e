#pragma once
// Stand-ins for what the shell asks of parts not built yet: the saved-game dialogs and
// the opening logo and intro movie. Each records its calls; the load dialog opens as a
// window and closes again at once, as if the player had cancelled it, so the main menu
// sees what it sees after a real Cancel; the logo and the intro end at once.

#include <memory>
#include <string>
#include <vector>

#include "shell/ports.h"
#include "ui/desktop.h"
#include "ui/form.h"

namespace qv::shell {

class ShellStandIns : public SavesPort, public StartMoviesPort {
 public:
  explicit ShellStandIns(ui::Desktop& desktop);
  ~ShellStandIns() override;

  // Every call, in order, as "Name(arg, ...)".
  const std::vector<std::string>& calls() const { return calls_; }

  void ShowLoadGame() override;
  void ShowSaveGame() override { calls_.push_back("ShowSaveGame()"); }
  void PlayOpenCredsGif(const std::string& name) override;
  void PlayOpenCredsAVI(const std::string& name) override;
  bool OpeningLogoPlaying() const override { return false; }
  void PlayIntroAVI(const std::string& name, int16_t option) override;
  void SkipOpeningLogo() override {}
  void CloseMovies() override {}

 private:
  ui::Desktop& desktop_;
  std::unique_ptr<ui::Form> load_game_;
  std::vector<std::string> calls_;
};

}  // namespace qv::shell
