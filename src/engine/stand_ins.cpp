#include "engine/stand_ins.h"

#include "core/text.h"
#include "engine/game_state.h"
#include "screen/game_screen.h"

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

std::string Bool(bool b) { return b ? "True" : "False"; }

}  // namespace

void StandIns::PlayWav(const std::string& name, bool loop, int16_t channel, int32_t pan,
                       int32_t volume) {
  Record("PlayWav" + Args({name, Bool(loop), PlainNum(channel), PlainNum(pan), PlainNum(volume)}));
  channels_[channel] = {name, loop};
}

void StandIns::PlayWAVQVX(const std::string& name, bool loop, int16_t channel, int32_t pan,
                          int32_t volume) {
  Record("PlayWAVQVX" +
         Args({name, Bool(loop), PlainNum(channel), PlainNum(pan), PlainNum(volume)}));
  channels_[channel] = {name, loop};
}

void StandIns::StopWav(int16_t channel) {
  // Stops are many and uneventful: only stops of a channel that plays are recorded.
  if (channels_.erase(channel) > 0) Record("StopWav" + Args({PlainNum(channel)}));
}

void StandIns::Soundtrack(const std::string& name, int32_t volume, bool force) {
  Record("Soundtrack" + Args({name, PlainNum(volume), Bool(force)}));
  soundtrack_ = name;
}

void StandIns::PlayMovie(const std::string& name, int16_t param, bool wait_scene,
                         bool keep_cover) {
  Record("PlayMovie" + Args({name, PlainNum(param), Bool(wait_scene), Bool(keep_cover)}));
}

void StandIns::SetDelayChange(int16_t slot, int16_t flag, int16_t value, int16_t op) {
  Record("SetDelayChange" + Args({PlainNum(slot), PlainNum(flag), PlainNum(value), PlainNum(op)}));
}

void StandIns::StartDelay(int16_t slot, int16_t seconds) {
  Record("StartDelay" + Args({PlainNum(slot), PlainNum(seconds)}));
}

void StandIns::ShowConversation(int16_t record, int16_t slot) {
  if (state_ != nullptr && state_->ShownConversation == slot) return;
  Record("ShowConversation" + Args({PlainNum(record), PlainNum(slot)}));
  if (record == 0) return;
  shown_record_ = record;
  screen_.ConvBox->SetVisible(true);
  if (state_ != nullptr) state_->ShownConversation = slot;
}

void StandIns::AddMapLocation(int16_t location) {
  Record("AddMapLocation" + Args({PlainNum(location)}));
}

void StandIns::AddInventoryItem(int16_t item) {
  Record("AddInventoryItem" + Args({PlainNum(item)}));
}

void StandIns::ShowItem(int16_t slot) { Record("ShowItem" + Args({PlainNum(slot)})); }

void StandIns::CheckCD(int16_t scene) { Record("CheckCD" + Args({PlainNum(scene)})); }

}  // namespace qv::engine
