// The small value syntaxes of skin files over UTF-16 text (char16_t): decimal numbers, comma
// lists, template rectangles, margins and "RGB" colours. Platform-neutral; XSkinText.h gives
// the same rules over CString. Every reader is bounded by its input and never fails hard.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

// Leading blanks and a sign allowed; reading stops at the first non-digit or the end; 0 for
// no digits. Values beyond the 32-bit range saturate.
int XSkinParseIntText(const std::u16string& text);
// Parts between separators, as written (an empty text gives no parts).
std::vector<std::u16string> XSkinSplitText(const std::u16string& text, char16_t separator = u',');
std::vector<int> XSkinParseIntListText(const std::u16string& text);

struct XSkinBox {
  int left = 0, top = 0, right = 0, bottom = 0;
};
// Exactly four numbers x, y, width, height give (x, y, x + width, y + height), the sums
// wrapping as 32-bit integers do; anything else gives the empty box and false.
bool XSkinParseRectText(const std::u16string& text, XSkinBox* out);
// Four numbers left, top, right, bottom as they stand; anything else gives 0, 0, 0, 0.
XSkinBox XSkinParseMarginText(const std::u16string& text);
// "255,0,0", "rgb(255,0,0)", "RGB(255, 0, 0)": r | g << 8 | b << 16, each part modulo 256;
// fewer than three parts give 0.
uint32_t XSkinParseRgbText(const std::u16string& text);

// The value of a named attribute (name compared without regard to ASCII letter case; a later
// one wins) from a parser's attribute list: name, value, ..., null. Null when absent.
const char* XSkinAttributeBytes(const char** attrs, const char* name);
// 8-bit text as units, byte for byte: what the number syntaxes read of it is the same as of
// its widening, since bytes outside ASCII never widen to digits, signs, blanks or separators.
std::u16string XSkinByteUnits(const char* text, size_t length);
// The element or attribute name equals word, without regard to ASCII letter case.
bool XSkinSameName(const char* name, const char* word);
