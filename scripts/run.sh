#!/usr/bin/env bash
# Sets everything up, builds, and starts Pinvale under Wine on the bundled default skin, in its
# own prefix (PINVALE_WINEPREFIX, default ~/.cache/pinvale/run-prefix). Without a display an
# Xvfb display is started and its number printed.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
B=${PINVALE_BUILD:-$root/build}
"$root/scripts/setup.sh"
"$root/scripts/build.sh"
export WINEPREFIX=${PINVALE_WINEPREFIX:-$HOME/.cache/pinvale/run-prefix}
PINVALE_PREFIX_HOME=$HOME "$root/scripts/wine-prefix.sh" "$WINEPREFIX"
export WINEDEBUG=${WINEDEBUG:--all} WINEDLLOVERRIDES="winemenubuilder.exe=d"
. "$root/scripts/xvfb.sh"
if [ -z "${DISPLAY:-}" ]; then
  xvfb_start
  trap xvfb_stop EXIT
  echo "run: no display; started Xvfb on $DISPLAY"
fi
cd "$B/dist"
# Not exec: the trap must still stop an Xvfb started here once the program ends.
wine Pinvale.exe "$@"
wineserver -w
