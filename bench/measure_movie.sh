#!/usr/bin/env bash
# Measures the player playing a movie as players run it: a real window under Xvfb and the
# real sound path (SDL2_mixer to PulseAudio with a null sink). The game's first scene has
# an entry movie: 25 s of 640 x 480 Cinepak at 15 frames a second with 22050 Hz PCM sound,
# made here by the ffmpeg command. Prints the share of one core the player's process takes
# over SECONDS while the movie plays (after 3 s), its decoding thread's part, and the
# resident memory.
#
#   bench/measure_movie.sh [BUILD_DIR] [SECONDS]        defaults: build, 15
#
# Needs xvfb, pulseaudio and ffmpeg (scripts/setup.sh installs them) and a built player.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build="$(cd "${1:-$root/build}" && pwd)"
seconds="${2:-15}"
player="$build/src/app/quorvex-player"
for tool in "$player" "$build/tools/quorvex-build"; do
  [ -x "$tool" ] || { echo "missing $tool: build first" >&2; exit 2; }
done

# shellcheck source=bench/desktop_session.sh
source "$root/bench/desktop_session.sh"

game="$work/game"
printf '{"General": [{"GameTitle": "Movie", "MenuButtonShown": [1, 1, 1, 0, 1]}], "Scenes": [{"EntryMovie": "film.avi"}]}\n' >"$work/game.json"
"$build/tools/quorvex-build" "$work/game.json" "$game" >/dev/null
mkdir -p "$game/resource/mmedia"
ffmpeg -nostdin -hide_banner -loglevel error -y -f lavfi -i testsrc=size=640x480:rate=15:duration=25 \
  -f lavfi -i sine=frequency=440:sample_rate=22050:duration=25 -c:v cinepak -c:a pcm_s16le -ac 1 \
  "$game/resource/mmedia/film.avi"
printf 'new-game\nexpect scene 1\nwait 1000\n' >"$work/play.txt"

ticks_per_second="$(getconf CLK_TCK)"
cpu_ticks() { awk '{print $14 + $15}' "/proc/$1/stat"; }
# The ticks of the threads that are neither the main thread nor the sound output's.
decoder_ticks() {
  local total=0 task
  for task in /proc/"$1"/task/*; do
    [ "${task##*/}" = "$1" ] && continue
    grep -q '^SDL' "$task/comm" 2>/dev/null && continue
    total=$((total + $(awk '{print $14 + $15}' "$task/stat" 2>/dev/null || echo 0)))
  done
  echo "$total"
}

"$player" --window --verbose-log --log "$work/notify.log" --config "$work/config.json" --script "$work/play.txt" "$game" \
  >"$work/player.log" 2>&1 &
pid=$!
pids+=($pid)
# Start-up to the menu, then the new game's scene starts the movie.
sleep 4
kill -0 "$pid" 2>/dev/null || { echo "the player stopped: $(cat "$work/player.log")" >&2; exit 1; }
before="$(cpu_ticks "$pid")"
decoder_before="$(decoder_ticks "$pid")"
start="$(date +%s.%N)"
sleep "$seconds"
after="$(cpu_ticks "$pid")"
decoder_after="$(decoder_ticks "$pid")"
end="$(date +%s.%N)"
rss_kb="$(awk '/^VmRSS/ {print $2}' "/proc/$pid/status")"
grep -q "Play movie: 'film.avi'." "$work/notify.log" || { echo "no movie played" >&2; exit 1; }
kill "$pid"
wait "$pid" 2>/dev/null || true
awk -v t=$((after - before)) -v d=$((decoder_after - decoder_before)) -v hz="$ticks_per_second" \
  -v s="$start" -v e="$end" -v k="$rss_kb" 'BEGIN {
    printf "playing a 640 x 480 Cinepak movie with sound: %.1f %% of one core (decoding thread %.1f %%), RSS %.1f MB\n",
      100 * t / hz / (e - s), 100 * d / hz / (e - s), k / 1024 }'
echo "(over ${seconds} s of the movie, from /proc/PID/stat)"
