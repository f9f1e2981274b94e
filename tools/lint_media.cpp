// The media files the records name: found as the player finds them, decoded by the
// player's own decoders within its budgets.

#include <algorithm>
#include <system_error>

#include "core/text.h"
#include "core/vb_error.h"
#include "platform/movies/movie_decoder.h"
#include "platform/music_files.h"
#include "platform/pictures/picture_decoding.h"
#include "platform/sound_files.h"
#include "tools/lint_game.h"

namespace qv::tools::lint {

namespace fs = std::filesystem;

namespace {

constexpr const char* kGfx = "resource\\gfx\\";
constexpr const char* kMmedia = "resource\\mmedia\\";

std::string Quoted(const std::string& name) {
  return "\"" + name + "\"";
}

std::string ErrorText(const VbError& e) {
  return e.description() + " (" + std::to_string(e.number()) + ")";
}

}  // namespace

MediaChecker::MediaChecker(const data::GameFolder& folder, Report& report)
    : folder_(folder), report_(report) {}

void MediaChecker::Check(const Site& at, const std::string& name, Media kind) {
  if (name.empty()) return;
  const std::string ending = LastThreeLower(name);
  switch (kind) {
    case Media::kMusic:
      if (LowerAscii(name) == "(stop sndtrk)") return;
      if (ending != "wav" && ending != "mid" && ending != "mp3") {
        report_.Warning(at, Quoted(name) + " plays nothing: music is a .wav, .mid or .mp3 file");
        return;
      }
      break;
    case Media::kSoundOrMovie:
      if (ending != "wav" && ending != "avi") {
        report_.Warning(at, Quoted(name) + " plays nothing: it is neither a .wav nor an .avi file");
        return;
      }
      kind = ending == "wav" ? Media::kSound : Media::kMovie;
      break;
    case Media::kLogo:
      if (ending != "gif" && ending != "avi") {
        report_.Warning(at, Quoted(name) + " shows nothing: a logo is a .gif or an .avi file");
        return;
      }
      kind = ending == "gif" ? Media::kPicture : Media::kMovie;
      break;
    default:
      break;
  }
  const std::string folder = kind == Media::kPicture ? kGfx : kMmedia;
  const Outcome& outcome = Look(folder, name, kind);
  if (!outcome.problem.empty()) report_.Error(at, outcome.problem);
}

std::optional<MediaChecker::Size> MediaChecker::PictureSize(const std::string& name) const {
  auto it = outcomes_.find(std::string(kGfx) + name);
  if (it == outcomes_.end() || !it->second.problem.empty()) return std::nullopt;
  return it->second.size;
}

const MediaChecker::Outcome& MediaChecker::Look(const std::string& folder, const std::string& name,
                                                Media kind) {
  const std::string game_path = folder + name;
  auto [it, fresh] = outcomes_.try_emplace(game_path);
  if (!fresh) return it->second;
  Outcome& outcome = it->second;
  std::string shown_folder = folder.substr(0, folder.size() - 1);
  std::replace(shown_folder.begin(), shown_folder.end(), '\\', '/');
  try {
    fs::path path = folder_.Resolve(folder_.AppPath() + game_path);
    std::error_code ec;
    if (!fs::is_regular_file(path, ec)) {
      outcome.problem = "no file " + Quoted(name) + " in " + shown_folder;
      return outcome;
    }
    switch (kind) {
      case Media::kPicture: {
        platform::PictureLimits limits;
        limits.memory = &budget_;
        platform::PicturePtr picture = platform::DecodePictureFile(path, limits);
        outcome.size = {picture->width, picture->height};
        break;
      }
      case Media::kSound:
        platform::DecodeWavFile(path, budget_);
        break;
      case Media::kMusic: {
        const std::string ending = LastThreeLower(name);
        if (ending == "wav") {
          platform::DecodeWavFile(path, budget_);
        } else if (ending == "mid") {
          platform::CheckMidi(platform::ReadSoundFile(path, platform::kMaxMidiFileBytes));
        } else {
          platform::OpenMp3(platform::ReadSoundFile(path));
        }
        break;
      }
      default: {  // a movie: opened and checked as the player does, its first part decoded
        auto movie = platform::MovieDecoder::OpenFile(path, platform::MovieLimits{}, budget_);
        platform::MovieVideoFrame frame;
        platform::MovieSoundPiece sound;
        if (movie->Next(frame, sound) == platform::MovieDecoder::Got::kEnd)
          outcome.problem = Quoted(name) + ": no picture or sound of it decodes";
        break;
      }
    }
  } catch (const VbError& e) {
    outcome.problem = Quoted(name) + ": " + ErrorText(e);
  } catch (const std::exception& e) {
    outcome.problem = Quoted(name) + ": " + ErrorText(ToVbError(e));
  }
  return outcome;
}

namespace {

void CheckScenes(const Game& game, MediaChecker& media) {
  for (int n = 1; n <= game.scenes.count(); ++n) {
    const data::SceneRecord& s = game.scenes[n];
    auto at = [&](const std::string& field) { return game.scenes.At(n, field); };
    media.Check(at("ScenePicture"), Text(s.ScenePicture), Media::kPicture);
    media.Check(at("SoundtrackFile"), Text(s.SoundtrackFile), Media::kMusic);
    media.Check(at("EntrySoundA"), Text(s.EntrySoundA), Media::kSound);
    media.Check(at("ExitSound"), Text(s.ExitSound), Media::kSound);
    media.Check(at("EntrySoundB"), Text(s.EntrySoundB), Media::kSound);
    media.Check(at("EntryMovie"), Text(s.EntryMovie), Media::kMovie);
    media.Check(at("ExitMovie"), Text(s.ExitMovie), Media::kMovie);
    for (int slot = 1; slot <= data::SceneRecord::kSlots; ++slot) {
      const data::SceneObjectSlot& o = s.Objects[static_cast<size_t>(slot - 1)];
      auto check = [&](int k, Media kind) {
        media.Check(at(SlotField(slot, "ObjS" + std::to_string(k))),
                    Text(o.ObjS[static_cast<size_t>(k)]), kind);
      };
      auto number = [&](int k) { return o.ObjN[static_cast<size_t>(k)]; };
      switch (o.ObjType) {
        case 0:  // Ambient
          check(0, Media::kPicture);
          check(1, Media::kSound);
          break;
        case 1:  // Link
        case 3:  // Switch
          check(0, Media::kPicture);
          check(1, Media::kSound);
          check(2, Media::kSound);
          check(3, Media::kSound);
          break;
        case 2:  // Goodie
          check(0, Media::kPicture);
          check(1, Media::kSound);
          check(2, Media::kSoundOrMovie);
          check(3, Media::kSound);
          break;
        case 4:  // Reactor: its movie plays for reactions 3 and 4 only
          check(0, Media::kPicture);
          if (number(0) == 3 || number(0) == 4) check(1, Media::kMovie);
          check(2, Media::kSound);
          break;
        case 5:  // Responder; its watched sound is a name other objects play
          if (number(5) == 1) check(1, Media::kMusic);
          if (number(7) == 1) check(2, Media::kSoundOrMovie);
          break;
        default:
          break;
      }
    }
  }
}

void CheckItems(const Game& game, MediaChecker& media) {
  for (int n = 1; n <= game.items.count(); ++n) {
    const data::ItemRecord& r = game.items[n];
    auto at = [&](const char* field) { return game.items.At(n, field); };
    media.Check(at("BarPicture"), Text(r.BarPicture), Media::kPicture);
    media.Check(at("HighlightPicture"), Text(r.HighlightPicture), Media::kPicture);
    media.Check(at("HandPicture"), Text(r.HandPicture), Media::kPicture);
    if (r.ExamineMode != 0) media.Check(at("CloseupFile"), Text(r.CloseupFile), Media::kPicture);
    media.Check(at("WrongUseSound"), Text(r.WrongUseSound), Media::kSound);
    media.Check(at("ExamineSound"), Text(r.ExamineSound), Media::kSound);
    media.Check(at("CombineSound"), Text(r.CombineSound), Media::kSound);
  }
}

void CheckLocations(const Game& game, MediaChecker& media) {
  for (int n = 1; n <= game.locations.count(); ++n) {
    const data::LocationRecord& r = game.locations[n];
    auto at = [&](const char* field) { return game.locations.At(n, field); };
    if (n == 1) media.Check(at("MapBackground"), Text(r.MapBackground), Media::kPicture);
    if (!IsLocation(r)) continue;
    const std::string picture = Text(r.LocPicture);
    if (picture != "(None)") media.Check(at("LocPicture"), picture, Media::kPicture);
    if (r.LocMediaOn == 1) media.Check(at("LocMedia"), Text(r.LocMedia), Media::kSoundOrMovie);
  }
}

void CheckGeneral(const Game& game, MediaChecker& media) {
  if (game.general.count() == 0) return;
  const data::GeneralRecord& g = game.general[1];
  auto at = [&](const std::string& field) { return game.general.At(1, field); };
  media.Check(at("ClickSound"), Text(g.ClickSound), Media::kSound);
  media.Check(at("ObjectSound"), Text(g.ObjectSound), Media::kSound);
  media.Check(at("InvFullSound"), Text(g.InvFullSound), Media::kSound);
  media.Check(at("HoverSound"), Text(g.HoverSound), Media::kSound);
  media.Check(at("MenuMusic"), Text(g.MenuMusic), Media::kMusic);
  if (g.ExitPictureOn == 1)
    media.Check(at("ExitPictureName"), Text(g.ExitPictureName), Media::kPicture);
  for (int k = 0; k < 15; ++k)
    media.Check(at(Element("CursorFile", k)), Text(g.CursorFile[static_cast<size_t>(k)]),
                Media::kPicture);
  media.Check(at("OpeningLogo"), Text(g.OpeningLogo), Media::kLogo);
  media.Check(at("IntroMovie"), Text(g.IntroMovie), Media::kMovie);
  if (g.InterfaceKind != 0) return;  // the standard interface: these fields are positions
  if (g.CustomMenuButtons == 0) {
    for (int k = 0; k < 5; ++k)
      media.Check(at(Element("MenuButtonText", k)), Text(g.MenuButtonText[static_cast<size_t>(k)]),
                  Media::kPicture);
  }
  if (g.MainMenuButtonCustom == 2)
    media.Check(at("MainMenuButtonText"), Text(g.MainMenuButtonText), Media::kPicture);
  if (g.SaveButtonCustom == 2)
    media.Check(at("SaveButtonText"), Text(g.SaveButtonText), Media::kPicture);
  if (g.MenuBackgroundCustom == 2)
    media.Check(at("MenuBackgroundText"), Text(g.MenuBackgroundText), Media::kPicture);
  if (g.GameBackgroundCustom == 2)
    media.Check(at("GameBackgroundText"), Text(g.GameBackgroundText), Media::kPicture);
  if (g.ExamineButtonCustom == 2)
    media.Check(at("ExamineButtonText"), Text(g.ExamineButtonText), Media::kPicture);
}

void CheckConversations(const Game& game, MediaChecker& media) {
  for (int n = 1; n <= game.conversations.count(); ++n) {
    const data::ConversationRecord& r = game.conversations[n];
    for (size_t k = 0; k < data::ConversationRecord::kLines; ++k) {
      if (r.ConvLineMediaOn[k] != 1 || Text(r.ConvLineText[k]).empty()) continue;
      media.Check(game.conversations.At(n, Element("ConvLineMedia", static_cast<int>(k))),
                  Text(r.ConvLineMedia[k]), Media::kSoundOrMovie);
    }
  }
}

}  // namespace

void CheckMediaOfRecords(const Game& game, MediaChecker& media) {
  CheckScenes(game, media);
  CheckLocations(game, media);
  CheckItems(game, media);
  CheckGeneral(game, media);
  CheckConversations(game, media);
}

}  // namespace qv::tools::lint
