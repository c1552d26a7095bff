// Plain rules of the favourites store: the colour and time readings of the table's text
// columns, SQL string literals, the legacy list's lines and the recent-folder choice.
// No database or shell access here, so each rule can be tested on its own.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "XString.h"

// Six lower-case hex digits RRGGBB; anything else (missing, other length, upper case,
// other characters) reads as 0xFFFFFF.
unsigned ParseFavoriteColor(const char* text);

// "YYYY-MM-DD HH:MM:SS" read as local time, in seconds since 1970-01-01 00:00 UTC. Fields
// that cannot be read stay 0, as the C library's conversion then decides.
long long ParseFavoriteTime(const char* text);

// The text with every single quote doubled, for use inside '...' in SQL.
std::wstring EscapeSqlQuotes(const std::wstring& text);

// The legacy list's paths: ANSI text, one path per line of any length; CR LF or LF line
// ends; empty lines skipped.
std::vector<CString> SplitLegacyList(const std::string& bytes);
// The same one line at a time: the next path from position on (which moves past it); false
// when no path is left.
bool NextLegacyLine(const std::string& bytes, size_t& position, CString& line);

// A recently used folder and the last-access time of its shortcut.
struct RECENT_FOLDER {
  CString path;
  unsigned long long accessTime;
};

// The newest `limit` folders, newest first (equal times keep their listing order).
std::vector<CString> NewestRecentFolders(std::vector<RECENT_FOLDER> folders, size_t limit);
