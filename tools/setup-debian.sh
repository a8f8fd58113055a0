#!/usr/bin/env bash
# Installs the Debian 12 packages that building, running and testing the game
# need. Does nothing when they are all present already.
set -euo pipefail

packages=(
  build-essential cmake ninja-build pkg-config
  qt6-base-dev qt6-svg-dev libgl-dev
  libopenal-dev libfluidsynth-dev fluid-soundfont-gm libxcb1-dev libsm-dev
  libchm-dev fp-utils
  fonts-liberation2
  xvfb xauth xdotool x11-apps x11-utils imagemagick openbox
  weston libweston-10-dev qt6-wayland
  pulseaudio pulseaudio-utils
  dbus-daemon at-spi2-core python3-pyatspi
  appstream desktop-file-utils lintian
  clang libclang-rt-14-dev
)
# The core built for Windows and run under wine: only where wine can run
# x86-64 Windows programs.
if [ "$(dpkg --print-architecture)" = amd64 ]; then
  packages+=(g++-mingw-w64-x86-64-posix wine64)
fi

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  sudo_cmd=""
  [ "$(id -u)" -ne 0 ] && sudo_cmd="sudo"
  echo "Installing: ${missing[*]}"
  $sudo_cmd apt-get update
  DEBIAN_FRONTEND=noninteractive $sudo_cmd apt-get install -y --no-install-recommends "${missing[@]}"
fi
