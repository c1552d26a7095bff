// Drawing of the real image objects into a 32-bit DIB: where each mode puts each part of a
// 3 x 3 cell picture, tiling phase and clipping, constant and per-pixel alpha, and what Draw
// leaves alone (pixels outside the destination, the device context, the bitmap handle).
#include <gtest/gtest.h>

#include <windows.h>

#include <commctrl.h>

#include "PictureBytes.h"
#include "TessalyTestUtil.h"

using namespace tessalytest;
using namespace xtest;

namespace {

constexpr DWORD kWhite = 0xFFFFFF;

// The 12 x 12 picture of 4-pixel cells.
class DrawTest : public ::testing::Test {
 protected:
  void SetUp() override {
    m_image = m_lib.Image(NineCellPng(4));
    ASSERT_TRUE(m_image);
    ASSERT_EQ(m_image->HasBitmap(), 1);
  }
  int Draw(Canvas& c, RECT dest, int mode, int alpha = 255, const RECT* source = nullptr) {
    return m_image->Draw(c.Dc(), &dest, source, mode, alpha);
  }
  // Pixels of r in the colour.
  static int Count(const Canvas& c, DWORD color, const RECT& r) {
    int n = 0;
    for (int y = r.top; y < r.bottom; ++y)
      for (int x = r.left; x < r.right; ++x) n += c.At(x, y) == color;
    return n;
  }

  TessalyLib m_lib;
  CXComPtr<ITessaly> m_image;
};

}  // namespace

TEST_F(DrawTest, NormalDrawsAtNaturalSizeCutToTheDestination) {
  Canvas c(60, 60);
  EXPECT_EQ(Draw(c, {10, 10, 50, 50}, DRAW_NORMAL), 1);
  EXPECT_EQ(c.At(10, 10), Cell(0, 0));
  EXPECT_EQ(c.At(15, 15), Cell(1, 1));
  EXPECT_EQ(c.At(21, 21), Cell(2, 2));
  EXPECT_EQ(c.At(22, 10), kWhite);
  EXPECT_EQ(c.At(10, 22), kWhite);
  EXPECT_EQ(c.At(9, 9), kWhite);

  Canvas cut(20, 20);
  EXPECT_EQ(Draw(cut, {0, 0, 6, 7}, DRAW_NORMAL), 1);
  EXPECT_EQ(cut.At(5, 6), Cell(1, 1));
  EXPECT_EQ(cut.CountNot(kWhite, {6, 0, 20, 20}), 0);
  EXPECT_EQ(cut.CountNot(kWhite, {0, 7, 20, 20}), 0);
}

TEST_F(DrawTest, NormalWithASourceBlockDrawsThatBlockOnly) {
  Canvas c(30, 30);
  const RECT block = {4, 0, 8, 12};  // the middle column
  EXPECT_EQ(Draw(c, {10, 5, 30, 30}, DRAW_NORMAL, 255, &block), 1);
  EXPECT_EQ(c.At(10, 5), Cell(1, 0));
  EXPECT_EQ(c.At(13, 16), Cell(1, 2));
  EXPECT_EQ(c.At(14, 5), kWhite);
  EXPECT_EQ(c.CountNot(kWhite, {0, 0, 30, 30}), 4 * 12);
}

TEST_F(DrawTest, NineStretchKeepsCornersAndStretchesEdgesAndCentre) {
  Canvas c(120, 100);
  EXPECT_EQ(Draw(c, {10, 10, 110, 90}, DRAW_9STRETCH), 1);
  // Corners at natural size (4 x 4).
  EXPECT_EQ(c.At(10, 10), Cell(0, 0));
  EXPECT_EQ(c.At(13, 13), Cell(0, 0));
  EXPECT_EQ(c.At(109, 10), Cell(2, 0));
  EXPECT_EQ(c.At(106, 13), Cell(2, 0));
  EXPECT_EQ(c.At(10, 89), Cell(0, 2));
  EXPECT_EQ(c.At(109, 89), Cell(2, 2));
  EXPECT_EQ(c.At(106, 86), Cell(2, 2));
  EXPECT_EQ(Count(c, Cell(0, 0), {0, 0, 120, 100}), 16);
  EXPECT_EQ(Count(c, Cell(2, 2), {0, 0, 120, 100}), 16);
  // Edges and centre.
  EXPECT_EQ(c.At(60, 10), Cell(1, 0));
  EXPECT_EQ(c.At(60, 13), Cell(1, 0));
  EXPECT_EQ(c.At(10, 50), Cell(0, 1));
  EXPECT_EQ(c.At(109, 50), Cell(2, 1));
  EXPECT_EQ(c.At(60, 89), Cell(1, 2));
  EXPECT_EQ(c.At(14, 14), Cell(1, 1));
  EXPECT_EQ(c.At(60, 50), Cell(1, 1));
  EXPECT_EQ(c.At(105, 85), Cell(1, 1));
  EXPECT_EQ(Count(c, Cell(1, 1), {0, 0, 120, 100}), 92 * 72);
  // Nothing outside.
  EXPECT_EQ(c.CountNot(kWhite, {0, 0, 120, 10}), 0);
  EXPECT_EQ(c.CountNot(kWhite, {0, 90, 120, 100}), 0);
  EXPECT_EQ(c.CountNot(kWhite, {0, 0, 10, 100}), 0);
  EXPECT_EQ(c.CountNot(kWhite, {110, 0, 120, 100}), 0);
}

TEST_F(DrawTest, NineStretchSmallerThanTheCornersSharesItBetweenThem) {
  Canvas c(10, 10);
  EXPECT_EQ(Draw(c, {0, 0, 6, 6}, DRAW_9STRETCH), 1);
  EXPECT_EQ(c.At(0, 0), Cell(0, 0));
  EXPECT_EQ(c.At(5, 0), Cell(2, 0));
  EXPECT_EQ(c.At(0, 5), Cell(0, 2));
  EXPECT_EQ(c.At(5, 5), Cell(2, 2));
  EXPECT_EQ(Count(c, Cell(1, 1), {0, 0, 10, 10}), 0);
  EXPECT_EQ(c.CountNot(kWhite, {0, 0, 6, 6}), 36);
  EXPECT_EQ(c.CountNot(kWhite, {6, 0, 10, 10}), 0);
}

TEST_F(DrawTest, EightStretchIsAFrameWithoutTheCentre) {
  Canvas c(120, 100);
  EXPECT_EQ(Draw(c, {10, 10, 110, 90}, DRAW_8STRETCH), 1);
  EXPECT_EQ(c.At(10, 10), Cell(0, 0));
  EXPECT_EQ(c.At(109, 89), Cell(2, 2));
  EXPECT_EQ(c.At(60, 10), Cell(1, 0));
  EXPECT_EQ(c.At(10, 50), Cell(0, 1));
  EXPECT_EQ(c.At(109, 50), Cell(2, 1));
  EXPECT_EQ(c.At(60, 89), Cell(1, 2));
  EXPECT_EQ(c.CountNot(kWhite, {14, 14, 106, 86}), 0);
  EXPECT_EQ(c.At(13, 13), Cell(0, 0));
}

TEST_F(DrawTest, ThreePartStretchesCutOneAxisOnly) {
  Canvas v(40, 70);
  EXPECT_EQ(Draw(v, {0, 0, 12, 60}, DRAW_3VSTRETCH), 1);
  for (int col = 0; col < 3; ++col) {
    const int x = col * 4 + 1;
    EXPECT_EQ(v.At(x, 0), Cell(col, 0));
    EXPECT_EQ(v.At(x, 3), Cell(col, 0));
    EXPECT_EQ(v.At(x, 4), Cell(col, 1));
    EXPECT_EQ(v.At(x, 55), Cell(col, 1));
    EXPECT_EQ(v.At(x, 56), Cell(col, 2));
    EXPECT_EQ(v.At(x, 59), Cell(col, 2));
  }
  EXPECT_EQ(v.CountNot(kWhite, {0, 60, 40, 70}), 0);
  EXPECT_EQ(v.CountNot(kWhite, {12, 0, 40, 70}), 0);

  Canvas h(70, 40);
  EXPECT_EQ(Draw(h, {0, 0, 60, 12}, DRAW_3HSTRETCH), 1);
  for (int row = 0; row < 3; ++row) {
    const int y = row * 4 + 1;
    EXPECT_EQ(h.At(0, y), Cell(0, row));
    EXPECT_EQ(h.At(3, y), Cell(0, row));
    EXPECT_EQ(h.At(4, y), Cell(1, row));
    EXPECT_EQ(h.At(55, y), Cell(1, row));
    EXPECT_EQ(h.At(56, y), Cell(2, row));
  }
  EXPECT_EQ(h.CountNot(kWhite, {60, 0, 70, 40}), 0);
  EXPECT_EQ(h.CountNot(kWhite, {0, 12, 70, 40}), 0);

  // The uncut axis follows the destination: a three-part vertical stretch twice as wide.
  Canvas wide(30, 30);
  EXPECT_EQ(Draw(wide, {0, 0, 24, 24}, DRAW_3VSTRETCH), 1);
  EXPECT_EQ(wide.At(1, 12), Cell(0, 1));
  EXPECT_EQ(wide.At(12, 12), Cell(1, 1));
  EXPECT_EQ(wide.At(22, 12), Cell(2, 1));
}

TEST_F(DrawTest, TileRepeatsFromTheDestinationCornerAndCutsTheLastTiles) {
  Canvas c(50, 40);
  EXPECT_EQ(Draw(c, {5, 5, 45, 35}, DRAW_TILE), 1);
  for (int k = 0; k < 3; ++k) {
    EXPECT_EQ(c.At(5 + 12 * k, 5), Cell(0, 0));
    EXPECT_EQ(c.At(5 + 12 * k + 11, 5 + 11), Cell(2, 2));
    EXPECT_EQ(c.At(5 + 12 * k + 6, 5 + 12 + 6), Cell(1, 1));
  }
  EXPECT_EQ(c.At(44, 34), Cell(0, 1));  // 39 % 12 = 3, 29 % 12 = 5
  EXPECT_EQ(c.CountNot(kWhite, {45, 0, 50, 40}), 0);
  EXPECT_EQ(c.CountNot(kWhite, {0, 35, 50, 40}), 0);
  EXPECT_EQ(c.CountNot(kWhite, {0, 0, 5, 40}), 0);

  const RECT centre = {4, 4, 8, 8};
  Canvas one(20, 20);
  EXPECT_EQ(Draw(one, {0, 0, 17, 13}, DRAW_TILE, 255, &centre), 1);
  EXPECT_EQ(Count(one, Cell(1, 1), {0, 0, 20, 20}), 17 * 13);
}

TEST_F(DrawTest, TileKeepsItsPhaseUnderAClipRegion) {
  Canvas c(40, 40);
  IntersectClipRect(c.Dc(), 13, 13, 40, 40);
  EXPECT_EQ(Draw(c, {0, 0, 40, 40}, DRAW_TILE), 1);
  EXPECT_EQ(c.CountNot(kWhite, {0, 0, 40, 13}), 0);
  EXPECT_EQ(c.CountNot(kWhite, {0, 0, 13, 40}), 0);
  EXPECT_EQ(c.At(13, 13), Cell(0, 0));
  EXPECT_EQ(c.At(20, 20), Cell(2, 2));
  EXPECT_EQ(c.At(24, 30), Cell(0, 1));
  EXPECT_EQ(c.At(39, 39), Cell(0, 0));
}

TEST_F(DrawTest, AlphaScalesTheBlend) {
  auto red = m_lib.Image(MakePng(4, 4, std::vector<uint32_t>(16, 0xFFFF0000)));
  ASSERT_TRUE(red);
  const RECT dest = {0, 0, 4, 4};
  Canvas black(4, 4, 0xFF000000);
  EXPECT_EQ(red->Draw(black.Dc(), &dest, nullptr, DRAW_NORMAL, 128), 1);
  EXPECT_TRUE(Near(black.At(1, 1), 0x800000, 2)) << std::hex << black.At(1, 1);
  Canvas white(4, 4);
  EXPECT_EQ(red->Draw(white.Dc(), &dest, nullptr, DRAW_9STRETCH, 128), 1);
  EXPECT_TRUE(Near(white.At(1, 1), 0xFF7F7F, 2)) << std::hex << white.At(1, 1);
  // Above 255 counts as 255; 0 or less draws nothing.
  Canvas full(4, 4);
  EXPECT_EQ(red->Draw(full.Dc(), &dest, nullptr, DRAW_TILE, 1000), 1);
  EXPECT_EQ(full.At(2, 2), 0xFF0000u);
  Canvas none(4, 4);
  EXPECT_EQ(red->Draw(none.Dc(), &dest, nullptr, DRAW_NORMAL, 0), 0);
  EXPECT_EQ(red->Draw(none.Dc(), &dest, nullptr, DRAW_TILE, -5), 0);
  EXPECT_EQ(none.CountNot(kWhite, dest), 0);
}

TEST_F(DrawTest, PerPixelAlphaBlendsOverWhatIsThere) {
  // Opaque blue, half-transparent green, clear.
  auto image = m_lib.Image(MakePng(3, 1, {0xFF0000FF, 0x8000FF00, 0x00FF0000}));
  ASSERT_TRUE(image);
  Canvas c(3, 1);
  const RECT dest = {0, 0, 3, 1};
  EXPECT_EQ(image->Draw(c.Dc(), &dest, nullptr, DRAW_NORMAL, 255), 1);
  EXPECT_EQ(c.At(0, 0), 0x0000FFu);
  EXPECT_TRUE(Near(c.At(1, 0), 0x7FFF7F, 2)) << std::hex << c.At(1, 0);
  EXPECT_EQ(c.At(2, 0), kWhite);
}

TEST_F(DrawTest, BadArgumentsDrawNothing) {
  Canvas c(20, 20);
  const RECT all = {0, 0, 20, 20};
  const RECT outside = {12, 0, 20, 12};
  const RECT empty = {5, 5, 5, 9};
  EXPECT_EQ(Draw(c, all, 6), 0);
  EXPECT_EQ(Draw(c, all, -1), 0);
  EXPECT_EQ(Draw(c, all, DRAW_NORMAL, 255, &outside), 0);
  EXPECT_EQ(Draw(c, all, DRAW_9STRETCH, 255, &empty), 0);
  EXPECT_EQ(Draw(c, {5, 5, 5, 10}, DRAW_9STRETCH), 0);
  EXPECT_EQ(Draw(c, {10, 10, 0, 0}, DRAW_TILE), 0);
  EXPECT_EQ(Draw(c, {-2000000000, 0, 2000000000, 10}, DRAW_TILE), 0);
  EXPECT_EQ(m_image->Draw(c.Dc(), nullptr, nullptr, DRAW_NORMAL, 255), 0);
  EXPECT_EQ(m_image->Draw(nullptr, &all, nullptr, DRAW_NORMAL, 255), 0);
  EXPECT_EQ(c.CountNot(kWhite, all), 0);
  // A source reaching past the picture is cut to it.
  const RECT past = {8, 8, 100, 100};
  EXPECT_EQ(Draw(c, all, DRAW_NORMAL, 255, &past), 1);
  EXPECT_EQ(c.At(3, 3), Cell(2, 2));
  EXPECT_EQ(c.At(4, 4), kWhite);
}

TEST_F(DrawTest, DrawLeavesTheDcAndTheBitmapFree) {
  Canvas c(20, 20);
  HGDIOBJ selected = GetCurrentObject(c.Dc(), OBJ_BITMAP);
  for (int mode = DRAW_NORMAL; mode <= DRAW_8STRETCH; ++mode) EXPECT_EQ(Draw(c, {0, 0, 20, 20}, mode), 1) << mode;
  EXPECT_EQ(GetCurrentObject(c.Dc(), OBJ_BITMAP), selected);
  // The picture's bitmap is in no device context, so an image list can copy it.
  HIMAGELIST list = ImageList_Create(12, 12, ILC_COLOR32, 1, 1);
  ASSERT_NE(list, nullptr);
  EXPECT_EQ(ImageList_Add(list, m_image->GetBitmap(), nullptr), 0);
  EXPECT_EQ(ImageList_GetImageCount(list), 1);
  ImageList_Destroy(list);
  EXPECT_EQ(GetObjectType(m_image->GetBitmap()), static_cast<DWORD>(OBJ_BITMAP));
}

// One sheet with every mode, written out when TESSALY_SHEET names a file (for looking at).
TEST_F(DrawTest, SheetOfAllModes) {
  Canvas c(400, 120, 0xFF404040);
  const int modes[] = {DRAW_NORMAL, DRAW_3VSTRETCH, DRAW_3HSTRETCH, DRAW_9STRETCH, DRAW_TILE, DRAW_8STRETCH};
  for (int i = 0; i < 6; ++i) {
    const int x = 5 + i * 65;
    RECT dest = {x, 5, x + 60, 115};
    if (modes[i] == DRAW_3VSTRETCH) dest.right = x + 12;
    if (modes[i] == DRAW_3HSTRETCH) dest.bottom = 17;
    EXPECT_EQ(Draw(c, dest, modes[i], i == 5 ? 160 : 255), 1) << i;
  }
  wchar_t path[MAX_PATH] = {0};
  if (GetEnvironmentVariableW(L"TESSALY_SHEET", path, MAX_PATH) > 0) {
    EXPECT_TRUE(c.SaveBmp(path));
  }
}
