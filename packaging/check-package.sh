#!/usr/bin/env bash
# Builds the Debian package, installs it on this machine, starts the installed program
# offscreen as an ordinary user and checks that it ran and seeded the user's data folder.
# Needs root (CI runs it); removes the package again at the end.
set -euo pipefail

here=$(cd "$(dirname "$0")/.." && pwd)
build="$here/build"
[ "$(id -u)" = 0 ] || { echo "check-package.sh must run as root" >&2; exit 1; }

(cd "$build" && cpack -G DEB >/dev/null)
deb=$(ls -t "$build"/tabulon_*.deb | head -1)
echo "Installing $(basename "$deb")"
DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends "$deb" >/dev/null
trap 'DEBIAN_FRONTEND=noninteractive apt-get remove -y -qq tabulon >/dev/null || true' EXIT

user=tabulon-check
id "$user" >/dev/null 2>&1 || useradd --create-home "$user"
home=$(getent passwd "$user" | cut -d: -f6)
rm -rf "$home/.local/share/Tabulon"
state="$home/state.json"
rm -f "$state"

# Started, given time to paint and settle, then closed the normal way.
runuser -u "$user" -- env HOME="$home" QT_QPA_PLATFORM=offscreen TABULON_STATE_FILE="$state" \
  timeout --signal=TERM --kill-after=20 5 /usr/bin/tabulon || code=$?
code=${code:-0}
if [ "$code" != 0 ] && [ "$code" != 124 ]; then
  echo "the installed program exited with $code" >&2
  exit 1
fi
for entry in Themes Sounds Buttons countriescodes.txt tabulon.ini; do
  [ -e "$home/.local/share/Tabulon/$entry" ] || { echo "missing in the user folder: $entry" >&2; exit 1; }
done
[ -s "$state" ] || { echo "the program did not close normally (no state file)" >&2; exit 1; }
grep -q '"DisplayMemo"' "$state"
[ -f /usr/share/applications/tabulon.desktop ] && [ -f /usr/share/icons/hicolor/128x128/apps/tabulon.png ]
echo "package check passed"
