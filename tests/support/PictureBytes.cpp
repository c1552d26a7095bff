// Minimal writers of the picture formats, enough for the decoder to meet real files: every
// structure (chunks, CRCs, checksums, palettes, LZW codes) is the format's own.
#include "PictureBytes.h"

namespace xtest {

namespace {

void Put32BE(std::string& s, uint32_t v) {
  for (int shift = 24; shift >= 0; shift -= 8) s.push_back(static_cast<char>((v >> shift) & 0xFF));
}
void Put16LE(std::string& s, uint32_t v) {
  s.push_back(static_cast<char>(v & 0xFF));
  s.push_back(static_cast<char>((v >> 8) & 0xFF));
}
void Put32LE(std::string& s, uint32_t v) {
  Put16LE(s, v & 0xFFFF);
  Put16LE(s, v >> 16);
}

uint32_t Crc32(const std::string& data) {
  uint32_t crc = 0xFFFFFFFFu;
  for (unsigned char c : data) {
    crc ^= c;
    for (int k = 0; k < 8; ++k) crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1u)));
  }
  return crc ^ 0xFFFFFFFFu;
}

void PngChunk(std::string& out, const char* type, const std::string& data) {
  Put32BE(out, static_cast<uint32_t>(data.size()));
  std::string body = std::string(type, 4) + data;
  out += body;
  Put32BE(out, Crc32(body));
}

// zlib stream of stored (uncompressed) deflate blocks.
std::string ZlibStored(const std::string& raw) {
  std::string z("\x78\x01", 2);
  size_t pos = 0;
  do {
    const size_t n = raw.size() - pos < 65535 ? raw.size() - pos : 65535;
    const bool last = pos + n == raw.size();
    z.push_back(last ? 1 : 0);
    Put16LE(z, static_cast<uint32_t>(n));
    Put16LE(z, static_cast<uint32_t>(~n & 0xFFFF));
    z += raw.substr(pos, n);
    pos += n;
  } while (pos < raw.size());
  uint32_t a = 1, b = 0;
  for (unsigned char c : raw) {
    a = (a + c) % 65521;
    b = (b + a) % 65521;
  }
  Put32BE(z, (b << 16) | a);
  return z;
}

// LSB-first bit writer of GIF's LZW stream.
class BitWriter {
 public:
  void Put(uint32_t code, int bits) {
    m_acc |= code << m_n;
    m_n += bits;
    while (m_n >= 8) {
      m_out.push_back(static_cast<char>(m_acc & 0xFF));
      m_acc >>= 8;
      m_n -= 8;
    }
  }
  std::string Finish() {
    if (m_n > 0) m_out.push_back(static_cast<char>(m_acc & 0xFF));
    return m_out;
  }

 private:
  std::string m_out;
  uint32_t m_acc = 0;
  int m_n = 0;
};

}  // namespace

std::string MakePng(int width, int height, const std::vector<uint32_t>& argb) {
  std::string out("\x89PNG\r\n\x1a\n", 8);
  std::string ihdr;
  Put32BE(ihdr, static_cast<uint32_t>(width));
  Put32BE(ihdr, static_cast<uint32_t>(height));
  ihdr += std::string("\x08\x06\x00\x00\x00", 5);  // 8 bits, RGBA, deflate, no filter, no interlace
  PngChunk(out, "IHDR", ihdr);
  std::string raw;
  for (int y = 0; y < height; ++y) {
    raw.push_back(0);  // filter: none
    for (int x = 0; x < width; ++x) {
      const uint32_t p = argb[static_cast<size_t>(y) * width + x];
      raw.push_back(static_cast<char>((p >> 16) & 0xFF));
      raw.push_back(static_cast<char>((p >> 8) & 0xFF));
      raw.push_back(static_cast<char>(p & 0xFF));
      raw.push_back(static_cast<char>(p >> 24));
    }
  }
  PngChunk(out, "IDAT", ZlibStored(raw));
  PngChunk(out, "IEND", std::string());
  return out;
}

std::string MakeBmp(int width, int height, const std::vector<uint32_t>& rgb) {
  const int stride = (width * 3 + 3) & ~3;
  const uint32_t pixelBytes = static_cast<uint32_t>(stride) * height;
  std::string out("BM", 2);
  Put32LE(out, 14 + 40 + pixelBytes);
  Put32LE(out, 0);
  Put32LE(out, 14 + 40);
  Put32LE(out, 40);
  Put32LE(out, static_cast<uint32_t>(width));
  Put32LE(out, static_cast<uint32_t>(height));  // bottom-up
  Put16LE(out, 1);
  Put16LE(out, 24);
  for (int i = 0; i < 6; ++i) Put32LE(out, i == 1 ? pixelBytes : 0);
  for (int y = height - 1; y >= 0; --y) {
    for (int x = 0; x < width; ++x) {
      const uint32_t p = rgb[static_cast<size_t>(y) * width + x];
      out.push_back(static_cast<char>(p & 0xFF));
      out.push_back(static_cast<char>((p >> 8) & 0xFF));
      out.push_back(static_cast<char>((p >> 16) & 0xFF));
    }
    out.append(static_cast<size_t>(stride - width * 3), '\0');
  }
  return out;
}

std::string MakeGif(int width, int height, const std::vector<uint32_t>& palette, const std::vector<uint8_t>& indices,
                    int transparent) {
  std::string out("GIF89a", 6);
  Put16LE(out, static_cast<uint32_t>(width));
  Put16LE(out, static_cast<uint32_t>(height));
  out.push_back(static_cast<char>(0x80 | 0x10 | 0x01));  // global table of 4 colours, 2 bits of colour resolution
  out.push_back(0);
  out.push_back(0);
  for (int i = 0; i < 4; ++i) {
    const uint32_t c = i < static_cast<int>(palette.size()) ? palette[i] : 0;
    out.push_back(static_cast<char>((c >> 16) & 0xFF));
    out.push_back(static_cast<char>((c >> 8) & 0xFF));
    out.push_back(static_cast<char>(c & 0xFF));
  }
  if (transparent >= 0) {  // graphic control extension
    out += std::string("\x21\xF9\x04\x01\x00\x00", 6);
    out.push_back(static_cast<char>(transparent));
    out.push_back(0);
  }
  out.push_back(0x2C);
  Put16LE(out, 0);
  Put16LE(out, 0);
  Put16LE(out, static_cast<uint32_t>(width));
  Put16LE(out, static_cast<uint32_t>(height));
  out.push_back(0);
  // LZW with a minimum code size of 2: clear = 4, end = 5, 3-bit codes. Only literal codes,
  // with a clear every two, so the decoder's table never reaches the 4-bit boundary.
  out.push_back(2);
  BitWriter bits;
  for (size_t i = 0; i < indices.size(); ++i) {
    if (i % 2 == 0) bits.Put(4, 3);
    bits.Put(indices[i], 3);
  }
  bits.Put(5, 3);
  const std::string data = bits.Finish();
  for (size_t pos = 0; pos < data.size(); pos += 255) {
    const size_t n = data.size() - pos < 255 ? data.size() - pos : 255;
    out.push_back(static_cast<char>(n));
    out += data.substr(pos, n);
  }
  out.push_back(0);
  out.push_back(0x3B);
  return out;
}

std::string SampleJpeg() {
  static const unsigned char bytes[] = {
#include "SampleJpeg.inc"
  };
  return std::string(reinterpret_cast<const char*>(bytes), sizeof bytes);
}

uint32_t Cell(int column, int row) {
  static const uint32_t colors[3][3] = {
      {0xFF0000, 0x00FF00, 0x0000FF},
      {0xFFFF00, 0x00FFFF, 0xFF00FF},
      {0x800000, 0x008000, 0x000080},
  };
  return colors[row][column];
}

std::string NineCellPng(int cell) {
  const int side = cell * 3;
  std::vector<uint32_t> px(static_cast<size_t>(side) * side);
  for (int y = 0; y < side; ++y)
    for (int x = 0; x < side; ++x) px[static_cast<size_t>(y) * side + x] = 0xFF000000u | Cell(x / cell, y / cell);
  return MakePng(side, side, px);
}

}  // namespace xtest
