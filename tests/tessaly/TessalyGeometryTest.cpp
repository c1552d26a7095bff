// The cutting rules as plain geometry: thirds per axis, shared short destinations, and for
// every size the pieces of a mode covering the destination exactly once from inside the source
// (where the pieces land in pixels, and tiling, are checked by the drawing tests).
#include <gtest/gtest.h>

#include <vector>

#include "ITessaly.h"
#include "TessalyGeometry.h"

namespace {

struct SpanCase {
  int dstLen, srcLen;
  int head, middle, tail;    // destination lengths
  int srcEnd, srcMiddle;     // source lengths
};

// Area of the destination covered by more than one piece or by none, and pieces reaching
// outside the destination or the source.
struct Coverage {
  int gaps = 0, overlaps = 0, strays = 0;
};

// hole: the part of the destination that must stay uncovered (null: none).
Coverage Check(int mode, const RECT& d, const RECT& s, const RECT* hole = nullptr) {
  XTessalyPiece pieces[XTESSALY_MAX_PIECES];
  const int n = XCutPieces(mode, d, s, pieces);
  const int w = d.right - d.left, h = d.bottom - d.top;
  std::vector<int> hits(static_cast<size_t>(w) * h, 0);
  Coverage c;
  for (int i = 0; i < n; ++i) {
    const RECT& pd = pieces[i].dst;
    const RECT& ps = pieces[i].src;
    if (pd.left < d.left || pd.top < d.top || pd.right > d.right || pd.bottom > d.bottom || pd.left >= pd.right ||
        pd.top >= pd.bottom || ps.left < s.left || ps.top < s.top || ps.right > s.right || ps.bottom > s.bottom ||
        ps.left >= ps.right || ps.top >= ps.bottom) {
      ++c.strays;
      continue;
    }
    for (int y = pd.top; y < pd.bottom; ++y)
      for (int x = pd.left; x < pd.right; ++x) ++hits[static_cast<size_t>(y - d.top) * w + (x - d.left)];
  }
  for (int y = 0; y < h; ++y) {
    for (int x = 0; x < w; ++x) {
      const bool skipped = hole && x + d.left >= hole->left && x + d.left < hole->right && y + d.top >= hole->top &&
                           y + d.top < hole->bottom;
      const int k = hits[static_cast<size_t>(y) * w + x];
      if (k > 1) ++c.overlaps;
      if (k == 0 && !skipped) ++c.gaps;
      if (k == 1 && skipped) ++c.strays;
    }
  }
  return c;
}

}  // namespace

TEST(TessalyGeometry, ThirdsKeepTheEndsAndShareShortDestinations) {
  const SpanCase cases[] = {
      {60, 12, 4, 52, 4, 4, 4},  // ends kept, middle stretched
      {12, 12, 4, 4, 4, 4, 4},   // natural size
      {60, 10, 3, 54, 3, 3, 4},  // 10 / 3 = 3, the middle takes the rest
      {6, 12, 3, 0, 3, 4, 4},    // shorter than both ends: halves
      {5, 12, 2, 0, 3, 4, 4},
      {0, 12, 0, 0, 0, 4, 4},
      {9, 2, 0, 9, 0, 0, 2},     // under 3 pixels: all middle
      {9, 1, 0, 9, 0, 0, 1},
  };
  for (const SpanCase& k : cases) {
    XTessalySpan s[3];
    XSplitThirds(100, k.dstLen, 7, k.srcLen, s);
    SCOPED_TRACE(testing::Message() << k.dstLen << " from " << k.srcLen);
    EXPECT_EQ(s[0].dst, 100);
    EXPECT_EQ(s[0].dstLen, k.head);
    EXPECT_EQ(s[1].dst, 100 + k.head);
    EXPECT_EQ(s[1].dstLen, k.middle);
    EXPECT_EQ(s[2].dst, 100 + k.dstLen - k.tail);
    EXPECT_EQ(s[2].dstLen, k.tail);
    EXPECT_EQ(s[0].src, 7);
    EXPECT_EQ(s[0].srcLen, k.srcEnd);
    EXPECT_EQ(s[1].src, 7 + k.srcEnd);
    EXPECT_EQ(s[1].srcLen, k.srcMiddle);
    EXPECT_EQ(s[2].src, 7 + k.srcLen - k.srcEnd);
    EXPECT_EQ(s[2].srcLen, k.srcEnd);
  }
}

TEST(TessalyGeometry, StretchModesCoverTheDestinationExactlyOnce) {
  const int dims[] = {1, 2, 3, 5, 7, 8, 13, 40};
  for (int dw : dims) {
    for (int dh : dims) {
      for (int sw : dims) {
        for (int sh : {1, 4, 9}) {
          const RECT d = {-3, 11, -3 + dw, 11 + dh};
          const RECT s = {2, 5, 2 + sw, 5 + sh};
          SCOPED_TRACE(testing::Message() << dw << "x" << dh << " from " << sw << "x" << sh);
          for (int mode : {DRAW_3VSTRETCH, DRAW_3HSTRETCH, DRAW_9STRETCH}) {
            const Coverage c = Check(mode, d, s);
            EXPECT_EQ(c.gaps, 0) << mode;
            EXPECT_EQ(c.overlaps, 0) << mode;
            EXPECT_EQ(c.strays, 0) << mode;
          }
          // The frame leaves exactly the centre part uncovered.
          XTessalySpan xs[3], ys[3];
          XSplitThirds(d.left, dw, s.left, sw, xs);
          XSplitThirds(d.top, dh, s.top, sh, ys);
          const RECT centre = {xs[1].dst, ys[1].dst, xs[1].dst + xs[1].dstLen, ys[1].dst + ys[1].dstLen};
          const Coverage f = Check(DRAW_8STRETCH, d, s, &centre);
          EXPECT_EQ(f.gaps, 0);
          EXPECT_EQ(f.overlaps, 0);
          EXPECT_EQ(f.strays, 0);
        }
      }
    }
  }
}
