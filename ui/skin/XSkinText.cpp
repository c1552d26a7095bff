// Value syntaxes of skin files over CString: the neutral rules of SkinValueText, and the two
// widenings of skin XML text.
#include "XSkinText.h"

#include <climits>

#include "SkinValueText.h"
#include "XWin.h"

namespace {

std::u16string U16(const CString& text) { return XToU16(text.GetString(), static_cast<size_t>(text.GetLength())); }

CRect RectOf(const XSkinBox& box) { return CRect(box.left, box.top, box.right, box.bottom); }

}  // namespace

int XSkinParseInt(const wchar_t* text) { return text ? XSkinParseIntText(XToU16(text, wcslen(text))) : 0; }

std::vector<CString> XSkinSplit(const CString& text, wchar_t separator) {
  std::vector<CString> parts;
  for (const std::u16string& part : XSkinSplitText(U16(text), static_cast<char16_t>(separator)))
    parts.emplace_back(XFromU16(part));
  return parts;
}

std::vector<int> XSkinParseIntList(const CString& text) { return XSkinParseIntListText(U16(text)); }

bool XSkinParseRect(const CString& text, CRect& out) {
  XSkinBox box;
  bool ok = XSkinParseRectText(U16(text), &box);
  out = RectOf(box);
  return ok;
}

CRect XSkinParseMargin(const CString& text) { return RectOf(XSkinParseMarginText(U16(text))); }

COLORREF XSkinParseRgb(const CString& text) { return static_cast<COLORREF>(XSkinParseRgbText(U16(text))); }

CString XSkinWidenAnsi(const char* text, int length) { return CString(XWiden(text, length, CP_ACP)); }

CString XSkinWidenUtf8(const char* text, int length) { return CString(XWiden(text, length, CP_UTF8)); }

CString XSkinAttribute(const char** attrs, const char* name, bool* found) {
  if (found) *found = false;
  if (!attrs || !name) return CString();
  CString value;
  for (int i = 0; attrs[i] && attrs[i + 1]; i += 2) {
    if (lstrcmpiA(attrs[i], name) == 0) {
      value = XSkinWidenAnsi(attrs[i + 1]);
      if (found) *found = true;
    }
  }
  return value;
}
