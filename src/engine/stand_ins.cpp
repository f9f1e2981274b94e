#include "engine/stand_ins.h"

#include "core/text.h"

namespace qv::engine {

namespace {

std::string Args(std::initializer_list<std::string> args) {
  std::string joined;
  for (const std::string& arg : args) {
    if (!joined.empty()) joined += ", ";
    joined += arg;
  }
  return "(" + joined + ")";
}

std::string Bool(bool b) {
  return b ? "True" : "False";
}

}  // namespace

void StandIns::PlayMovie(const std::string& name, int16_t param, bool wait_scene, bool keep_cover) {
  Record("PlayMovie" + Args({name, PlainNum(param), Bool(wait_scene), Bool(keep_cover)}));
}

}  // namespace qv::engine
