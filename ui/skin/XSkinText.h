// Readers of the small value syntaxes in skin files: decimal numbers, comma lists, template
// rectangles (x, y, width, height), "RGB" colours, and the two text widenings of skin XML.
#pragma once

#include <windows.h>

#include <vector>

#include "WendoraApi.h"
#include "XGeometry.h"
#include "XString.h"

// Leading blanks and a sign allowed; reading stops at the first non-digit; 0 for no digits.
// Values beyond the 32-bit range saturate.
WENDORA_API int XSkinParseInt(const wchar_t* text);
// Parts between commas, as written (an empty text gives no parts).
WENDORA_API std::vector<CString> XSkinSplit(const CString& text, wchar_t separator = L',');
WENDORA_API std::vector<int> XSkinParseIntList(const CString& text);
// Exactly four numbers x, y, width, height give (x, y, x + width, y + height); anything
// else gives the empty rectangle and false.
WENDORA_API bool XSkinParseRect(const CString& text, CRect& out);
// Four numbers left, top, right, bottom as they stand; anything else gives 0, 0, 0, 0.
WENDORA_API CRect XSkinParseMargin(const CString& text);
// "255,0,0", "rgb(255,0,0)", "RGB(255, 0, 0)": r | g << 8 | b << 16, each part modulo 256;
// fewer than three parts give 0.
WENDORA_API COLORREF XSkinParseRgb(const CString& text);

// Element and attribute text is widened with the ANSI code page, element content with UTF-8.
WENDORA_API CString XSkinWidenAnsi(const char* text, int length = -1);
WENDORA_API CString XSkinWidenUtf8(const char* text, int length = -1);

// The value of a named attribute (name compared without regard to case) from a parser's
// attribute list, widened with the ANSI code page; empty when absent.
WENDORA_API CString XSkinAttribute(const char** attrs, const char* name, bool* found = nullptr);
