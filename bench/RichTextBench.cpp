// Rich text figures on a 32-bit memory DC: parsing a three-run caption, drawing it with its
// layout kept and with a fresh layout each time (as a text object does after every
// relayout), against one DrawSkinText of the same words as plain text.
#include <windows.h>

#include <algorithm>
#include <cstdio>

#include "BenchTimer.h"
#include "Canvas.h"
#include "XBaseUI.h"
#include "XDraw.h"
#include "XRichString.h"
#include "XSkinTables.h"

using xbench::Best;

namespace {

void AddFont(int id, COLORREF color, int weight) {
  LOGFONTW lf = {};
  lf.lfHeight = -14;
  lf.lfWeight = weight;
  lf.lfCharSet = DEFAULT_CHARSET;
  lstrcpynW(lf.lfFaceName, L"Tahoma", LF_FACESIZE);
  CXFontTable::Instance().Add(id, lf, color);
}

}  // namespace

int main() {
  AddFont(1, RGB(0, 0, 0), FW_NORMAL);
  AddFont(2, RGB(200, 0, 0), FW_BOLD);
  const wchar_t* markup = L"Click {#fontid=2;hfontid=1}here{/} to open the list";
  const wchar_t* plain = L"Click here to open the list";
  const int n = 2000;

  xtest::Canvas canvas(400, 40);
  const HDC dc = canvas.Dc();
  const RECT box = {0, 0, 400, 40};

  CXString s;
  const double parse = Best(5, [&] {
    for (int i = 0; i < n * 10; ++i) s.SetString(markup);
  }) / (n * 10);
  const double kept = Best(5, [&] {
    for (int i = 0; i < n; ++i) s.Draw(dc, 0, box);
  }) / n;
  const double fresh = Best(5, [&] {
    for (int i = 0; i < n; ++i) {
      s.NeedAdjust();
      s.Draw(dc, 0, box);
    }
  }) / n;
  const XFONT_ENTRY font = CXFontTable::Instance().Get(1);
  const double baseline = Best(5, [&] {
    for (int i = 0; i < n; ++i) DrawSkinText(dc, plain, box, font.color, 0, 0, font.hFont);
  }) / n;

  printf("parse of a three-run caption:        %8.2f us\n", parse * 1e6);
  printf("plain DrawSkinText (baseline):       %8.2f us\n", baseline * 1e6);
  printf("rich draw, layout kept:              %8.2f us  (%.2fx baseline)\n", kept * 1e6, kept / baseline);
  printf("rich draw, layout measured again:    %8.2f us  (%.2fx baseline)\n", fresh * 1e6, fresh / baseline);
  return 0;
}
