#!/usr/bin/env bash
# Builds the player and plays a game: scripts/play.sh [GAME_DIR] [player options].
# Without GAME_DIR it plays the bundled demo game. Paths are taken from where the
# command is run.
set -euo pipefail
here="$PWD"
root="$(cd "$(dirname "$0")/.." && pwd)"
cd "$root"
scripts/setup.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build   # the player, and the demo game in build/demo
cd "$here"
exec "$root/build/src/app/quorvex-player" "$@"
