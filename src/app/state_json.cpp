#include "app/state_json.h"

#include <fstream>
#include <iostream>
#include <stdexcept>
#include <system_error>

#include "app/player.h"

namespace qv::app {

using Json = nlohmann::ordered_json;

Json StateJson(const Player& player) {
  Json state = Json::object();
  const auto& engine = player.engine();
  const auto& screen = player.screen();
  state["scene"] = player.scene_data().scene.CurrentScene;
  Json flags = Json::object();
  for (int f = 1; f <= 255; ++f) {
    if (engine.state.Flags[f] != 0) flags[std::to_string(f)] = engine.state.Flags[f];
  }
  state["flags"] = std::move(flags);
  const screen::Inventory& inventory = player.inventory();
  Json items = Json::array();
  for (int16_t s = 1; s <= inventory.ItemsHeld; ++s)
    items.push_back(inventory.Slots[s].Item);
  state["inventory"] = std::move(items);
  const int16_t hand = inventory.HandSlot();
  state["hand"] = hand == screen::Inventory::kEmptyHand ? Json(nullptr) : Json(hand);
  Json map = Json::array();
  for (int16_t location : player.map().ShownLocations())
    map.push_back(location);
  state["map"] = std::move(map);
  state["soundtrack"] = player.music().CurrentSoundtrack;
  Json channels = Json::object();
  for (int ch = 1; ch <= platform::kSoundChannelCount; ++ch) {
    const platform::SoundChannelState& sound = player.audio().channel(ch);
    if (sound.playing) channels[std::to_string(ch)] = {{"file", sound.file}, {"loop", sound.loop}};
  }
  state["channels"] = std::move(channels);
  Json visible = Json::array();
  for (int i = 1; i <= 20; ++i) {
    if (screen.Animation[i]->Visible() || screen.NoGIF[i]->Visible()) visible.push_back(i);
  }
  state["visible"] = std::move(visible);
  state["conversation"] = player.conversations().ShownRecord();
  state["cursor"] = screen.CurrentCursor() == 0 ? Json(nullptr) : Json(screen.CurrentCursor());
  state["log"] = player.log_lines();
  Json messages = Json::array();
  for (const auto& box : player.messages()) {
    messages.push_back({{"title", box.title}, {"text", box.text}});
  }
  state["messages"] = std::move(messages);
  const ui::Form* active = player.desktop_const().ActiveForm();
  state["window"] = active != nullptr ? active->name() : "";
  const char* shown = screen.SmallScore->Visible()   ? "small"
                      : screen.LargeScore->Visible() ? "large"
                                                     : "none";
  state["score"] = {{"current", screen.CurrScore_Small->Caption()},
                    {"max", screen.MaxScore_Small->Caption()},
                    {"shown", shown}};
  state["movie"] = player.movies().PlayingName();
  state["exited"] = player.shell().Exited();
  return state;
}

void WriteStateJson(const Player& player, const std::filesystem::path& file) {
  // Texts from game data are converted to UTF-8 on reading; should anything else slip
  // through, it is replaced rather than failing the whole dump.
  const std::string text =
      StateJson(player).dump(2, ' ', false, nlohmann::json::error_handler_t::replace) + "\n";
  if (file == "-") {
    std::cout << text << std::flush;
    return;
  }
  std::filesystem::path temporary = file;
  temporary += ".tmp";
  {
    std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
    out << text;
    out.flush();
    if (!out) {
      std::error_code ec;
      std::filesystem::remove(temporary, ec);
      throw std::runtime_error("cannot write the state JSON to \"" + file.string() + "\"");
    }
  }
  std::error_code ec;
  std::filesystem::rename(temporary, file, ec);
  if (ec) {
    std::filesystem::remove(temporary, ec);
    throw std::runtime_error("cannot write the state JSON to \"" + file.string() + "\"");
  }
}

}  // namespace qv::app
