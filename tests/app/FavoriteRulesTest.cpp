// The store's text rules: colour and time columns, SQL quoting, legacy lines, recent order.
#include <gtest/gtest.h>

#include <cstdio>
#include <ctime>

#include "FavoriteRules.h"

namespace {

TEST(FavoriteRules, ColourIsSixLowerCaseHexDigitsElseWhite) {
  EXPECT_EQ(ParseFavoriteColor("00ff80"), 0x00FF80u);
  EXPECT_EQ(ParseFavoriteColor("1a2b3c"), 0x1A2B3Cu);
  EXPECT_EQ(ParseFavoriteColor("000000"), 0u);
  EXPECT_EQ(ParseFavoriteColor("FFFFFF"), 0xFFFFFFu);
  EXPECT_EQ(ParseFavoriteColor("00FF80"), 0xFFFFFFu);  // upper case is not accepted
  EXPECT_EQ(ParseFavoriteColor("fff"), 0xFFFFFFu);
  EXPECT_EQ(ParseFavoriteColor("00ff800"), 0xFFFFFFu);
  EXPECT_EQ(ParseFavoriteColor("00ff8g"), 0xFFFFFFu);
  EXPECT_EQ(ParseFavoriteColor(""), 0xFFFFFFu);
  EXPECT_EQ(ParseFavoriteColor(nullptr), 0xFFFFFFu);
}

long long LocalToUnix(WORD y, WORD mo, WORD d, WORD h, WORD mi, WORD s) {
  SYSTEMTIME local = {y, mo, 0, d, h, mi, s, 0}, utc;
  TzSpecificLocalTimeToSystemTime(nullptr, &local, &utc);
  FILETIME ft;
  SystemTimeToFileTime(&utc, &ft);
  ULARGE_INTEGER v;
  v.LowPart = ft.dwLowDateTime;
  v.HighPart = ft.dwHighDateTime;
  return static_cast<long long>((v.QuadPart - 116444736000000000ULL) / 10000000ULL);
}

TEST(FavoriteRules, TimeTextIsReadAsLocalTime) {
  EXPECT_EQ(ParseFavoriteTime("2024-03-05 06:07:08"), LocalToUnix(2024, 3, 5, 6, 7, 8));
  EXPECT_EQ(ParseFavoriteTime("2011-12-31 23:59:59"), LocalToUnix(2011, 12, 31, 23, 59, 59));
  // Unread fields stay 0: a date alone is its midnight.
  EXPECT_EQ(ParseFavoriteTime("2024-07-01"), LocalToUnix(2024, 7, 1, 0, 0, 0));
  // Beyond 2038: the value is 64-bit.
  EXPECT_EQ(ParseFavoriteTime("2090-01-02 03:04:05"), LocalToUnix(2090, 1, 2, 3, 4, 5));
}

// The time rule reads its text the way sscanf's "%4d-%2d-%2d %2d:%2d:%2d" does, including
// texts that stop early or bend the format.
TEST(FavoriteRules, TimeTextIsReadAsTheLibrarysScanWouldReadIt) {
  auto byScan = [](const char* text) {
    struct tm t = {};
    sscanf(text, "%4d-%2d-%2d %2d:%2d:%2d", &t.tm_year, &t.tm_mon, &t.tm_mday, &t.tm_hour, &t.tm_min, &t.tm_sec);
    t.tm_year -= 1900;
    t.tm_mon -= 1;
    t.tm_isdst = -1;
    return static_cast<long long>(_mktime64(&t));
  };
  for (const char* text : {"2024-03-05 06:07:08", " 2024-3-5  6:7:8", "2024-03-05T06:07:08", "20240305",
                           "2024-03-05 06:07:089", "+2024-+3-05 06:-7:08", "2024-03-05\t\n06:07:08", "2024--03-05",
                           "12345-06-07 08:09:10", "2024-03-05 06", "2024-03-05 06:07"})
    EXPECT_EQ(ParseFavoriteTime(text), byScan(text)) << text;
}

TEST(FavoriteRules, SqlQuotesAreDoubled) {
  EXPECT_EQ(EscapeSqlQuotes(L"C:\\it's"), L"C:\\it''s");
  EXPECT_EQ(EscapeSqlQuotes(L"''"), L"''''");
  EXPECT_EQ(EscapeSqlQuotes(L"plain"), L"plain");
}

TEST(FavoriteRules, LegacyListLines) {
  std::vector<CString> lines = SplitLegacyList("C:\\one\r\n\r\nC:\\two\n\nC:\\three");
  ASSERT_EQ(lines.size(), 3u);
  EXPECT_EQ(lines[0], L"C:\\one");
  EXPECT_EQ(lines[1], L"C:\\two");
  EXPECT_EQ(lines[2], L"C:\\three");
  std::string longLine(400, 'a');
  lines = SplitLegacyList(longLine + "\n");
  ASSERT_EQ(lines.size(), 1u);  // a long line stays one path
  EXPECT_EQ(lines[0].GetLength(), 400);
  EXPECT_TRUE(SplitLegacyList("").empty());
  EXPECT_TRUE(SplitLegacyList("\r\n\n").empty());
}

TEST(FavoriteRules, RecentFoldersNewestFirstAtMostLimit) {
  std::vector<RECENT_FOLDER> folders = {
      {L"a", 5}, {L"b", 0x100000000ULL}, {L"c", 7}, {L"d", 7}, {L"e", 1}, {L"f", 0xFFFFFFFFFFFFFFFFULL}, {L"g", 2}};
  std::vector<CString> newest = NewestRecentFolders(folders, 5);
  ASSERT_EQ(newest.size(), 5u);
  EXPECT_EQ(newest[0], L"f");  // compared unsigned
  EXPECT_EQ(newest[1], L"b");
  EXPECT_EQ(newest[2], L"c");  // equal times keep listing order
  EXPECT_EQ(newest[3], L"d");
  EXPECT_EQ(newest[4], L"a");
  EXPECT_EQ(NewestRecentFolders({{L"x", 1}}, 5).size(), 1u);
}

}  // namespace
