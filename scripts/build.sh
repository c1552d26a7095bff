#!/usr/bin/env bash
# Builds the trees: host tools (build/host), native fuzz targets (build/fuzz, with the tests),
# 32-bit Windows (build/x86) and 64-bit Windows (build/x64). Every deliverable lands in
# build/dist. Incremental after the first run.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
B=${PINVALE_BUILD:-$root/build}
jobs=$(nproc 2>/dev/null || echo 2)
gen=(); command -v ninja >/dev/null && gen=(-G Ninja)
tests=${PINVALE_TESTS:-ON}

# Configured on every run: folders are added by existence checks, which only a fresh
# configure sees, and a configure of an existing tree takes a moment.
configure() {  # dir, extra args...
  local dir=$1; shift
  if [ -f "$dir/CMakeCache.txt" ]; then
    cmake "$dir" >/dev/null
  else
    cmake -S "$root" -B "$dir" "${gen[@]}" "$@" >/dev/null
  fi
}

configure "$B/host"
cmake --build "$B/host" -j"$jobs"
# The native fuzzing tree: the parsers' platform-neutral cores under clang's sanitizers.
if [ "$tests" = ON ]; then
  if [ -f "$B/fuzz/CMakeCache.txt" ]; then
    cmake "$B/fuzz" >/dev/null
  else
    CC=clang CXX=clang++ cmake -S "$root/tests/fuzz" -B "$B/fuzz" "${gen[@]}" >/dev/null
  fi
  cmake --build "$B/fuzz" -j"$jobs"
fi
for arch in x86 x64; do
  tc=$root/cmake/toolchain-i686.cmake; [ $arch = x64 ] && tc=$root/cmake/toolchain-x86_64.cmake
  configure "$B/$arch" -DCMAKE_TOOLCHAIN_FILE="$tc" -DPINVALE_DIST="$B/dist" \
    -DPINVALE_HOST_TOOLS="$B/host" -DPINVALE_TESTS="$tests"
  cmake --build "$B/$arch" -j"$jobs"
done
echo "build: deliverables in $B/dist"
