// A 32-bit DIB canvas for tests that draw: pixels read back exactly, counted, or written out as
// a BMP to look at; and a tolerant colour comparison for blended pixels.
#pragma once

#include <windows.h>

#include <string>

#include "TestUtil.h"

namespace xtest {

// A top-down 32-bit DIB selected into a memory device context, filled with one colour.
class Canvas {
 public:
  Canvas(int w, int h, DWORD fill = 0xFFFFFFFF) : m_w(w), m_h(h) {
    m_dc = CreateCompatibleDC(nullptr);
    BITMAPINFO bi = {};
    bi.bmiHeader.biSize = sizeof bi.bmiHeader;
    bi.bmiHeader.biWidth = w;
    bi.bmiHeader.biHeight = -h;
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = 32;
    m_bmp = CreateDIBSection(m_dc, &bi, DIB_RGB_COLORS, reinterpret_cast<void**>(&m_bits), nullptr, 0);
    m_old = SelectObject(m_dc, m_bmp);
    for (int i = 0; i < w * h; ++i) m_bits[i] = fill;
  }
  ~Canvas() {
    SelectObject(m_dc, m_old);
    DeleteObject(m_bmp);
    DeleteDC(m_dc);
  }
  Canvas(const Canvas&) = delete;
  Canvas& operator=(const Canvas&) = delete;
  HDC Dc() const { return m_dc; }
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
  int m_w, m_h;
  HDC m_dc;
  HBITMAP m_bmp;
  HGDIOBJ m_old;
  DWORD* m_bits = nullptr;
};

// |a - b| <= tolerance for each of the three colour channels of 0xRRGGBB values.
inline bool Near(DWORD a, DWORD b, int tolerance) {
  for (int shift = 0; shift < 24; shift += 8) {
    const int d = static_cast<int>((a >> shift) & 0xFF) - static_cast<int>((b >> shift) & 0xFF);
    if (d > tolerance || d < -tolerance) return false;
  }
  return true;
}

}  // namespace xtest
