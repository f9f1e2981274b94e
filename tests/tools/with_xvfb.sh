#!/usr/bin/env bash
# Runs a command with a virtual X display of its own and exits with the command's status:
#   with_xvfb.sh COMMAND [ARGS...]
# Exits 77 (the tests' "skipped") when Xvfb is not installed. Xvfb picks a free display
# number itself and tells it through a pipe, so tests and developers running side by side
# never collide on one; the server is stopped when the command ends.
set -euo pipefail
command -v Xvfb >/dev/null || { echo "Xvfb is not installed: skipped"; exit 77; }

fifo=$(mktemp -u "${TMPDIR:-/tmp}/with_xvfb.XXXXXX")
mkfifo "$fifo"
Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$fifo" 2>/dev/null &
xvfb=$!
trap 'kill "$xvfb" 2>/dev/null || true; wait "$xvfb" 2>/dev/null || true' EXIT
display=""
read -r -t 20 display <"$fifo" || true
rm -f "$fifo"
if [ -z "$display" ]; then
  echo "Xvfb did not start" >&2
  exit 1
fi
DISPLAY=":$display" "$@"
