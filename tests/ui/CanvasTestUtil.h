// The framework tests' canvas: the shared 32-bit DIB canvas, filled by default with white
// whose alpha byte is 0, and COLORREF values as the canvas reads them.
#pragma once

#include <windows.h>

#include "Canvas.h"

namespace uitest {

class Canvas : public xtest::Canvas {
 public:
  Canvas(int w, int h, DWORD fill = 0xFFFFFF) : xtest::Canvas(w, h, fill) {}
};

// A COLORREF (0x00BBGGRR) as the canvas reads it (0xRRGGBB).
inline DWORD Rgb(COLORREF c) { return (GetRValue(c) << 16) | (GetGValue(c) << 8) | GetBValue(c); }

}  // namespace uitest
