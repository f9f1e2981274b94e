#!/usr/bin/env bash
# Installs every Debian package the player needs to build, run and test.
# Idempotent and quick when everything is already there.
set -euo pipefail

PACKAGES=(
  build-essential cmake ninja-build pkg-config clang clang-format
  libgtest-dev libgmock-dev googletest libbenchmark-dev
  libsdl2-dev libsdl2-image-dev libsdl2-mixer-dev libsdl2-ttf-dev
  libgif-dev libjpeg-dev libfluidsynth-dev libmpg123-dev
  fonts-dejavu-core timgm6mb-soundfont fluidsynth
  libavformat-dev libavcodec-dev libswscale-dev libswresample-dev libavutil-dev ffmpeg
  nlohmann-json3-dev
  xvfb pulseaudio
  python3
  libblkid-dev libmount-dev
)

missing=()
for p in "${PACKAGES[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$p")
  fi
done

if [ ${#missing[@]} -eq 0 ]; then
  exit 0
fi

echo "Installing: ${missing[*]}"
SUDO=""
if [ "$(id -u)" -ne 0 ]; then SUDO="sudo"; fi
export DEBIAN_FRONTEND=noninteractive
$SUDO apt-get update -qq
$SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}"
