// Cutting rules of the draw modes (see DRAW_TYPE in ITessaly.h): thirds of the source per cut
// axis, a whole-span axis otherwise, the centre dropped for the frame mode.
#include "TessalyGeometry.h"

#include <algorithm>
#include <cstring>

#include "ITessaly.h"

void XSplitThirds(int dst, int dstLen, int src, int srcLen, XTessalySpan (&out)[3]) {
  const int end = srcLen / 3;
  int head = end, tail = end;
  if (dstLen < 2 * end) {
    head = dstLen / 2;
    tail = dstLen - head;
  }
  out[0] = {dst, head, src, end};
  out[1] = {dst + head, dstLen - head - tail, src + end, srcLen - 2 * end};
  out[2] = {dst + dstLen - tail, tail, src + srcLen - end, end};
}

namespace {

// An axis that is not cut: the whole source span onto the whole destination span.
int WholeSpan(int dst, int dstLen, int src, int srcLen, XTessalySpan (&out)[3]) {
  out[0] = {dst, dstLen, src, srcLen};
  return 1;
}

int ThreeSpans(int dst, int dstLen, int src, int srcLen, XTessalySpan (&out)[3]) {
  XSplitThirds(dst, dstLen, src, srcLen, out);
  return 3;
}

}  // namespace

int XCutPieces(int mode, const RECT& dest, const RECT& source, XTessalyPiece (&out)[XTESSALY_MAX_PIECES]) {
  const int dw = dest.right - dest.left, dh = dest.bottom - dest.top;
  const int sw = source.right - source.left, sh = source.bottom - source.top;
  if (dw <= 0 || dh <= 0 || sw <= 0 || sh <= 0) return 0;

  if (mode == DRAW_NORMAL) {
    const int w = std::min(sw, dw), h = std::min(sh, dh);
    out[0].dst = {dest.left, dest.top, dest.left + w, dest.top + h};
    out[0].src = {source.left, source.top, source.left + w, source.top + h};
    return 1;
  }

  XTessalySpan xs[3], ys[3];
  int nx = 0, ny = 0;
  switch (mode) {
    case DRAW_3VSTRETCH:
      nx = WholeSpan(dest.left, dw, source.left, sw, xs);
      ny = ThreeSpans(dest.top, dh, source.top, sh, ys);
      break;
    case DRAW_3HSTRETCH:
      nx = ThreeSpans(dest.left, dw, source.left, sw, xs);
      ny = WholeSpan(dest.top, dh, source.top, sh, ys);
      break;
    case DRAW_9STRETCH:
    case DRAW_8STRETCH:
      nx = ThreeSpans(dest.left, dw, source.left, sw, xs);
      ny = ThreeSpans(dest.top, dh, source.top, sh, ys);
      break;
    default:
      return 0;
  }

  int n = 0;
  for (int j = 0; j < ny; ++j) {
    for (int i = 0; i < nx; ++i) {
      if (mode == DRAW_8STRETCH && i == 1 && j == 1) continue;
      const XTessalySpan& x = xs[i];
      const XTessalySpan& y = ys[j];
      if (x.dstLen <= 0 || y.dstLen <= 0 || x.srcLen <= 0 || y.srcLen <= 0) continue;
      out[n].dst = {x.dst, y.dst, x.dst + x.dstLen, y.dst + y.dstLen};
      out[n].src = {x.src, y.src, x.src + x.srcLen, y.src + y.srcLen};
      ++n;
    }
  }
  return n;
}

void XTileFill(DWORD* dst, int width, int height, int phaseX, int phaseY, const DWORD* src, int srcStride,
               const RECT& part) {
  const int sw = part.right - part.left, sh = part.bottom - part.top;
  if (!dst || !src || width <= 0 || height <= 0 || sw <= 0 || sh <= 0) return;
  const int startX = phaseX % sw;
  for (int y = 0; y < height; ++y) {
    const DWORD* row = src + static_cast<size_t>(part.top + (phaseY + y) % sh) * srcStride + part.left;
    DWORD* out = dst + static_cast<size_t>(y) * width;
    int x = 0, sx = startX;
    while (x < width) {
      const int run = std::min(sw - sx, width - x);
      std::memcpy(out + x, row + sx, static_cast<size_t>(run) * sizeof(DWORD));
      x += run;
      sx = 0;
    }
  }
}
