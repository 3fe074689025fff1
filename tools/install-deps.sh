#!/usr/bin/env bash
# Installs the Debian packages that building, running and testing Lexifol need.
set -euo pipefail
PKGS=(build-essential cmake ninja-build pkg-config
      qt6-base-dev libicu-dev libdjvulibre-dev djvulibre-bin libx11-dev libsqlite3-dev libxcb1-dev libxcb-xtest0-dev libxcb-damage0-dev
      fonts-dejavu-core clang libclang-rt-14-dev clang-format clang-tidy
      xvfb xauth openbox xdotool x11-utils x11-xkb-utils wmctrl imagemagick weston qt6-wayland
      desktop-file-utils appstream dpkg-dev lintian
      zlib1g-dev
      libtesseract-dev tesseract-ocr-eng tesseract-ocr-rus libxkbcommon-dev xkb-data
      qt6-tools-dev qt6-l10n-tools qt6-translations-l10n)
# For the OCR corpora of the benchmarks (bench/corpus/make_ocr_corpus): real
# dictionary text, the OCR engine and the fonts the layouts are set in.
# Installed with LEXIFOL_BENCH_DEPS=1; the tests do not need them.
if [ "${LEXIFOL_BENCH_DEPS:-0}" = 1 ]; then
  PKGS+=(dict-gcide tesseract-ocr tesseract-ocr-eng fonts-urw-base35 fonts-liberation2 fonts-freefont-ttf)
fi
missing=()
for p in "${PKGS[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if ((${#missing[@]})); then
  SUDO=""; if [ "$(id -u)" -ne 0 ] && command -v sudo >/dev/null; then SUDO="sudo"; fi
  $SUDO apt-get update
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y --no-install-recommends "${missing[@]}"
fi
