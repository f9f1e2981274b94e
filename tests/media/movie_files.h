#pragma once
// Movies the tests make for themselves with the `ffmpeg` command: small AVIs whose
// pictures are plain colours at known times and whose sound is a tone where the test
// wants it, in the codecs old games used.

#include <cstdlib>
#include <filesystem>
#include <string>

namespace qv::testing {

struct MovieRecipe {
  std::string video_codec = "cinepak";  // msvideo1, mjpeg, rawvideo, ...
  std::string audio_codec;              // "" for a silent movie; pcm_s16le, adpcm_ms, ...
  // One colour per second of picture (ffmpeg colour names).
  std::string colours = "red blue";
  std::string size = "64x48";
  int fps = 10;
  // The sound: a 440 Hz tone at half the full scale for this many seconds, silence after it.
  double tone_seconds = 1.0;
  std::string container = "avi";
  std::string extra;  // more options for ffmpeg, before the output
};

// Writes the movie to `file` (an existing file is kept: movies are made once per test
// folder). Returns false when ffmpeg failed.
inline bool MakeMovie(const std::filesystem::path& file, const MovieRecipe& recipe) {
  if (std::filesystem::exists(file)) return true;
  std::filesystem::create_directories(file.parent_path());
  std::string graph;
  std::string inputs;
  int n = 0;
  size_t from = 0;
  while (from < recipe.colours.size()) {
    size_t to = recipe.colours.find(' ', from);
    if (to == std::string::npos) to = recipe.colours.size();
    graph += "color=c=" + recipe.colours.substr(from, to - from) + ":s=" + recipe.size +
             ":r=" + std::to_string(recipe.fps) + ":d=1[v" + std::to_string(n) + "];";
    inputs += "[v" + std::to_string(n) + "]";
    ++n;
    from = to + 1;
  }
  graph += inputs + "concat=n=" + std::to_string(n) + ":v=1:a=0";
  std::string command =
      "ffmpeg -nostdin -hide_banner -loglevel error -y -f lavfi -i \"" + graph + "\"";
  if (!recipe.audio_codec.empty()) {
    command += " -f lavfi -i \"sine=frequency=440:sample_rate=22050:duration=" +
               std::to_string(recipe.tone_seconds) + ",apad=whole_dur=" + std::to_string(n) +
               ",volume=4\" -c:a " + recipe.audio_codec + " -ac 1";
  }
  command += " -c:v " + recipe.video_codec + " -t " + std::to_string(n) + " -f " +
             recipe.container + " " + recipe.extra + " \"" + file.string() + "\"";
  return std::system(command.c_str()) == 0 && std::filesystem::exists(file);
}

}  // namespace qv::testing
