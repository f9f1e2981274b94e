# Sourced by the measuring scripts: a scratch folder ($work) and a display and sound
# server of our own (Xvfb, PulseAudio with a null sink), all stopped and removed on exit.
# Processes the caller starts go in `pids` to be stopped too.
work="$(mktemp -d)"
pids=()
cleanup() {
  for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null || true; done
  rm -rf "$work"
}
trap cleanup EXIT

display=":$((90 + RANDOM % 100))"
Xvfb "$display" -screen 0 1280x1024x24 -nolisten tcp >"$work/xvfb.log" 2>&1 &
pids+=($!)
export XDG_RUNTIME_DIR="$work/run" XDG_CONFIG_HOME="$work/config" DISPLAY="$display"
mkdir -p "$XDG_RUNTIME_DIR" && chmod 700 "$XDG_RUNTIME_DIR"
pulseaudio --daemonize=no --exit-idle-time=-1 -n --load=module-null-sink \
  --load=module-native-protocol-unix >"$work/pulse.log" 2>&1 &
pids+=($!)
for _ in $(seq 50); do
  [ -S "$XDG_RUNTIME_DIR/pulse/native" ] && [ -e "/tmp/.X11-unix/X${display#:}" ] && break
  sleep 0.1
done
unset SDL_VIDEODRIVER SDL_AUDIODRIVER
