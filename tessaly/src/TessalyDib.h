// A 32-bit top-down DIB section with its pixel pointer, and a memory device context that holds
// a bitmap selected only while it lives. Both free their GDI objects on destruction.
#pragma once

#include <windows.h>

#include "XDraw.h"  // CXGdiObject

class CXDib {
 public:
  // Largest picture side and pixel count accepted; larger requests fail instead of
  // allocating absurd amounts.
  static constexpr int kMaxSide = 32768;
  static constexpr long long kMaxPixels = 64LL * 1024 * 1024;

  CXDib() = default;
  CXDib(const CXDib&) = delete;
  CXDib& operator=(const CXDib&) = delete;

  // Makes a zero-filled width x height bitmap (replacing the one held); false when the size is
  // empty, too large or GDI refuses.
  bool Create(int width, int height);
  void Reset() {
    m_bitmap.Reset();
    m_bits = nullptr;
    m_width = m_height = 0;
  }

  explicit operator bool() const { return m_bits != nullptr; }
  HBITMAP Handle() const { return m_bitmap.Get(); }
  DWORD* Bits() const { return m_bits; }
  int Width() const { return m_width; }
  int Height() const { return m_height; }
  UINT Stride() const { return static_cast<UINT>(m_width) * 4; }
  UINT ByteSize() const { return Stride() * static_cast<UINT>(m_height); }

 private:
  CXGdiObject<HBITMAP> m_bitmap;
  DWORD* m_bits = nullptr;
  int m_width = 0, m_height = 0;
};

inline bool CXDib::Create(int width, int height) {
  Reset();
  if (width <= 0 || height <= 0 || width > kMaxSide || height > kMaxSide) return false;
  if (static_cast<long long>(width) * height > kMaxPixels) return false;
  BITMAPINFO bi = {};
  bi.bmiHeader.biSize = sizeof bi.bmiHeader;
  bi.bmiHeader.biWidth = width;
  bi.bmiHeader.biHeight = -height;  // top-down
  bi.bmiHeader.biPlanes = 1;
  bi.bmiHeader.biBitCount = 32;
  bi.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  HBITMAP bitmap = CreateDIBSection(nullptr, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
  if (!bitmap || !bits) {
    if (bitmap) DeleteObject(bitmap);
    return false;
  }
  m_bitmap.Reset(bitmap);
  m_bits = static_cast<DWORD*>(bits);
  m_width = width;
  m_height = height;
  return true;
}

// A memory device context with a bitmap selected; the bitmap is deselected before the
// context is deleted, so it is free for other contexts again.
class CTessalyBitmapDC {
 public:
  explicit CTessalyBitmapDC(HBITMAP bitmap) : m_dc(CreateCompatibleDC(nullptr)) {
    if (m_dc) m_old = SelectObject(m_dc, bitmap);
    if (m_dc && (!m_old || m_old == HGDI_ERROR)) {
      DeleteDC(m_dc);
      m_dc = nullptr;
      m_old = nullptr;
    }
  }
  ~CTessalyBitmapDC() {
    if (!m_dc) return;
    SelectObject(m_dc, m_old);
    DeleteDC(m_dc);
  }
  CTessalyBitmapDC(const CTessalyBitmapDC&) = delete;
  CTessalyBitmapDC& operator=(const CTessalyBitmapDC&) = delete;
  explicit operator bool() const { return m_dc != nullptr; }
  HDC Get() const { return m_dc; }

 private:
  HDC m_dc;
  HGDIOBJ m_old = nullptr;
};
