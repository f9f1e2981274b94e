#pragma once
// Stand-ins for what the shell asks of parts not built yet: the saved-game dialogs. Each
// records its calls; the load dialog opens as a window and closes again at once, as if
// the player had cancelled it, so the main menu sees what it sees after a real Cancel.

#include <memory>
#include <string>
#include <vector>

#include "shell/ports.h"
#include "ui/desktop.h"
#include "ui/form.h"

namespace qv::shell {

class ShellStandIns : public SavesPort {
 public:
  explicit ShellStandIns(ui::Desktop& desktop);
  ~ShellStandIns() override;

  // Every call, in order, as "Name(arg, ...)".
  const std::vector<std::string>& calls() const { return calls_; }

  void ShowLoadGame() override;
  void ShowSaveGame() override { calls_.push_back("ShowSaveGame()"); }

 private:
  ui::Desktop& desktop_;
  std::unique_ptr<ui::Form> load_game_;
  std::vector<std::string> calls_;
};

}  // namespace qv::shell
