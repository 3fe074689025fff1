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
lintian --fail-on error "$deb"
SUDO=""; if [ "$(id -u)" -ne 0 ] && command -v sudo >/dev/null; then SUDO="sudo"; fi
$SUDO apt-get install -y "./$deb" >/dev/null
trap '$SUDO apt-get remove -y lexifol >/dev/null' EXIT
lexifol --version
home=$(mktemp -d)
out=$(cd "$home" && HOME=$home lexifol-index lookup /usr/share/lexifol/Data Sample bread 2>/dev/null)
[ "$(printf '%s' "$out" | cut -f2)" = "bread" ] || { echo "installed lookup failed: $out"; exit 1; }
desktop-file-validate /usr/share/applications/org.lexifol.Lexifol.desktop

# Started as the menu entry starts it, under a fresh HOME, from another
# folder: the window comes up, the user's folders are made with the shipped
# Plugin.dat, and nothing lands in the current directory.
cwd=$(mktemp -d)
command=$(sed -n 's/^Exec=//p' /usr/share/applications/org.lexifol.Lexifol.desktop | sed 's/ %[fFuU]//g')
bash tests/e2e/with_x11.sh bash -c "
  (cd '$cwd' && exec env -u XDG_CONFIG_HOME -u XDG_DATA_HOME -u XDG_CACHE_HOME HOME='$home' $command >/dev/null 2>&1) &
  pid=\$!
  for _ in \$(seq 100); do xdotool search --onlyvisible --name '^Lexifol' >/dev/null 2>&1 && break; sleep 0.1; done
  xdotool search --onlyvisible --name '^Lexifol' >/dev/null 2>&1; up=\$?
  kill \$pid 2>/dev/null; wait \$pid 2>/dev/null
  exit \$up" || { echo "the installed viewer did not come up"; exit 1; }
[ -f "$home/.local/share/lexifol/Plugin.dat" ] || { echo "no Plugin.dat in the user's data folder"; exit 1; }
[ -z "$(ls -A "$cwd")" ] || { echo "files written into the current directory: $(ls -A "$cwd")"; exit 1; }

# Removing the package leaves the user's files alone.
$SUDO apt-get remove -y lexifol >/dev/null
trap - EXIT
[ -f "$home/.local/share/lexifol/Plugin.dat" ] || { echo "apt remove took the user's files"; exit 1; }
echo "package: $(basename "$deb") built, valid, installed, started from its menu entry, looked up bread, removed"
