// The game CDs: which one is in the drive at start, and the check before each scene
// load that asks for the CD a scene lies on.

#include "core/procedure.h"
#include "core/text.h"
#include "shell/shell.h"

namespace qv::shell {

namespace {

constexpr std::string_view kUnknownDiscText =
    "This application has been set up to run from a CD, and is currently running from a CD.  "
    "However, the Quorvex Engine was unable to determine which CD is inserted into the drive.  "
    "Possible cause: CD Labels entered into Quorvex do not match actual volume labels of the "
    "CDs.  Without knowing which CD has been inserted, it is impossible to continue.  Please "
    "correct the problem and try again.";

std::string UnknownSceneText(int16_t scene) {
  return "This application has been set up to run from a CD, and is currently running from a "
         "CD.  However, the Quorvex Engine was unable to determine which CD is required for "
         "Scene #" +
         PlainNum(scene) +
         ".  Possible cause: Scene Resource setup was not done correcly.  Without knowing "
         "which CD is required, it is impossible to continue.  Please correct the problem and "
         "try again.";
}

}  // namespace

void Shell::DetectCD() {
  if (!ports_.drive.IsDisc()) return;
  running_from_cd_ = true;
  CurrentCD = 0;
  const data::GeneralSettings& settings = s_.settings;
  for (int16_t n = 1; n <= 4; ++n) {
    // A CD the settings give no label cannot be recognised; two CDs with one label: the
    // later one wins.
    if (settings.CDLabel[n].empty()) continue;
    if (EqualsIgnoreCase(ports_.drive.VolumeLabel(), settings.CDLabel[n])) CurrentCD = n;
  }
  if (settings.CDModeEnabled && CurrentCD == 0) {
    s_.boxes.Show("Quorvex Engine", kUnknownDiscText, BoxButtons::kOk, BoxIcon::kCritical);
    ExitProgram();
  }
}

void Shell::CheckCD(int16_t scene) {
  if (CurrentCD == 0) return;
  const data::GeneralSettings& settings = s_.settings;
  int16_t required = 0;
  for (int16_t n = 1; n <= 4; ++n) {
    if (settings.CDFirstScene[n] <= scene && scene <= settings.CDLastScene[n]) {
      if (n == CurrentCD) return;
      required = n;
    }
  }
  if (required == 0) {
    if (settings.CDModeEnabled) {
      s_.boxes.Show(kAppTitle, UnknownSceneText(scene), BoxButtons::kOk, BoxIcon::kCritical);
      ExitProgram();
    }
    // Without CD mode a scene outside every CD's range is read from the disc in the drive:
    // there is no CD to ask for.
    return;
  }
  do {
    s_.boxes.Show(settings.GameTitle,
                  "Please Insert CD #" + PlainNum(required) + ".  Click OK after CD has spun down.",
                  BoxButtons::kOk, BoxIcon::kNone);
    ports_.drive.AwaitDiscChange(s_.loop);
  } while (!EqualsIgnoreCase(ports_.drive.VolumeLabel(), settings.CDLabel[required]));
  CurrentCD = required;
}

}  // namespace qv::shell
