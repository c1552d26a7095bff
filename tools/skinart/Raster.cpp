// The rasteriser and the image-file writers of skinart. Coverage of a pixel is taken from the
// shape's signed distance at the pixel centre (half a pixel of soft edge on either side),
// which anti-aliases curves and slanted edges alike without supersampling.
#include "Raster.h"

#include <algorithm>

namespace skinart {

namespace {

float Clamp01(float v) { return v < 0 ? 0 : (v > 1 ? 1 : v); }

uint32_t Crc32(const uint8_t* data, size_t n, uint32_t crc = 0) {
  static uint32_t table[256];
  static bool made = false;
  if (!made) {
    for (uint32_t i = 0; i < 256; ++i) {
      uint32_t c = i;
      for (int k = 0; k < 8; ++k) c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
      table[i] = c;
    }
    made = true;
  }
  crc = ~crc;
  for (size_t i = 0; i < n; ++i) crc = table[(crc ^ data[i]) & 0xFF] ^ (crc >> 8);
  return ~crc;
}

void Put32(std::string& out, uint32_t v) {
  out += static_cast<char>(v >> 24);
  out += static_cast<char>(v >> 16);
  out += static_cast<char>(v >> 8);
  out += static_cast<char>(v);
}

void PutLE16(std::string& out, uint32_t v) {
  out += static_cast<char>(v & 0xFF);
  out += static_cast<char>((v >> 8) & 0xFF);
}

void PutLE32(std::string& out, uint32_t v) {
  PutLE16(out, v & 0xFFFF);
  PutLE16(out, v >> 16);
}

uint32_t Get32(const std::string& s, size_t at) {
  return (static_cast<uint32_t>(static_cast<uint8_t>(s[at])) << 24) |
         (static_cast<uint32_t>(static_cast<uint8_t>(s[at + 1])) << 16) |
         (static_cast<uint32_t>(static_cast<uint8_t>(s[at + 2])) << 8) | static_cast<uint8_t>(s[at + 3]);
}

void Chunk(std::string& out, const char* type, const std::string& data) {
  Put32(out, static_cast<uint32_t>(data.size()));
  std::string body = std::string(type, 4) + data;
  out += body;
  Put32(out, Crc32(reinterpret_cast<const uint8_t*>(body.data()), body.size()));
}

const char kPngSignature[] = "\x89PNG\r\n\x1a\n";

}  // namespace

Paint VerticalGradient(float y0, Color c0, float y1, Color c1) {
  return [=](float, float y) {
    float t = (y1 == y0) ? 0 : Clamp01((y - y0) / (y1 - y0));
    return Color{c0.r + (c1.r - c0.r) * t, c0.g + (c1.g - c0.g) * t, c0.b + (c1.b - c0.b) * t,
                 c0.a + (c1.a - c0.a) * t};
  };
}

Shape Circle(float cx, float cy, float r) {
  return [=](float x, float y) { return std::hypot(x - cx, y - cy) - r; };
}

Shape RoundRect(float x0, float y0, float x1, float y1, float radius) {
  float cx = (x0 + x1) / 2, cy = (y0 + y1) / 2, hw = (x1 - x0) / 2, hh = (y1 - y0) / 2;
  return RotatedBox(cx, cy, hw, hh, radius, 0);
}

Shape RotatedBox(float cx, float cy, float hw, float hh, float radius, float angle) {
  float c = std::cos(angle), s = std::sin(angle);
  return [=](float x, float y) {
    float dx = x - cx, dy = y - cy;
    float u = std::fabs(dx * c + dy * s) - (hw - radius);
    float v = std::fabs(-dx * s + dy * c) - (hh - radius);
    float outside = std::hypot(std::max(u, 0.0f), std::max(v, 0.0f));
    return outside + std::min(std::max(u, v), 0.0f) - radius;
  };
}

Shape Segment(float ax, float ay, float bx, float by) {
  return [=](float x, float y) {
    float ex = bx - ax, ey = by - ay, wx = x - ax, wy = y - ay;
    float len2 = ex * ex + ey * ey;
    float t = len2 > 0 ? Clamp01((wx * ex + wy * ey) / len2) : 0;
    return std::hypot(wx - ex * t, wy - ey * t);
  };
}

Shape Polygon(std::vector<float> xy) {
  return [xy](float x, float y) {
    size_t n = xy.size() / 2;
    float best = 1e30f, sign = 1;
    for (size_t i = 0, j = n - 1; i < n; j = i++) {
      float vix = xy[2 * i], viy = xy[2 * i + 1], vjx = xy[2 * j], vjy = xy[2 * j + 1];
      float ex = vjx - vix, ey = vjy - viy, wx = x - vix, wy = y - viy;
      float len2 = ex * ex + ey * ey;
      float t = len2 > 0 ? Clamp01((wx * ex + wy * ey) / len2) : 0;
      float bx = wx - ex * t, by = wy - ey * t;
      best = std::min(best, bx * bx + by * by);
      bool c1 = y >= viy, c2 = y < vjy, c3 = ex * wy > ey * wx;
      if ((c1 && c2 && c3) || (!c1 && !c2 && !c3)) sign = -sign;
    }
    return sign * std::sqrt(best);
  };
}

Shape Union(Shape a, Shape b) {
  return [=](float x, float y) { return std::min(a(x, y), b(x, y)); };
}

Shape Subtract(Shape a, Shape b) {
  return [=](float x, float y) { return std::max(a(x, y), -b(x, y)); };
}

Shape Intersect(Shape a, Shape b) {
  return [=](float x, float y) { return std::max(a(x, y), b(x, y)); };
}

Shape Stroke(Shape s, float width) {
  return [=](float x, float y) { return std::fabs(s(x, y)) - width / 2; };
}

Shape Translate(Shape s, float dx, float dy) {
  return [=](float x, float y) { return s(x - dx, y - dy); };
}

Canvas::Canvas(int width, int height) : m_w(width), m_h(height), m_px(static_cast<size_t>(width * height) * 4, 0.0f) {}

void Canvas::Fill(const Shape& shape, const Paint& paint) {
  for (int y = 0; y < m_h; ++y) {
    for (int x = 0; x < m_w; ++x) {
      float cx = x + 0.5f, cy = y + 0.5f;
      float coverage = Clamp01(0.5f - shape(cx, cy));
      if (coverage <= 0) continue;
      Color c = paint(cx, cy);
      float a = c.a * coverage;
      float* p = &m_px[(static_cast<size_t>(y) * m_w + x) * 4];
      p[0] = c.r * a + p[0] * (1 - a);
      p[1] = c.g * a + p[1] * (1 - a);
      p[2] = c.b * a + p[2] * (1 - a);
      p[3] = a + p[3] * (1 - a);
    }
  }
}

void Canvas::Blit(const Canvas& from, int x, int y) {
  for (int j = 0; j < from.m_h; ++j) {
    for (int i = 0; i < from.m_w; ++i) {
      int tx = x + i, ty = y + j;
      if (tx < 0 || ty < 0 || tx >= m_w || ty >= m_h) continue;
      std::copy_n(&from.m_px[(static_cast<size_t>(j) * from.m_w + i) * 4], 4,
                  &m_px[(static_cast<size_t>(ty) * m_w + tx) * 4]);
    }
  }
}

std::vector<uint8_t> Canvas::Rgba() const {
  std::vector<uint8_t> out(static_cast<size_t>(m_w * m_h) * 4);
  for (size_t i = 0; i < out.size(); i += 4) {
    float a = m_px[i + 3];
    for (int k = 0; k < 3; ++k) {
      float v = a > 0 ? m_px[i + k] / a : 0;
      out[i + k] = static_cast<uint8_t>(std::lround(Clamp01(v) * 255));
    }
    out[i + 3] = static_cast<uint8_t>(std::lround(Clamp01(a) * 255));
    if (out[i + 3] == 0) out[i] = out[i + 1] = out[i + 2] = 0;
  }
  return out;
}

std::string EncodePng(int width, int height, const std::vector<uint8_t>& rgba) {
  std::string raw;
  for (int y = 0; y < height; ++y) {
    raw += '\0';  // filter: none
    raw.append(reinterpret_cast<const char*>(&rgba[static_cast<size_t>(y) * width * 4]), static_cast<size_t>(width) * 4);
  }
  std::string z("\x78\x01", 2);
  size_t pos = 0;
  do {
    size_t n = std::min<size_t>(65535, raw.size() - pos);
    bool last = pos + n == raw.size();
    z += static_cast<char>(last ? 1 : 0);
    PutLE16(z, static_cast<uint32_t>(n));
    PutLE16(z, static_cast<uint32_t>(~n & 0xFFFF));
    z.append(raw, pos, n);
    pos += n;
  } while (pos < raw.size());
  uint32_t s1 = 1, s2 = 0;
  for (unsigned char c : raw) {
    s1 = (s1 + c) % 65521;
    s2 = (s2 + s1) % 65521;
  }
  Put32(z, (s2 << 16) | s1);

  std::string ihdr;
  Put32(ihdr, static_cast<uint32_t>(width));
  Put32(ihdr, static_cast<uint32_t>(height));
  ihdr += std::string("\x08\x06\x00\x00\x00", 5);  // 8-bit RGBA, deflate, no filter set, no interlace
  std::string out(kPngSignature, 8);
  Chunk(out, "IHDR", ihdr);
  Chunk(out, "IDAT", z);
  Chunk(out, "IEND", std::string());
  return out;
}

bool DecodeOwnPng(const std::string& bytes, int& width, int& height, std::vector<uint8_t>& rgba) {
  if (bytes.size() < 8 + 25 || bytes.compare(0, 8, std::string(kPngSignature, 8)) != 0) return false;
  size_t at = 8;
  std::string z;
  width = height = 0;
  while (at + 12 <= bytes.size()) {
    uint32_t len = Get32(bytes, at);
    std::string type = bytes.substr(at + 4, 4);
    if (at + 12 + len > bytes.size()) return false;
    if (type == "IHDR") {
      if (len != 13 || bytes.compare(at + 16, 5, std::string("\x08\x06\x00\x00\x00", 5)) != 0) return false;
      width = static_cast<int>(Get32(bytes, at + 8));
      height = static_cast<int>(Get32(bytes, at + 12));
    } else if (type == "IDAT") {
      z += bytes.substr(at + 8, len);
    }
    at += 12 + len;
  }
  if (width <= 0 || height <= 0 || width > 4096 || height > 4096 || z.size() < 2) return false;
  std::string raw;
  size_t p = 2;
  for (;;) {
    if (p + 5 > z.size()) return false;
    bool last = (z[p] & 1) != 0;
    if ((z[p] & 6) != 0) return false;  // only stored blocks
    size_t n = static_cast<uint8_t>(z[p + 1]) | (static_cast<uint8_t>(z[p + 2]) << 8);
    p += 5;
    if (p + n > z.size()) return false;
    raw.append(z, p, n);
    p += n;
    if (last) break;
  }
  size_t stride = static_cast<size_t>(width) * 4 + 1;
  if (raw.size() != stride * static_cast<size_t>(height)) return false;
  rgba.clear();
  for (int y = 0; y < height; ++y) {
    if (raw[y * stride] != 0) return false;
    rgba.insert(rgba.end(), raw.begin() + static_cast<long>(y * stride + 1), raw.begin() + static_cast<long>((y + 1) * stride));
  }
  return true;
}

std::string EncodeIco(const std::vector<const Canvas*>& images) {
  std::vector<std::string> blobs;
  for (const Canvas* c : images) {
    std::vector<uint8_t> rgba = c->Rgba();
    int w = c->Width(), h = c->Height();
    if (w >= 256) {
      blobs.push_back(EncodePng(w, h, rgba));
      continue;
    }
    std::string b;
    PutLE32(b, 40);
    PutLE32(b, static_cast<uint32_t>(w));
    PutLE32(b, static_cast<uint32_t>(h * 2));  // colour rows and mask rows
    PutLE16(b, 1);
    PutLE16(b, 32);
    PutLE32(b, 0);
    size_t maskStride = ((static_cast<size_t>(w) + 31) / 32) * 4;
    PutLE32(b, static_cast<uint32_t>(w * h * 4 + maskStride * h));
    PutLE32(b, 0);
    PutLE32(b, 0);
    PutLE32(b, 0);
    PutLE32(b, 0);
    for (int y = h - 1; y >= 0; --y) {  // bottom-up BGRA
      for (int x = 0; x < w; ++x) {
        const uint8_t* p = &rgba[(static_cast<size_t>(y) * w + x) * 4];
        b += static_cast<char>(p[2]);
        b += static_cast<char>(p[1]);
        b += static_cast<char>(p[0]);
        b += static_cast<char>(p[3]);
      }
    }
    for (int y = h - 1; y >= 0; --y) {  // AND mask: set where fully transparent
      std::string row(maskStride, '\0');
      for (int x = 0; x < w; ++x) {
        if (rgba[(static_cast<size_t>(y) * w + x) * 4 + 3] == 0) row[x / 8] |= static_cast<char>(0x80 >> (x % 8));
      }
      b += row;
    }
    blobs.push_back(b);
  }
  std::string out;
  PutLE16(out, 0);
  PutLE16(out, 1);
  PutLE16(out, static_cast<uint32_t>(images.size()));
  uint32_t offset = static_cast<uint32_t>(6 + 16 * images.size());
  for (size_t i = 0; i < images.size(); ++i) {
    int w = images[i]->Width(), h = images[i]->Height();
    out += static_cast<char>(w >= 256 ? 0 : w);
    out += static_cast<char>(h >= 256 ? 0 : h);
    out += '\0';
    out += '\0';
    PutLE16(out, 1);
    PutLE16(out, 32);
    PutLE32(out, static_cast<uint32_t>(blobs[i].size()));
    PutLE32(out, offset);
    offset += static_cast<uint32_t>(blobs[i].size());
  }
  for (const std::string& b : blobs) out += b;
  return out;
}

}  // namespace skinart
