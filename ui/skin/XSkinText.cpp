// Value syntaxes of skin files. Every reader is bounded by its input and never fails hard:
// malformed text yields the documented neutral value.
#include "XSkinText.h"

#include <climits>

#include "XWin.h"

int XSkinParseInt(const wchar_t* text) {
  if (!text) return 0;
  const wchar_t* p = text;
  while (*p == L' ' || *p == L'\t' || *p == L'\r' || *p == L'\n') ++p;
  bool negative = false;
  if (*p == L'+' || *p == L'-') negative = (*p++ == L'-');
  long long value = 0;
  for (; *p >= L'0' && *p <= L'9'; ++p) {
    value = value * 10 + (*p - L'0');
    if (value > static_cast<long long>(INT_MAX) + 1) value = static_cast<long long>(INT_MAX) + 1;
  }
  if (negative) value = -value;
  if (value > INT_MAX) value = INT_MAX;
  return static_cast<int>(value);
}

std::vector<CString> XSkinSplit(const CString& text, wchar_t separator) {
  std::vector<CString> parts;
  if (text.IsEmpty()) return parts;
  int start = 0;
  for (;;) {
    int at = text.Find(separator, start);
    if (at < 0) {
      parts.push_back(text.Mid(start));
      return parts;
    }
    parts.push_back(text.Mid(start, at - start));
    start = at + 1;
  }
}

std::vector<int> XSkinParseIntList(const CString& text) {
  std::vector<int> values;
  for (const CString& part : XSkinSplit(text)) values.push_back(XSkinParseInt(part));
  return values;
}

bool XSkinParseRect(const CString& text, CRect& out) {
  std::vector<int> v = XSkinParseIntList(text);
  if (v.size() != 4) {
    out.SetRectEmpty();
    return false;
  }
  out.SetRect(v[0], v[1], v[0] + v[2], v[1] + v[3]);
  return true;
}

CRect XSkinParseMargin(const CString& text) {
  std::vector<int> v = XSkinParseIntList(text);
  if (v.size() != 4) return CRect();
  return CRect(v[0], v[1], v[2], v[3]);
}

COLORREF XSkinParseRgb(const CString& text) {
  CString s(text);
  s.MakeLower();
  int open = s.Find(L'(');
  if (open >= 0) s = s.Mid(open);
  s.Remove(L'(');
  s.Remove(L')');
  std::vector<int> v = XSkinParseIntList(s);
  if (v.size() < 3) return 0;
  return static_cast<COLORREF>((v[0] & 0xFF) | ((v[1] & 0xFF) << 8) | ((v[2] & 0xFF) << 16));
}

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
