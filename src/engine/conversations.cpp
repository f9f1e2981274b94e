#include "engine/conversations.h"

#include <algorithm>
#include <string_view>

#include "core/procedure.h"
#include "core/text.h"
#include "data/scene_objects.h"
#include "engine/engine.h"

namespace qv::engine {

namespace {

// A line text or media name as read. Text ends at its first zero byte, as the label that
// draws it and the file system that opens it both take it; so a record past the end of
// the file, which reads as zeros, has no lines and no media.
std::string RecordText(const std::string& raw) {
  return data::TableText(raw.substr(0, raw.find('\0')));
}

// The largest width of the five lines.
int WidestLine(ScreenPort& screen) {
  int widest = 0;
  for (int k = 1; k <= 5; ++k)
    widest = std::max(widest, screen.ConversationLine(k).Width());
  return widest;
}

}  // namespace

void Conversations::Attach(Engine& engine) {
  engine_ = &engine;
  ScreenPort& screen = engine.services().screen;
  MessageBoxService& boxes = engine.services().boxes;
  // A failure in a handler (a line's flag number outside the flags) is reported like
  // any procedure's, and the game goes on.
  for (int16_t k = 1; k <= 5; ++k) {
    screen.ConversationLine(k).on_click = [this, &boxes, k] {
      RunProcedure(boxes, "ConvText_Click", [&] { ConvTextClick(k); });
    };
    screen.ConversationLine(k).on_mouse_move = [this, &boxes, k](const ui::MouseArgs&) {
      RunProcedure(boxes, "ConvText_MouseMove", [&] { ConvTextMouseMove(k); });
    };
  }
  screen.ConversationBox().on_mouse_move = [this, &boxes](const ui::MouseArgs&) {
    RunProcedure(boxes, "ConvBox_MouseMove", [&] { ConvBoxMouseMove(); });
  };
}

int16_t Conversations::ShownRecord() const {
  return engine_ != nullptr && engine_->services().screen.ConversationBox().Visible() ? record_
                                                                                      : int16_t{0};
}

void Conversations::ShowConversation(int16_t record, int16_t slot) {
  GameState& state = engine_->state;
  ScreenPort& screen = engine_->services().screen;
  if (state.ShownConversation == slot) return;
  engine_->Progress("[Conv Index #" + NumText(slot) + "] Show Conversation Box");
  if (record == 0) {
    engine_->Progress("No Cue Card assigned!");
    return;
  }
  // The record is read before anything on screen changes: a record number the file
  // refuses (below 1) raises to the caller and leaves the conversation that shows intact.
  const data::ConversationRecord r = engine_->services().data.ReadConversation(record);
  if (data::ConversationObject::Read(engine_->scene(), slot).blocking) {
    screen.ShowCursor(kDefaultCursor);
  }
  const bool was_visible = screen.ConversationBox().Visible();
  const int old_widest = was_visible ? WidestLine(screen) : 0;
  for (int k = 1; k <= 5; ++k)
    screen.ConversationLine(k).SetVisible(false);

  for (int k = 1; k <= 5; ++k) {
    const size_t line = static_cast<size_t>(k - 1);
    screen.ConversationLine(k).SetCaption(RecordText(r.ConvLineText[line]));
    ConvLineFlagOn[k] = r.ConvLineFlagOn[line];
    ConvLineFlag[k] = r.ConvLineFlag[line];
    ConvLineValue[k] = r.ConvLineValue[line];
    ConvLineOp[k] = r.ConvLineOp[line];
    ConvLineMediaOn[k] = r.ConvLineMediaOn[line];
    ConvLineMedia[k] = RecordText(r.ConvLineMedia[line]);
    ConvLineVolume[k] = r.ConvLineVolume[line];
    ConvLinePan[k] = r.ConvLinePan[line];
  }

  // The box widens to the left for a longer line; while it stays up it never shrinks.
  const int widest = WidestLine(screen);
  if (!was_visible || widest > old_widest) {
    ui::PictureBox& box = screen.ConversationBox();
    box.Move(kBoxRight - (widest + kBoxMargin), box.Top(), widest + kBoxMargin, box.Height());
  }
  for (int k = 1; k <= 5; ++k) {
    ConvLineUsed[k] = false;
    screen.ConversationLine(k).SetForeColor(kLineColor);
    if (!screen.ConversationLine(k).Caption().empty()) screen.ConversationLine(k).SetVisible(true);
  }
  if (!screen.ConversationBox().Visible()) screen.ConversationBox().SetVisible(true);
  HoveredLine = 0;
  state.ShownConversation = slot;
  record_ = record;
}

bool Conversations::BlockingConversationShowing() const {
  if (engine_ == nullptr || !engine_->services().screen.ConversationBox().Visible()) return false;
  const int16_t slot = engine_->state.ShownConversation;
  return data::SlotTable<int16_t>::Contains(slot) &&
         data::ConversationObject::Read(engine_->scene(), slot).blocking;
}

void Conversations::UnhighlightLines() {
  ScreenPort& screen = engine_->services().screen;
  for (int k = 1; k <= 5; ++k) {
    ui::Label& line = screen.ConversationLine(k);
    if (line.ForeColor() == kHoveredLineColor) {
      line.SetForeColor(ConvLineUsed[k] ? kUsedLineColor : kLineColor);
    }
  }
}

void Conversations::PlayButtonSound(const data::SettingsSound& sound) {
  if (sound.file.empty()) return;
  engine_->services().sound.PlayWAVQVX(sound.file, false, media::kButtonChannel, sound.pan,
                                       sound.volume);
}

void Conversations::ConvTextClick(int16_t k) {
  ScreenPort& screen = engine_->services().screen;
  if (screen.BusyCursorShowing()) return;
  ConvLineUsed[k] = true;
  screen.ConversationLine(k).SetForeColor(kUsedLineColor);
  PlayButtonSound(sounds_.click);
  engine_->Progress("Conversation Box clicked (Line #" + PlainNum(k) + ").");
  // The clicked line's flag change is taken now: while its movie plays, events run, and
  // another conversation may replace this one's lines before the change is applied.
  const bool change = ConvLineFlagOn[k] == 1;
  const int16_t flag = ConvLineFlag[k];
  const int16_t value = ConvLineValue[k];
  const int16_t op = ConvLineOp[k];
  const std::string media = ConvLineMedia[k];
  if (!media.empty() && ConvLineMediaOn[k] == 1) {
    const std::string kind = LastThreeLower(media);
    if (kind == "wav") {
      engine_->NotifyLog("Play Wav: '" + media + "'");
      engine_->services().sound.PlayWAVQVX(media, false, media::kDialogueChannel, ConvLinePan[k],
                                           ConvLineVolume[k]);
    } else if (kind == "avi") {
      engine_->services().movies.PlayMovie(media, ConvLineVolume[k], true, false);
    }
  }
  // The box stays up: only the engine hides or replaces it, which this change may do.
  if (change) engine_->ChangeFlag(flag, value, op);
}

void Conversations::ConvTextMouseMove(int16_t k) {
  ScreenPort& screen = engine_->services().screen;
  if (screen.BusyCursorShowing()) return;
  if (HoveredLine != k) PlayButtonSound(sounds_.hover);
  HoveredLine = k;
  screen.ShowCursor(kDefaultCursor);
  screen.ConversationLine(k).SetForeColor(kHoveredLineColor);
  for (int j = 1; j <= 5; ++j) {
    if (j != k && screen.ConversationLine(j).ForeColor() == kHoveredLineColor) {
      screen.ConversationLine(j).SetForeColor(ConvLineUsed[j] ? kUsedLineColor : kLineColor);
    }
  }
}

void Conversations::ConvBoxMouseMove() {
  ScreenPort& screen = engine_->services().screen;
  if (screen.BusyCursorShowing()) return;
  screen.ShowCursor(kDefaultCursor);
  // HoveredLine stays: moving back onto the same line does not repeat its sound.
  UnhighlightLines();
}

}  // namespace qv::engine
