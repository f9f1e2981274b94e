#pragma once
// The parts that play a game, built and connected in one place: the sound channels and
// the music, the movies, the general settings, the delay timers, the conversation box, the
// inventory, the map, the engine, the handlers of the scene's objects, direction links and the game
// screen's buttons, the close-up, the debug window, and the shell around them (start-up,
// menus, quitting). The player owns one; tests build one around a headless screen.

#include "app/debug_target.h"
#include "app/movie_ports.h"
#include "core/message_box.h"
#include "data/game_folder.h"
#include "data/general_settings.h"
#include "data/scene_data.h"
#include "diag/debug_window.h"
#include "diag/notify_log.h"
#include "engine/conversations.h"
#include "engine/delays.h"
#include "engine/engine.h"
#include "media/movies.h"
#include "media/music.h"
#include "media/sound_channels.h"
#include "platform/audio.h"
#include "platform/event_loop.h"
#include "platform/movie.h"
#include "platform/pictures/picture_files.h"
#include "saves/save_dialogs.h"
#include "saves/saved_games.h"
#include "screen/closeup.h"
#include "screen/direction_links.h"
#include "screen/game_buttons.h"
#include "screen/game_screen.h"
#include "screen/inventory.h"
#include "screen/map_window.h"
#include "screen/object_interaction.h"
#include "shell/ports.h"
#include "shell/shell.h"
#include "ui/desktop.h"

namespace qv::app {

// What the parts get from around them; everything must outlive the parts.
struct GamePartsServices {
  platform::EventLoop& loop;
  ui::Desktop& desktop;
  MessageBoxService& boxes;
  const data::GameFolder& folder;
  data::SceneData& scene_data;
  platform::PictureFiles& pictures;
  screen::GameScreen& screen;
  diag::NotifyLog& notify_log;
  platform::AudioDevice& audio;
  shell::Display& display;
  shell::DiscDrive& drive;
  platform::MoviePlayer& movie_player;
  // Tests of the engine alone: where the engine's movies go instead of the real ones.
  engine::MoviePort* engine_movies = nullptr;
};

struct GameParts {
  explicit GameParts(GamePartsServices services);
  GameParts(const GameParts&) = delete;
  GameParts& operator=(const GameParts&) = delete;

  media::SoundChannels sound;
  media::Music music;
  // What the game's general settings say (its sounds, its CDs, its interface).
  data::GeneralSettings settings;
  // The opening logo, the intro and the movies of the game.
  media::Movies movies;
  MoviePorts movie_ports;
  engine::Delays delays;
  engine::Conversations conversations;
  screen::Inventory inventory;
  screen::MapWindow map;
  engine::Engine engine;
  screen::ObjectInteraction object_interaction;
  screen::DirectionLinks direction_links;
  screen::Closeup closeup;
  GameDebugTarget debug_target;
  diag::QVDebug debug;
  screen::GameButtons buttons;
  shell::Shell shell;
  // The saved games and their dialogs, which the shell opens.
  saves::SavedGames saved_games;
  saves::SaveDialogs save_dialogs;
};

}  // namespace qv::app
