#include "app/player_config.h"

#include <algorithm>
#include <fstream>
#include <iterator>
#include <nlohmann/json.hpp>
#include <system_error>

#include "app/command_line.h"
#include "platform/user_files.h"

namespace qv::app {

namespace {

using nlohmann::json;

// Reads one setting of the expected JSON type; a wrong type is reported and the default
// stays.
template <typename T>
void Read(const json& object, const char* key, T& value, std::vector<std::string>& problems,
          const std::function<bool(const T&)>& valid = {}) {
  auto it = object.find(key);
  if (it == object.end()) return;
  T read{};
  try {
    read = it->template get<T>();
  } catch (const json::exception&) {
    problems.push_back(std::string("\"") + key + "\" has the wrong kind of value " + it->dump() +
                       "; using the default");
    return;
  }
  if (valid && !valid(read)) {
    problems.push_back(std::string("\"") + key + "\" cannot be " + it->dump() +
                       "; using the default");
    return;
  }
  value = read;
}

}  // namespace

std::filesystem::path DefaultConfigFile() {
  return platform::ConfigFolder() / "config.json";
}

bool ParseScaling(const std::string& name, platform::Scaling& scaling) {
  if (name == "smooth") {
    scaling = platform::Scaling::kSmooth;
  } else if (name == "integer") {
    scaling = platform::Scaling::kInteger;
  } else if (name == "stretch") {
    scaling = platform::Scaling::kStretch;
  } else {
    return false;
  }
  return true;
}

std::string ScalingName(platform::Scaling scaling) {
  switch (scaling) {
    case platform::Scaling::kInteger:
      return "integer";
    case platform::Scaling::kStretch:
      return "stretch";
    case platform::Scaling::kSmooth:
      break;
  }
  return "smooth";
}

LoadedConfig ParseConfig(const std::string& text) {
  LoadedConfig loaded;
  loaded.existed = true;
  json object;
  try {
    object = json::parse(text);
  } catch (const json::parse_error& e) {
    loaded.problems.push_back(std::string("it is not readable (") + e.what() +
                              "); using the defaults");
    return loaded;
  }
  if (!object.is_object()) {
    loaded.problems.push_back("it holds no settings; using the defaults");
    return loaded;
  }
  PlayerConfig& c = loaded.config;
  auto& problems = loaded.problems;
  Read<bool>(object, "fullscreen", c.fullscreen, problems);
  std::string scaling = ScalingName(c.scaling);
  Read<std::string>(object, "scaling", scaling, problems, [](const std::string& name) {
    platform::Scaling unused;
    return ParseScaling(name, unused);
  });
  ParseScaling(scaling, c.scaling);
  Read<int>(object, "master_volume", c.master_volume, problems,
            [](const int& v) { return v >= 0 && v <= 100; });
  Read<bool>(object, "mute", c.mute, problems);
  std::string soundfont = c.soundfont.string();
  Read<std::string>(object, "soundfont", soundfont, problems);
  c.soundfont = soundfont;
  Read<int>(object, "memory_budget", c.memory_budget_mib, problems, [](const int& v) {
    return v >= static_cast<int>(kMinMemoryBudgetMb) && v <= static_cast<int>(kMaxMemoryBudgetMb);
  });
  Read<std::string>(object, "renderer", c.renderer, problems,
                    [](const std::string& name) { return !name.empty(); });
  Read<bool>(object, "confine_mouse", c.confine_mouse, problems);
  for (const auto& [key, value] : object.items()) {
    static const char* const kKnown[] = {"fullscreen", "scaling",      "master_volume",
                                         "mute",       "soundfont",    "memory_budget",
                                         "renderer",   "confine_mouse"};
    if (std::find(std::begin(kKnown), std::end(kKnown), key) == std::end(kKnown)) {
      problems.push_back("\"" + key + "\" is not a setting; left out");
    }
  }
  return loaded;
}

std::string FormatConfig(const PlayerConfig& c) {
  // Kept in this order, so the file reads the same after every change.
  nlohmann::ordered_json object;
  object["fullscreen"] = c.fullscreen;
  object["scaling"] = ScalingName(c.scaling);
  object["master_volume"] = c.master_volume;
  object["mute"] = c.mute;
  object["soundfont"] = c.soundfont.string();
  object["memory_budget"] = c.memory_budget_mib;
  object["renderer"] = c.renderer;
  object["confine_mouse"] = c.confine_mouse;
  return object.dump(2) + "\n";
}

LoadedConfig LoadConfig(const std::filesystem::path& file) {
  std::error_code ec;
  if (!std::filesystem::exists(file, ec)) return {};
  std::ifstream in(file, std::ios::binary);
  if (!in) {
    LoadedConfig loaded;
    loaded.existed = true;
    loaded.problems.push_back("it cannot be read; using the defaults");
    return loaded;
  }
  return ParseConfig(std::string(std::istreambuf_iterator<char>(in), {}));
}

void SaveConfig(const PlayerConfig& config, const std::filesystem::path& file) {
  platform::WriteFileAtomically(file, FormatConfig(config));
}

PlayerConfig LoadOrRepairConfig(const std::filesystem::path& file,
                                const std::function<void(const std::string&)>& report) {
  LoadedConfig loaded = LoadConfig(file);
  if (loaded.problems.empty()) return loaded.config;
  for (const std::string& problem : loaded.problems)
    report("the config file " + file.string() + ": " + problem);
  std::error_code ec;
  const std::filesystem::path kept = file.string() + ".broken";
  std::filesystem::copy_file(file, kept, std::filesystem::copy_options::overwrite_existing, ec);
  try {
    SaveConfig(loaded.config, file);
    report("the config file " + file.string() + " was written again with the settings in use" +
           (ec ? std::string() : "; the old one is kept as " + kept.string()));
  } catch (const std::exception& e) {
    report(e.what());
  }
  return loaded.config;
}

}  // namespace qv::app
