// The list's own icons for programs, shortcuts and icon files, with a real list control, the
// real icon thread and Wine's shell: a program's icon replaces the icon of its type, the next
// run shows it from the cache file without the program being there, and nothing on a network,
// removable or optical drive is ever read for an icon (the drive types come from the seam).
#include <gtest/gtest.h>

#include <shlobj.h>

#include <algorithm>
#include <mutex>
#include <set>
#include <string>
#include <vector>

#include "IconPixels.h"
#include "ProgramSeam.h"
#include "RowIcons.h"
#include "ShellHandles.h"
#include "ShellItem.h"
#include "TestUtil.h"
#include "XGdi.h"
#include "XList.h"

namespace {

std::mutex g_readsLock;
std::vector<std::wstring> g_reads;

// Observes every read for an icon (from the icon thread) and lets it go ahead.
bool RecordRead(const XPROGRAM_CALL& call) {
  if (lstrcmpW(call.api, L"ReadItemIcon") != 0) return false;
  std::lock_guard<std::mutex> hold(g_readsLock);
  g_reads.push_back(call.file);
  return false;
}

std::vector<std::wstring> Reads() {
  std::lock_guard<std::mutex> hold(g_readsLock);
  return g_reads;
}

// C: is the local disk; Z: (where the test programs are) a network drive; R: removable and
// D: optical.
UINT SeamDriveType(const wchar_t* root) {
  switch (root[0]) {
    case L'C': case L'c': return DRIVE_FIXED;
    case L'Z': case L'z': return DRIVE_REMOTE;
    case L'R': case L'r': return DRIVE_REMOVABLE;
    case L'D': case L'd': return DRIVE_CDROM;
    default: return DRIVE_NO_ROOT_DIR;
  }
}

// 0xRRGGBB at the middle and at a corner of a row's image, drawn on white.
struct ImageLook {
  DWORD middle = 0, corner = 0;
};
ImageLook LookOf(HIMAGELIST images, int index) {
  ImageLook look;
  DWORD* bits = nullptr;
  CXGdiObject<HBITMAP> bitmap(XCreateDib32(32, 32, &bits));
  CXBitmapDC dc(bitmap.Get());
  if (!dc || index < 0) return look;
  std::fill(bits, bits + 32 * 32, 0xFFFFFFu);
  ImageList_Draw(images, index, dc.Get(), 0, 0, ILD_TRANSPARENT);
  GdiFlush();
  look.middle = bits[16 * 32 + 16] & 0xFFFFFF;
  look.corner = bits[3 * 32 + 3] & 0xFFFFFF;
  return look;
}

// The test program's icon: red, a blue square in the middle.
bool IsRedIcon(const ImageLook& look) {
  const auto red = [](DWORD c) { return (c >> 16) > 0xC0 && ((c >> 8) & 0xFF) < 0x40 && (c & 0xFF) < 0x40; };
  const auto blue = [](DWORD c) { return (c >> 16) < 0x40 && ((c >> 8) & 0xFF) < 0x60 && (c & 0xFF) > 0xC0; };
  return red(look.corner) && blue(look.middle);
}

class RowIconsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    {
      std::lock_guard<std::mutex> hold(g_readsLock);
      g_reads.clear();
    }
    SetProgramCallSink(RecordRead);
    SetDriveTypeSource(SeamDriveType);
    images.Reset(ImageList_Create(32, 32, ILC_COLOR32, 10, 10));
    cache = files / L"icons.cache";
    program = files / L"red.exe";
    ASSERT_TRUE(CopyFileW((xtest::TestBinFolder() + L"\\redicon.exe").c_str(), program.c_str(), FALSE));
  }
  void TearDown() override {
    SetProgramCallSink(nullptr);
    SetDriveTypeSource(nullptr);
  }
  // A list as the program fills it: every row with the icon of its type.
  void Fill(CXList& list, const std::vector<std::wstring>& paths) {
    list.InsertColumn(300, L"path");
    list.SetImageList(images.Get());
    for (const std::wstring& p : paths) {
      const int row = list.InsertItem(p.c_str());
      typeIcons.emplace_back(GetFileExtensionIcon(p.c_str()));
      list.SetItem(row, 0, p.c_str(), typeIcons.back().Get());
    }
  }

  xtest::TempDir files;
  std::wstring cache, program;
  CXImageList images;
  std::vector<CXIcon> typeIcons;
};

TEST_F(RowIconsTest, AProgramsOwnIconReplacesItsTypeIconAndTheNextRunShowsItFromTheCache) {
  ASSERT_EQ(files.Path()[0], L'C');  // the local disk of the seam
  std::wstring text = files / L"notes.txt";
  {
    CXList list;
    Fill(list, {text, program, program});
    const int typeImage = list.GetItemImage(1, 0);
    EXPECT_FALSE(IsRedIcon(LookOf(images.Get(), typeImage)));
    CRowIcons icons;
    icons.SetCacheFile(cache);
    icons.Attach(&list);
    for (int row = 0; row < 3; ++row) icons.ShowRow(row, list.GetItemText(row, 0));
    ASSERT_TRUE(icons.Settle(20000));
    EXPECT_TRUE(IsRedIcon(LookOf(images.Get(), list.GetItemImage(1, 0))));
    // One image for the two rows of the same program; the text file keeps its type's icon.
    EXPECT_EQ(list.GetItemImage(2, 0), list.GetItemImage(1, 0));
    EXPECT_NE(list.GetItemImage(1, 0), typeImage);
    EXPECT_FALSE(IsRedIcon(LookOf(images.Get(), list.GetItemImage(0, 0))));
    EXPECT_EQ(list.GetItemText(1, 0), program);  // the row's text stays the path
    EXPECT_EQ(Reads(), std::vector<std::wstring>{program});  // once, and only what has an icon
    icons.Stop();
  }
  EXPECT_TRUE(xtest::FileExists(cache));

  // Next run, with the program gone: its icon comes from the cache alone, at once.
  ASSERT_TRUE(DeleteFileW(program.c_str()));
  CXList list;
  Fill(list, {program});
  CRowIcons icons;
  icons.SetCacheFile(cache);
  icons.Attach(&list);
  icons.ShowRow(0, list.GetItemText(0, 0));
  EXPECT_TRUE(IsRedIcon(LookOf(images.Get(), list.GetItemImage(0, 0))));
  ASSERT_TRUE(icons.Settle(20000));
  icons.Stop();
  // The check found it gone, so a third run no longer has it.
  CXList third;
  Fill(third, {program});
  CRowIcons again;
  again.SetCacheFile(cache);
  again.Attach(&third);
  again.ShowRow(0, third.GetItemText(0, 0));
  EXPECT_FALSE(IsRedIcon(LookOf(images.Get(), third.GetItemImage(0, 0))));
  again.Stop();
}

TEST_F(RowIconsTest, AProgramThatChangedAndHasNoIconAnyMoreGoesBackToTheIconOfItsType) {
  {
    CXList list;
    Fill(list, {program});
    CRowIcons icons;
    icons.SetCacheFile(cache);
    icons.Attach(&list);
    icons.ShowRow(0, program.c_str());
    ASSERT_TRUE(icons.Settle(20000));
    ASSERT_TRUE(IsRedIcon(LookOf(images.Get(), list.GetItemImage(0, 0))));
    icons.Stop();
  }
  // Replaced by a program without an icon (another size): the cached icon shows first, then
  // the row has the icon of its type again.
  ASSERT_TRUE(CopyFileW(xtest::RecordArgsExe().c_str(), program.c_str(), FALSE));
  CXList list;
  Fill(list, {program});
  const int typeImage = list.GetItemImage(0, 0);
  HICON typeIcon = typeIcons.back().Get();
  CRowIcons icons;
  icons.SetCacheFile(cache);
  icons.Attach(&list, [&](const CString&) { return typeIcon; });
  icons.ShowRow(0, program.c_str());
  EXPECT_TRUE(IsRedIcon(LookOf(images.Get(), list.GetItemImage(0, 0))));
  ASSERT_TRUE(icons.Settle(20000));
  EXPECT_EQ(list.GetItemImage(0, 0), typeImage);
  icons.Stop();
}

TEST_F(RowIconsTest, NothingOnANetworkRemovableOrOpticalDriveIsReadForItsIcon) {
  // Real files with real icons on the drive the seam calls a network drive, a shortcut on the
  // local disk that points there, and paths on shares and other drives.
  const std::wstring remoteProgram = xtest::TestBinFolder() + L"\\redicon.exe";
  ASSERT_EQ(remoteProgram[0], L'Z');
  const std::wstring link = files / L"Red.lnk";
  CreateShortcut(remoteProgram.c_str(), nullptr, link.c_str());
  ASSERT_TRUE(xtest::FileExists(link));
  const std::vector<std::wstring> paths = {remoteProgram, L"\\\\server\\share\\tool.exe", L"R:\\setup.exe",
                                           L"D:\\autorun.ico", L"\\\\?\\UNC\\server\\share\\x.lnk", link, program};
  CXList list;
  Fill(list, paths);
  std::vector<int> before;
  for (int row = 0; row < list.GetRowCount(); ++row) before.push_back(list.GetItemImage(row, 0));
  CRowIcons icons;
  icons.SetCacheFile(cache);
  icons.Attach(&list);
  for (int row = 0; row < list.GetRowCount(); ++row) icons.ShowRow(row, list.GetItemText(row, 0));
  ASSERT_TRUE(icons.Settle(20000));
  icons.Stop();

  // The shortcut itself is local and read; its target on the network drive is not.
  std::vector<std::wstring> reads = Reads();
  std::sort(reads.begin(), reads.end());
  std::vector<std::wstring> expected = {link, program};
  std::sort(expected.begin(), expected.end());
  EXPECT_EQ(reads, expected);
  for (int row = 0; row + 1 < list.GetRowCount(); ++row) EXPECT_EQ(list.GetItemImage(row, 0), before[row]) << row;
  EXPECT_TRUE(IsRedIcon(LookOf(images.Get(), list.GetItemImage(6, 0))));
}

// Type icons outlive the run in the cache, each as the shell drew it, and a type never seen
// has none; a program's own entry is not taken for a type's.
TEST_F(RowIconsTest, TypeIconsComeBackFromTheCacheNextRun) {
  CXIcon text(GetFileExtensionIcon(L"x.txt"));
  ASSERT_TRUE(text);
  std::vector<uint8_t> expected;
  ASSERT_TRUE(IconToPixels(text.Get(), expected));
  CXList list;
  {
    CRowIcons icons;
    icons.SetCacheFile(cache);
    icons.Attach(&list);
    EXPECT_EQ(icons.CachedTypeIcon(L".txt"), nullptr);
    icons.RememberTypeIcon(L".txt", text.Get());
    icons.Stop();
  }
  CRowIcons next;
  next.SetCacheFile(cache);
  next.Attach(&list);
  HICON cached = next.CachedTypeIcon(L".txt");
  ASSERT_NE(cached, nullptr);
  std::vector<uint8_t> pixels;
  ASSERT_TRUE(IconToPixels(cached, pixels));
  EXPECT_EQ(pixels, expected);
  EXPECT_EQ(next.CachedTypeIcon(L".pdf"), nullptr);
  EXPECT_EQ(next.CachedTypeIcon(program), nullptr);
  EXPECT_EQ(Reads(), std::vector<std::wstring>{});  // nothing was read for it
  next.Stop();
}

}  // namespace
