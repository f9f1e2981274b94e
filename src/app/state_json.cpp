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
  state["scene"] = player.scene_data().scene.CurrentScene;
  state["flags"] = Json::object();
  state["inventory"] = Json::array();
  state["hand"] = nullptr;
  state["map"] = Json::array();
  state["soundtrack"] = "";
  state["channels"] = Json::object();
  state["visible"] = Json::array();
  state["conversation"] = 0;
  state["cursor"] = nullptr;
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
