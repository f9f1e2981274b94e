// The game's flags (tested and set), the items something gives, and where the visible
// objects and links lie on the 700 x 475 scene.

#include <cmath>
#include <cstdlib>
#include <map>
#include <set>

#include "data/scene_objects.h"
#include "tools/lint_game.h"

namespace qv::tools::lint {

namespace {

constexpr int kSceneWidth = 700;
constexpr int kSceneHeight = 475;
constexpr int kFlags = 255;

// The decimal number at the start of a text, rounded to the nearest whole number, halves
// to even; 0 when the text does not start with one.
int LeadingNumber(const std::string& text) {
  const char* begin = text.c_str();
  char* end = nullptr;
  double value = std::strtod(begin, &end);
  if (end == begin || !std::isfinite(value) || std::fabs(value) > 1e6) return 0;
  return static_cast<int>(std::nearbyint(value));
}

// Where each flag is tested and set, the first place of each kept for the report.
class FlagUses {
 public:
  explicit FlagUses(Report& report) : report_(report) {}

  void Tested(const Site& at, int flag) { Use(tested_, at, flag); }
  void Set(const Site& at, int flag) { Use(set_, at, flag); }

  void ReportUnpaired() {
    for (const auto& [flag, at] : tested_) {
      if (!set_.count(flag))
        report_.Warning(at, "flag " + std::to_string(flag) + " is tested here but nothing sets it");
    }
    for (const auto& [flag, at] : set_) {
      if (!tested_.count(flag))
        report_.Warning(at, "flag " + std::to_string(flag) + " is set here but nothing tests it");
    }
  }

 private:
  // Flag 0 is no flag: a change of it does nothing and a test of it compares 0.
  void Use(std::map<int, Site>& uses, const Site& at, int flag) {
    if (flag == 0) return;
    if (flag < 0 || flag > kFlags) {
      report_.Error(at, "flag " + std::to_string(flag) + " is outside 1-255");
      return;
    }
    uses.try_emplace(flag, at);
  }

  Report& report_;
  std::map<int, Site> tested_;
  std::map<int, Site> set_;
};

// The field of each visible type that says when it shows (1 always, 2 on a condition).
int VisibilityField(int type) {
  switch (type) {
    case 0:
    case 4:
      return 4;
    case 1:
      return 13;
    case 2:
      return 11;
    case 3:
      return 12;
    default:
      return -1;
  }
}

void SceneFlags(const Game& game, FlagUses& flags) {
  for (int n = 1; n <= game.scenes.count(); ++n) {
    const data::SceneRecord& s = game.scenes[n];
    if (s.JumpEnabled == 1 && s.JumpScene != 0)
      flags.Tested(game.scenes.At(n, "JumpFlag"), s.JumpFlag);
    if (s.EntryFlagOn == 1) flags.Set(game.scenes.At(n, "EntryFlag"), s.EntryFlag);
    for (int slot = 1; slot <= data::SceneRecord::kSlots; ++slot) {
      const ObjectFields o(s, slot);
      auto at = [&](int k) {
        return game.scenes.At(n, SlotField(slot, "ObjN" + std::to_string(k)));
      };
      auto test = [&](int k) { flags.Tested(at(k), o.N(k)); };
      auto set = [&](int k) { flags.Set(at(k), o.N(k)); };
      const int visibility = VisibilityField(o.type());
      if (visibility >= 0 && o.N(visibility) == 2) test(visibility + 1);
      switch (o.type()) {
        case 0:  // Ambient
        case 4:  // Reactor
          if (o.N(8) == 1) set(9);
          break;
        case 1:  // Link
          if (o.N(17) == 1) set(18);
          break;
        case 2:  // Goodie
          if (o.N(15) == 1) set(16);
          break;
        case 3:  // Switch: shows its flag's state and turns it on and off
          test(0);
          set(0);
          break;
        case 5:  // Responder
          if (o.N(0) == 1) test(1);
          if (o.N(12) == 1) set(13);
          break;
        case 6:  // Delay
          test(1);
          set(5);
          break;
        case 7:  // Multi-Trigger: three branches
          for (int b = 0; b < 3; ++b) {
            test(1 + 8 * b);
            if (o.N(4 + 8 * b) == 1) set(5 + 8 * b);
          }
          break;
        case 8:  // Conversation
          if (o.N(1) == 2) test(2);
          break;
        case 9:  // Flag Conjunction: six terms, a change written as texts
          for (int k = 1; k <= 6; ++k)
            if (o.N(4 * k - 3) == 1) test(4 * k - 2);
          flags.Set(game.scenes.At(n, SlotField(slot, "ObjS0")), LeadingNumber(o.S(0)));
          break;
        default:
          break;
      }
    }
  }
}

void OtherFlags(const Game& game, FlagUses& flags) {
  for (int n = 1; n <= game.items.count(); ++n) {
    const data::ItemRecord& r = game.items[n];
    if (r.ExamineChangesFlag == 1) flags.Set(game.items.At(n, "ExamineFlag"), r.ExamineFlag);
  }
  for (int n = 1; n <= game.conversations.count(); ++n) {
    const data::ConversationRecord& r = game.conversations[n];
    for (size_t k = 0; k < data::ConversationRecord::kLines; ++k) {
      if (r.ConvLineFlagOn[k] == 1 && !Text(r.ConvLineText[k]).empty())
        flags.Set(game.conversations.At(n, Element("ConvLineFlag", static_cast<int>(k))),
                  r.ConvLineFlag[k]);
    }
  }
  // The score shows its flag: that is a use of it.
  if (game.general.count() == 1 && game.general[1].HasScore != 0)
    flags.Tested(game.general.At(1, "ScoreFlag"), game.general[1].ScoreFlag);
}

// Reports an area (x, y, width, height) that leaves the scene.
void Placed(Report& report, const Site& at, const std::string& what, int x, int y, int width,
            int height) {
  const std::string where = " at " + std::to_string(x) + ", " + std::to_string(y) + " (" +
                            std::to_string(width) + " x " + std::to_string(height) + ")";
  if (x >= kSceneWidth || y >= kSceneHeight || x + width <= 0 || y + height <= 0) {
    report.Warning(at, what + where + " lies outside the 700 x 475 scene");
  } else if (x < 0 || y < 0 || x + width > kSceneWidth || y + height > kSceneHeight) {
    report.Warning(at, what + where + " reaches beyond the 700 x 475 scene");
  }
}

}  // namespace

void CheckFlags(const Game& game, Report& report) {
  FlagUses flags(report);
  SceneFlags(game, flags);
  OtherFlags(game, flags);
  flags.ReportUnpaired();
}

void CheckItemsGiven(const Game& game, Report& report) {
  std::set<int> given;
  for (int n = 1; n <= game.items.count(); ++n) {
    const data::ItemRecord& r = game.items[n];
    if (r.InInventoryAtStart == 1) given.insert(n);
    if (r.CanCombine == 1 && r.CombinesWith >= 1) given.insert(r.CombineProduct);
    if (r.ExamineGivesItem == 1) given.insert(r.ExamineItemGiven);
  }
  for (int n = 1; n <= game.scenes.count(); ++n) {
    for (int slot = 1; slot <= data::SceneRecord::kSlots; ++slot) {
      const ObjectFields o(game.scenes[n], slot);
      if (o.type() == 2) given.insert(o.N(5));
      if (o.type() == 5 && o.N(18) == 1) given.insert(o.N(19));
    }
  }
  for (int n = 1; n <= game.items.count(); ++n) {
    const data::ItemRecord& r = game.items[n];
    if (given.count(n) || (Text(r.BarPicture).empty() && Text(r.ItemName).empty())) continue;
    report.Warning(game.items.At(n), "nothing gives item " + std::to_string(n) +
                                         " (no Goodie, responder, combination or examining, and "
                                         "it is not held at the start)");
  }
}

void CheckPlacement(const Game& game, const MediaChecker& media, Report& report) {
  for (int n = 1; n <= game.scenes.count(); ++n) {
    const data::SceneRecord& s = game.scenes[n];
    for (const DirectionField& link : DirectionFields(s)) {
      const auto& v = link.values;  // cursor, target, top, left, width, height
      if (v[1] == 0) continue;
      const Site at = game.scenes.At(n, Element(link.name, 4));
      if (v[4] <= 0 || v[5] <= 0) {
        report.Warning(at, "the link's area is " + std::to_string(v[4]) + " x " +
                               std::to_string(v[5]) + ": nothing can click it");
      } else {
        Placed(report, at, "the link's area", v[3], v[2], v[4], v[5]);
      }
    }
    for (int slot = 1; slot <= data::SceneRecord::kSlots; ++slot) {
      const ObjectFields o(s, slot);
      const int visibility = VisibilityField(o.type());
      if (visibility < 0 || o.Blank()) continue;
      if (o.N(visibility) != 1 && o.N(visibility) != 2) continue;  // never shown
      int width = 0;
      int height = 0;
      if (o.type() == 1 && o.N(25) != 0) {  // an invisible clickable area
        width = LeadingNumber(o.S(5));
        height = LeadingNumber(o.S(4));
        if (width <= 0 || height <= 0) {
          report.Warning(game.scenes.At(n, SlotField(slot, "ObjS5")),
                         "the invisible area is " + std::to_string(width) + " x " +
                             std::to_string(height) + ": nothing can click it");
          continue;
        }
      } else if (auto size = media.PictureSize(o.S(0))) {
        width = size->width;
        height = size->height;
      }
      Placed(report, game.scenes.At(n, SlotField(slot, "ObjX")),
             std::string("the ") + data::ObjectTypeName(o.type()), o.x(), o.y(), width, height);
    }
  }
}

}  // namespace qv::tools::lint
