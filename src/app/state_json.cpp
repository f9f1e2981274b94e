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
  const auto& stand_ins = player.stand_ins();
  state["scene"] = player.scene_data().scene.CurrentScene;
  Json flags = Json::object();
  for (int f = 1; f <= 255; ++f) {
    if (engine.state.Flags[f] != 0) flags[std::to_string(f)] = engine.state.Flags[f];
  }
  state["flags"] = std::move(flags);
  state["inventory"] = Json::array();
  int16_t hand = stand_ins.HandSlot();
  state["hand"] = hand == 99 ? Json(nullptr) : Json(hand);
  state["map"] = Json::array();
  state["soundtrack"] = stand_ins.soundtrack();
  Json channels = Json::object();
  for (const auto& [channel, sound] : stand_ins.channels()) {
    channels[std::to_string(channel)] = {{"file", sound.file}, {"loop", sound.loop}};
  }
  state["channels"] = std::move(channels);
  Json visible = Json::array();
  for (int i = 1; i <= 20; ++i) {
    if (screen.Animation[i]->Visible() || screen.NoGIF[i]->Visible()) visible.push_back(i);
  }
  state["visible"] = std::move(visible);
  state["conversation"] = screen.ConvBox->Visible() ? stand_ins.shown_record() : 0;
  state["cursor"] = screen.CurrentCursor() == 0 ? Json(nullptr) : Json(screen.CurrentCursor());
  state["log"] = player.log_lines();
  Json messages = Json::array();
  for (const auto& box : player.messages()) {
    messages.push_back({{"title", box.title}, {"text", box.text}});
  }
  state["messages"] = std::move(messages);
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
