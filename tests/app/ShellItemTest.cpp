// Shell item utilities on Wine's shell: real .lnk files made with IShellLinkW, type icons,
// and OpenItem's starts observed through recordargs.exe copies (which write their command
// line to PINVALE_RECORD). Folder opens run the test prefix's silent no-op.
#include <gtest/gtest.h>

#include <shlobj.h>

#include <string>
#include <vector>

#include "ProgramSeam.h"
#include "ShellItem.h"
#include "TestUtil.h"
#include "XWin.h"

namespace {

std::vector<std::wstring> g_starts;
// Observes only: the real start follows (and is seen through recordargs.exe).
bool ObserveStart(const XPROGRAM_CALL& call) {
  g_starts.push_back(std::wstring(call.api) + L" " + call.file);
  return false;
}

class ShellItem : public ::testing::Test {
 protected:
  void SetUp() override {
    CoInitialize(nullptr);
    g_starts.clear();
    SetProgramCallSink(ObserveStart);
    SetEnvironmentVariableW(L"PINVALE_RECORD", record.c_str());
  }
  void TearDown() override {
    SetProgramCallSink(nullptr);
    SetEnvironmentVariableW(L"PINVALE_RECORD", nullptr);
    CoUninitialize();
  }
  // A copy of recordargs.exe under a name of our choosing.
  std::wstring Recorder(const std::wstring& path) {
    EXPECT_TRUE(CopyFileW(xtest::RecordArgsExe().c_str(), path.c_str(), FALSE));
    return path;
  }
  std::wstring WaitForRecord() {
    xtest::WaitFor([&] { return !xtest::ReadRecordedLines(record).empty(); }, 15000);
    return xtest::ReadRecordedLines(record);
  }

  xtest::TempDir dir;
  std::wstring record = dir / L"record.log";
};

CXComPtr<IShellLinkW> LoadLink(const std::wstring& file) {
  CXComPtr<IShellLinkW> link;
  CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW, link.OutVoid());
  CXComPtr<IPersistFile> persist;
  if (!link || FAILED(link->QueryInterface(IID_IPersistFile, persist.OutVoid())) ||
      FAILED(persist->Load(file.c_str(), STGM_READ)))
    link.Reset();
  return link;
}

TEST_F(ShellItem, SpecialFolderPaths) {
  CString recent;
  ASSERT_EQ(GetSpecialFolderPath(CSIDL_RECENT, recent), 1);
  EXPECT_TRUE(PathIsExistingFolder(recent));
  CString startup;
  EXPECT_EQ(GetSpecialFolderPath(CSIDL_STARTUP, startup), 1);
  EXPECT_FALSE(startup.IsEmpty());
  CString bad(L"stale");
  EXPECT_EQ(GetSpecialFolderPath(0x7777, bad), 0);
  EXPECT_TRUE(bad.IsEmpty());
}

TEST(PathRules, TrailingBackslashesGoButADriveRootKeepsItsOwn) {
  EXPECT_EQ(PathWithoutTrailingBackslash(L"C:\\Users\\Ann\\"), CString(L"C:\\Users\\Ann"));
  EXPECT_EQ(PathWithoutTrailingBackslash(L"C:\\Users\\Ann\\\\"), CString(L"C:\\Users\\Ann"));
  EXPECT_EQ(PathWithoutTrailingBackslash(L"C:\\Users"), CString(L"C:\\Users"));
  EXPECT_EQ(PathWithoutTrailingBackslash(L"C:\\"), CString(L"C:\\"));
  EXPECT_EQ(PathWithoutTrailingBackslash(L"D:\\\\"), CString(L"D:\\"));
  EXPECT_EQ(PathWithoutTrailingBackslash(L"\\\\server\\share\\"), CString(L"\\\\server\\share"));
  EXPECT_EQ(PathWithoutTrailingBackslash(L"\\"), CString(L"\\"));
  EXPECT_EQ(PathWithoutTrailingBackslash(L""), CString(L""));
}

TEST_F(ShellItem, ShortcutRoundTripCarriesTargetFolderAndDescription) {
  std::wstring target = Recorder(dir / L"tool.exe");
  std::wstring lnk = dir / L"tool.lnk";
  EXPECT_EQ(CreateShortcut(target.c_str(), L"my tool", lnk.c_str()), 0);
  CString resolved(L"stale");
  ASSERT_EQ(ResolveShortcut(lnk.c_str(), resolved), 1);
  EXPECT_EQ(resolved.CompareNoCase(target.c_str()), 0);

  CXComPtr<IShellLinkW> link = LoadLink(lnk);
  ASSERT_TRUE(link);
  wchar_t text[MAX_PATH] = {0};
  link->GetWorkingDirectory(text, MAX_PATH);
  EXPECT_EQ(lstrcmpiW(text, dir.Path().c_str()), 0);
  link->GetDescription(text, MAX_PATH);
  EXPECT_STREQ(text, L"my tool");

  // Without a description, and for a target in a drive's root.
  std::wstring bare = dir / L"bare.lnk";
  CreateShortcut(L"C:\\windows", nullptr, bare.c_str());
  link = LoadLink(bare);
  ASSERT_TRUE(link);
  link->GetWorkingDirectory(text, MAX_PATH);
  EXPECT_EQ(lstrcmpiW(text, L"C:\\"), 0);
}

TEST_F(ShellItem, UnreadableShortcutsFailWithTheOutputEmptied) {
  std::wstring garbage = dir / L"garbage.lnk";
  ASSERT_TRUE(xtest::WriteBytes(garbage, "not a shortcut at all"));
  CString target(L"stale");
  EXPECT_EQ(ResolveShortcut(garbage.c_str(), target), 0);
  EXPECT_TRUE(target.IsEmpty());
  target = L"stale";
  EXPECT_EQ(ResolveShortcut((dir / L"missing.lnk").c_str(), target), 0);
  EXPECT_TRUE(target.IsEmpty());
}

// A shortcut to "My Computer": loadable, but without a file-system target.
std::wstring WriteShortcutWithoutPath(const std::wstring& file) {
  CXComPtr<IShellLinkW> link;
  CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW, link.OutVoid());
  LPITEMIDLIST drives = nullptr;
  if (!link || FAILED(SHGetSpecialFolderLocation(nullptr, CSIDL_DRIVES, &drives))) return L"";
  link->SetIDList(drives);
  CoTaskMemFree(drives);
  CXComPtr<IPersistFile> persist;
  if (FAILED(link->QueryInterface(IID_IPersistFile, persist.OutVoid())) || FAILED(persist->Save(file.c_str(), TRUE)))
    return L"";
  return file;
}

TEST_F(ShellItem, ShortcutWithoutFileSystemTargetResolvesEmptyAndOpensNothing) {
  std::wstring lnk = WriteShortcutWithoutPath(dir / L"computer.lnk");
  ASSERT_FALSE(lnk.empty());
  CString target(L"stale");
  EXPECT_EQ(ResolveShortcut(lnk.c_str(), target), 1);
  EXPECT_TRUE(target.IsEmpty());
  EXPECT_EQ(OpenItem(lnk.c_str()), 0);
  EXPECT_TRUE(g_starts.empty());
}

// The pixels of an icon's colour bitmap, to tell icons apart.
std::string IconBits(HICON icon) {
  ICONINFO info = {};
  if (!GetIconInfo(icon, &info)) return std::string();
  BITMAP bm = {};
  GetObjectW(info.hbmColor ? info.hbmColor : info.hbmMask, sizeof bm, &bm);
  BITMAPINFO bi = {};
  bi.bmiHeader.biSize = sizeof bi.bmiHeader;
  bi.bmiHeader.biWidth = bm.bmWidth;
  bi.bmiHeader.biHeight = bm.bmHeight;
  bi.bmiHeader.biPlanes = 1;
  bi.bmiHeader.biBitCount = 32;
  std::string bits(static_cast<size_t>(bm.bmWidth) * bm.bmHeight * 4, '\0');
  CXWindowDC dc(nullptr);
  GetDIBits(dc.Get(), info.hbmColor ? info.hbmColor : info.hbmMask, 0, bm.bmHeight, &bits[0], &bi, DIB_RGB_COLORS);
  if (info.hbmColor) DeleteObject(info.hbmColor);
  if (info.hbmMask) DeleteObject(info.hbmMask);
  return bits;
}

TEST_F(ShellItem, TypeIconsComeFromTheTypeNotTheItem) {
  ASSERT_TRUE(CreateDirectoryW((dir / L"plain").c_str(), nullptr));
  ASSERT_TRUE(CreateDirectoryW((dir / L"looks like.exe").c_str(), nullptr));
  HICON plain = GetFileTypeIcon((dir / L"plain").c_str());
  HICON dotted = GetFileTypeIcon((dir / L"looks like.exe").c_str());
  HICON exe = GetFileTypeIcon((dir / L"missing.exe").c_str());   // no such file: still its type's icon
  HICON text = GetFileTypeIcon((dir / L"missing.txt").c_str());
  std::wstring longPath = dir.Path() + L"\\" + std::wstring(300, L'n') + L".txt";
  HICON longText = GetFileTypeIcon(longPath.c_str());
  for (HICON i : {plain, dotted, exe, text, longText}) EXPECT_NE(i, nullptr);
  if (plain && dotted && exe && text && longText) {
    EXPECT_EQ(IconBits(plain), IconBits(dotted));  // a folder is a folder, whatever its name
    EXPECT_NE(IconBits(plain), IconBits(exe));
    EXPECT_EQ(IconBits(text), IconBits(longText));
  }
  for (HICON i : {plain, dotted, exe, text, longText}) if (i) DestroyIcon(i);
}

UINT g_driveType = DRIVE_FIXED;
UINT SeamDriveType(const wchar_t*) { return g_driveType; }

// The type key asks the file system on local fixed drives only: a share or a removable drive
// would keep the window waiting, so there the name decides.
TEST_F(ShellItem, TypeKeysAskOnlyLocalFixedDrivesWhatAPathIs) {
  const std::wstring dotted = dir / L"looks like.exe";
  ASSERT_TRUE(CreateDirectoryW(dotted.c_str(), nullptr));
  SetDriveTypeSource(SeamDriveType);
  for (UINT type : {DRIVE_FIXED, DRIVE_RAMDISK}) {
    g_driveType = type;
    EXPECT_EQ(ExactTypeKey(dotted.c_str()), kFolderKey);
  }
  for (UINT type : {DRIVE_REMOTE, DRIVE_REMOVABLE, DRIVE_CDROM, DRIVE_NO_ROOT_DIR}) {
    g_driveType = type;
    EXPECT_EQ(ExactTypeKey(dotted.c_str()), L".exe");
  }
  g_driveType = DRIVE_FIXED;
  EXPECT_EQ(ExactTypeKey(L"\\\\server\\share\\Report.PDF"), L".pdf");
  EXPECT_EQ(ExactTypeKey(L"\\\\server\\share\\folder"), kFolderKey);
  SetDriveTypeSource(nullptr);
}

TEST_F(ShellItem, Is64BitSystemAgreesWithWow64) {
  BOOL wow64 = FALSE;
  IsWow64Process(GetCurrentProcess(), &wow64);
  EXPECT_EQ(Is64BitSystem(), wow64 ? 1 : 0);
  EXPECT_EQ(Is64BitSystem(), wow64 ? 1 : 0);  // cached answer
}

TEST_F(ShellItem, OpenItemOpensFoldersInTheFileManagerEvenWithAnExtension) {
  std::wstring folder = dir / L"archive.exe";
  ASSERT_TRUE(CreateDirectoryW(folder.c_str(), nullptr));
  EXPECT_EQ(OpenItem(folder.c_str()), 1);
  EXPECT_EQ(g_starts, std::vector<std::wstring>{L"ShellExecuteW " + folder});
  EXPECT_EQ(OpenItem((dir / L"nothing here").c_str()), 0);
  EXPECT_EQ(OpenItem(L""), 0);
  EXPECT_EQ(g_starts.size(), 1u);
}

TEST_F(ShellItem, OpenItemStartsProgramsAndShortcutTargets) {
  std::wstring program = Recorder(dir / L"direct.exe");
  EXPECT_EQ(OpenItem(program.c_str()), 1);
  EXPECT_NE(WaitForRecord().find(L"direct.exe"), std::wstring::npos);

  DeleteFileW(record.c_str());
  std::wstring target = Recorder(dir / L"linked.exe");
  std::wstring lnk = dir / L"Linked.LNK";  // the extension test ignores case
  CreateShortcut(target.c_str(), nullptr, lnk.c_str());
  g_starts.clear();
  EXPECT_EQ(OpenItem(lnk.c_str()), 1);
  EXPECT_NE(WaitForRecord().find(L"linked.exe"), std::wstring::npos);
  ASSERT_EQ(g_starts.size(), 1u);
  EXPECT_EQ(lstrcmpiW(g_starts[0].c_str(), (L"ShellExecuteExW " + target).c_str()), 0);

  // A shortcut whose target has gone starts nothing. The started copy may still be running
  // (its image is locked until it exits), so wait until the file can really be deleted.
  ASSERT_TRUE(xtest::WaitFor([&] { return DeleteFileW(target.c_str()) != 0; }, 15000));
  g_starts.clear();
  EXPECT_EQ(OpenItem(lnk.c_str()), 0);
  EXPECT_TRUE(g_starts.empty());
}

TEST_F(ShellItem, OpenItemHandsAnUnloadableShortcutToTheShellUnchanged) {
  std::wstring garbage = dir / L"broken.lnk";
  ASSERT_TRUE(xtest::WriteBytes(garbage, "not a shortcut at all"));
  EXPECT_EQ(OpenItem(garbage.c_str()), 1);
  EXPECT_EQ(g_starts, std::vector<std::wstring>{L"ShellExecuteW " + garbage});
}

TEST_F(ShellItem, OpenItemMapsThe32BitProgramFolderBack) {
  ASSERT_TRUE(CreateDirectoryW((dir / L"Apps").c_str(), nullptr));
  std::wstring real = Recorder(dir / L"Apps\\tool.exe");
  std::wstring lnk = dir / L"tool.lnk";
  CreateShortcut((dir / L"Apps (x86)\\tool.exe").c_str(), nullptr, lnk.c_str());
  CString target;
  ASSERT_EQ(ResolveShortcut(lnk.c_str(), target), 1);
  ASSERT_EQ(target.CompareNoCase((dir / L"Apps (x86)\\tool.exe").c_str()), 0);
  if (Is64BitSystem()) {
    EXPECT_EQ(OpenItem(lnk.c_str()), 1);
    EXPECT_NE(WaitForRecord().find(L"Apps\\tool.exe"), std::wstring::npos);
  } else {
    EXPECT_EQ(OpenItem(lnk.c_str()), 0);
  }
}

TEST_F(ShellItem, OpenItemOffersTheOpenWithChooserForAnUnregisteredType) {
  // %windir% points at a folder whose system32\rundll32.exe records its command line.
  std::wstring windir = dir / L"win";
  ASSERT_TRUE(CreateDirectoryW(windir.c_str(), nullptr));
  ASSERT_TRUE(CreateDirectoryW((windir + L"\\system32").c_str(), nullptr));
  Recorder(windir + L"\\system32\\rundll32.exe");
  wchar_t saved[MAX_PATH] = {0};
  GetEnvironmentVariableW(L"windir", saved, MAX_PATH);
  std::wstring item = dir / L"notes.pvnoassoc";
  ASSERT_TRUE(xtest::WriteBytes(item, "x"));

  std::wstring lnk = dir / L"notes.lnk";
  CreateShortcut(item.c_str(), nullptr, lnk.c_str());

  SetEnvironmentVariableW(L"windir", windir.c_str());
  int result = OpenItem(item.c_str());
  std::vector<std::wstring> itemStarts = g_starts;
  g_starts.clear();
  int viaShortcut = OpenItem(lnk.c_str());  // the chooser is offered for the shortcut itself
  SetEnvironmentVariableW(L"windir", saved);

  std::wstring rundll = windir + L"\\system32\\rundll32.exe";
  EXPECT_EQ(result, 1);
  EXPECT_EQ(itemStarts, (std::vector<std::wstring>{L"ShellExecuteExW " + item,
                                                   L"WinExec " + rundll + L" shell32, OpenAs_RunDLL " + item}));
  EXPECT_EQ(viaShortcut, 1);
  ASSERT_EQ(g_starts.size(), 2u);
  EXPECT_EQ(g_starts[1], L"WinExec " + rundll + L" shell32, OpenAs_RunDLL " + lnk);
  EXPECT_TRUE(xtest::WaitFor([&] {
    std::wstring lines = xtest::ReadRecordedLines(record);
    return lines.find(L"shell32, OpenAs_RunDLL " + item) != std::wstring::npos &&
           lines.find(L"shell32, OpenAs_RunDLL " + lnk) != std::wstring::npos;
  }, 15000)) << xtest::Narrow(xtest::ReadRecordedLines(record));
}

}  // namespace
