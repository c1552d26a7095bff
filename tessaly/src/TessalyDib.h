// CXDib: the image library's picture, a 32-bit top-down DIB section with its pixel pointer and
// size, bounded so that no absurd size is ever allocated. It frees its bitmap on destruction.
#pragma once

#include <windows.h>

#include "XGdi.h"

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
  DWORD* bits = nullptr;
  m_bitmap.Reset(XCreateDib32(width, height, &bits));
  if (!m_bitmap) return false;
  m_bits = bits;
  m_width = width;
  m_height = height;
  return true;
}
