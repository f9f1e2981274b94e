#include "shell/stand_ins.h"

#include "core/text.h"

namespace qv::shell {

ShellStandIns::ShellStandIns(ui::Desktop& desktop)
    : desktop_(desktop), load_game_(std::make_unique<ui::Form>(desktop, "LoadGame")) {}

ShellStandIns::~ShellStandIns() = default;

void ShellStandIns::ShowLoadGame() {
  calls_.push_back("ShowLoadGame()");
  ui::Form& form = *load_game_;
  desktop_.loop().Post([&form] { form.Hide(); });
  form.ShowModal();
}

void ShellStandIns::PlayOpenCredsGif(const std::string& name) {
  calls_.push_back("PlayOpenCredsGif(" + name + ")");
}

void ShellStandIns::PlayOpenCredsAVI(const std::string& name) {
  calls_.push_back("PlayOpenCredsAVI(" + name + ")");
}

void ShellStandIns::PlayIntroAVI(const std::string& name, int16_t option) {
  calls_.push_back("PlayIntroAVI(" + name + ", " + PlainNum(option) + ")");
}

}  // namespace qv::shell
