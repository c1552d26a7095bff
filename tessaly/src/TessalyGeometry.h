// Rectangle cutting of the draw modes: which part of the source lands on which part of the
// destination, and the pixel fill of a tiled area. Plain integer code without GDI; every
// piece it yields has a non-empty destination and a non-empty source.
#pragma once

#include <windows.h>

// One blit: the source part stretched (or copied, when the sizes agree) onto the destination part.
struct XTessalyPiece {
  RECT dst;
  RECT src;
};

// One axis of a cut: destination start and length, source start and length.
struct XTessalySpan {
  int dst, dstLen, src, srcLen;
};

enum { XTESSALY_MAX_PIECES = 9 };

// Splits one axis at thirds of the source: end parts of srcLen / 3 pixels keep their size,
// the middle part takes the rest of the destination; a destination shorter than both end
// parts is shared between them in halves and the middle part gets none. Lengths >= 0.
void XSplitThirds(int dst, int dstLen, int src, int srcLen, XTessalySpan (&out)[3]);

// The pieces of a mode (a DRAW_TYPE other than DRAW_TILE) for a destination and a source
// rectangle, both non-empty; returns their number, 0 for DRAW_TILE or an unknown mode.
int XCutPieces(int mode, const RECT& dest, const RECT& source, XTessalyPiece (&out)[XTESSALY_MAX_PIECES]);

// Fills a width x height block of pixels (rows of width pixels) with the source part repeated,
// the block lying phaseX, phaseY (>= 0) pixels right of and below the tiling origin. The source
// has rows of srcStride pixels; part must lie inside it and be non-empty.
void XTileFill(DWORD* dst, int width, int height, int phaseX, int phaseY, const DWORD* src, int srcStride,
               const RECT& part);
