// A 32-bit top-down DIB section selected into a memory device context, for tests that look
// at the pixels a drawing routine leaves. Pixels read back as 0xRRGGBB.
#pragma once

#include <windows.h>

namespace uitest {

class Canvas {
 public:
  Canvas(int w, int h, DWORD fill = 0xFFFFFF) : m_w(w), m_h(h) {
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
  DWORD At(int x, int y) const {
    GdiFlush();
    return m_bits[y * m_w + x] & 0xFFFFFF;
  }
  // Pixels inside r whose colour is not color.
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

 private:
  int m_w, m_h;
  HDC m_dc;
  HBITMAP m_bmp;
  HGDIOBJ m_old;
  DWORD* m_bits = nullptr;
};

// A COLORREF (0x00BBGGRR) as the canvas reads it (0xRRGGBB).
inline DWORD Rgb(COLORREF c) { return (GetRValue(c) << 16) | (GetGValue(c) << 8) | GetBValue(c); }

}  // namespace uitest
