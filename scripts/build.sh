#!/usr/bin/env bash
# Builds the three trees: host tools (build/host), 32-bit Windows (build/x86) and 64-bit
# Windows (build/x64), then the setup program (build/setup). Every deliverable lands in
# build/dist, the setup program in build/dist-setup. Incremental after the first run.
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
for arch in x86 x64; do
  tc=$root/cmake/toolchain-i686.cmake; [ $arch = x64 ] && tc=$root/cmake/toolchain-x86_64.cmake
  configure "$B/$arch" -DCMAKE_TOOLCHAIN_FILE="$tc" -DPINVALE_DIST="$B/dist" \
    -DPINVALE_HOST_TOOLS="$B/host" -DPINVALE_TESTS="$tests"
  cmake --build "$B/$arch" -j"$jobs"
done
# The setup program wraps the whole output folder, so it comes after both Windows trees.
[ -f "$B/setup/CMakeCache.txt" ] || cmake -S "$root/installer" -B "$B/setup" "${gen[@]}" \
  -DPINVALE_DIST="$B/dist" -DPINVALE_SETUP_DIR="$B/dist-setup" -DPINVALE_TESTS="$tests" >/dev/null
cmake --build "$B/setup"
echo "build: deliverables in $B/dist, setup program in $B/dist-setup"
