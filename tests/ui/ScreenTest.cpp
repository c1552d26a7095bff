// What the windows put on the screen: an opaque main window with its background colour and
// a painted object, and a layered window with a half-transparent colour over it, read back
// from the screen (composited by the test display's compositor).
#include <gtest/gtest.h>

#include <cstdlib>

#include "ModelTestUtil.h"
#include "TestUtil.h"
#include "XEasyWnd.h"
#include "XUIBaseWnd.h"

namespace {

// Fills its rectangle with a solid colour (opaque windows) or with one premultiplied
// 32-bit pixel value (layered windows, whose buffer is a DIB section).
class Painter : public CXBaseUI {
 public:
  Painter(COLORREF color, DWORD premultiplied) : m_color(color), m_pixel(premultiplied) {}
  void DoPaint(HDC dc) override {
    CRect r = XUI_GetRect();
    DIBSECTION dib = {};
    HGDIOBJ bitmap = GetCurrentObject(dc, OBJ_BITMAP);
    if (m_pixel && GetObjectW(bitmap, sizeof dib, &dib) == sizeof dib && dib.dsBm.bmBits &&
        dib.dsBmih.biBitCount == 32) {
      GdiFlush();
      auto* bits = static_cast<DWORD*>(dib.dsBm.bmBits);
      for (int y = r.top; y < r.bottom && y < dib.dsBm.bmHeight; ++y)
        for (int x = r.left; x < r.right && x < dib.dsBm.bmWidth; ++x) bits[y * dib.dsBm.bmWidth + x] = m_pixel;
      return;
    }
    HBRUSH brush = CreateSolidBrush(m_color);
    FillRect(dc, &r, brush);
    DeleteObject(brush);
  }

 private:
  COLORREF m_color;
  DWORD m_pixel;
};

// 0xRRGGBB of a screen pixel.
DWORD ScreenPixel(int x, int y) {
  HDC screen = GetDC(nullptr);
  COLORREF c = GetPixel(screen, x, y);
  ReleaseDC(nullptr, screen);
  return (GetRValue(c) << 16) | (GetGValue(c) << 8) | GetBValue(c);
}

bool Near(DWORD a, DWORD b, int tolerance) {
  for (int shift = 0; shift <= 16; shift += 8) {
    int d = static_cast<int>((a >> shift) & 0xFF) - static_cast<int>((b >> shift) & 0xFF);
    if (d > tolerance || d < -tolerance) return false;
  }
  return true;
}

TEST(Screen, OpaqueAndLayeredWindowsShowTheirPixels) {
  CXEasyWnd easy;
  easy.SetBkColor(RGB(0, 200, 0));
  auto* blue = new Painter(RGB(0, 0, 255), 0);
  blue->XUI_SetRect(CRect(20, 20, 120, 80));
  easy.XUI_AddChild(blue);
  easy.XUI_SetRect(CRect(600, 500, 900, 700));
  easy.GetRelayoutPtr()->SetEnable(0);
  easy.XUI_SetAttribute(L"visible", L"1");
  CRect r = easy.XUI_GetRect();
  ASSERT_NE(easy.Create(nullptr, &r, L"Opaque", WS_POPUP, 0, nullptr), nullptr);
  easy.RelocateWnd();

  XUIBaseWnd layered;
  auto* red = new Painter(0, 0x80800000);  // red at half alpha, premultiplied
  red->XUI_SetRect(CRect(0, 0, 200, 100));
  layered.XUI_AddChild(red);
  layered.XUI_SetRect(CRect(650, 550, 850, 650));
  layered.GetRelayoutPtr()->SetEnable(0);
  layered.XUI_SetAttribute(L"visible", L"1");
  layered.XUI_SetAttribute(L"topmost", L"1");
  r = layered.XUI_GetRect();
  ASSERT_NE(layered.Create(nullptr, &r, L"Layered", layered.GetWindowStyle(),
                           layered.GetWindowExStyle() | layered.GetWndExStyle(), nullptr),
            nullptr);
  layered.RelocateWnd();
  layered.Draw();

  // Give the display and its compositor time to show both.
  bool shown = xtest::WaitFor([] { return Near(ScreenPixel(800, 620), 0x806400, 24); }, 5000);
  if (const char* hold = getenv("PINVALE_UI_HOLD_MS")) xtest::PumpFor(static_cast<DWORD>(atoi(hold)));

  EXPECT_EQ(ScreenPixel(610, 510), 0x00C800u);  // the opaque window's background
  EXPECT_EQ(ScreenPixel(625, 525), 0x0000FFu);  // its painted object
  // Half-transparent red over the green background: about (128, 100, 0).
  EXPECT_TRUE(shown) << std::hex << ScreenPixel(800, 620);
  EXPECT_TRUE(Near(ScreenPixel(700, 600), 0x806400, 24)) << std::hex << ScreenPixel(700, 600);
  // Over the blue object the blend is red and blue.
  EXPECT_TRUE(Near(ScreenPixel(660, 560), 0x80007F, 24)) << std::hex << ScreenPixel(660, 560);

  DestroyWindow(layered.GetHWND());
  DestroyWindow(easy.GetHWND());
  MSG msg;
  while (PeekMessageW(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) {
  }
}

}  // namespace
