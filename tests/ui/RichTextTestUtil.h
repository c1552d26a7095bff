// Helpers of the rich-text, menu and edit tests: distinct non-antialiased fonts entered in the
// process's font table, text measuring, and a stand-in for a skin picture. Pixels are read
// through the shared test canvas.
#pragma once

#include <windows.h>

#include "CanvasTestUtil.h"
#include "XBaseUI.h"
#include "XDraw.h"
#include "XSkinTables.h"
#include "XSkinText.h"

namespace uitest {

// Enters a Tahoma font without antialiasing under id (a no-op when the id is taken: the
// table keeps the first font of an id for the whole process).
inline void AddTestFont(int id, COLORREF color, int height = -14, int weight = FW_NORMAL) {
  LOGFONTW lf = {};
  lf.lfHeight = height;
  lf.lfWeight = weight;
  lf.lfCharSet = DEFAULT_CHARSET;
  lf.lfQuality = NONANTIALIASED_QUALITY;
  lstrcpynW(lf.lfFaceName, L"Tahoma", LF_FACESIZE);
  CXFontTable::Instance().Add(id, lf, color);
}

// Width and height of a text in a font of the table.
inline SIZE MeasureText(int fontId, const wchar_t* text) {
  Canvas probe(1, 1);
  CXDCState keep(probe.Dc());
  SelectObject(probe.Dc(), CXFontTable::Instance().Get(fontId).hFont);
  SIZE size = {};
  GetTextExtentPoint32W(probe.Dc(), text, lstrlenW(text), &size);
  return size;
}

// Stands in for a picture of the skin: fills its rectangle with the colour written as its
// "value" ("r,g,b"), and counts its paints.
class ColorPicture : public CXBaseUI {
 public:
  BOOL XUI_SetAttribute(const wchar_t* name, const wchar_t* value) override {
    if (lstrcmpiW(name, L"value") == 0) {
      m_color = XSkinParseRgb(CString(value));
      return 1;
    }
    return CXBaseUI::XUI_SetAttribute(name, value);
  }
  void DoPaint(HDC dc) override {
    ++m_paints;
    XFillSolidRect(dc, XUI_GetRect(), m_color);
  }
  COLORREF m_color = RGB(0, 0, 0);
  int m_paints = 0;
};

}  // namespace uitest
