#!/usr/bin/env bash
# Builds the three trees: host tools (build/host), 32-bit Windows (build/x86) and 64-bit
# Windows (build/x64). Every deliverable lands in build/dist. Incremental after the first run.
# Settings: PINVALE_BUILD (build folder), PINVALE_TESTS (ON/OFF), PINVALE_DEPS or PINVALE_CACHE
# (dependency cache, as scripts/build-deps.sh).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
B=${PINVALE_BUILD:-$root/build}
jobs=$(nproc 2>/dev/null || echo 2)
gen=(); command -v ninja >/dev/null && gen=(-G Ninja)
tests=${PINVALE_TESTS:-ON}
deps=${PINVALE_DEPS:-${PINVALE_CACHE:-$HOME/.cache/pinvale}/deps}

# A tree is configured when it is new, when its settings changed, or when its last configure
# failed (the stamp is written only after a configure succeeded); otherwise the build itself
# re-runs CMake when a CMakeLists changed.
configure() {  # dir, settings...
  local dir=$1; shift
  local stamp=$dir/pinvale-settings.txt want
  want=$(printf '%s\n' "$@")
  if [ -f "$dir/CMakeCache.txt" ] && [ -f "$stamp" ] && [ "$(cat "$stamp")" = "$want" ]; then
    return
  fi
  rm -f "$stamp"
  cmake -S "$root" -B "$dir" "${gen[@]}" "$@" >/dev/null
  printf '%s\n' "$want" >"$stamp"
}

configure "$B/host"
cmake --build "$B/host" -j"$jobs"
for arch in x86 x64; do
  tc=$root/cmake/toolchain-i686.cmake; [ $arch = x64 ] && tc=$root/cmake/toolchain-x86_64.cmake
  configure "$B/$arch" -DCMAKE_TOOLCHAIN_FILE="$tc" -DPINVALE_DIST="$B/dist" \
    -DPINVALE_HOST_TOOLS="$B/host" -DPINVALE_TESTS="$tests" -DPINVALE_DEPS="$deps"
  cmake --build "$B/$arch" -j"$jobs"
done
echo "build: deliverables in $B/dist"
