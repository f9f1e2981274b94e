// Numbers one record gives of another: scenes, items, map locations, conversations and
// CDs, each inside its file; and the scenes that something reaches from scene 1.

#include <deque>
#include <functional>
#include <set>

#include "tools/lint_game.h"

namespace qv::tools::lint {

namespace {

constexpr int kMapLocations = 20;

class References {
 public:
  References(const Game& game, Report& report) : g_(game), report_(report) {}

  void Scene(const Site& at, int n) {
    if (!g_.scenes.Holds(n))
      report_.Error(at, Missing("scene", n, g_.scenes.file, g_.scenes.count()));
  }
  void Item(const Site& at, int n) {
    if (!g_.items.Holds(n)) report_.Error(at, Missing("item", n, g_.items.file, g_.items.count()));
  }
  void Conversation(const Site& at, int n) {
    if (!g_.conversations.Holds(n))
      report_.Error(at,
                    Missing("conversation", n, g_.conversations.file, g_.conversations.count()));
  }
  void Location(const Site& at, int n) {
    if (!g_.locations.Holds(n)) {
      report_.Error(at, Missing("location", n, g_.locations.file, g_.locations.count()));
    } else if (n > kMapLocations) {
      report_.Error(at, "location " + std::to_string(n) + " is beyond the map's 20 locations");
    } else if (!IsLocation(g_.locations[n])) {
      report_.Error(at, "location " + std::to_string(n) +
                            " is no location (its picture field is \"Del\" or empty)");
    }
  }

 private:
  static std::string Missing(const char* what, int n, const std::string& file, int count) {
    return std::string(what) + " " + std::to_string(n) + " does not exist (" + file + " holds " +
           std::to_string(count) + ")";
  }

  const Game& g_;
  Report& report_;
};

void CheckSceneReferences(const Game& game, References& refs, Report& report) {
  for (int n = 1; n <= game.scenes.count(); ++n) {
    const data::SceneRecord& s = game.scenes[n];
    if (s.JumpEnabled == 1 && s.JumpScene != 0) {
      if (s.JumpScene == n) {
        report.Error(game.scenes.At(n, "JumpScene"),
                     "the jump leads to its own scene, which the player refuses");
      } else {
        refs.Scene(game.scenes.At(n, "JumpScene"), s.JumpScene);
      }
    }
    for (const DirectionField& link : DirectionFields(s)) {
      if (link.values[1] != 0) refs.Scene(game.scenes.At(n, Element(link.name, 1)), link.values[1]);
    }
    for (int slot = 1; slot <= data::SceneRecord::kSlots; ++slot) {
      const ObjectFields o(s, slot);
      auto at = [&](int k) {
        return game.scenes.At(n, SlotField(slot, "ObjN" + std::to_string(k)));
      };
      switch (o.type()) {
        case 0:  // Ambient
          if (o.N(12) == 1) refs.Location(at(13), o.N(13));
          break;
        case 1:  // Link: any action but the map's goes to its scene, when it names one
          if (o.N(6) == 1) refs.Item(at(7), o.N(7));
          if (o.N(11) != 2 && o.N(12) != 0) refs.Scene(at(12), o.N(12));
          break;
        case 2:  // Goodie
          refs.Item(at(5), o.N(5));
          if (o.N(6) == 1) refs.Item(at(7), o.N(7));
          break;
        case 3:  // Switch
          if (o.N(7) == 1) refs.Item(at(8), o.N(8));
          break;
        case 4:  // Reactor
          if (o.N(12) == 1) refs.Location(at(13), o.N(13));
          break;
        case 5:  // Responder
          if (o.N(10) == 1 && o.N(11) != 0) refs.Scene(at(11), o.N(11));
          if (o.N(16) == 1 && o.N(17) >= 1) refs.Location(at(17), o.N(17));
          if (o.N(18) == 1 && o.N(19) >= 1) refs.Item(at(19), o.N(19));
          break;
        case 6:  // Delay
          break;
        case 7:  // Multi-Trigger: each branch's scene, 0 = none
          for (int k : {8, 16, 24})
            if (o.N(k) != 0) refs.Scene(at(k), o.N(k));
          break;
        case 8:  // Conversation
          if (o.N(0) == 0) {
            report.Warning(at(0), "no conversation record (0): the box never shows");
          } else {
            refs.Conversation(at(0), o.N(0));
          }
          break;
        case 9:  // Flag Conjunction
          break;
        default:
          report.Error(game.scenes.At(n, SlotField(slot, "ObjType")),
                       "object type " + std::to_string(o.type()) +
                           " is unknown: the player shows a placeholder picture");
      }
    }
  }
}

void CheckOtherReferences(const Game& game, References& refs, Report& report) {
  for (int n = 1; n <= game.locations.count(); ++n) {
    const data::LocationRecord& r = game.locations[n];
    if (!IsLocation(r)) continue;
    if (n > kMapLocations) {
      report.Error(game.locations.At(n, "LocPicture"),
                   "the map holds 20 locations: the player leaves this one out");
    }
    if (r.LocScene != 0) refs.Scene(game.locations.At(n, "LocScene"), r.LocScene);
  }
  for (int n = 1; n <= game.items.count(); ++n) {
    const data::ItemRecord& r = game.items[n];
    if (r.CanCombine == 1 && r.CombinesWith >= 1 && r.CombineProduct >= 1) {
      refs.Item(game.items.At(n, "CombinesWith"), r.CombinesWith);
      refs.Item(game.items.At(n, "CombineProduct"), r.CombineProduct);
    }
    if (r.ExamineGivesItem == 1)
      refs.Item(game.items.At(n, "ExamineItemGiven"), r.ExamineItemGiven);
    if (r.ExamineAddsLocation == 1)
      refs.Location(game.items.At(n, "ExamineLocation"), r.ExamineLocation);
  }
  if (game.general.count() == 0) return;
  const data::GeneralRecord& g = game.general[1];
  if (g.CreditsScene != 0) refs.Scene(game.general.At(1, "CreditsScene"), g.CreditsScene);
  if (g.CDModeEnabled != 1) return;
  bool any_label = false;
  for (int cd = 0; cd < 4; ++cd) {
    const auto k = static_cast<size_t>(cd);
    if (Text(g.CDLabel[k]).empty()) continue;
    any_label = true;
    refs.Scene(game.general.At(1, Element("CDFirstScene", cd)), g.CDFirstScene[k]);
    refs.Scene(game.general.At(1, Element("CDLastScene", cd)), g.CDLastScene[k]);
    if (g.CDFirstScene[k] > g.CDLastScene[k]) {
      report.Error(game.general.At(1, Element("CDLastScene", cd)),
                   "CD " + std::to_string(cd + 1) + " ends before it begins (scenes " +
                       std::to_string(g.CDFirstScene[k]) + " to " +
                       std::to_string(g.CDLastScene[k]) + ")");
    }
  }
  if (!any_label) {
    report.Error(game.general.At(1, "CDModeEnabled"),
                 "the game runs from CDs but no CD has a label: the player cannot start it");
  }
}

}  // namespace

void CheckReferences(const Game& game, Report& report) {
  References refs(game, report);
  CheckSceneReferences(game, refs, report);
  CheckOtherReferences(game, refs, report);
}

void CheckReachable(const Game& game, Report& report) {
  const int count = game.scenes.count();
  if (count == 0) return;
  std::vector<bool> reached(static_cast<size_t>(count) + 1, false);
  std::set<int> locations;  // locations that can be on the map
  std::deque<int> next;
  auto reach = [&](int scene) {
    if (scene >= 1 && scene <= count && !reached[static_cast<size_t>(scene)]) {
      reached[static_cast<size_t>(scene)] = true;
      next.push_back(scene);
    }
  };
  auto add_location = [&](int n) {
    if (!game.locations.Holds(n) || !locations.insert(n).second) return;
    if (IsLocation(game.locations[n])) reach(game.locations[n].LocScene);
  };
  reach(1);
  if (game.general.count() == 1) reach(game.general[1].CreditsScene);  // the menu's credits
  for (int n = 1; n <= game.locations.count(); ++n)
    if (game.locations[n].LocOnMapAtStart == 1) add_location(n);
  for (int n = 1; n <= game.items.count(); ++n)  // examining an item, wherever it is
    if (game.items[n].ExamineAddsLocation == 1) add_location(game.items[n].ExamineLocation);

  while (!next.empty()) {
    const int n = next.front();
    next.pop_front();
    const data::SceneRecord& s = game.scenes[n];
    if (s.JumpEnabled == 1) reach(s.JumpScene);
    for (const DirectionField& link : DirectionFields(s))
      reach(link.values[1]);
    for (int slot = 1; slot <= data::SceneRecord::kSlots; ++slot) {
      const ObjectFields o(s, slot);
      switch (o.type()) {
        case 0:  // Ambient
        case 4:  // Reactor
          if (o.N(12) == 1) add_location(o.N(13));
          break;
        case 1:  // Link
          if (o.N(11) != 2) reach(o.N(12));
          break;
        case 5:  // Responder
          if (o.N(10) == 1) reach(o.N(11));
          if (o.N(16) == 1) add_location(o.N(17));
          break;
        case 7:  // Multi-Trigger
          for (int k : {8, 16, 24})
            reach(o.N(k));
          break;
        default:
          break;
      }
    }
  }
  for (int n = 2; n <= count; ++n) {
    if (reached[static_cast<size_t>(n)]) continue;
    report.Warning(game.scenes.At(n),
                   "nothing reaches scene " + std::to_string(n) +
                       " from scene 1 (no link, map location, responder, multi-trigger or jump)");
  }
}

}  // namespace qv::tools::lint
