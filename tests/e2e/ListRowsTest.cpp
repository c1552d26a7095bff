// How the favourites list shows its rows, read off the screen: a skin without the two-line
// option draws a row's full path as one line exactly as the text routine draws it, and a
// program's own icon replaces the icon of its type and comes back from the cache on the next
// start, with the program gone.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "E2eUtil.h"
#include "XGdi.h"

namespace {

// The default skin's list: the content starts at client (11, 98), rows are 40 pixels high,
// icons 32 pixels with a margin of 4, their text 5 pixels to the right of the icon; the
// content ends at x 309; the body font is Tahoma 14 in rgb(31,41,55) on white.
const int kContentLeft = 11, kContentTop = 98, kContentRight = 309, kRowHeight = 40;
const int kIconLeft = kContentLeft + 4, kIconTop = kContentTop + 4;
const int kTextLeft = kContentLeft + 4 + 32 + 5;
const COLORREF kTextColor = RGB(31, 41, 55);

// 0xRRGGBB pixels of a client rectangle of the window, rows from the top.
std::vector<DWORD> Capture(HWND window, const RECT& client) {
  const int width = client.right - client.left, height = client.bottom - client.top;
  std::vector<DWORD> out(static_cast<size_t>(width) * height, 0);
  DWORD* bits = nullptr;
  CXGdiObject<HBITMAP> bitmap(XCreateDib32(width, height, &bits));
  CXBitmapDC dc(bitmap.Get());
  if (!dc) return out;
  const POINT origin = e2e::ClientToScreenPoint(window, client.left, client.top);
  CXWindowDC screen(nullptr);
  BitBlt(dc.Get(), 0, 0, width, height, screen.Get(), origin.x, origin.y, SRCCOPY);
  GdiFlush();
  for (size_t i = 0; i < out.size(); ++i) out[i] = bits[i] & 0xFFFFFF;
  return out;
}

// The text as the list's text routine draws a one-line cell (DT_SINGLELINE | DT_VCENTER in
// the cell, clipped to the content), on white.
std::vector<DWORD> DrawnAsOneLine(const std::wstring& text, int width, int height, int cellWidth) {
  std::vector<DWORD> out(static_cast<size_t>(width) * height, 0xFFFFFF);
  DWORD* bits = nullptr;
  CXGdiObject<HBITMAP> bitmap(XCreateDib32(width, height, &bits));
  CXBitmapDC dc(bitmap.Get());
  if (!dc) return out;
  std::fill(bits, bits + width * height, 0xFFFFFFu);
  LOGFONTW lf = {};
  lf.lfHeight = -14;
  lstrcpyW(lf.lfFaceName, L"Tahoma");
  CXGdiObject<HFONT> font(CreateFontIndirectW(&lf));
  SelectObject(dc.Get(), font.Get());
  SetBkMode(dc.Get(), TRANSPARENT);
  SetTextColor(dc.Get(), kTextColor);
  RECT cell = {0, 0, cellWidth, height};
  DrawTextW(dc.Get(), text.c_str(), static_cast<int>(text.size()), &cell, DT_SINGLELINE | DT_VCENTER);
  GdiFlush();
  for (size_t i = 0; i < out.size(); ++i) out[i] = bits[i] & 0xFFFFFF;
  return out;
}

// Ink: clearly darker than the white of the list.
bool Ink(DWORD c) { return ((c >> 16) & 0xFF) + ((c >> 8) & 0xFF) + (c & 0xFF) < 3 * 200; }

// The icon of the test program redicon.exe: red, a blue square in the middle.
bool ShowsRedIcon(HWND window, int row) {
  const RECT icon = {kIconLeft, kIconTop + row * kRowHeight, kIconLeft + 32, kIconTop + row * kRowHeight + 32};
  const std::vector<DWORD> px = Capture(window, icon);
  const DWORD corner = px[3 * 32 + 3], middle = px[16 * 32 + 16];
  const bool red = (corner >> 16) > 0xC0 && ((corner >> 8) & 0xFF) < 0x40 && (corner & 0xFF) < 0x40;
  const bool blue = (middle >> 16) < 0x40 && ((middle >> 8) & 0xFF) < 0x60 && (middle & 0xFF) > 0xC0;
  return red && blue;
}

class ListRowsTest : public e2e::CleanStateTest {
 protected:
  void SetUp() override {
    e2e::CleanStateTest::SetUp();
    // Rows under the mouse are painted in the hover colour: the mouse stays away.
    e2e::MoveTo(POINT{0, 300});
  }
};

TEST_F(ListRowsTest, WithoutTheTwoLineOptionARowShowsItsFullPathAsOneLine) {
  e2e::Install install;
  ASSERT_TRUE(CopyFileW((xtest::TestBinFolder() + L"\\testskins\\DefaultOneLine.xui").c_str(),
                        (install.Folder() + L"\\skin\\DefaultSkin.xui").c_str(), FALSE));
  wchar_t windows[MAX_PATH] = {0};
  ASSERT_GT(GetWindowsDirectoryW(windows, MAX_PATH), 0u);
  const std::wstring path = windows;  // short enough for one line
  ASSERT_TRUE(e2e::SetOption(L"AutoHide", 0));
  e2e::Program program(install);
  HWND main = program.WaitForWindow();
  ASSERT_NE(main, nullptr);
  e2e::SendPath(main, path);
  xtest::PumpFor(800);

  const int width = kContentRight - kTextLeft;
  const RECT text = {kTextLeft, kContentTop, kContentRight, kContentTop + kRowHeight};
  const std::vector<DWORD> shown = Capture(main, text);
  const std::vector<DWORD> expected = DrawnAsOneLine(path, width, kRowHeight, 311 - kTextLeft);
  int inkShown = 0, inkExpected = 0, differing = 0;
  for (size_t i = 0; i < shown.size(); ++i) {
    inkShown += Ink(shown[i]);
    inkExpected += Ink(expected[i]);
    differing += Ink(shown[i]) != Ink(expected[i]);
  }
  EXPECT_GT(inkExpected, 100);
  EXPECT_LE(differing, inkExpected / 50) << "ink shown " << inkShown << ", expected " << inkExpected;
  EXPECT_EQ(program.Exit(), 0u);
}

TEST_F(ListRowsTest, AProgramsOwnIconReplacesItsTypeIconAndComesFromTheCacheNextTime) {
  e2e::Install install;
  xtest::TempDir files;
  const std::wstring tool = files / L"Red Tool.exe";
  ASSERT_TRUE(CopyFileW((xtest::TestBinFolder() + L"\\redicon.exe").c_str(), tool.c_str(), FALSE));
  ASSERT_TRUE(e2e::SetOption(L"AutoHide", 0));
  {
    e2e::Program program(install);
    HWND main = program.WaitForWindow();
    ASSERT_NE(main, nullptr);
    e2e::SendPath(main, tool);
    EXPECT_TRUE(xtest::WaitFor([&] { return ShowsRedIcon(main, 0); }, 20000));
    EXPECT_EQ(program.Exit(), 0u);
  }
  EXPECT_TRUE(xtest::FileExists(install.AppData() + L"\\Tarquon\\Pinvale\\icons.cache"));

  // The program is gone: only the cache can show its icon.
  ASSERT_TRUE(DeleteFileW(tool.c_str()));
  e2e::Program again(install);
  HWND main = again.WaitForWindow();
  ASSERT_NE(main, nullptr);
  EXPECT_TRUE(xtest::WaitFor([&] { return ShowsRedIcon(main, 0); }, 5000));
  EXPECT_EQ(again.Exit(), 0u);
}

}  // namespace
