// RAII holders for GDI objects, memory device contexts with a borrowed bitmap and a device
// context's saved state, and 32-bit DIB sections (a window's DC has its holder in XWin.h).
// Header-only: the framework, the image library, the updater and the tests share them.
#pragma once

#include <windows.h>

#include "XWin.h"

// Owns a GDI object (font, pen, brush, bitmap, region) and deletes it.
template <class H>
inline void XDeleteGdiObject(H h) { DeleteObject(h); }
template <class H>
using CXGdiObject = CXHolder<XNullableTraits<H, &XDeleteGdiObject<H>>>;

// The header of an uncompressed top-down DIB (rows from the top) of the given depth.
inline BITMAPINFO XTopDownBitmapInfo(int width, int height, WORD bitCount) {
  BITMAPINFO bi = {};
  bi.bmiHeader.biSize = sizeof bi.bmiHeader;
  bi.bmiHeader.biWidth = width;
  bi.bmiHeader.biHeight = -height;
  bi.bmiHeader.biPlanes = 1;
  bi.bmiHeader.biBitCount = bitCount;
  bi.bmiHeader.biCompression = BI_RGB;
  return bi;
}

// A 32-bit top-down DIB section (BI_RGB: 0xAARRGGBB pixels, rows from the top) and its pixel
// pointer; null, with *bits null, for an empty size or when GDI refuses. The caller owns it.
inline HBITMAP XCreateDib32(int width, int height, DWORD** bits, HDC dc = nullptr) {
  if (bits) *bits = nullptr;
  if (width <= 0 || height <= 0) return nullptr;
  BITMAPINFO bi = XTopDownBitmapInfo(width, height, 32);
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
