// The walkthrough commands of the game screen: clicks and hovers on objects, items, lines and
// links, give, and their checks.

#include "app/player.h"
#include "app/script.h"
#include "app/script_commands.h"

namespace qv::app {

void PlugScreenCommands(CommandTable& /*table*/) {}

}  // namespace qv::app
