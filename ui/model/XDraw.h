// The framework's drawing helpers shared by every control: the one text routine
// (DrawSkinText), solid fills and 1-pixel lines, and the buffered memory device context. The
// GDI holders and DIB sections under them are the base layer's (XGdi.h). Every helper leaves
// the device context as it found it.
#pragma once

#include <windows.h>

#include "WendoraApi.h"
#include "XGdi.h"
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
