// The exit screen (the game's exit picture with a button under it) and the exit
// sequence that ends the program.

#include <string_view>
#include <vector>

#include "core/procedure.h"
#include "shell/shell.h"

namespace qv::shell {

namespace {

// The windows the exit releases, in its order.
constexpr const char* kWindowsToRelease[] = {"MapWindow", "QVDebug",  "ItemImages", "LoadGame",
                                             "Closeup",   "Main",     "MousePoint", "QuitGameQuery",
                                             "SaveGame",  "IntroFrm", "StartForm",  "MainMenu",
                                             "Mp3Form",   "NoWin",    "NagForm"};

}  // namespace

void Shell::ShowExitScreen() {
  nag_form_->Show();
}

void Shell::NagFormLoad() {
  ui::Form& nag = *nag_form_;
  nag.Move(0, 0, s_.desktop.ScreenWidth(), s_.desktop.ScreenHeight());
  nag.SetTopMost(true);
  // A missing or broken picture is reported; the button still comes, so the player can
  // leave.
  RunProcedure(s_.boxes, "Form_Load", [&] {
    const data::GameFolder& folder = s_.data.folder();
    platform::PicturePtr picture = s_.pictures.loader.Load(
        folder.Resolve(folder.AppPath() + "resource\\Gfx\\" + s_.settings.ExitPictureName));
    NagPicture1->SetPicture(picture && !picture->frames.empty() ? picture->frames.front()
                                                                : nullptr);
  });
  s_.loop.DoEvents();
  screen::GameScreen::KeepInside(*NagPicture1, nag.Width(), nag.Height());
  NagPicture1->Move((nag.Width() - NagPicture1->Width()) / 2,
                    (nag.Height() - NagPicture1->Height() - Command1->Height() - 10) / 2);
  NagTimer1->SetEnabled(true);
}

void Shell::ExitProgram() {
  s_.data.CloseBases();
  if (!s_.music.TerminateEngine()) {
    s_.boxes.Show("Warning", "Unable to Terminate DirectShow Engine Successfully.", BoxButtons::kOk,
                  BoxIcon::kInformation);
  }
  s_.sound.StopSoundControl();
  ports_.movies.CloseMovies();
  if (ResChanged) ChangeRes(OldScreenWidth, OldScreenHeight);
  for (const char* name : kWindowsToRelease) {
    if (std::string_view(name) == "NoWin") {
      s_.log.Unload();
      continue;
    }
    // A copy: unloading a window may take others with it.
    const std::vector<ui::Form*> forms = s_.desktop.Forms();
    for (ui::Form* form : forms) {
      if (form->name() != name) continue;
      form->Unload();
      form->Hide();
    }
  }
  exited_ = true;
  throw ProgramExited{};
}

}  // namespace qv::shell
