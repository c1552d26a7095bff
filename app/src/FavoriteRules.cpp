// The store's text rules, kept free of Win32 state apart from the ANSI conversion.
#include "FavoriteRules.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <ctime>

#include "LegacyList.h"
#include "XWin.h"

namespace {

int LowerHexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  return -1;
}

}  // namespace

unsigned ParseFavoriteColor(const char* text) {
  const unsigned kWhite = 0xFFFFFF;
  if (!text || strlen(text) != 6) return kWhite;
  unsigned value = 0;
  for (int i = 0; i < 6; ++i) {
    int d = LowerHexDigit(text[i]);
    if (d < 0) return kWhite;
    value = (value << 4) | static_cast<unsigned>(d);
  }
  return value;
}

long long ParseFavoriteTime(const char* text) {
  struct tm t;
  memset(&t, 0, sizeof t);
  if (text) {
    sscanf(text, "%4d-%2d-%2d %2d:%2d:%2d", &t.tm_year, &t.tm_mon, &t.tm_mday, &t.tm_hour,
           &t.tm_min, &t.tm_sec);
  }
  t.tm_year -= 1900;
  t.tm_mon -= 1;
  t.tm_isdst = -1;
  return static_cast<long long>(_mktime64(&t));
}

std::wstring EscapeSqlQuotes(const std::wstring& text) {
  std::wstring out;
  out.reserve(text.size() + 8);
  for (wchar_t c : text) {
    out += c;
    if (c == L'\'') out += L'\'';
  }
  return out;
}

std::vector<CString> SplitLegacyList(const std::string& bytes) {
  std::vector<CString> lines;
  for (const std::string& line : SplitLegacyLines(bytes))
    lines.emplace_back(XWiden(line.data(), static_cast<int>(line.size())));
  return lines;
}

std::vector<CString> NewestRecentFolders(std::vector<RECENT_FOLDER> folders, size_t limit) {
  std::stable_sort(folders.begin(), folders.end(), [](const RECENT_FOLDER& a, const RECENT_FOLDER& b) {
    return a.accessTime > b.accessTime;
  });
  std::vector<CString> out;
  for (size_t i = 0; i < folders.size() && i < limit; ++i) out.push_back(folders[i].path);
  return out;
}
