#!/usr/bin/env bash
# Installs every Debian package needed to build, run and test the program.
set -euo pipefail
SUDO=""
if [ "$(id -u)" -ne 0 ]; then SUDO="sudo"; fi
export DEBIAN_FRONTEND=noninteractive
PKGS=(
  build-essential cmake ninja-build pkg-config
  qt6-base-dev qt6-base-dev-tools libqt6dbus6 qt6-multimedia-dev libqt6multimedia6
  qt6-qpa-plugins libgl-dev libxkbcommon-dev
  gstreamer1.0-plugins-base gstreamer1.0-plugins-good gstreamer1.0-libav gstreamer1.0-tools
  ffmpeg
  xvfb xauth x11-utils
  dbus python3 python3-dbus python3-gi python3-dbusmock
  adwaita-icon-theme
)
missing=()
for p in "${PKGS[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ "${#missing[@]}" -gt 0 ]; then
  $SUDO apt-get update
  $SUDO apt-get install -y --no-install-recommends "${missing[@]}"
fi
