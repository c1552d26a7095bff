// Helpers of the rich-text, menu and edit tests: a 32-bit canvas whose pixels can be read,
// and distinct non-antialiased fonts entered in the process's font table.
#pragma once

#include <windows.h>

#include "XBaseUI.h"
#include "XSkinTables.h"
#include "XSkinText.h"

namespace uitest {

// A white top-down 32-bit DIB selected into a memory DC.
class PixelCanvas {
 public:
  PixelCanvas(int w, int h) : m_w(w), m_h(h) {
    m_dc = CreateCompatibleDC(nullptr);
    BITMAPINFO bi = {};
    bi.bmiHeader.biSize = sizeof bi.bmiHeader;
    bi.bmiHeader.biWidth = w;
    bi.bmiHeader.biHeight = -h;
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = 32;
    m_bmp = CreateDIBSection(m_dc, &bi, DIB_RGB_COLORS, reinterpret_cast<void**>(&m_bits), nullptr, 0);
    m_old = SelectObject(m_dc, m_bmp);
    Clear();
  }
  ~PixelCanvas() {
    SelectObject(m_dc, m_old);
    DeleteObject(m_bmp);
    DeleteDC(m_dc);
  }
  PixelCanvas(const PixelCanvas&) = delete;
  PixelCanvas& operator=(const PixelCanvas&) = delete;

  HDC Dc() const { return m_dc; }
  void Clear() {
    GdiFlush();
    for (int i = 0; i < m_w * m_h; ++i) m_bits[i] = 0xFFFFFF;
  }
  // 0xRRGGBB of a pixel.
  DWORD At(int x, int y) const {
    GdiFlush();
    return m_bits[y * m_w + x] & 0xFFFFFF;
  }
  // Pixels of exactly the colour (a COLORREF) inside r, clipped to the canvas.
  int Count(COLORREF color, RECT r) const {
    const DWORD want = (GetRValue(color) << 16) | (GetGValue(color) << 8) | GetBValue(color);
    int n = 0;
    for (int y = r.top < 0 ? 0 : r.top; y < r.bottom && y < m_h; ++y)
      for (int x = r.left < 0 ? 0 : r.left; x < r.right && x < m_w; ++x) n += At(x, y) == want;
    return n;
  }
  // Pixels that are not white inside r.
  int Ink(RECT r) const { return Area(r) - Count(RGB(255, 255, 255), r); }
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

 private:
  int Area(RECT r) const {
    int w = (r.right < m_w ? r.right : m_w) - (r.left < 0 ? 0 : r.left);
    int h = (r.bottom < m_h ? r.bottom : m_h) - (r.top < 0 ? 0 : r.top);
    return w > 0 && h > 0 ? w * h : 0;
  }
  int m_w, m_h;
  HDC m_dc;
  HBITMAP m_bmp;
  HGDIOBJ m_old;
  DWORD* m_bits = nullptr;
};

// Enters a Tahoma font without antialiasing under id (a no-op when the id is taken: the
// table keeps the first font of an id for the whole process).
inline void AddTestFont(int id, COLORREF color, int height = -14, int weight = FW_NORMAL) {
  LOGFONTW lf = {};
  lf.lfHeight = height;
  lf.lfWeight = weight;
  lf.lfCharSet = DEFAULT_CHARSET;
  lf.lfQuality = NONANTIALIASED_QUALITY;
  lstrcpynW(lf.lfFaceName, L"Tahoma", LF_FACESIZE);
  CXFontTable::Instance().Add(id, lf, color);
}

// Width and height of a text in a font of the table.
inline SIZE MeasureText(int fontId, const wchar_t* text) {
  HDC dc = CreateCompatibleDC(nullptr);
  HGDIOBJ old = SelectObject(dc, CXFontTable::Instance().Get(fontId).hFont);
  SIZE size = {};
  GetTextExtentPoint32W(dc, text, lstrlenW(text), &size);
  SelectObject(dc, old);
  DeleteDC(dc);
  return size;
}

// Stands in for a picture of the skin: fills its rectangle with the colour written as its
// "value" ("r,g,b"), and counts its paints.
class ColorPicture : public CXBaseUI {
 public:
  BOOL XUI_SetAttribute(const wchar_t* name, const wchar_t* value) override {
    if (lstrcmpiW(name, L"value") == 0) {
      m_color = XSkinParseRgb(CString(value));
      return 1;
    }
    return CXBaseUI::XUI_SetAttribute(name, value);
  }
  void DoPaint(HDC dc) override {
    ++m_paints;
    HBRUSH brush = CreateSolidBrush(m_color);
    CRect r = XUI_GetRect();
    FillRect(dc, &r, brush);
    DeleteObject(brush);
  }
  COLORREF m_color = RGB(0, 0, 0);
  int m_paints = 0;
};

// A pixel of the screen as a COLORREF.
inline COLORREF ScreenPixel(int x, int y) {
  HDC screen = GetDC(nullptr);
  COLORREF c = GetPixel(screen, x, y);
  ReleaseDC(nullptr, screen);
  return c;
}

// Copies a screen rectangle into a canvas of its size (canvas (0, 0) = r's top-left).
inline void CaptureScreen(const RECT& r, PixelCanvas& into) {
  HDC screen = GetDC(nullptr);
  BitBlt(into.Dc(), 0, 0, r.right - r.left, r.bottom - r.top, screen, r.left, r.top, SRCCOPY);
  ReleaseDC(nullptr, screen);
}

}  // namespace uitest
