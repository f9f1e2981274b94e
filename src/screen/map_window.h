#pragma once
// The map `MapWindow`: a background picture with up to 20 location pictures `Loctn(i)`,
// laid over the scene picture while it is up. Locations come from the location file
// (resource\Quorvex2.dat, one record per location); a location shows once the game has
// added it (a Reactor, an Ambient object, a Responder, an examined item) or when its
// record puts it on the map from the start. Clicking a location that leads to a scene
// plays its sound or queues its movie and goes there; Escape (`Command1`) and the
// Cancel button (`ButtnCancel`) close the map without a choice.
//
// `LocOnMap` is the game's record of what it added: a new game clears it, a saved game
// keeps it. The locations a record puts on the map from the start show whatever it
// holds, so that a game saved by any player shows them and a new game shows none of the
// last game's discoveries.

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "core/message_box.h"
#include "core/vb_array.h"
#include "data/scene_data.h"
#include "engine/collaborators.h"
#include "media/animated_picture.h"
#include "media/sound_channels.h"
#include "platform/pictures/builtin_pictures.h"
#include "screen/game_screen.h"
#include "ui/button.h"
#include "ui/form.h"

namespace qv::engine {
class Engine;
}

namespace qv::screen {

// LastHoverButton while the pointer is over the map (the code of the main-menu button).
inline constexpr int16_t kMapHoverButton = 98;

// What the map works with; everything must outlive it.
struct MapServices {
  ui::Desktop& desktop;
  MessageBoxService& boxes;
  data::SceneData& data;
  media::PictureSource pictures;
  const platform::BuiltinPictures& builtins;
  GameScreen& screen;
  media::SoundChannels& sound;
};

class MapWindow final : public engine::MapPort {
 public:
  static constexpr int16_t kLocations = 20;

  explicit MapWindow(MapServices services);
  ~MapWindow() override;
  MapWindow(const MapWindow&) = delete;
  MapWindow& operator=(const MapWindow&) = delete;

  // The engine whose scenes the locations lead to. Set once, before use.
  void Attach(engine::Engine& engine) { engine_ = &engine; }

  // What opening the location file goes on to do: the background (from record 1), the
  // location pictures, places and tool tips, and the tables. A location whose picture
  // cannot be loaded is reported in OpenLocBase's box and shows the not-found picture;
  // the others are built all the same. Records past the 20th are not locations.
  void BuildMap();

  // engine::MapPort
  void AddMapLocation(int16_t location) override;
  void ClearLocations() override;
  void SetMapActive(bool active) override { MapActive = active; }
  // Shows the window modally; returns once the player has closed it.
  void ShowMapWindow() override;

  // The locations shown on the map, in number order.
  std::vector<int16_t> ShownLocations() const;
  // Shows exactly the locations the tables say (after LocOnMap was set from a saved game).
  void RefreshLocations();

  ui::Form& form() { return *form_; }
  // The cursor the window shows (0 before any).
  int CurrentCursor() const { return cursor_; }

  // The handlers.
  void Activate();
  void LoctnClick(int16_t i);
  void LoctnMouseMove(int16_t i);
  void Image1MouseMove();
  void WindowMouseMove();
  void Command1Click();
  void ButtnCancelClick();

  // 1 = the game has put the location on the map.
  VbArray<int16_t, 0, kLocations> LocOnMap{};
  // Copies of the location records: the scene, the media switch, file, volume and pan.
  VbArray<int16_t, 0, kLocations> LocScene{};
  VbArray<int16_t, 0, kLocations> LocMediaOn{};
  VbArray<std::string, 0, kLocations> LocMedia{};
  VbArray<int32_t, 0, kLocations> LocVolume{};
  VbArray<int32_t, 0, kLocations> LocPan{};
  bool MapActive = false;

  ui::Image* Image1 = nullptr;
  VbArray<media::AnimatedPicture*, 0, kLocations> Loctn{};
  ui::CommandButton* ButtnCancel = nullptr;
  ui::CommandButton* Command1 = nullptr;
  ui::CommandButton* Command2 = nullptr;

 private:
  void BuildLocation(int16_t i);
  bool Shown(int16_t i) const;
  void Progress(const std::string& text);
  void ShowCursor(int number);
  void StopLocations();
  // The end of a visit without a choice: the cover goes and the map is no longer up.
  void EndVisit();

  MapServices s_;
  engine::Engine* engine_ = nullptr;
  std::unique_ptr<ui::Form> form_;
  // Which records are locations, and which are on the map from the start.
  VbArray<bool, 0, kLocations> is_location_{};
  VbArray<bool, 0, kLocations> starts_on_map_{};
  int cursor_ = 0;
};

}  // namespace qv::screen
