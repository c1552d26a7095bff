// A small anti-aliased rasteriser for the default skin's pictures: shapes are signed distance
// functions (negative inside, in pixels), filled or stroked with a solid colour or a vertical
// gradient and composed source-over. Pixels are kept premultiplied in floats; output is
// straight-alpha 8-bit RGBA. Everything is deterministic: no time, no randomness.
#pragma once

#include <cmath>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace skinart {

struct Color {
  float r, g, b, a;  // straight, 0..1
};

// 0xRRGGBB with an alpha of 0..1.
inline Color Hex(uint32_t rgb, float alpha = 1.0f) {
  return Color{((rgb >> 16) & 0xFF) / 255.0f, ((rgb >> 8) & 0xFF) / 255.0f, (rgb & 0xFF) / 255.0f, alpha};
}

using Shape = std::function<float(float x, float y)>;
using Paint = std::function<Color(float x, float y)>;

inline Paint Solid(Color c) {
  return [c](float, float) { return c; };
}
// From c0 at y0 to c1 at y1, clamped outside.
Paint VerticalGradient(float y0, Color c0, float y1, Color c1);

// Primitives (coordinates in pixels, pixel centres at +0.5).
Shape Circle(float cx, float cy, float r);
Shape RoundRect(float x0, float y0, float x1, float y1, float radius);
Shape Segment(float ax, float ay, float bx, float by);  // distance to the segment (not signed)
Shape Polygon(std::vector<float> xy);                    // closed, x0, y0, x1, y1, ...
// A box of half sizes (hw, hh) with rounded corners, centred at (cx, cy), turned by angle.
Shape RotatedBox(float cx, float cy, float hw, float hh, float radius, float angle);

Shape Union(Shape a, Shape b);
Shape Subtract(Shape a, Shape b);
Shape Intersect(Shape a, Shape b);
// The band of the given width around a shape's outline (or along a segment).
Shape Stroke(Shape s, float width);
Shape Translate(Shape s, float dx, float dy);

class Canvas {
 public:
  Canvas(int width, int height);
  int Width() const { return m_w; }
  int Height() const { return m_h; }
  void Fill(const Shape& shape, const Paint& paint);
  void Fill(const Shape& shape, Color color) { Fill(shape, Solid(color)); }
  // Copies another canvas to (x, y) (replacing, not blending).
  void Blit(const Canvas& from, int x, int y);
  // Straight-alpha RGBA bytes, rows top-down.
  std::vector<uint8_t> Rgba() const;

 private:
  int m_w, m_h;
  std::vector<float> m_px;  // premultiplied r, g, b, a
};

// Image files. PNG is written with stored (uncompressed) deflate blocks, which keeps the
// writer free of libraries and makes the bytes a pure function of the pixels.
std::string EncodePng(int width, int height, const std::vector<uint8_t>& rgba);
// Reads back a PNG written by EncodePng (8-bit RGBA, stored blocks, no interlace); false for
// anything else.
bool DecodeOwnPng(const std::string& bytes, int& width, int& height, std::vector<uint8_t>& rgba);
// An icon file with one 32-bit image per canvas; canvases of 256 pixels are stored as PNG.
std::string EncodeIco(const std::vector<const Canvas*>& images);

}  // namespace skinart
