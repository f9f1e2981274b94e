#!/usr/bin/env bash
# Builds the player and plays a game: scripts/play.sh [GAME_DIR] [player options].
# Without GAME_DIR it plays the bundled demo game.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build

game="${1:-}"
if [ -z "$game" ] || [ "${game#-}" != "$game" ]; then
  game=build/demo
  rm -rf "$game"
  build/tools/quorvex-build games/demo/game.json "$game"
  if [ -d games/demo/assets ]; then cp -r games/demo/assets/. "$game"/; fi
else
  shift
fi

if [ -x build/src/app/quorvex-player ]; then
  exec build/src/app/quorvex-player "$@" "$game"
fi
# Until the player can play, show what the game folder holds.
echo "The player cannot play yet; this is what the game's data files hold:" >&2
exec build/tools/quorvex-dump "$game"
