// The store's text rules, kept free of Win32 state apart from the ANSI conversion.
#include "FavoriteRules.h"

#include <algorithm>
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

bool IsScanSpace(char c) { return c == ' ' || (c >= '\t' && c <= '\r'); }

// One %<width>d of the C library's scanf: blanks skipped, then at most width characters of
// an optional sign and digits, at least one digit. False (nothing stored) when none is there.
bool ScanInt(const char*& p, int width, int& out) {
  while (IsScanSpace(*p)) ++p;
  const char* q = p;
  bool negative = false;
  if ((*q == '+' || *q == '-') && width > 1) {
    negative = *q == '-';
    ++q;
    --width;
  }
  if (*q < '0' || *q > '9') return false;
  int value = 0;
  for (; width > 0 && *q >= '0' && *q <= '9'; --width, ++q) value = value * 10 + (*q - '0');
  out = negative ? -value : value;
  p = q;
  return true;
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
  // "%4d-%2d-%2d %2d:%2d:%2d" read the way sscanf reads it (the first field that does not
  // match ends the reading), without the library's per-call cost, which is paid twice for
  // every row at start-up.
  if (text) {
    struct FIELD {
      int* value;
      int width;
      char before;  // literal before the field; ' ' skips any blanks
    } const fields[] = {{&t.tm_year, 4, 0},   {&t.tm_mon, 2, '-'}, {&t.tm_mday, 2, '-'},
                        {&t.tm_hour, 2, ' '}, {&t.tm_min, 2, ':'}, {&t.tm_sec, 2, ':'}};
    const char* p = text;
    for (const FIELD& f : fields) {
      if (f.before == ' ') {
        while (IsScanSpace(*p)) ++p;
      } else if (f.before) {
        if (*p != f.before) break;
        ++p;
      }
      if (!ScanInt(p, f.width, *f.value)) break;
    }
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

bool NextLegacyLine(const std::string& bytes, size_t& position, CString& line) {
  while (position < bytes.size()) {
    const size_t start = position;
    size_t end = bytes.find('\n', start);
    if (end == std::string::npos) end = bytes.size();
    size_t len = end - start;
    if (len > 0 && bytes[start + len - 1] == '\r') --len;  // text mode reads CR LF as LF
    position = end + 1;
    if (len > 0) {
      line = XWiden(bytes.data() + start, static_cast<int>(len));
      return true;
    }
  }
  return false;
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
