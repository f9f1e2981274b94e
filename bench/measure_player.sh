#!/usr/bin/env bash
# Measures the player as players run it: a real window under Xvfb and the real sound path
# (PulseAudio with a null sink), for a still scene and for a scene with one small animated
# GIF (40 x 30, 4 frames, ten frames a second), with each renderer. Prints the share of one
# core the player's process takes over SECONDS (after a settling time) and its resident
# memory.
#
#   bench/measure_player.sh [BUILD_DIR] [SECONDS]        defaults: build, 20
#
# Goals: animated scene at most 1 % of a core, still scene at most 0.2 %, RSS at most 80 MB.
# Needs xvfb and pulseaudio (scripts/setup.sh installs them) and a built player.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build="$(cd "${1:-$root/build}" && pwd)"
seconds="${2:-20}"
# The player starts at its main menu; a script starts a new game, then waits. Nothing plays
# in these scenes, so after 5 to 10 s the sound output is closed: the settling time lets
# that happen, and the figures are the scene's lasting cost.
settle=12
player="$build/src/app/quorvex-player"
for tool in "$player" "$build/tools/quorvex-build" "$build/bench/write_spinner_gif"; do
  [ -x "$tool" ] || { echo "missing $tool: build first" >&2; exit 2; }
done

# shellcheck source=bench/desktop_session.sh
source "$root/bench/desktop_session.sh"

# Two games: the demo's shore picture alone, and with the animation on it.
make_game() {  # NAME OBJECTS_JSON
  local dir="$work/$1"
  printf '{"General": [{"GameTitle": "%s", "MenuButtonShown": [1, 1, 1, 0, 1]}], "Scenes": [{"ScenePicture": "shore.gif", "Objects": [%s]}]}\n' \
    "$1" "$2" >"$work/$1.json"
  "$build/tools/quorvex-build" "$work/$1.json" "$dir" >/dev/null
  mkdir -p "$dir/resource/gfx"
  cp "$build/demo/resource/gfx/shore.gif" "$dir/resource/gfx/"
  "$build/bench/write_spinner_gif" "$dir/resource/gfx/spin.gif" 40 30 4 10
}
make_game still ''
make_game animated '{"ObjType": 0, "ObjN4": 1, "ObjX": 300, "ObjY": 200, "ObjS0": "spin.gif"}'
printf 'new-game\nexpect scene 1\nwait %d\n' $(((settle + seconds + 60) * 1000)) >"$work/play.txt"

ticks_per_second="$(getconf CLK_TCK)"
cpu_ticks() { awk '{print $14 + $15}' "/proc/$1/stat"; }
# The ticks of the sound output's mixing thread alone.
sound_ticks() {
  local total=0 task
  for task in /proc/"$1"/task/*; do
    if grep -q '^SDLAudio' "$task/comm" 2>/dev/null; then
      total=$((total + $(awk '{print $14 + $15}' "$task/stat")))
    fi
  done
  echo "$total"
}

printf '%-10s %-9s %-10s %7s %9s %8s\n' scene renderer "in use" "CPU %" "of sound" "RSS MB"
status=0
for renderer in auto opengl; do
  for scene in still animated; do
    "$player" --window --renderer "$renderer" --verbose-log --config "$work/config.json" \
      --script "$work/play.txt" "$work/$scene" >"$work/$scene-$renderer.log" 2>&1 &
    pid=$!
    pids+=($pid)
    sleep "$settle"
    if ! kill -0 "$pid" 2>/dev/null; then
      echo "the player stopped: $(cat "$work/$scene-$renderer.log")" >&2
      exit 1
    fi
    before="$(cpu_ticks "$pid")"
    sound_before="$(sound_ticks "$pid")"
    start="$(date +%s.%N)"
    sleep "$seconds"
    after="$(cpu_ticks "$pid")"
    sound_after="$(sound_ticks "$pid")"
    end="$(date +%s.%N)"
    rss_kb="$(awk '/^VmRSS/ {print $2}' "/proc/$pid/status")"
    kill "$pid"
    wait "$pid" 2>/dev/null || true
    in_use="$(sed -n 's/.*Renderer: \([^ ]*\).*/\1/p' "$work/$scene-$renderer.log" | head -1)"
    cpu="$(awk -v t=$((after - before)) -v hz="$ticks_per_second" -v s="$start" -v e="$end" \
      'BEGIN {printf "%.2f", 100 * t / hz / (e - s)}')"
    # A mixing thread that ended in between took its ticks with it: counted as none.
    sound="$(awk -v t=$((sound_after - sound_before)) -v hz="$ticks_per_second" -v s="$start" \
      -v e="$end" 'BEGIN {if (t < 0) t = 0; printf "%.2f", 100 * t / hz / (e - s)}')"
    rss="$(awk -v k="$rss_kb" 'BEGIN {printf "%.1f", k / 1024}')"
    printf '%-10s %-9s %-10s %7s %9s %8s\n' "$scene" "$renderer" "$in_use" "$cpu" "$sound" "$rss"
    goal=$([ "$scene" = still ] && echo 0.2 || echo 1.0)
    if awk -v c="$cpu" -v g="$goal" -v r="$rss" 'BEGIN {exit !(c > g || r > 80)}'; then
      status=1
    fi
  done
done
echo "(CPU: share of one core over ${seconds} s after ${settle} s of settling, from /proc/PID/stat;"
echo " of sound: the part the sound output's mixing thread takes;"
echo " goals: still <= 0.2 %, animated <= 1 %, RSS <= 80 MB)"
exit $status
