#!/usr/bin/env bash
# Sets everything up, builds, and runs every test under Wine: a throwaway copy of a prepared
# test prefix (the user's own prefix is never touched), its own HOME, and its own Xvfb display.
# Extra arguments go to ctest (e.g. -R services).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
B=${PINVALE_BUILD:-$root/build}
"$root/scripts/setup.sh"
"$root/scripts/build.sh"

cache=${PINVALE_CACHE:-$HOME/.cache/pinvale}
template=$cache/test-prefix-template
"$root/scripts/wine-prefix.sh" --test "$template"

run=$(mktemp -d "${TMPDIR:-/tmp}/pinvale-test.XXXXXX")
. "$root/scripts/xvfb.sh"
cleanup() {
  wineserver -k 2>/dev/null || true
  xvfb_stop
  rm -rf "$run"
}
trap cleanup EXIT
cp -a "$template" "$run/prefix"
mkdir -p "$run/home"
export WINEPREFIX=$run/prefix HOME=$run/home
export WINEDEBUG=-all,err+module WINEDLLOVERRIDES="winemenubuilder.exe=d;mscoree=d;mshtml=d"
xvfb_start
# A warm wine server for the whole run; its output is detached so ctest never waits on it.
wineserver -p60 </dev/null >/dev/null 2>&1
wine wineboot </dev/null >/dev/null 2>&1 || true

status=0
# The host tools' own tests run natively.
if [ -f "$B/host/tools/CTestTestfile.cmake" ]; then
  echo "== tests (host) =="
  ctest --test-dir "$B/host/tools" --output-on-failure "$@" || status=1
fi
# Every fuzz target over its committed corpus, then for a short bounded time (scripts/fuzz.sh).
if [ -f "$B/fuzz/CTestTestfile.cmake" ]; then
  echo "== fuzz targets (native) =="
  ctest --test-dir "$B/fuzz" -j"${PINVALE_TEST_JOBS:-2}" --output-on-failure "$@" || status=1
fi
for arch in x86 x64; do
  [ -f "$B/$arch/CTestTestfile.cmake" ] || continue
  echo "== tests ($arch) =="
  ctest --test-dir "$B/$arch" -j"${PINVALE_TEST_JOBS:-2}" --output-on-failure "$@" || status=1
done
exit $status
