// The factory and the image objects of the real Tessaly.dll: class ids, reference counting,
// and decoding of PNG, JPEG, GIF and BMP bytes made by the test into premultiplied BGRA.
#include <gtest/gtest.h>

#include "PictureBytes.h"
#include "ServiceInterfaces.h"  // foreign ids the factory must refuse
#include "TessalyTestUtil.h"

using namespace tessalytest;
using namespace xtest;

namespace {

// The picture's pixels as stored (0xAARRGGBB, premultiplied, rows from the top), read through
// the bitmap handle.
class Pixels {
 public:
  explicit Pixels(ITessaly* image) {
    DIBSECTION ds = {};
    if (image && image->GetBitmap() && GetObjectW(image->GetBitmap(), sizeof ds, &ds) == sizeof ds) {
      m_bits = static_cast<const DWORD*>(ds.dsBm.bmBits);
      m_width = ds.dsBm.bmWidth;
      m_bitCount = ds.dsBm.bmBitsPixel;
    }
  }
  DWORD At(int x, int y) const { return m_bits[y * m_width + x]; }
  bool Valid() const { return m_bits && m_bitCount == 32; }

 private:
  const DWORD* m_bits = nullptr;
  int m_width = 0, m_bitCount = 0;
};

// Bytes decoded by a new image of the class, expected to give a width x height picture; the
// pixels are readable (Valid) only when they did.
class Decoded {
 public:
  Decoded(const std::string& bytes, const GUID& clsid, int width, int height) : m_image(m_lib.Image(bytes, clsid)) {
    if (!m_image || m_image->HasBitmap() != 1) return;
    EXPECT_EQ(m_image->GetWidth(), width);
    EXPECT_EQ(m_image->GetHeight(), height);
    m_pixels = Pixels(m_image.Get());
    m_valid = m_pixels.Valid() && m_image->GetWidth() == width && m_image->GetHeight() == height;
  }
  bool Valid() const { return m_valid; }
  DWORD At(int x, int y) const { return m_pixels.At(x, y); }

 private:
  TessalyLib m_lib;
  CXComPtr<ITessaly> m_image;
  Pixels m_pixels{nullptr};
  bool m_valid = false;
};

bool NearArgb(DWORD a, DWORD b, int tolerance) { return Near(a >> 8, b >> 8, tolerance) && Near(a, b, tolerance); }

}  // namespace

TEST(TessalyFactory, MakesEmptyImagesForThePictureClassesOnly) {
  TessalyLib lib;
  ASSERT_NE(lib.Factory(), nullptr);
  for (const GUID* id : {&CLSID_TessalyPng, &CLSID_TessalyJpeg, &CLSID_TessalyGifBmp}) {
    CXComPtr<ITessaly> image(lib.Factory()->CreateImage(id));
    ASSERT_TRUE(image);
    EXPECT_EQ(image->HasBitmap(), 0);
    EXPECT_EQ(image->GetBitmap(), nullptr);
    EXPECT_EQ(image->GetWidth(), 0);
    EXPECT_EQ(image->GetHeight(), 0);
  }
  EXPECT_EQ(lib.Factory()->CreateImage(&IID_IXUnknown), nullptr);
  EXPECT_EQ(lib.Factory()->CreateImage(&IID_ISQLite), nullptr);
  EXPECT_EQ(lib.Factory()->CreateImage(&IID_XReserved1), nullptr);
  EXPECT_EQ(lib.Factory()->CreateImage(&IID_ITessaly), nullptr);
  EXPECT_EQ(lib.Factory()->CreateImage(nullptr), nullptr);
}

TEST(TessalyFactory, InterfacesAnswerTheirOwnIdsAndIXUnknown) {
  TessalyLib lib;
  ASSERT_NE(lib.Factory(), nullptr);
  void* out = reinterpret_cast<void*>(1);
  EXPECT_EQ(lib.Factory()->QueryInterface(&IID_ITessaly, &out), E_NOINTERFACE);
  EXPECT_EQ(out, nullptr);
  ASSERT_EQ(lib.Factory()->QueryInterface(&IID_IXUnknown, &out), S_OK);
  EXPECT_EQ(out, lib.Factory());
  EXPECT_EQ(lib.Factory()->Release(), 1);

  CXComPtr<ITessaly> image(lib.Factory()->CreateImage(&CLSID_TessalyJpeg));
  ASSERT_TRUE(image);
  EXPECT_EQ(image->QueryInterface(&IID_ITessalyFactory, &out), E_NOINTERFACE);
  EXPECT_EQ(out, nullptr);
  ASSERT_EQ(image->QueryInterface(&IID_ITessaly, &out), S_OK);
  EXPECT_EQ(out, image.Get());
  EXPECT_EQ(image->Release(), 1);
}

TEST(TessalyImage, LastReleaseFreesTheObjectAndItsBitmap) {
  TessalyLib lib;
  ITessaly* image = lib.Image(NineCellPng(2)).Detach();
  ASSERT_NE(image, nullptr);
  HBITMAP bitmap = image->GetBitmap();
  ASSERT_NE(bitmap, nullptr);
  EXPECT_EQ(image->AddRef(), 2);
  EXPECT_EQ(image->Release(), 1);
  EXPECT_EQ(GetObjectType(bitmap), static_cast<DWORD>(OBJ_BITMAP));
  EXPECT_EQ(image->Release(), 0);
  EXPECT_EQ(GetObjectType(bitmap), 0u);
}

TEST(TessalyDecode, PngKeepsAlphaPremultiplied) {
  // Opaque red, green at alpha 128, blue at alpha 0, white at alpha 64.
  const Decoded px(MakePng(2, 2, {0xFFFF0000, 0x8000FF00, 0x000000FF, 0x40FFFFFF}), CLSID_TessalyPng, 2, 2);
  ASSERT_TRUE(px.Valid());
  EXPECT_EQ(px.At(0, 0), 0xFFFF0000u);
  EXPECT_TRUE(NearArgb(px.At(1, 0), 0x80008000u, 1)) << std::hex << px.At(1, 0);
  EXPECT_EQ(px.At(0, 1), 0x00000000u);
  EXPECT_TRUE(NearArgb(px.At(1, 1), 0x40404040u, 1)) << std::hex << px.At(1, 1);
}

TEST(TessalyDecode, BmpRowsComeOutTopDownAndOpaque) {
  const Decoded px(MakeBmp(3, 2, {0x102030, 0x405060, 0x708090, 0xA0B0C0, 0xD0E0F0, 0x000000}),
                   CLSID_TessalyGifBmp, 3, 2);
  ASSERT_TRUE(px.Valid());
  EXPECT_EQ(px.At(0, 0), 0xFF102030u);
  EXPECT_EQ(px.At(2, 0), 0xFF708090u);
  EXPECT_EQ(px.At(1, 1), 0xFFD0E0F0u);
  EXPECT_EQ(px.At(2, 1), 0xFF000000u);
}

TEST(TessalyDecode, GifTransparentIndexBecomesClear) {
  const Decoded px(MakeGif(3, 2, {0xFF0000, 0x00FF00, 0x0000FF, 0xFFFFFF}, {0, 1, 2, 3, 3, 1}, 3),
                   CLSID_TessalyGifBmp, 3, 2);
  ASSERT_TRUE(px.Valid());
  EXPECT_EQ(px.At(0, 0), 0xFFFF0000u);
  EXPECT_EQ(px.At(1, 0), 0xFF00FF00u);
  EXPECT_EQ(px.At(2, 0), 0xFF0000FFu);
  EXPECT_EQ(px.At(0, 1), 0x00000000u);
  EXPECT_EQ(px.At(1, 1), 0x00000000u);
  EXPECT_EQ(px.At(2, 1), 0xFF00FF00u);
}

TEST(TessalyDecode, JpegQuadrantsKeepTheirColours) {
  const Decoded px(SampleJpeg(), CLSID_TessalyJpeg, 16, 16);
  ASSERT_TRUE(px.Valid());
  EXPECT_TRUE(NearArgb(px.At(4, 4), 0xFFFF0000u, 8)) << std::hex << px.At(4, 4);
  EXPECT_TRUE(NearArgb(px.At(12, 4), 0xFF00FF00u, 8)) << std::hex << px.At(12, 4);
  EXPECT_TRUE(NearArgb(px.At(4, 12), 0xFF0000FFu, 8)) << std::hex << px.At(4, 12);
  EXPECT_TRUE(NearArgb(px.At(12, 12), 0xFFFFFFFFu, 8)) << std::hex << px.At(12, 12);
}

TEST(TessalyDecode, TheBytesDecideTheFormatNotTheClass) {
  TessalyLib lib;
  auto png = lib.Image(SampleJpeg(), CLSID_TessalyPng);
  auto gif = lib.Image(MakePng(1, 1, {0xFF123456}), CLSID_TessalyGifBmp);
  ASSERT_TRUE(png && gif);
  EXPECT_EQ(png->HasBitmap(), 1);
  EXPECT_EQ(gif->HasBitmap(), 1);
}

TEST(TessalyDecode, BadBytesLeaveNoBitmapAndDrawNothing) {
  TessalyLib lib;
  const std::string png = NineCellPng(4);
  std::string corrupt = png;
  corrupt[png.size() / 2] ^= 0x5A;  // inside the pixel data: the chunk CRC no longer matches
  // A BMP header that claims 30000 x 30000 pixels over a few bytes of data.
  std::string huge = MakeBmp(2, 2, {0, 0, 0, 0});
  for (int i = 0; i < 4; ++i) {
    huge[18 + i] = static_cast<char>((30000 >> (8 * i)) & 0xFF);
    huge[22 + i] = static_cast<char>((30000 >> (8 * i)) & 0xFF);
  }
  const std::string cases[] = {
      std::string(),
      std::string("not a picture at all, just some text bytes"),
      png.substr(0, 8),
      png.substr(0, png.size() / 2),
      huge,
      corrupt,
      std::string(1000, '\0'),
  };
  for (const std::string& bytes : cases) {
    CXComPtr<ITessaly> image(lib.Factory()->CreateImage(&CLSID_TessalyPng));
    ASSERT_TRUE(image);
    EXPECT_EQ(image->Load(bytes.data(), static_cast<UINT>(bytes.size())), 0) << bytes.size();
    EXPECT_EQ(image->HasBitmap(), 0);
    EXPECT_EQ(image->GetBitmap(), nullptr);
    EXPECT_EQ(image->GetWidth(), 0);
    EXPECT_EQ(image->GetHeight(), 0);
    Canvas canvas(20, 20);
    RECT all = {0, 0, 20, 20};
    for (int mode = DRAW_NORMAL; mode <= DRAW_8STRETCH; ++mode)
      EXPECT_EQ(image->Draw(canvas.Dc(), &all, nullptr, mode, 255), 0);
    EXPECT_EQ(canvas.CountNot(0xFFFFFF, all), 0);
  }
  CXComPtr<ITessaly> image(lib.Factory()->CreateImage(&CLSID_TessalyPng));
  EXPECT_EQ(image->Load(nullptr, 100), 0);
}

TEST(TessalyDecode, ALoadReplacesThePictureAndAFailedOneDropsIt) {
  TessalyLib lib;
  auto image = lib.Image(NineCellPng(2));
  ASSERT_TRUE(image);
  HBITMAP first = image->GetBitmap();
  ASSERT_NE(first, nullptr);
  const std::string bmp = MakeBmp(5, 1, {0, 0, 0, 0, 0});
  ASSERT_EQ(image->Load(bmp.data(), static_cast<UINT>(bmp.size())), 1);
  EXPECT_EQ(image->GetWidth(), 5);
  EXPECT_EQ(image->GetHeight(), 1);
  HBITMAP second = image->GetBitmap();
  EXPECT_EQ(GetObjectType(first), 0u);
  const char junk[] = "junk";
  EXPECT_EQ(image->Load(junk, sizeof junk), 0);
  EXPECT_EQ(image->HasBitmap(), 0);
  EXPECT_EQ(GetObjectType(second), 0u);
}
