// The icon cache file: what is written is read back, and a damaged file gives only the whole
// entries before the damage, never a wrong one.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "IconCache.h"

namespace {

ICON_CACHE_ENTRY Entry(const std::u16string& path, uint8_t shade, uint16_t side = 32) {
  ICON_CACHE_ENTRY e;
  e.path = path;
  e.writeTime = 0x01D9000012345678ull + shade;
  e.size = 4096u + shade;
  e.width = side;
  e.height = side;
  for (size_t i = 0; i < static_cast<size_t>(side) * side; ++i) {
    e.pixels.push_back(shade);
    e.pixels.push_back(static_cast<uint8_t>(i));
    e.pixels.push_back(0x80);
    e.pixels.push_back(0xFF);
  }
  return e;
}

std::vector<ICON_CACHE_ENTRY> Read(const std::string& bytes) {
  return ReadIconCache(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size());
}

void ExpectSame(const ICON_CACHE_ENTRY& a, const ICON_CACHE_ENTRY& b) {
  EXPECT_EQ(a.path, b.path);
  EXPECT_EQ(a.writeTime, b.writeTime);
  EXPECT_EQ(a.size, b.size);
  EXPECT_EQ(a.width, b.width);
  EXPECT_EQ(a.height, b.height);
  EXPECT_EQ(a.pixels, b.pixels);
}

TEST(IconCacheTest, EntriesComeBackAsWritten) {
  ICON_CACHE_ENTRY none;  // an item without an icon of its own
  none.path = u"C:\\Tools\\plain.exe";
  none.writeTime = 7;
  const std::vector<ICON_CACHE_ENTRY> written = {Entry(u"C:\\Tools\\editor.exe", 1),
                                                 Entry(u"C:\\Links\\\u4e2d\u6587.lnk", 2, 16), none};
  const std::vector<ICON_CACHE_ENTRY> read = Read(WriteIconCache(written));
  ASSERT_EQ(read.size(), written.size());
  for (size_t i = 0; i < read.size(); ++i) ExpectSame(read[i], written[i]);
  EXPECT_TRUE(Read(WriteIconCache({})).empty());
}

TEST(IconCacheTest, TheWriterLeavesOutWhatTheReaderWouldRefuse) {
  ICON_CACHE_ENTRY wrongSize = Entry(u"C:\\a.exe", 1);
  wrongSize.pixels.pop_back();
  ICON_CACHE_ENTRY tooLarge = Entry(u"C:\\b.exe", 2, kIconCacheMaxSide + 1);
  ICON_CACHE_ENTRY noPath = Entry(u"", 3);
  std::vector<ICON_CACHE_ENTRY> many(kIconCacheMaxEntries + 5, Entry(u"C:\\c.exe", 4, 1));
  many.insert(many.begin(), {wrongSize, tooLarge, noPath});
  const std::vector<ICON_CACHE_ENTRY> read = Read(WriteIconCache(many));
  ASSERT_EQ(read.size(), kIconCacheMaxEntries);
  EXPECT_EQ(read[0].path, u"C:\\c.exe");
}

TEST(IconCacheTest, DamagedFilesGiveTheWholeEntriesBeforeTheDamage) {
  const std::vector<ICON_CACHE_ENTRY> written = {Entry(u"C:\\one.exe", 1), Entry(u"C:\\two.exe", 2),
                                                 Entry(u"C:\\three.exe", 3)};
  const std::string bytes = WriteIconCache(written);
  // Cut anywhere: never more than the entries that fit whole, each one intact.
  for (size_t cut = 0; cut < bytes.size(); cut += 97) {
    const std::vector<ICON_CACHE_ENTRY> read = Read(bytes.substr(0, cut));
    ASSERT_LT(read.size(), written.size()) << cut;
    for (size_t i = 0; i < read.size(); ++i) ExpectSame(read[i], written[i]);
  }
  // One byte changed inside the second entry's pixels: its check sum fails, the first stays.
  std::string flipped = bytes;
  flipped[bytes.size() / 2] ^= 0x20;
  const std::vector<ICON_CACHE_ENTRY> read = Read(flipped);
  ASSERT_EQ(read.size(), 1u);
  ExpectSame(read[0], written[0]);
  // Another kind of file, another version, a count larger than what follows, huge sizes.
  EXPECT_TRUE(Read("PNG\r\n\x1a\n and more bytes").empty());
  std::string otherVersion = bytes;
  otherVersion[4] = 2;
  EXPECT_TRUE(Read(otherVersion).empty());
  std::string moreCounted = bytes;
  moreCounted[8] = 9;
  EXPECT_EQ(Read(moreCounted).size(), 3u);
  std::string hugePath = bytes;
  hugePath[12] = '\xFF';
  hugePath[13] = '\xFF';
  EXPECT_TRUE(Read(hugePath).empty());
  EXPECT_TRUE(ReadIconCache(nullptr, 100).empty());
}

}  // namespace
