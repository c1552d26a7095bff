// The updater's text rules. Each part of a version is held to 16 bits so a large part can
// never spill into the part above it.
#include "UpdateRules.h"

#include <vector>

namespace brindle {

namespace {

bool IsBlank(char16_t c) { return c == u' ' || c == u'\t' || c == u'\r' || c == u'\n' || c == u'\v' || c == u'\f'; }
bool IsDigit(char16_t c) { return c >= u'0' && c <= u'9'; }

// Decimal value of one version part, held to 0..65535.
uint32_t PartValue(const std::u16string& part) {
  size_t i = 0;
  while (i < part.size() && IsBlank(part[i])) ++i;
  bool negative = false;
  if (i < part.size() && (part[i] == u'+' || part[i] == u'-')) negative = part[i++] == u'-';
  uint32_t value = 0;
  for (; i < part.size() && IsDigit(part[i]); ++i) {
    if (value < 65536) value = value * 10 + static_cast<uint32_t>(part[i] - u'0');
  }
  if (negative) return 0;
  return value > 65535 ? 65535 : value;
}

bool IsDeviceName(const std::u16string& name) {
  // The stem before the first dot decides: "nul.exe" still names the device.
  std::u16string stem = name.substr(0, name.find(u'.'));
  while (!stem.empty() && stem.back() == u' ') stem.pop_back();
  for (char16_t& c : stem) {
    if (c >= u'a' && c <= u'z') c = static_cast<char16_t>(c - u'a' + u'A');
  }
  static const char16_t* const kFixed[] = {u"CON", u"PRN", u"AUX", u"NUL", u"CONIN$", u"CONOUT$"};
  for (const char16_t* d : kFixed) {
    if (stem == d) return true;
  }
  return stem.size() == 4 && (stem.compare(0, 3, u"COM") == 0 || stem.compare(0, 3, u"LPT") == 0) &&
         stem[3] >= u'1' && stem[3] <= u'9';
}

}  // namespace

uint64_t VersionNumber(const std::u16string& text) {
  std::vector<std::u16string> parts;
  size_t start = 0;
  for (;;) {
    size_t dot = text.find(u'.', start);
    if (dot == std::u16string::npos) {
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

std::u16string ExpandLineBreaks(const std::u16string& text) {
  std::u16string out;
  out.reserve(text.size());
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] == u'\\' && i + 1 < text.size() && text[i + 1] == u'n') {
      out += u"\r\n";
      ++i;
    } else {
      out += text[i];
    }
  }
  return out;
}

bool InstallerFileName(const std::u16string& url, std::u16string* name) {
  std::u16string path = url.substr(0, url.find_first_of(u"?#"));
  size_t slash = path.find_last_of(u'/');
  std::u16string segment = slash == std::u16string::npos ? path : path.substr(slash + 1);
  if (segment.empty()) return false;
  if (segment.find_first_not_of(u". ") == std::u16string::npos) return false;
  for (char16_t c : segment) {
    if (c < 32 || std::u16string(u"<>:\"/\\|?*").find(c) != std::u16string::npos) return false;
  }
  // A trailing dot or blank is dropped by the file system, so the file would not be the one
  // started later under the full name.
  if (segment.back() == u'.' || segment.back() == u' ') return false;
  if (IsDeviceName(segment)) return false;
  if (name) *name = segment;
  return true;
}

uint64_t ParseContentLength(const char16_t* text) {
  if (!text) return 0;
  while (IsBlank(*text)) ++text;
  uint64_t value = 0;
  for (; IsDigit(*text); ++text) {
    if (value > (static_cast<uint64_t>(INT64_MAX) - 9) / 10) return 0;
    value = value * 10 + static_cast<uint64_t>(*text - u'0');
  }
  return value;
}

bool ParseColorText(const std::u16string& text, uint32_t* color) {
  uint32_t parts[3] = {0, 0, 0};
  size_t i = 0;
  for (int p = 0; p < 3; ++p) {
    while (i < text.size() && IsBlank(text[i])) ++i;
    size_t digits = 0;
    uint32_t value = 0;
    for (; i < text.size() && IsDigit(text[i]) && digits < 4; ++i, ++digits) value = value * 10 + (text[i] - u'0');
    if (digits == 0 || value > 255) return false;
    parts[p] = value;
    while (i < text.size() && IsBlank(text[i])) ++i;
    if (p < 2) {
      if (i >= text.size() || text[i] != u',') return false;
      ++i;
    }
  }
  if (i != text.size()) return false;
  if (color) *color = parts[0] | (parts[1] << 8) | (parts[2] << 16);
  return true;
}

}  // namespace brindle
