// The framework's drawing helpers shared by every control: the one text routine
// (DrawSkinText), solid fills and 1-pixel lines, 32-bit DIB sections, and RAII holders for GDI
// objects, memory device contexts and a device context's saved state (a window's DC has its
// holder in XWin.h). Every helper leaves the device context as it found it; the header-only
// parts serve the image library and the tests too.
#pragma once

#include <windows.h>

#include "WendoraApi.h"
#include "XString.h"

// Style bits of DrawSkinText.
enum {
  XTEXT_BOLD = 0x1,
  XTEXT_UNDERLINE = 0x2,
  XTEXT_ITALIC = 0x4,
  XTEXT_STRIKEOUT = 0x8,
};

// Draws text with a transparent background in the colour, with a copy of the font (the
// default GUI font when null) carrying the style bits; text wider than the rectangle gets
// DT_END_ELLIPSIS | DT_EDITCONTROL | DT_WORDBREAK added to the flags.
WENDORA_API void DrawSkinText(HDC dc, const CString& text, const RECT& rect, COLORREF color, UINT flags,
                              DWORD style, HFONT font);
// Fills with ExtTextOutW(ETO_OPAQUE) in the colour.
WENDORA_API void XFillSolidRect(HDC dc, const RECT& rect, COLORREF color);
// A 1-pixel solid line from (x1, y1) to (x2, y2), the end point excluded as LineTo draws.
WENDORA_API void XDrawLine(HDC dc, int x1, int y1, int x2, int y2, COLORREF color);

// Owns a GDI object (font, pen, brush, bitmap, region) and deletes it.
template <class H>
class CXGdiObject {
 public:
  CXGdiObject() = default;
  explicit CXGdiObject(H h) : m_h(h) {}
  ~CXGdiObject() { Reset(); }
  CXGdiObject(const CXGdiObject&) = delete;
  CXGdiObject& operator=(const CXGdiObject&) = delete;
  H Get() const { return m_h; }
  explicit operator bool() const { return m_h != nullptr; }
  H Detach() { H h = m_h; m_h = nullptr; return h; }
  void Reset(H h = nullptr) {
    if (m_h) DeleteObject(m_h);
    m_h = h;
  }

 private:
  H m_h = nullptr;
};

// A 32-bit top-down DIB section (BI_RGB: 0xAARRGGBB pixels, rows from the top) and its pixel
// pointer; null, with *bits null, for an empty size or when GDI refuses. The caller owns it.
inline HBITMAP XCreateDib32(int width, int height, DWORD** bits, HDC dc = nullptr) {
  if (bits) *bits = nullptr;
  if (width <= 0 || height <= 0) return nullptr;
  BITMAPINFO bi = {};
  bi.bmiHeader.biSize = sizeof bi.bmiHeader;
  bi.bmiHeader.biWidth = width;
  bi.bmiHeader.biHeight = -height;
  bi.bmiHeader.biPlanes = 1;
  bi.bmiHeader.biBitCount = 32;
  bi.bmiHeader.biCompression = BI_RGB;
  void* pixels = nullptr;
  HBITMAP bitmap = CreateDIBSection(dc, &bi, DIB_RGB_COLORS, &pixels, nullptr, 0);
  if (bitmap && !pixels) {
    DeleteObject(bitmap);
    bitmap = nullptr;
  }
  if (bits) *bits = static_cast<DWORD*>(pixels);
  return bitmap;
}

// A memory device context with a bitmap it does not own selected for its lifetime. The bitmap
// is deselected before the context is deleted, so it is free for other contexts again.
class CXBitmapDC {
 public:
  explicit CXBitmapDC(HBITMAP bitmap) : m_dc(bitmap ? CreateCompatibleDC(nullptr) : nullptr) {
    if (m_dc) m_old = SelectObject(m_dc, bitmap);
    if (m_dc && (!m_old || m_old == HGDI_ERROR)) {
      DeleteDC(m_dc);
      m_dc = nullptr;
      m_old = nullptr;
    }
  }
  ~CXBitmapDC() {
    if (!m_dc) return;
    SelectObject(m_dc, m_old);
    DeleteDC(m_dc);
  }
  CXBitmapDC(const CXBitmapDC&) = delete;
  CXBitmapDC& operator=(const CXBitmapDC&) = delete;
  explicit operator bool() const { return m_dc != nullptr; }
  HDC Get() const { return m_dc; }

 private:
  HDC m_dc;
  HGDIOBJ m_old = nullptr;
};

// Saves a device context's state (selected objects, colours, modes) and restores it.
class CXDCState {
 public:
  explicit CXDCState(HDC dc) : m_dc(dc), m_saved(dc ? SaveDC(dc) : 0) {}
  ~CXDCState() {
    if (m_saved) RestoreDC(m_dc, m_saved);
  }
  CXDCState(const CXDCState&) = delete;
  CXDCState& operator=(const CXDCState&) = delete;

 private:
  HDC m_dc;
  int m_saved;
};

// A memory device context with a bitmap of its own, selected until destruction. A 32-bit
// top-down DIB section (zeroed: fully transparent) when dib32 is set, for per-pixel alpha;
// otherwise a bitmap compatible with the reference context.
class WENDORA_API CXMemDC {
 public:
  CXMemDC(HDC reference, int width, int height, bool dib32 = false);
  ~CXMemDC();
  CXMemDC(const CXMemDC&) = delete;
  CXMemDC& operator=(const CXMemDC&) = delete;
  HDC Get() const { return m_dc; }
  operator HDC() const { return m_dc; }
  bool IsValid() const { return m_dc && m_bitmap; }
  HBITMAP Bitmap() const { return m_bitmap; }
  // The pixels of a DIB section (0xAARRGGBB, premultiplied, rows top-down), else null.
  DWORD* Bits() const { return m_bits; }
  int Width() const { return m_width; }
  int Height() const { return m_height; }

 private:
  HDC m_dc = nullptr;
  HBITMAP m_bitmap = nullptr;
  HGDIOBJ m_old = nullptr;
  DWORD* m_bits = nullptr;
  int m_width = 0;
  int m_height = 0;
};
