#!/usr/bin/env bash
# Installs the Debian packages that building, running and testing Lexifol need.
set -euo pipefail
PKGS=(build-essential cmake ninja-build pkg-config
      qt6-base-dev libicu-dev libdjvulibre-dev djvulibre-bin libx11-dev libsqlite3-dev libxcb1-dev
      fonts-dejavu-core clang libclang-rt-14-dev
      xvfb xauth openbox xdotool x11-utils wmctrl imagemagick
      desktop-file-utils appstream dpkg-dev)
missing=()
for p in "${PKGS[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if ((${#missing[@]})); then
  SUDO=""; [ "$(id -u)" -eq 0 ] || SUDO="sudo"
  $SUDO apt-get update
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y --no-install-recommends "${missing[@]}"
fi
