#include "shell/stand_ins.h"

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

}  // namespace qv::shell
