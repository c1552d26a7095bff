// The menu bitmap: resource 201 (16 x 16) fitted to the menu's check-mark size, since menus
// clip check bitmaps to that size instead of scaling them. Plus the area-average resampling
// it uses, on tightly packed 24-bit pixels.
#pragma once

#include <windows.h>

#include <cstdint>

// Loads the bitmap resource and returns it at the current check-mark size (as loaded when
// the sizes agree). Null when the resource is missing; the caller owns the bitmap.
HBITMAP LoadMenuBitmap(HINSTANCE instance, UINT id);

// Resamples src (sw x sh, 3 bytes per pixel, rows without padding) into dst (dw x dh) by
// averaging each target pixel's exact area of the source.
void ResampleArea24(const uint8_t* src, int sw, int sh, uint8_t* dst, int dw, int dh);
