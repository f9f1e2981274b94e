#!/usr/bin/env bash
# Soak: plays the demo's walkthrough on many damaged copies of the demo game under the
# sanitizer build, and counts how the player copes. Not part of CI: it takes a while.
#
#   scripts/soak.sh [COUNT] [SEED]      (COUNT 1000, SEED the current time)
#
# Each copy has a few bytes changed at random offsets in its record files
# (resource/*.dat) and in its pictures, sounds and movies; the same SEED and copy number
# damage a copy the same way again. The walkthrough runs headless with a 30 s limit, two
# runs at a time. A run ends in one of:
#   crash     a sanitizer report, or the player killed by a signal
#   hang      the 30 s limit ran out, or the player reported a wait that could never end
#             (headless, its virtual clock finds that at once: a window would freeze)
#   finished  the walkthrough played to its end (exit status 0)
#   failed    an expectation of the walkthrough failed (exit status 1): the damage showed
#   other     any other exit status (2: the player refused to start)
# and showed some message boxes (counted from its --log). The copies and logs of crashes,
# hangs and other endings are kept under the folder printed at the end; the rest are
# deleted. Exits 1 when any run crashed or hung.
#
# Environment: WALKTHROUGH (default games/demo/walkthrough.txt), SOAK_DIR (where the
# copies go; default a new folder under /tmp), JOBS (runs at a time, default 2),
# LIMIT (seconds per run, default 30).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
count=${1:-1000}
seed=${2:-$(date +%s)}
walkthrough=$(realpath "${WALKTHROUGH:-$root/games/demo/walkthrough.txt}")
jobs=${JOBS:-2}
limit=${LIMIT:-30}
[ -f "$walkthrough" ] || { echo "soak: no walkthrough $walkthrough" >&2; exit 2; }

# The sanitizer build, made as scripts/test.sh --sanitize makes it (only the player and
# the demo game are needed here).
build=$root/build-asan
if [ ! -f "$build/build.ninja" ]; then
  cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Debug -DQV_SANITIZE=ON \
    -DQV_BENCH=OFF >/dev/null
fi
cmake --build "$build" --target quorvex-player >/dev/null
player=$build/src/app/quorvex-player
demo=$build/demo

work=${SOAK_DIR:-$(mktemp -d /tmp/quorvex-soak.XXXXXX)}
mkdir -p "$work"
export root player demo work walkthrough seed limit
export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1:halt_on_error=1
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1:abort_on_error=1
export SDL_VIDEODRIVER=dummy SDL_AUDIODRIVER=dummy

# Damages the game folder $1 as copy $2: 1 to 3 files, each with 1 to 6 bytes changed.
# Half the new bytes are random, half the values that reach limits (0, 0xFF, 0x7F, 0x80)
# once read as 16-bit numbers, lengths or counts.
damage() {
  python3 - "$1" "$2" <<'PY'
import os, random, sys
game, copy = sys.argv[1], int(sys.argv[2])
rng = random.Random(f"{os.environ['seed']}:{copy}")
files = []
for folder, _, names in os.walk(os.path.join(game, "resource")):
    files += [os.path.join(folder, n) for n in names]
files = sorted(f for f in files if os.path.getsize(f) > 0)
records = [f for f in files if f.lower().endswith(".dat")]
media = [f for f in files if f not in records]
# Records are small and every byte counts; pick them as often as all media together.
chosen = set()
for _ in range(rng.randint(1, 3)):
    pool = records if (rng.random() < 0.5 or not media) else media
    chosen.add(rng.choice(pool))
notes = []
for path in sorted(chosen):
    with open(path, "r+b") as f:
        size = os.path.getsize(path)
        for _ in range(rng.randint(1, 6)):
            offset = rng.randrange(size)
            value = rng.randrange(256) if rng.random() < 0.5 else rng.choice([0, 0xFF, 0x7F, 0x80])
            f.seek(offset)
            f.write(bytes([value]))
            notes.append(f"{os.path.relpath(path, game)} @{offset} = {value:#04x}")
print("\n".join(notes))
PY
}
export -f damage

# One run: copy, damage, play; prints "N CLASS BOXES".
soak_one() {
  local n=$1 dir=$work/$1
  rm -rf "$dir"
  mkdir -p "$dir"
  cp -r "$demo" "$dir/game"
  rm -rf "$dir/game/Saved"
  damage "$dir/game" "$n" >"$dir/damage.txt"
  local status=0
  timeout -k 5 "$limit" "$player" --headless --script "$walkthrough" --log "$dir/log.txt" \
    "$dir/game" >"$dir/out.txt" 2>"$dir/err.txt" || status=$?
  local class
  if grep -qE 'Sanitizer|runtime error:' "$dir/err.txt"; then
    class=crash
  elif [ "$status" -eq 124 ] || [ "$status" -eq 137 ] ||
    grep -q '^quorvex-player: Deadlock' "$dir/err.txt"; then
    class=hang
  elif [ "$status" -gt 128 ]; then
    class=crash
  elif [ "$status" -eq 0 ]; then
    class=finished
  elif [ "$status" -eq 1 ]; then
    class=failed
  else
    class=other
  fi
  local boxes
  boxes=$(grep -c '^\[MessageBox\]' "$dir/log.txt" 2>/dev/null || true)
  echo "$status" >"$dir/status.txt"
  case $class in
    finished | failed) rm -rf "$dir" ;;
  esac
  echo "$n $class ${boxes:-0}"
}
export -f soak_one

started=$(date +%s)
echo "soak: $count copies of $demo, seed $seed, in $work"
seq 1 "$count" | xargs -P "$jobs" -I{} bash -c 'soak_one {}' >"$work/results.txt"
elapsed=$(($(date +%s) - started))

awk -v elapsed="$elapsed" -v work="$work" '
  { runs++; class[$2]++; boxes += $3; if ($3 > 0) boxed++
    if ($2 != "finished" && $2 != "failed") kept = kept " " $1 }
  END {
    printf "runs %d in %d s\n", runs, elapsed
    printf "crashes %d\nhangs %d\nfinished %d\nfailed expectations %d\nother %d\n",
      class["crash"], class["hang"], class["finished"], class["failed"], class["other"]
    printf "message boxes %d in total, %d runs with any\n", boxes, boxed
    if (kept != "") printf "kept for diagnosis in %s:%s\n", work, kept
  }' "$work/results.txt"
! grep -qE ' (crash|hang) ' "$work/results.txt"
