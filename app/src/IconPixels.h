// Icons as the icon cache keeps them and back: kIconSide-square pixels, blue-green-red-alpha
// with straight alpha, rows from the top. Pure GDI on memory bitmaps of their own, so both
// the icon thread and the UI thread may use them.
#pragma once

#include <windows.h>

#include <cstdint>
#include <vector>

const int kIconSide = 32;

// The icon drawn at kIconSide square; its alpha comes from drawing it on black and on white,
// which holds for icons with an alpha channel and for masked ones alike. False when GDI
// refuses.
bool IconToPixels(HICON icon, std::vector<uint8_t>& pixels);
// A new icon of width x height pixels in that layout (the caller owns it), or null.
HICON IconFromPixels(const std::vector<uint8_t>& pixels, int width, int height);
