// The key table read from real HotKey.xml files through the framework's XML reader.
#include <gtest/gtest.h>

#include <string>

#include "HotKeyFile.h"
#include "TestUtil.h"

namespace {

// Loads a HotKey.xml with the given UTF-8 text from a fresh folder.
struct Table {
  xtest::TempDir dir;
  CHotKeyFileParser parser;
  int finished = 0;
  explicit Table(const std::string& xml) {
    xtest::WriteBytes(dir / L"HotKey.xml", xml);
    finished = parser.LoadFromFolder(dir.Path());
  }
};

TEST(HotKeyFile, FirstEntryOfAKeyWinsAndKeysCompareExactly) {
  Table t(
      "<?xml version=\"1.0\"?>\n<keys>\n"
      "  <HK_ITEM key=\"N\" value=\"C:\\Notes\"/>\n"
      "  <HK_ITEM key=\"N\" value=\"C:\\Other\"/>\n"
      "  <HK_ITEM key=\"n\" value=\"C:\\lower\"/>\n"
      "  <group><hk_item KEY=\"Q\" Value=\"C:\\nested\" value=\"C:\\later\"/></group>\n"
      "  <HK_ITEMS key=\"S\" value=\"C:\\not an item\"/>\n"
      "  <HK_ITEM key=\"Tab\" value=\"C:\\first letter\"/>\n"
      "  <HK_ITEM/>\n"
      "</keys>\n");
  EXPECT_EQ(t.finished, 1);
  EXPECT_EQ(t.parser.FindHotKey(L'N'), CString(L"C:\\Notes"));
  EXPECT_EQ(t.parser.FindHotKey(L'n'), CString(L"C:\\lower"));  // only a lower-case code finds it
  EXPECT_EQ(t.parser.FindHotKey(L'Q'), CString(L"C:\\later"));  // any nesting, any letter case
  EXPECT_EQ(t.parser.FindHotKey(L'S'), CString());
  EXPECT_EQ(t.parser.FindHotKey(L'T'), CString(L"C:\\first letter"));
  EXPECT_EQ(t.parser.FindHotKey(L'X'), CString());
  EXPECT_EQ(t.parser.Entries().size(), 5u);  // an item without attributes adds nothing
}

TEST(HotKeyFile, EntryWithoutValueHidesLaterOnes) {
  Table t("<k><HK_ITEM key=\"M\"/><HK_ITEM key=\"M\" value=\"C:\\Music\"/><HK_ITEM value=\"C:\\nokey\"/></k>");
  EXPECT_EQ(t.parser.FindHotKey(L'M'), CString());
  ASSERT_EQ(t.parser.Entries().size(), 3u);
  EXPECT_EQ(t.parser.Entries()[2].key, 0);
}

TEST(HotKeyFile, ValuesAreUnicodeAndCutTo2099Characters) {
  std::string longValue(3000, 'a');
  Table t("<k><HK_ITEM key=\"U\" value=\"C:\\\xE6\x95\xB0\xE6\x8D\xAE\\\xC3\x84\"/><HK_ITEM key=\"L\" value=\"" +
          longValue + "\"/></k>");
  EXPECT_EQ(t.parser.FindHotKey(L'U'), CString(L"C:\\\u6570\u636E\\\u00C4"));
  EXPECT_EQ(t.parser.FindHotKey(L'L'), CString(std::wstring(2099, L'a')));
}

TEST(HotKeyFile, MalformedFileKeepsTheEntriesBeforeTheError) {
  Table t("<k><HK_ITEM key=\"A\" value=\"C:\\a\"/><HK_ITEM key=\"B\" value=\"C:\\b\"/><oops <HK_ITEM key=\"C\" value=\"C:\\c\"/></k>");
  EXPECT_EQ(t.parser.FindHotKey(L'A'), CString(L"C:\\a"));
  EXPECT_EQ(t.parser.FindHotKey(L'B'), CString(L"C:\\b"));
  EXPECT_EQ(t.parser.FindHotKey(L'C'), CString());
}

// A table far beyond any real one (each entry holds room for a long path) stays small, and
// every letter the window can report still finds the first entry the file has for it.
TEST(HotKeyFile, AHugeTableStaysSmallAndEveryLetterFindsItsFirstEntry) {
  std::string xml = "<k>";
  for (int i = 0; i < 100000; ++i) xml += "<HK_ITEM key=\"Q\" value=\"C:\\q" + std::to_string(i) + "\"/>";
  xml += "<HK_ITEM key=\"Z\" value=\"C:\\late\"/><HK_ITEM key=\"Z\" value=\"C:\\later\"/></k>";
  Table t(xml);
  EXPECT_EQ(t.parser.FindHotKey(L'Q'), CString(L"C:\\q0"));
  EXPECT_EQ(t.parser.FindHotKey(L'Z'), CString(L"C:\\late"));
  EXPECT_LE(t.parser.Entries().size(), CHotKeyFileParser::kKeptEntries + 26);
}

// Deep nesting, keys of several letters, items without attributes and invalid UTF-8 (where
// the parser stops) keep what was read before.
TEST(HotKeyFile, HostileTablesKeepWhatCanBeRead) {
  std::string deep;
  for (int i = 0; i < 100000; ++i) deep += "<d>";
  deep += "<HK_ITEM key=\"D\" value=\"C:\\deep\"/>";
  for (int i = 0; i < 100000; ++i) deep += "</d>";
  Table t("<k><HK_ITEM/><HK_ITEM key=\"Rest\" value=\"C:\\r\"/>" + deep +
          "<HK_ITEM key=\"B\" value=\"C:\\\xff\xfe\"/><HK_ITEM key=\"C\" value=\"C:\\c\"/></k>");
  EXPECT_EQ(t.parser.FindHotKey(L'R'), CString(L"C:\\r"));
  EXPECT_EQ(t.parser.FindHotKey(L'D'), CString(L"C:\\deep"));
  EXPECT_EQ(t.parser.FindHotKey(L'C'), CString());
}

TEST(HotKeyFile, NoFileNoTable) {
  xtest::TempDir dir;
  CHotKeyFileParser parser;
  EXPECT_EQ(parser.LoadFromFolder(dir.Path()), 0);
  EXPECT_TRUE(parser.Entries().empty());
  EXPECT_EQ(parser.FindHotKey(L'A'), CString());
}

}  // namespace
