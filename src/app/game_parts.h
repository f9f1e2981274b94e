#pragma once
// The parts that play a game on the game screen, built and connected in one place: the
// sound channels and the music, the delay timers, the conversation box, the inventory,
// the map, the engine, the handlers of the scene's objects and direction links, the
// close-up and the debug window. The player owns one; tests build one around a headless
// screen.

#include "app/debug_target.h"
#include "core/message_box.h"
#include "data/game_folder.h"
#include "data/scene_data.h"
#include "diag/debug_window.h"
#include "diag/notify_log.h"
#include "engine/button_sounds.h"
#include "engine/conversations.h"
#include "engine/delays.h"
#include "engine/engine.h"
#include "engine/stand_ins.h"
#include "media/music.h"
#include "media/sound_channels.h"
#include "platform/audio.h"
#include "platform/event_loop.h"
#include "platform/pictures/picture_files.h"
#include "screen/closeup.h"
#include "screen/direction_links.h"
#include "screen/game_screen.h"
#include "screen/interaction_settings.h"
#include "screen/inventory.h"
#include "screen/map_window.h"
#include "screen/object_interaction.h"

namespace qv::app {

struct GameParts {
  // Everything given must outlive the parts.
  GameParts(platform::EventLoop& loop, MessageBoxService& boxes, const data::GameFolder& folder,
            data::SceneData& scene_data, platform::PictureFiles& pictures,
            screen::GameScreen& screen, diag::NotifyLog& notify_log, platform::AudioDevice& audio);
  GameParts(const GameParts&) = delete;
  GameParts& operator=(const GameParts&) = delete;

  media::SoundChannels sound;
  media::Music music;
  // What is not built yet (movies, CD check, main menu) records its calls.
  engine::StandIns stand_ins;
  engine::ButtonSounds button_sounds;
  engine::Delays delays;
  engine::Conversations conversations;
  screen::InteractionSettings interaction_settings;
  screen::Inventory inventory;
  screen::MapWindow map;
  engine::Engine engine;
  screen::ObjectInteraction object_interaction;
  screen::DirectionLinks direction_links;
  screen::Closeup closeup;
  GameDebugTarget debug_target;
  diag::QVDebug debug;
};

}  // namespace qv::app
