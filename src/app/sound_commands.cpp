// The walkthrough commands of sound channels and music: expect sound, expect silent, expect
// soundtrack, key F1.

#include "app/player.h"
#include "app/script.h"
#include "app/script_commands.h"

namespace qv::app {

void PlugSoundCommands(CommandTable& /*table*/) {}

}  // namespace qv::app
