#!/usr/bin/env bash
# Host tests of the skin packer: what it refuses, and that a failed run never leaves a
# package that looks complete. Usage: skinpack-tests.sh PATH-TO-SKINPACK
set -uo pipefail
packer=$1
work=$(mktemp -d "${TMPDIR:-/tmp}/skinpack-tests.XXXXXX")
trap 'rm -rf "$work"' EXIT
failures=0
check() {  # description, command...
  local what=$1; shift
  if "$@"; then echo "ok: $what"; else echo "FAILED: $what"; failures=$((failures + 1)); fi
}
pack() { "$packer" "$@" >/dev/null 2>&1; }

# Packing is deterministic and skips hidden files.
mkdir -p "$work/skin/res" "$work/skin/.git"
printf '<skin/>' > "$work/skin/oninit.x"
head -c 700 /dev/urandom > "$work/skin/res/a.bin"
echo secret > "$work/skin/.git/config"
check "packs a folder" pack "$work/skin" "$work/one.xui"
check "same sources, same bytes" sh -c "'$packer' '$work/skin' '$work/two.xui' >/dev/null && cmp -s '$work/one.xui' '$work/two.xui'"
check "hidden files are not packed" sh -c "! grep -q secret '$work/one.xui' && [ \$(stat -c %s '$work/one.xui') -eq \$((20 + 30 + 8 + 7 + 30 + 9 + 700)) ]"

# A write that fails only when the buffered bytes are flushed (file-size limit below the
# package size) is a failure; no package and no temporary file remain.
(
  trap '' XFSZ
  prlimit --fsize=500:500 "$packer" "$work/skin" "$work/limited.xui" >/dev/null 2>&1
) && limited=0 || limited=$?
check "a failed write is reported" [ "$limited" -ne 0 ]
check "a failed write leaves no package" [ ! -e "$work/limited.xui" ]
check "a failed write leaves no temporary file" [ ! -e "$work/limited.xui.tmp" ]

# Names the reader could not find are refused, and the previous package stays.
mkdir -p "$work/odd"
printf 'x' > "$work/odd/caf$(printf '\303\251').txt"
cp "$work/one.xui" "$work/kept.xui"
check "a non-ASCII entry name is refused" sh -c "! '$packer' '$work/odd' '$work/kept.xui' >/dev/null 2>&1"
check "the previous package stays" cmp -s "$work/one.xui" "$work/kept.xui"
mkdir -p "$work/long/folder"
printf 'x' > "$work/long/folder/$(printf 'n%.0s' $(seq 1 251)).txt"
check "an entry name over 259 bytes is refused" sh -c "! '$packer' '$work/long' '$work/long.xui' >/dev/null 2>&1"
check "a missing source folder is refused" sh -c "! '$packer' '$work/none' '$work/none.xui' >/dev/null 2>&1"

[ $failures -eq 0 ]
