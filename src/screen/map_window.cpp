#include "screen/map_window.h"

#include "core/procedure.h"
#include "core/text.h"
#include "core/vb_error.h"
#include "data/scene_tables.h"
#include "engine/engine.h"

namespace qv::screen {

namespace {

constexpr platform::Rgb kBlack = platform::Rgb::FromHex(0x000000);

}  // namespace

MapWindow::MapWindow(MapServices services)
    : s_(services), form_(std::make_unique<ui::Form>(services.desktop, "MapWindow")) {
  ui::Form& form = *form_;
  form.SetVisible(false);
  form.SetBackColor(kBlack);
  form.Move(0, 0, kSceneWidth, kSceneHeight);
  Image1 = &form.Create<ui::Image>("Image1");
  Image1->Move(0, 0, kSceneWidth, kSceneHeight);
  for (int16_t i = 1; i <= kLocations; ++i) {
    media::AnimatedPicture& location =
        form.Create<media::AnimatedPicture>("Loctn", i, services.desktop.loop(), s_.pictures);
    location.SetAutoSize(true);
    location.SetVisible(false);
    location.on_click = [this, i] { LoctnClick(i); };
    location.on_mouse_move = [this, i](const ui::MouseArgs&) { LoctnMouseMove(i); };
    Loctn[i] = &location;
  }
  ButtnCancel = &form.Create<ui::CommandButton>("ButtnCancel");
  ButtnCancel->SetCaption("Cancel");
  ButtnCancel->Move(kSceneWidth - 90, kSceneHeight - 35, 80, 25);
  ButtnCancel->on_click = [this] { ButtnCancelClick(); };
  // Command1 answers Escape; Command2 only holds the focus while the map is up.
  Command1 = &form.Create<ui::CommandButton>("Command1");
  Command1->SetVisible(false);
  Command1->on_click = [this] { Command1Click(); };
  Command2 = &form.Create<ui::CommandButton>("Command2");
  Command2->Move(0, 0, 0, 0);

  form.on_load = [this] {
    // Over the scene picture, whatever the game screen's place on the screen.
    const platform::Rect scene = s_.screen.ScnImg->ScreenRect();
    form_->Move(scene.x, scene.y);
    for (int16_t i = 1; i <= kLocations; ++i)
      Loctn[i]->ZOrder(0);
  };
  form.on_activate = [this] { Activate(); };
  form.on_key_down = [this](ui::KeyArgs& args) {
    if (args.key != platform::Key::kEscape) return;
    args.handled = true;
    Command1Click();
  };
  form.on_mouse_move = [this](const ui::MouseArgs&) { WindowMouseMove(); };
  Image1->on_mouse_move = [this](const ui::MouseArgs&) { Image1MouseMove(); };
}

MapWindow::~MapWindow() = default;

void MapWindow::Progress(const std::string& text) {
  if (engine_ != nullptr) engine_->Progress(text);
}

void MapWindow::BuildMap() {
  data::SceneData& data = s_.data;
  const data::GameFolder& folder = data.folder();
  // A file without records has no background to name.
  if (data.LocCount < 1) return;
  RunProcedure(s_.boxes, "OpenLocBase", [&] {
    const std::string background = data::TableText(data.ReadLocation(1).MapBackground);
    if (background.empty()) return;
    const platform::PicturePtr picture =
        s_.pictures.loader.Load(folder.Resolve(folder.AppPath() + "resource\\gfx\\" + background));
    Image1->SetPicture(picture->frames.empty() ? nullptr : picture->frames.front());
  });
  const int16_t last = data.LocCount < kLocations ? data.LocCount : kLocations;
  for (int16_t i = 1; i <= last; ++i)
    RunProcedure(s_.boxes, "OpenLocBase", [&] { BuildLocation(i); });
}

void MapWindow::BuildLocation(int16_t i) {
  const data::GameFolder& folder = s_.data.folder();
  const data::LocationRecord r = s_.data.ReadLocation(i);
  const std::string picture = data::TableText(r.LocPicture);
  if (picture.empty() || picture == "Del") return;
  is_location_[i] = true;
  media::AnimatedPicture& location = *Loctn[i];
  location.Move(r.LocLeft, r.LocTop);
  starts_on_map_[i] = r.LocOnMapAtStart == 1;
  LocOnMap[i] = starts_on_map_[i] ? 1 : 0;
  LocScene[i] = r.LocScene;
  LocMediaOn[i] = r.LocMediaOn;
  LocMedia[i] = data::TableText(r.LocMedia);
  LocVolume[i] = r.LocVolume;
  LocPan[i] = r.LocPan;
  location.SetToolTip(data::TableText(r.LocName));
  location.SetVisible(Shown(i));
  const std::string path = folder.AppPath() + "resource\\gfx\\" + picture;
  if (picture == "(None)") {
    location.SetPicture(s_.builtins.NewLoca());
  } else if (!folder.FileExists(path)) {
    location.SetPicture(s_.builtins.FNF());
  } else {
    try {
      location.Load(path);
    } catch (const VbError&) {
      // Reported by the caller's box; the location is on the map all the same.
      location.SetPicture(s_.builtins.FNF());
      throw;
    }
  }
}

bool MapWindow::Shown(int16_t i) const {
  return is_location_[i] && (LocOnMap[i] == 1 || starts_on_map_[i]);
}

std::vector<int16_t> MapWindow::ShownLocations() const {
  std::vector<int16_t> shown;
  for (int16_t i = 1; i <= kLocations; ++i) {
    if (Shown(i)) shown.push_back(i);
  }
  return shown;
}

void MapWindow::RefreshLocations() {
  for (int16_t i = 1; i <= kLocations; ++i)
    Loctn[i]->SetVisible(Shown(i));
}

void MapWindow::AddMapLocation(int16_t location) {
  if (location == 0) return;
  if (!LocOnMap.Contains(location)) Raise(kErrSubscript);
  LocOnMap[location] = 1;
  Loctn[location]->SetVisible(Shown(location));
  Progress("Location #" + PlainNum(location) + " added to Map.");
}

void MapWindow::ClearLocations() {
  LocOnMap.Fill(0);
  RefreshLocations();
}

void MapWindow::ShowMapWindow() {
  RefreshLocations();
  form_->ShowModal();
}

void MapWindow::Activate() {
  if (MapActive) {
    Command2->SetFocus();
    Progress("Map activated.");
  }
  form_->SetTopMost(true);
  s_.screen.LastHoverButton = kMapHoverButton;
  for (int16_t i = 1; i <= kLocations; ++i) {
    if (Loctn[i]->Visible()) Loctn[i]->Start();
  }
}

void MapWindow::ShowCursor(int number) {
  if (number == cursor_) return;
  cursor_ = number;
  s_.screen.ShowCursorOn(*form_, number);
}

void MapWindow::WindowMouseMove() {
  s_.screen.LastHoverButton = kMapHoverButton;
}

void MapWindow::Image1MouseMove() {
  s_.screen.LastHoverButton = kMapHoverButton;
  ShowCursor(kDefaultCursor);
}

void MapWindow::LoctnMouseMove(int16_t i) {
  s_.screen.LastHoverButton = kMapHoverButton;
  ShowCursor(LocScene[i] != 0 ? kSwitchCursor : kDefaultCursor);
}

void MapWindow::LoctnClick(int16_t i) {
  RunProcedure(s_.boxes, "Loctn_Click", [&] {
    const std::string number = PlainNum(i);
    const int16_t scene = LocScene[i];
    if (scene == 0) {
      Progress("Map Location #" + number + " clicked (NO SCENE LINKED).");
      return;
    }
    Progress("Map Location #" + number + " clicked (Scene #" + PlainNum(scene) + ").");
    if (LocMediaOn[i] == 1) {
      const std::string ending = LastThreeLower(LocMedia[i]);
      if (ending == "wav") {
        s_.sound.PlayWAVQVX(LocMedia[i], false, media::kSceneSwitchChannel, LocPan[i],
                            LocVolume[i]);
      } else if (ending == "avi" && engine_ != nullptr) {
        engine_->PendingMovie = LocMedia[i];
        engine_->PendingMovieParam = static_cast<int16_t>(LocVolume[i]);
      }
    }
    form_->Hide();
    MapActive = false;
    if (engine_ == nullptr) return;
    const uint64_t loads = engine_->SceneLoadsStarted();
    engine_->LoadScene(scene);
    if (engine_->SceneLoadsStarted() != loads) return;
    // The scene file refused the location's scene (its load box said so): the player
    // goes on in this scene, without the movie meant for the other one.
    engine_->PendingMovie.clear();
    s_.screen.Block->SetVisible(false);
  });
}

void MapWindow::StopLocations() {
  for (int16_t i = 1; i <= kLocations; ++i) {
    if (Loctn[i]->Visible()) Loctn[i]->Stop();
  }
}

void MapWindow::EndVisit() {
  StopLocations();
  s_.desktop.loop().DoEvents();
  s_.screen.Block->SetVisible(false);
  MapActive = false;
}

void MapWindow::Command1Click() {
  Progress("Map cancelled");
  s_.screen.LastHoverButton = kMapHoverButton;
  form_->Hide();
  EndVisit();
}

void MapWindow::ButtnCancelClick() {
  Progress("Map canceled");
  // The map closes too: a visit that ended must not leave the player waiting in it.
  form_->Hide();
  EndVisit();
}

}  // namespace qv::screen
