#include "app/game_parts.h"

namespace qv::app {

GameParts::GameParts(GamePartsServices s)
    : sound(s.loop, s.boxes, s.folder, s.audio),
      music(s.loop, s.boxes, sound),
      movies(media::MoviesServices{s.loop, s.desktop, s.boxes, s.folder,
                                   media::PictureSource{s.folder, s.pictures}, s.movie_player,
                                   sound, settings}),
      movie_ports(movies),
      delays(s.loop.timers()),
      conversations(settings),
      inventory(screen::InventoryServices{s.boxes, s.scene_data, s.pictures, s.screen, s.notify_log,
                                          sound, settings,
                                          s.pictures.builtins().NoPic()->frames.front()}),
      map(screen::MapServices{s.desktop, s.boxes, s.scene_data,
                              media::PictureSource{s.folder, s.pictures}, s.pictures.builtins(),
                              s.screen, sound}),
      // The engine reaches the shell only once everything is built.
      engine(engine::EngineServices{s.loop, s.boxes, s.scene_data, s.pictures, s.screen,
                                    s.notify_log, sound, music,
                                    s.engine_movies ? *s.engine_movies : movie_ports, delays,
                                    conversations, map, inventory, shell}),
      object_interaction(engine, s.screen, inventory, settings),
      direction_links(engine, s.screen, inventory),
      closeup(screen::CloseupServices{s.desktop, media::PictureSource{s.folder, s.pictures},
                                      s.screen, settings},
              engine, inventory),
      debug_target(engine, s.scene_data, inventory, map),
      debug(s.desktop, s.boxes, s.notify_log, debug_target),
      buttons(s.screen, s.boxes, sound, settings, inventory),
      shell(shell::ShellServices{s.loop, s.desktop, s.boxes, s.scene_data,
                                 media::PictureSource{s.folder, s.pictures}, s.pictures.builtins(),
                                 s.screen, buttons, s.notify_log, sound, music, engine, delays, map,
                                 inventory, settings},
            // The dialogs are built right after the shell, before anything opens them.
            shell::ShellPorts{s.display, s.drive, save_dialogs, movie_ports}),
      saved_games(saves::SavesServices{s.loop, s.boxes, s.scene_data, s.screen, music, engine,
                                       delays, map, inventory, settings, shell}),
      save_dialogs(saves::DialogServices{s.loop, s.desktop, s.boxes, s.screen, sound, music,
                                         settings, shell, saved_games}) {
  // The parts built before the engine call it, or read its state.
  delays.Attach(engine);
  inventory.AttachState(engine.state);
  conversations.Attach(engine);
  map.Attach(engine);
  delays.InitTimers();
  sound.AttachWatchers(engine);
  music.on_progress = [this](std::string_view text) { engine.Progress(text); };
  screen::GameScreen& screen = s.screen;
  // The logos show on the start screen, the movies of the game over its scene picture.
  movies.on_progress = [this](std::string_view text) { engine.Progress(text); };
  movies.AttachStartForm(shell.StartForm());
  movies.AttachGameScreen(*screen.Picture1, *screen.Block,
                          [&screen](int cursor) { screen.ShowCursor(cursor); });
  movies.show_cursor_on = [&screen](ui::Form& form, int cursor) {
    screen.ShowCursorOn(form, cursor);
  };
  music.on_message = [&screen](const std::string& text) { screen.ShowMessage(text); };
  platform::EventLoop& loop = s.loop;
  debug_target.minimize = [&loop] { loop.backend().Minimize(); };
  // A new game of a game built with debugging takes its verbose logging from the debug
  // window's check box.
  shell.debug_verbose_checked = [this] { return debug.Check1->Value() == 1; };
  shell.after_loc_base = [this] { map.BuildMap(); };
  shell.show_debug_button = [&screen = s.screen] {
    screen.Command1->SetVisible(true);
    screen.Command2->SetVisible(true);
  };
  s.screen.Command1->on_click = [this] { debug.Show(); };
  s.screen.Command2->on_click = [this] {
    map.SetMapActive(true);
    map.RefreshLocations();
    map.form().Show();
  };
}

}  // namespace qv::app
