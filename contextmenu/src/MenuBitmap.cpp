// Menu bitmap fitting. Pixels travel as 24-bit rows without padding inside this file; the
// GDI side pads rows to 4 bytes, which is converted at the two copies.
#include "MenuBitmap.h"

#include <algorithm>
#include <vector>

#include "XGdi.h"
#include "XWin.h"

void ResampleArea24(const uint8_t* src, int sw, int sh, uint8_t* dst, int dw, int dh) {
  if (!src || !dst || sw <= 0 || sh <= 0 || dw <= 0 || dh <= 0) return;
  const double fx = static_cast<double>(sw) / dw, fy = static_cast<double>(sh) / dh;
  for (int y = 0; y < dh; ++y) {
    const double y0 = y * fy, y1 = (y + 1) * fy;
    for (int x = 0; x < dw; ++x) {
      const double x0 = x * fx, x1 = (x + 1) * fx;
      double acc[3] = {0, 0, 0}, area = 0;
      for (int sy = static_cast<int>(y0); sy < sh && sy < y1; ++sy) {
        const double wy = std::min<double>(sy + 1, y1) - std::max<double>(sy, y0);
        for (int sx = static_cast<int>(x0); sx < sw && sx < x1; ++sx) {
          const double w = wy * (std::min<double>(sx + 1, x1) - std::max<double>(sx, x0));
          if (w <= 0) continue;
          const uint8_t* p = src + (static_cast<size_t>(sy) * sw + sx) * 3;
          for (int c = 0; c < 3; ++c) acc[c] += w * p[c];
          area += w;
        }
      }
      uint8_t* q = dst + (static_cast<size_t>(y) * dw + x) * 3;
      for (int c = 0; c < 3; ++c) q[c] = static_cast<uint8_t>(area > 0 ? std::min(255.0, acc[c] / area + 0.5) : 0);
    }
  }
}

namespace {

size_t Stride24(int w) { return (static_cast<size_t>(w) * 3 + 3) & ~static_cast<size_t>(3); }

// Owns a bitmap until it is handed out.
using CBitmapPtr = CXGdiObject<HBITMAP>;

// The bitmap resampled to cx x cy, or null when it cannot be read or made.
CBitmapPtr FitBitmap(HBITMAP source, int sw, int sh, int cx, int cy) {
  std::vector<uint8_t> padded(Stride24(sw) * sh), src(static_cast<size_t>(sw) * sh * 3),
      dst(static_cast<size_t>(cx) * cy * 3);
  BITMAPINFO srcInfo = XTopDownBitmapInfo(sw, sh, 24);
  int rows = 0;
  {
    CXWindowDC screen(nullptr);
    if (screen.Get()) rows = GetDIBits(screen.Get(), source, 0, sh, padded.data(), &srcInfo, DIB_RGB_COLORS);
  }
  if (rows != sh) return {};
  for (int y = 0; y < sh; ++y) std::copy_n(&padded[Stride24(sw) * y], sw * 3, &src[static_cast<size_t>(y) * sw * 3]);
  ResampleArea24(src.data(), sw, sh, dst.data(), cx, cy);

  BITMAPINFO dstInfo = XTopDownBitmapInfo(cx, cy, 24);
  void* bits = nullptr;
  CBitmapPtr fitted(CreateDIBSection(nullptr, &dstInfo, DIB_RGB_COLORS, &bits, nullptr, 0));
  if (!fitted || !bits) return {};
  auto* out = static_cast<uint8_t*>(bits);
  for (int y = 0; y < cy; ++y) std::copy_n(&dst[static_cast<size_t>(y) * cx * 3], cx * 3, out + Stride24(cx) * y);
  GdiFlush();
  return fitted;
}

}  // namespace

HBITMAP LoadMenuBitmap(HINSTANCE instance, UINT id) {
  CBitmapPtr loaded(static_cast<HBITMAP>(LoadImageW(instance, MAKEINTRESOURCEW(id), IMAGE_BITMAP, 0, 0,
                                                    LR_CREATEDIBSECTION)));
  if (!loaded) return nullptr;
  BITMAP bm = {};
  const int cx = GetSystemMetrics(SM_CXMENUCHECK), cy = GetSystemMetrics(SM_CYMENUCHECK);
  if (!GetObjectW(loaded.Get(), sizeof bm, &bm) || cx <= 0 || cy <= 0 || cx > 256 || cy > 256 ||
      (bm.bmWidth == cx && bm.bmHeight == cy) || bm.bmWidth <= 0 || bm.bmHeight <= 0 || bm.bmWidth > 256 ||
      bm.bmHeight > 256)
    return loaded.Detach();
  // Made while a handler object is constructed: nothing may throw out of the class factory.
  try {
    if (CBitmapPtr fitted = FitBitmap(loaded.Get(), bm.bmWidth, bm.bmHeight, cx, cy)) return fitted.Detach();
  } catch (...) {
  }
  return loaded.Detach();
}
