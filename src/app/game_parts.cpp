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
      engine(engine::EngineServices{loop, boxes, scene_data, pictures, screen, notify_log, sound,
                                    music, stand_ins, delays, conversations, stand_ins, inventory,
                                    stand_ins}),
      object_interaction(engine, screen, inventory, interaction_settings) {
  // The parts built before the engine call it, or read its state.
  delays.Attach(engine);
  inventory.AttachState(engine.state);
  conversations.Attach(engine);
  delays.InitTimers();
  sound.AttachWatchers(engine);
  music.on_progress = [this](std::string_view text) { engine.Progress(text); };
  music.on_message = [&screen](const std::string& text) { screen.ShowMessage(text); };
}

}  // namespace qv::app
