#!/usr/bin/env bash
# Builds the Debian package, checks its desktop entry and metainfo, installs
# it, looks a word up with the installed programs, and removes it again.
set -euo pipefail
cd "$(dirname "$0")/.."
bash tools/install-deps.sh
BUILD=${BUILD_DIR:-build}
cmake -S . -B "$BUILD" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$BUILD" -j2
desktop-file-validate packaging/org.lexifol.Lexifol.desktop
appstreamcli validate --no-net packaging/org.lexifol.Lexifol.metainfo.xml
(cd "$BUILD" && rm -f lexifol_*.deb && cpack -G DEB >/dev/null)
deb=$(ls "$BUILD"/lexifol_*.deb)
SUDO=""; [ "$(id -u)" -eq 0 ] || SUDO="sudo"
$SUDO apt-get install -y "./$deb" >/dev/null
trap '$SUDO apt-get remove -y lexifol >/dev/null' EXIT
lexifol --version
home=$(mktemp -d)
out=$(cd "$home" && HOME=$home lexifol-index lookup /usr/share/lexifol/Data Sample bread 2>/dev/null)
[ "$(printf '%s' "$out" | cut -f2)" = "bread" ] || { echo "installed lookup failed: $out"; exit 1; }
desktop-file-validate /usr/share/applications/org.lexifol.Lexifol.desktop
echo "package: $(basename "$deb") built, valid, installed, looked up bread"
