#!/usr/bin/env bash
# ctest's emulator: runs one Windows program under Wine in the test prefix. scripts/test.sh
# sets WINEPREFIX (a throwaway copy) and DISPLAY; run by hand it falls back to a cached prefix.
set -euo pipefail
wine=wine
if [ "${1:-}" = "--64" ]; then wine=/usr/lib/wine/wine64; shift; fi
if [ -z "${WINEPREFIX:-}" ]; then
  export WINEPREFIX=${PINVALE_TEST_PREFIX:-$HOME/.cache/pinvale/test-prefix}
  "$(dirname "$0")/wine-prefix.sh" --test "$WINEPREFIX"
fi
export WINEDEBUG=${WINEDEBUG:--all,err+module}
export WINEDLLOVERRIDES=${WINEDLLOVERRIDES:-winemenubuilder.exe=d;mscoree=d;mshtml=d}
exec "$wine" "$@"
