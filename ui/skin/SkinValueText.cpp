// Value syntaxes of skin files. Numbers are read in 64-bit arithmetic and saturated; sums of
// a rectangle wrap in unsigned arithmetic, so no input is undefined behaviour.
#include "SkinValueText.h"

#include <climits>

int XSkinParseIntText(const std::u16string& text) {
  size_t i = 0;
  const size_t n = text.size();
  while (i < n && (text[i] == u' ' || text[i] == u'\t' || text[i] == u'\r' || text[i] == u'\n')) ++i;
  bool negative = false;
  if (i < n && (text[i] == u'+' || text[i] == u'-')) negative = text[i++] == u'-';
  long long value = 0;
  for (; i < n && text[i] >= u'0' && text[i] <= u'9'; ++i) {
    value = value * 10 + (text[i] - u'0');
    if (value > static_cast<long long>(INT_MAX) + 1) value = static_cast<long long>(INT_MAX) + 1;
  }
  if (negative) value = -value;
  if (value > INT_MAX) value = INT_MAX;
  return static_cast<int>(value);
}

std::vector<std::u16string> XSkinSplitText(const std::u16string& text, char16_t separator) {
  std::vector<std::u16string> parts;
  if (text.empty()) return parts;
  size_t start = 0;
  for (;;) {
    size_t at = text.find(separator, start);
    if (at == std::u16string::npos) {
      parts.push_back(text.substr(start));
      return parts;
    }
    parts.push_back(text.substr(start, at - start));
    start = at + 1;
  }
}

std::vector<int> XSkinParseIntListText(const std::u16string& text) {
  std::vector<int> values;
  for (const std::u16string& part : XSkinSplitText(text)) values.push_back(XSkinParseIntText(part));
  return values;
}

namespace {
int WrappingSum(int a, int b) {
  return static_cast<int>(static_cast<uint32_t>(a) + static_cast<uint32_t>(b));
}
}  // namespace

bool XSkinParseRectText(const std::u16string& text, XSkinBox* out) {
  std::vector<int> v = XSkinParseIntListText(text);
  XSkinBox box;
  bool ok = v.size() == 4;
  if (ok) {
    box.left = v[0];
    box.top = v[1];
    box.right = WrappingSum(v[0], v[2]);
    box.bottom = WrappingSum(v[1], v[3]);
  }
  if (out) *out = box;
  return ok;
}

XSkinBox XSkinParseMarginText(const std::u16string& text) {
  std::vector<int> v = XSkinParseIntListText(text);
  XSkinBox box;
  if (v.size() != 4) return box;
  box.left = v[0];
  box.top = v[1];
  box.right = v[2];
  box.bottom = v[3];
  return box;
}

uint32_t XSkinParseRgbText(const std::u16string& text) {
  std::u16string s = text;
  size_t open = s.find(u'(');
  if (open != std::u16string::npos) s = s.substr(open);
  std::u16string kept;
  for (char16_t c : s) {
    if (c != u'(' && c != u')') kept += c;
  }
  std::vector<int> v = XSkinParseIntListText(kept);
  if (v.size() < 3) return 0;
  return static_cast<uint32_t>((v[0] & 0xFF) | ((v[1] & 0xFF) << 8) | ((v[2] & 0xFF) << 16));
}

bool XSkinSameName(const char* name, const char* word) {
  if (!name || !word) return false;
  for (; *name && *word; ++name, ++word) {
    char a = *name, b = *word;
    if (a >= 'A' && a <= 'Z') a = static_cast<char>(a - 'A' + 'a');
    if (b >= 'A' && b <= 'Z') b = static_cast<char>(b - 'A' + 'a');
    if (a != b) return false;
  }
  return *name == 0 && *word == 0;
}

const char* XSkinAttributeBytes(const char** attrs, const char* name) {
  if (!attrs || !name) return nullptr;
  const char* value = nullptr;
  for (int i = 0; attrs[i] && attrs[i + 1]; i += 2) {
    if (XSkinSameName(attrs[i], name)) value = attrs[i + 1];
  }
  return value;
}

std::u16string XSkinByteUnits(const char* text, size_t length) {
  std::u16string units;
  if (!text) return units;
  units.reserve(length);
  for (size_t i = 0; i < length; ++i) units += static_cast<char16_t>(static_cast<unsigned char>(text[i]));
  return units;
}
