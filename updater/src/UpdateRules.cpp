// The updater's text rules. Each part of a version is held to 16 bits so a large part can
// never spill into the part above it.
#include "UpdateRules.h"

#include <cwchar>
#include <vector>

namespace brindle {

namespace {

bool IsBlank(wchar_t c) { return c == L' ' || c == L'\t' || c == L'\r' || c == L'\n' || c == L'\v' || c == L'\f'; }
bool IsDigit(wchar_t c) { return c >= L'0' && c <= L'9'; }

// Decimal value of one version part, held to 0..65535.
uint32_t PartValue(const std::wstring& part) {
  size_t i = 0;
  while (i < part.size() && IsBlank(part[i])) ++i;
  bool negative = false;
  if (i < part.size() && (part[i] == L'+' || part[i] == L'-')) negative = part[i++] == L'-';
  uint32_t value = 0;
  for (; i < part.size() && IsDigit(part[i]); ++i) {
    if (value < 65536) value = value * 10 + static_cast<uint32_t>(part[i] - L'0');
  }
  if (negative) return 0;
  return value > 65535 ? 65535 : value;
}

bool IsDeviceName(const std::wstring& name) {
  // The stem before the first dot decides: "nul.exe" still names the device.
  std::wstring stem = name.substr(0, name.find(L'.'));
  while (!stem.empty() && stem.back() == L' ') stem.pop_back();
  for (wchar_t& c : stem) {
    if (c >= L'a' && c <= L'z') c = static_cast<wchar_t>(c - L'a' + L'A');
  }
  static const wchar_t* const kFixed[] = {L"CON", L"PRN", L"AUX", L"NUL", L"CONIN$", L"CONOUT$"};
  for (const wchar_t* d : kFixed) {
    if (stem == d) return true;
  }
  return stem.size() == 4 && (stem.compare(0, 3, L"COM") == 0 || stem.compare(0, 3, L"LPT") == 0) &&
         stem[3] >= L'1' && stem[3] <= L'9';
}

}  // namespace

uint64_t VersionNumber(const std::wstring& text) {
  std::vector<std::wstring> parts;
  size_t start = 0;
  for (;;) {
    size_t dot = text.find(L'.', start);
    if (dot == std::wstring::npos) {
      if (start < text.size()) parts.push_back(text.substr(start));
      break;
    }
    parts.push_back(text.substr(start, dot - start));
    start = dot + 1;
  }
  uint64_t number = 0;
  for (size_t i = 0; i < 4; ++i) {
    number = (number << 16) + (i < parts.size() ? PartValue(parts[i]) : 0);
  }
  return number;
}

std::wstring ExpandLineBreaks(const std::wstring& text) {
  std::wstring out;
  out.reserve(text.size());
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] == L'\\' && i + 1 < text.size() && text[i + 1] == L'n') {
      out += L"\r\n";
      ++i;
    } else {
      out += text[i];
    }
  }
  return out;
}

bool InstallerFileName(const std::wstring& url, std::wstring* name) {
  std::wstring path = url.substr(0, url.find_first_of(L"?#"));
  size_t slash = path.find_last_of(L'/');
  std::wstring segment = slash == std::wstring::npos ? path : path.substr(slash + 1);
  if (segment.empty()) return false;
  if (segment.find_first_not_of(L". ") == std::wstring::npos) return false;
  for (wchar_t c : segment) {
    if (c < 32 || wcschr(L"<>:\"/\\|?*", c)) return false;
  }
  // A trailing dot or blank is dropped by the file system, so the file would not be the one
  // started later under the full name.
  if (segment.back() == L'.' || segment.back() == L' ') return false;
  if (IsDeviceName(segment)) return false;
  if (name) *name = segment;
  return true;
}

uint64_t ParseContentLength(const wchar_t* text) {
  if (!text) return 0;
  while (IsBlank(*text)) ++text;
  uint64_t value = 0;
  for (; IsDigit(*text); ++text) {
    if (value > (static_cast<uint64_t>(INT64_MAX) - 9) / 10) return 0;
    value = value * 10 + static_cast<uint64_t>(*text - L'0');
  }
  return value;
}

bool ParseColorText(const std::wstring& text, uint32_t* color) {
  uint32_t parts[3] = {0, 0, 0};
  size_t i = 0;
  for (int p = 0; p < 3; ++p) {
    while (i < text.size() && IsBlank(text[i])) ++i;
    size_t digits = 0;
    uint32_t value = 0;
    for (; i < text.size() && IsDigit(text[i]) && digits < 4; ++i, ++digits) value = value * 10 + (text[i] - L'0');
    if (digits == 0 || value > 255) return false;
    parts[p] = value;
    while (i < text.size() && IsBlank(text[i])) ++i;
    if (p < 2) {
      if (i >= text.size() || text[i] != L',') return false;
      ++i;
    }
  }
  if (i != text.size()) return false;
  if (color) *color = parts[0] | (parts[1] << 8) | (parts[2] << 16);
  return true;
}

}  // namespace brindle
