// The shared drawing helpers on a real memory device context: pixels land where asked and
// the device context is left as it was.
#include <gtest/gtest.h>

#include "CanvasTestUtil.h"
#include "XDraw.h"

namespace {

using uitest::Canvas;

TEST(Draw, SkinTextDrawsInsideItsRectangleAndRestoresTheDc) {
  Canvas c(120, 40);
  HGDIOBJ fontBefore = GetCurrentObject(c.Dc(), OBJ_FONT);
  SetTextColor(c.Dc(), RGB(1, 2, 3));
  SetBkMode(c.Dc(), OPAQUE);
  RECT r = {10, 10, 110, 30};
  DrawSkinText(c.Dc(), L"Hello there", r, RGB(0, 0, 0), DT_SINGLELINE | DT_VCENTER, XTEXT_BOLD | XTEXT_UNDERLINE,
               nullptr);
  EXPECT_GT(c.CountNot(0xFFFFFF, r), 20);
  EXPECT_EQ(c.CountNot(0xFFFFFF, RECT{0, 0, 120, 10}), 0);
  EXPECT_EQ(c.CountNot(0xFFFFFF, RECT{0, 30, 120, 40}), 0);
  EXPECT_EQ(GetCurrentObject(c.Dc(), OBJ_FONT), fontBefore);
  EXPECT_EQ(GetTextColor(c.Dc()), RGB(1, 2, 3));
  EXPECT_EQ(GetBkMode(c.Dc()), OPAQUE);
}

TEST(Draw, SkinTextWiderThanItsRectangleStaysInside) {
  Canvas c(200, 40);
  RECT r = {10, 10, 60, 30};
  DrawSkinText(c.Dc(), L"A text much wider than fifty pixels", r, RGB(0, 0, 0), DT_SINGLELINE, 0, nullptr);
  EXPECT_GT(c.CountNot(0xFFFFFF, r), 10);
  EXPECT_EQ(c.CountNot(0xFFFFFF, RECT{60, 0, 200, 40}), 0);
}

TEST(Draw, SolidFillAndLine) {
  Canvas c(40, 20);
  XFillSolidRect(c.Dc(), RECT{5, 5, 15, 10}, RGB(0, 128, 255));
  EXPECT_EQ(c.At(5, 5), 0x0080FFu);
  EXPECT_EQ(c.At(14, 9), 0x0080FFu);
  EXPECT_EQ(c.At(15, 9), 0xFFFFFFu);
  EXPECT_EQ(c.At(4, 5), 0xFFFFFFu);
  XDrawLine(c.Dc(), 20, 15, 30, 15, RGB(255, 0, 0));
  EXPECT_EQ(c.At(20, 15), 0xFF0000u);
  EXPECT_EQ(c.At(29, 15), 0xFF0000u);
  EXPECT_EQ(c.At(30, 15), 0xFFFFFFu);
  EXPECT_EQ(c.At(25, 14), 0xFFFFFFu);
}

}  // namespace
