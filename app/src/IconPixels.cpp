// Icon <-> pixel conversions through 32-bit DIB sections; each bitmap and context is held by
// its holder for the call only.
#include "IconPixels.h"

#include <algorithm>

#include "XGdi.h"

namespace {

// The icon drawn over a solid background; false when GDI refuses.
bool DrawOver(HICON icon, DWORD background, std::vector<DWORD>& out) {
  DWORD* bits = nullptr;
  CXGdiObject<HBITMAP> bitmap(XCreateDib32(kIconSide, kIconSide, &bits));
  if (!bitmap) return false;
  CXBitmapDC dc(bitmap.Get());
  if (!dc) return false;
  std::fill(bits, bits + kIconSide * kIconSide, background);
  if (!DrawIconEx(dc.Get(), 0, 0, icon, kIconSide, kIconSide, 0, nullptr, DI_NORMAL)) return false;
  GdiFlush();
  out.assign(bits, bits + kIconSide * kIconSide);
  return true;
}

}  // namespace

bool IconToPixels(HICON icon, std::vector<uint8_t>& pixels) {
  std::vector<DWORD> black, white;
  if (!icon || !DrawOver(icon, 0x000000, black) || !DrawOver(icon, 0xFFFFFF, white)) return false;
  pixels.assign(static_cast<size_t>(kIconSide) * kIconSide * 4, 0);
  for (size_t i = 0; i < black.size(); ++i) {
    // Over black a pixel is its colour times its alpha; over white that plus (1 - alpha).
    int alpha = 255;
    for (int shift = 0; shift < 24; shift += 8) {
      const int b = static_cast<int>((black[i] >> shift) & 0xFF), w = static_cast<int>((white[i] >> shift) & 0xFF);
      alpha = std::min(alpha, 255 - std::max(0, w - b));
    }
    uint8_t* p = &pixels[i * 4];
    for (int c = 0; c < 3; ++c) {
      const int b = static_cast<int>((black[i] >> (8 * c)) & 0xFF);
      p[c] = static_cast<uint8_t>(alpha == 0 ? 0 : std::min(255, (b * 255 + alpha / 2) / alpha));
    }
    p[3] = static_cast<uint8_t>(alpha);
  }
  return true;
}

HICON IconFromPixels(const std::vector<uint8_t>& pixels, int width, int height) {
  if (width <= 0 || height <= 0 || pixels.size() != static_cast<size_t>(width) * height * 4) return nullptr;
  DWORD* bits = nullptr;
  CXGdiObject<HBITMAP> color(XCreateDib32(width, height, &bits));
  if (!color) return nullptr;
  for (size_t i = 0; i < static_cast<size_t>(width) * height; ++i) {
    const uint8_t* p = &pixels[i * 4];
    bits[i] = (static_cast<DWORD>(p[3]) << 24) | (static_cast<DWORD>(p[2]) << 16) | (static_cast<DWORD>(p[1]) << 8) | p[0];
  }
  GdiFlush();
  // The alpha channel decides; the mask only covers what is fully transparent.
  const int stride = ((width + 15) / 16) * 2;
  std::vector<uint8_t> maskBits(static_cast<size_t>(stride) * height, 0);
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x)
      if (pixels[(static_cast<size_t>(y) * width + x) * 4 + 3] == 0)
        maskBits[static_cast<size_t>(y) * stride + x / 8] |= static_cast<uint8_t>(0x80 >> (x % 8));
  CXGdiObject<HBITMAP> mask(CreateBitmap(width, height, 1, 1, maskBits.data()));
  if (!mask) return nullptr;
  ICONINFO info = {TRUE, 0, 0, mask.Get(), color.Get()};
  return CreateIconIndirect(&info);
}
