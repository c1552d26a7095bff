// The one 32-bit DIB canvas of the tests that draw: pixels read back exactly, counted, compared
// or written out as a BMP to look at; and a tolerant colour comparison for blended pixels.
// The canvas owns its bitmap and context; its pixels stay readable for its whole life.
#pragma once

#include <windows.h>

#include <string>

#include "TestUtil.h"
#include "XGdi.h"
#include "XWin.h"

namespace xtest {

// A top-down 32-bit DIB selected into a memory device context, filled with one colour.
class Canvas {
 public:
  Canvas(int w, int h, DWORD fill = 0xFFFFFFFF)
      : m_w(w), m_h(h), m_fill(fill), m_bmp(XCreateDib32(w, h, &m_bits)), m_dc(m_bmp.Get()) {
    Clear();
  }
  Canvas(const Canvas&) = delete;
  Canvas& operator=(const Canvas&) = delete;
  HDC Dc() const { return m_dc.Get(); }
  // Every pixel back to the fill colour.
  void Clear() {
    GdiFlush();
    for (int i = 0; i < m_w * m_h; ++i) m_bits[i] = m_fill;
  }
  // 0xRRGGBB of a pixel.
  DWORD At(int x, int y) const { return Raw(x, y) & 0xFFFFFF; }
  DWORD Raw(int x, int y) const {
    GdiFlush();
    return m_bits[y * m_w + x];
  }
  // Pixels of r that differ from color (0xRRGGBB).
  int CountNot(DWORD color, const RECT& r) const {
    int n = 0;
    for (int y = r.top; y < r.bottom; ++y)
      for (int x = r.left; x < r.right; ++x) n += At(x, y) != color;
    return n;
  }
  // Pixels of exactly the colour (a COLORREF) inside r, cut to the canvas.
  int Count(COLORREF color, const RECT& r) const {
    const RECT in = Inside(r);
    return Area(in) - CountNot((GetRValue(color) << 16) | (GetGValue(color) << 8) | GetBValue(color), in);
  }
  // Pixels that are not white inside r, cut to the canvas.
  int Ink(const RECT& r) const { return CountNot(0xFFFFFF, Inside(r)); }
  // The left- and rightmost columns holding ink (-1 when none).
  int FirstInkColumn() const {
    for (int x = 0; x < m_w; ++x)
      if (Ink(RECT{x, 0, x + 1, m_h})) return x;
    return -1;
  }
  int LastInkColumn() const {
    for (int x = m_w - 1; x >= 0; --x)
      if (Ink(RECT{x, 0, x + 1, m_h})) return x;
    return -1;
  }
  // True when both canvases hold the same pixels inside r.
  bool SameAs(const Canvas& other, const RECT& r) const {
    for (int y = r.top; y < r.bottom; ++y)
      for (int x = r.left; x < r.right; ++x)
        if (At(x, y) != other.At(x, y)) return false;
    return true;
  }
  int Width() const { return m_w; }
  int Height() const { return m_h; }
  // Writes the canvas as a 32-bit BMP file, for looking at a rendering.
  bool SaveBmp(const std::wstring& path) const {
    GdiFlush();
    BITMAPFILEHEADER fh = {};
    BITMAPINFOHEADER ih = {};
    ih.biSize = sizeof ih;
    ih.biWidth = m_w;
    ih.biHeight = -m_h;
    ih.biPlanes = 1;
    ih.biBitCount = 32;
    const DWORD pixels = static_cast<DWORD>(m_w) * m_h * 4;
    fh.bfType = 0x4D42;
    fh.bfOffBits = sizeof fh + sizeof ih;
    fh.bfSize = fh.bfOffBits + pixels;
    std::string bytes(reinterpret_cast<const char*>(&fh), sizeof fh);
    bytes.append(reinterpret_cast<const char*>(&ih), sizeof ih);
    bytes.append(reinterpret_cast<const char*>(m_bits), pixels);
    return WriteBytes(path, bytes);
  }

 private:
  RECT Inside(const RECT& r) const {
    return RECT{r.left < 0 ? 0 : r.left, r.top < 0 ? 0 : r.top, r.right < m_w ? r.right : m_w,
                r.bottom < m_h ? r.bottom : m_h};
  }
  static int Area(const RECT& r) {
    return r.right > r.left && r.bottom > r.top ? (r.right - r.left) * (r.bottom - r.top) : 0;
  }

  int m_w, m_h;
  DWORD m_fill;
  DWORD* m_bits = nullptr;
  CXGdiObject<HBITMAP> m_bmp;  // declared before the context: deselected, then deleted
  CXBitmapDC m_dc;
};

// An opaque size x size icon of one colour, with a frame of frameWidth pixels in another
// colour along its edges (none by default); destroyed with the holder.
class SolidIcon {
 public:
  SolidIcon(int size, COLORREF fill, COLORREF frame = 0, int frameWidth = 0) {
    DWORD* bits = nullptr;
    CXGdiObject<HBITMAP> color(XCreateDib32(size, size, &bits));
    CXGdiObject<HBITMAP> mask(CreateBitmap(size, size, 1, 1, nullptr));
    if (!color || !mask) return;
    auto pixel = [](COLORREF c) {
      return 0xFF000000u | (GetRValue(c) << 16) | (GetGValue(c) << 8) | GetBValue(c);
    };
    for (int y = 0; y < size; ++y)
      for (int x = 0; x < size; ++x) {
        const bool edge = x < frameWidth || y < frameWidth || x >= size - frameWidth || y >= size - frameWidth;
        bits[y * size + x] = pixel(edge ? frame : fill);
      }
    {
      // A black mask: every pixel of the colour bitmap shows.
      CXBitmapDC masking(mask.Get());
      if (masking) PatBlt(masking.Get(), 0, 0, size, size, BLACKNESS);
    }
    ICONINFO info = {TRUE, 0, 0, mask.Get(), color.Get()};
    m_icon = CreateIconIndirect(&info);
  }
  ~SolidIcon() {
    if (m_icon) DestroyIcon(m_icon);
  }
  SolidIcon(const SolidIcon&) = delete;
  SolidIcon& operator=(const SolidIcon&) = delete;
  HICON Get() const { return m_icon; }

 private:
  HICON m_icon = nullptr;
};

// 0xRRGGBB of a screen pixel.
inline DWORD ScreenPixel(int x, int y) {
  CXWindowDC screen(nullptr);
  const COLORREF c = GetPixel(screen.Get(), x, y);
  return (GetRValue(c) << 16) | (GetGValue(c) << 8) | GetBValue(c);
}

// Copies a screen rectangle into a canvas of its size (canvas (0, 0) = r's top-left).
inline void CaptureScreen(const RECT& r, Canvas& into) {
  CXWindowDC screen(nullptr);
  BitBlt(into.Dc(), 0, 0, r.right - r.left, r.bottom - r.top, screen.Get(), r.left, r.top, SRCCOPY);
}

// |a - b| <= tolerance for each of the three colour channels of 0xRRGGBB values.
inline bool Near(DWORD a, DWORD b, int tolerance) {
  for (int shift = 0; shift < 24; shift += 8) {
    const int d = static_cast<int>((a >> shift) & 0xFF) - static_cast<int>((b >> shift) & 0xFF);
    if (d > tolerance || d < -tolerance) return false;
  }
  return true;
}

}  // namespace xtest
