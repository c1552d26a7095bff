#!/usr/bin/env bash
# One-time machine set-up: Debian packages, then the cross-built third-party libraries.
# Idempotent: every step checks what is already there and skips it.
set -euo pipefail

here=$(cd "$(dirname "$0")" && pwd)
SUDO=""
[ "$(id -u)" -eq 0 ] || SUDO="sudo"

packages=(
  cmake make ninja-build gcc g++ tcl dpkg-dev
  mingw-w64 g++-mingw-w64-i686-posix g++-mingw-w64-x86-64-posix
  wine wine32:i386 wine64 xvfb xauth googletest
  imagemagick xdotool xcompmgr fonts-wine fonts-wqy-zenhei sqlite3
  clang libfuzzer-14-dev libclang-rt-14-dev libexpat1-dev liblua5.1-0-dev nsis
)

missing=()
for p in "${packages[@]}"; do
  name=${p%%:*}
  arch=${p#*:}; [ "$arch" = "$p" ] && arch=""
  if [ -n "$arch" ]; then
    dpkg-query -W -f='${Status}' "$name:$arch" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
  else
    dpkg-query -W -f='${Status}' "$name" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
  fi
done

if [ ${#missing[@]} -gt 0 ]; then
  echo "setup: installing ${missing[*]}"
  if ! dpkg --print-foreign-architectures | grep -qx i386; then
    $SUDO dpkg --add-architecture i386
  fi
  # A mirror caught mid-sync fails one index for a while: try again, and go on with the
  # indexes that did load; only a failed install is an error.
  for try in 1 2 3; do
    $SUDO apt-get update -qq && break
    echo "setup: apt-get update failed (try $try of 3)"
    [ "$try" -lt 3 ] && sleep 20
  done
  install() { DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends "$@" >/dev/null; }
  if ! install "${missing[@]}"; then
    # With one architecture's update index missing, the other's newer versions leave the
    # multi-arch pairs (i386 beside amd64) unmatched: take both from the release itself.
    release=$(. /etc/os-release && echo "${VERSION_CODENAME:-}")
    echo "setup: apt-get install failed; trying again from the release '$release' alone"
    [ -n "$release" ] && install -t "$release" "${missing[@]}" \
      || { echo "setup: installing packages failed" >&2; exit 1; }
  fi
fi

"$here/build-deps.sh"
