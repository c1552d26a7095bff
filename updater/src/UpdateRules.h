// The updater's text rules, platform-neutral (UTF-16 as char16_t): version strings as numbers, release
// notes' line breaks, the installer's local file name, header numbers and colour values.
// Every function is total: any input gives a defined result, none reads outside its argument.
#pragma once

#include <cstdint>
#include <string>

namespace brindle {

// "a.b.c.d" as one number, 16 bits per part, the first part highest. Parts are the stretches
// between dots (an empty one counts, except after the last dot); each reads as a decimal with
// optional leading blanks and sign, up to the first non-digit, and is held to 0..65535.
// Parts after the fourth are ignored; missing ones count as 0, so "1.2" equals "1.2.0.0".
uint64_t VersionNumber(const std::u16string& text);

// Every two-character sequence backslash, n becomes CR LF.
std::u16string ExpandLineBreaks(const std::u16string& text);

// The last path segment of url (query and fragment removed) when it is a safe name for a
// file in a folder of our choosing: not empty, not only dots and blanks, no character that a
// file name may not hold, no device name. Returns false and leaves name untouched otherwise.
bool InstallerFileName(const std::u16string& url, std::u16string* name);

// A Content-Length value: decimal digits after optional blanks, up to the first non-digit.
// Anything without digits, or too large for 63 bits, gives 0.
uint64_t ParseContentLength(const char16_t* text);

// "r,g,b" with each part 0..255 (blanks allowed around parts), as a COLORREF-ordered value
// 0x00bbggrr. Returns false for anything else.
bool ParseColorText(const std::u16string& text, uint32_t* color);

#ifdef _WIN32
// The same rules over the platform's wide text, which has the layout of char16_t there.
static_assert(sizeof(wchar_t) == sizeof(char16_t), "wide text is UTF-16");
inline std::u16string ToU16(const std::wstring& s) {
  return std::u16string(reinterpret_cast<const char16_t*>(s.data()), s.size());
}
inline uint64_t VersionNumber(const std::wstring& text) { return VersionNumber(ToU16(text)); }
inline std::wstring ExpandLineBreaks(const std::wstring& text) {
  std::u16string out = ExpandLineBreaks(ToU16(text));
  return std::wstring(reinterpret_cast<const wchar_t*>(out.data()), out.size());
}
inline bool InstallerFileName(const std::wstring& url, std::wstring* name) {
  std::u16string segment;
  if (!InstallerFileName(ToU16(url), &segment)) return false;
  if (name) name->assign(reinterpret_cast<const wchar_t*>(segment.data()), segment.size());
  return true;
}
inline uint64_t ParseContentLength(const wchar_t* text) {
  return ParseContentLength(reinterpret_cast<const char16_t*>(text));
}
inline bool ParseColorText(const std::wstring& text, uint32_t* color) { return ParseColorText(ToU16(text), color); }
#endif

}  // namespace brindle
