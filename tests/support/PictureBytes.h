// Picture files made from pixel values in the test itself: PNG (stored deflate), 24-bit BMP and
// GIF (4-colour palette, fixed-width LZW codes), plus a fixed JPEG made by make-sample-jpeg.sh.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace xtest {

// Pixels are row by row from the top; PNG takes 0xAARRGGBB, BMP 0xRRGGBB.
std::string MakePng(int width, int height, const std::vector<uint32_t>& argb);
std::string MakeBmp(int width, int height, const std::vector<uint32_t>& rgb);
// Up to four palette colours (0xRRGGBB), one index per pixel; transparent = palette index
// shown as transparent, or -1.
std::string MakeGif(int width, int height, const std::vector<uint32_t>& palette, const std::vector<uint8_t>& indices,
                    int transparent);
// 16x16 JPEG: 8x8 quadrants red (top left), green (top right), blue, white.
std::string SampleJpeg();

// A picture of 3 x 3 solid cells, each cell x cell pixels, in the colours of Cell(i, j)
// (opaque), for checking where each part of a cut lands.
uint32_t Cell(int column, int row);
std::string NineCellPng(int cell);

}  // namespace xtest
