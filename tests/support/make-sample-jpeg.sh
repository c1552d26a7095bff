#!/usr/bin/env bash
# Regenerates SampleJpeg.inc: a 16x16 baseline JPEG of four solid 8x8 quadrants (red, green /
# blue, white), quality 100 without chroma subsampling, as a C byte list. Needs ImageMagick.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
tmp=$(mktemp -d); trap 'rm -rf "$tmp"' EXIT
convert -size 8x8 xc:'#FF0000' -size 8x8 xc:'#00FF00' +append \
  \( -size 8x8 xc:'#0000FF' -size 8x8 xc:'#FFFFFF' +append \) -append \
  -strip -sampling-factor 1x1 -quality 100 "$tmp/q.jpg"
{
  echo "// Made by make-sample-jpeg.sh: 16x16 JPEG, quadrants red, green / blue, white."
  od -An -v -tx1 "$tmp/q.jpg" | sed 's/ \([0-9a-f][0-9a-f]\)/0x\1, /g; s/ *$//'
} > "$here/SampleJpeg.inc"
