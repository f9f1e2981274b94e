#include "app/game_parts.h"

namespace qv::app {

GameParts::GameParts(platform::EventLoop& loop, MessageBoxService& boxes,
                     const data::GameFolder& folder, data::SceneData& scene_data,
                     platform::PictureFiles& pictures, screen::GameScreen& screen,
                     diag::NotifyLog& notify_log, platform::AudioDevice& audio)
    : sound(loop, boxes, folder, audio),
      music(loop, boxes, sound),
      delays(loop.timers()),
      conversations(button_sounds),
      inventory(screen::InventoryServices{boxes, scene_data, pictures, screen, notify_log, sound,
                                          interaction_settings,
                                          pictures.builtins().NoPic()->frames.front()}),
      map(screen::MapServices{*screen.Main().desktop(), boxes, scene_data,
                              media::PictureSource{folder, pictures}, pictures.builtins(), screen,
                              sound}),
      engine(engine::EngineServices{loop, boxes, scene_data, pictures, screen, notify_log, sound,
                                    music, stand_ins, delays, conversations, map, inventory,
                                    stand_ins}),
      object_interaction(engine, screen, inventory, interaction_settings),
      direction_links(engine, screen, inventory),
      closeup(
          screen::CloseupServices{*screen.Main().desktop(), media::PictureSource{folder, pictures},
                                  screen, button_sounds},
          engine, inventory),
      debug_target(engine, scene_data, inventory, map),
      debug(*screen.Main().desktop(), boxes, notify_log, debug_target) {
  // The parts built before the engine call it, or read its state.
  delays.Attach(engine);
  inventory.AttachState(engine.state);
  conversations.Attach(engine);
  map.Attach(engine);
  delays.InitTimers();
  sound.AttachWatchers(engine);
  music.on_progress = [this](std::string_view text) { engine.Progress(text); };
  music.on_message = [&screen](const std::string& text) { screen.ShowMessage(text); };
  debug_target.minimize = [&loop] { loop.backend().Minimize(); };
}

}  // namespace qv::app
