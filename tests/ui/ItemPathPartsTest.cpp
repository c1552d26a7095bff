// The name and folder a two-line list row shows for its path: what users see for files,
// shortcuts, folders, roots and shares.
#include <gtest/gtest.h>

#include <string>

#include "ItemPathParts.h"

namespace {

std::pair<std::u16string, std::u16string> Split(const char16_t* path) {
  ITEM_PATH_PARTS parts = SplitItemPath(path);
  return {parts.name, parts.folder};
}

using Parts = std::pair<std::u16string, std::u16string>;

TEST(ItemPathPartsTest, FilesShortcutsAndFoldersShowTheirNameAndTheirFolder) {
  EXPECT_EQ(Split(u"C:\\Tools\\notes.txt"), Parts(u"notes.txt", u"C:\\Tools"));
  EXPECT_EQ(Split(u"C:\\notes.txt"), Parts(u"notes.txt", u"C:\\"));
  EXPECT_EQ(Split(u"C:\\Links\\Editor.lnk"), Parts(u"Editor", u"C:\\Links"));
  EXPECT_EQ(Split(u"C:\\Links\\Editor.LnK"), Parts(u"Editor", u"C:\\Links"));
  // Only the shortcut's own extension goes; a name that is nothing but it stays.
  EXPECT_EQ(Split(u"C:\\Links\\report.lnk.txt"), Parts(u"report.lnk.txt", u"C:\\Links"));
  EXPECT_EQ(Split(u"C:\\Links\\.lnk"), Parts(u".lnk", u"C:\\Links"));
  EXPECT_EQ(Split(u"C:\\Projects\\Pinvale"), Parts(u"Pinvale", u"C:\\Projects"));
  EXPECT_EQ(Split(u"C:\\Projects\\Pinvale\\"), Parts(u"Pinvale", u"C:\\Projects"));
  EXPECT_EQ(Split(u"C:\\Projects\\\\Pinvale\\\\"), Parts(u"Pinvale", u"C:\\Projects"));
  EXPECT_EQ(Split(u"C:/Projects/notes.txt"), Parts(u"notes.txt", u"C:/Projects"));
  EXPECT_EQ(Split(u"notes.txt"), Parts(u"notes.txt", u""));
}

TEST(ItemPathPartsTest, RootsAndSharesAreTheirOwnName) {
  EXPECT_EQ(Split(u"C:\\"), Parts(u"C:\\", u""));
  EXPECT_EQ(Split(u"d:"), Parts(u"d:", u""));
  EXPECT_EQ(Split(u"\\\\server\\share"), Parts(u"\\\\server\\share", u""));
  EXPECT_EQ(Split(u"\\\\server\\share\\"), Parts(u"\\\\server\\share", u""));
  EXPECT_EQ(Split(u"\\\\server"), Parts(u"\\\\server", u""));
  EXPECT_EQ(Split(u"\\\\server\\share\\x"), Parts(u"x", u"\\\\server\\share"));
  EXPECT_EQ(Split(u"\\\\server\\share\\Docs\\plan.doc"), Parts(u"plan.doc", u"\\\\server\\share\\Docs"));
  EXPECT_EQ(Split(u"\\\\?\\C:\\Tools\\a.exe"), Parts(u"a.exe", u"\\\\?\\C:\\Tools"));
  EXPECT_EQ(Split(u"\\\\?\\UNC\\server\\share\\x"), Parts(u"x", u"\\\\?\\UNC\\server\\share"));
  EXPECT_EQ(Split(u""), Parts(u"", u""));
  EXPECT_EQ(Split(u"\\"), Parts(u"\\", u""));
}

}  // namespace
