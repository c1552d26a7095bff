#!/usr/bin/env bash
# Builds and runs the benchmark programs (bench_*.exe) under Wine in a throwaway prefix, the
# same way the tests run; each prints its own figures. Arguments: names to run (default all),
# then optionally "--" and arguments handed to each of them (e.g. bench_start -- 5 60 0 10000).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
B=${PINVALE_BUILD:-$root/build}
"$root/scripts/setup.sh"
"$root/scripts/build.sh"
template=${PINVALE_CACHE:-$HOME/.cache/pinvale}/test-prefix-template
"$root/scripts/wine-prefix.sh" --test "$template"
run=$(mktemp -d "${TMPDIR:-/tmp}/pinvale-bench.XXXXXX")
. "$root/scripts/xvfb.sh"
cleanup() { wineserver -k 2>/dev/null || true; xvfb_stop; rm -rf "$run"; }
trap cleanup EXIT
cp -a "$template" "$run/prefix"; mkdir -p "$run/home"
export WINEPREFIX=$run/prefix HOME=$run/home WINEDEBUG=-all
xvfb_start
wineserver -p60 </dev/null >/dev/null 2>&1
cd "$B/x86/testbin"
names=() args=()
while [ $# -gt 0 ]; do
  if [ "$1" = "--" ]; then shift; args=("$@"); break; fi
  names+=("$1"); shift
done
if [ ${#names[@]} -eq 0 ]; then names=(bench_*.exe); fi
for b in "${names[@]}"; do
  b=${b%.exe}
  echo "== $b =="
  wine "$b.exe" "${args[@]}" </dev/null
done
