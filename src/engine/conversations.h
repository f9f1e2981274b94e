#pragma once
// Conversations: the box of up to five clickable lines (cue cards) at the bottom right
// of the scene picture. A Conversation object of the scene shows one record of the
// conversation file; each line can change a flag and play a sound or a movie when
// clicked, and a clicked line stays greyed for as long as that showing lasts. The engine
// hides the box again when the object's condition stops holding.
//
// The box keeps its right edge at the right edge of the scene picture and widens to the
// left to fit the widest line; it never shrinks while it stays up. Lines are measured
// with the real font, as drawn.

#include <cstdint>
#include <string>

#include "core/vb_array.h"
#include "data/general_settings.h"
#include "engine/collaborators.h"
#include "platform/image.h"

namespace qv::engine {

class Engine;

// Line colours: not yet clicked, clicked, under the pointer.
inline constexpr platform::Rgb kLineColor = platform::Rgb::FromHex(0xC0C0C0);
inline constexpr platform::Rgb kUsedLineColor = platform::Rgb::FromHex(0x808080);
inline constexpr platform::Rgb kHoveredLineColor = platform::Rgb::FromHex(0xFFFFFF);

class Conversations final : public ConversationPort {
 public:
  // What the box adds to the widest line, and where its right edge stays.
  static constexpr int kBoxMargin = 156;
  static constexpr int kBoxRight = 700;

  // `sounds` (the general settings' button sounds) must outlive this object.
  explicit Conversations(const data::GeneralSettings& sounds) : sounds_(sounds) {}

  // The engine whose state, screen and sound this uses; also connects the handlers of
  // ConvText(1..5) and ConvBox. Set once, before the first conversation shows.
  void Attach(Engine& engine);

  template <typename T>
  using LineTable = VbArray<T, 1, 5>;

  // ---- the shown record's lines
  LineTable<int16_t> ConvLineFlagOn;
  LineTable<int16_t> ConvLineFlag;
  LineTable<int16_t> ConvLineValue;
  LineTable<int16_t> ConvLineOp;
  LineTable<int16_t> ConvLineMediaOn;
  LineTable<std::string> ConvLineMedia;
  LineTable<int16_t> ConvLineVolume;
  LineTable<int16_t> ConvLinePan;
  // True once the player has clicked the line in this showing.
  LineTable<bool> ConvLineUsed;
  // The line most recently under the pointer (1..5); 0 after a record is shown.
  int16_t HoveredLine = 0;

  // The record the box shows; 0 when the box is hidden.
  int16_t ShownRecord() const;

  // ConversationPort
  // Shows record `record` for the Conversation object in `slot`. Showing the slot that
  // already shows does nothing (its greyed lines stay); record 0 only logs "No Cue Card
  // assigned!". A failing read raises to the caller before anything on screen changes.
  void ShowConversation(int16_t record, int16_t slot) override;
  bool BlockingConversationShowing() const override;
  void UnhighlightLines() override;

  // The handlers of the box. Each does nothing while the busy cursor shows.
  void ConvTextClick(int16_t k);
  void ConvTextMouseMove(int16_t k);
  void ConvBoxMouseMove();

 private:
  void PlayButtonSound(const data::SettingsSound& sound);

  const data::GeneralSettings& sounds_;
  Engine* engine_ = nullptr;
  int16_t record_ = 0;
};

}  // namespace qv::engine
