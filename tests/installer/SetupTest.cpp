// The setup program and its uninstaller, run silently under Wine: what an installation holds
// and writes, what an upgrade over a running program keeps, and that an uninstall leaves
// nothing of setup's (registry and folders compared with their state before the install).
#include <gtest/gtest.h>

#include <algorithm>

#include "SetupUtil.h"

namespace {

using namespace setup;

std::wstring Lower(std::wstring s) {
  std::transform(s.begin(), s.end(), s.begin(), towlower);
  return s;
}

std::wstring Entry(const wchar_t* name) { return ReadString(HKEY_LOCAL_MACHINE, kUninstallKey, name, KEY_WOW64_32KEY); }

std::wstring Extension64() { return ReadString(HKEY_LOCAL_MACHINE, kExtensionKey, nullptr, KEY_WOW64_64KEY); }
std::wstring Extension32() { return ReadString(HKEY_LOCAL_MACHINE, kExtensionKey, nullptr, KEY_WOW64_32KEY); }

DWORD Option(const wchar_t* name) {
  DWORD value = 0xDEAD;
  ReadDword(HKEY_CURRENT_USER, kUserKey, name, &value);
  return value;
}

size_t DistBytes() {
  size_t total = 0;
  for (const std::wstring& name : FilesBelow(e2e::DistFolder()))
    total += xtest::ReadBytes(e2e::DistFolder() + L"\\" + name).size();
  return total;
}

// The differences that an uninstall which keeps the user's data may leave: the favourites
// folder and the program's own option values, nothing of setup's.
void ExpectOnlyUserData(const std::vector<std::wstring>& registry, const std::vector<std::wstring>& files,
                        const std::wstring& appData) {
  for (const std::wstring& line : registry) {
    std::wstring l = Lower(line);
    EXPECT_TRUE(l.rfind(L"+ hkcu\\software\\tarquon\\", 0) == 0) << xtest::Narrow(line);
    EXPECT_EQ(l.find(L"installpath"), std::wstring::npos) << xtest::Narrow(line);
    EXPECT_EQ(l.find(L"rightmenu"), std::wstring::npos) << xtest::Narrow(line);
  }
  for (const std::wstring& line : files)
    EXPECT_TRUE(Lower(line).rfind(Lower(L"+ " + appData + L"\\Tarquon"), 0) == 0) << xtest::Narrow(line);
}

TEST_F(SetupTest, EveryComponentInstallsAndUninstallKeepsOnlyTheUsersData) {
  const Snapshot registryBefore = RegistrySnapshot();
  const Snapshot filesBefore = FileSnapshot(WatchedFolders());
  ASSERT_EQ(Install(L"/CONTEXTMENU=1 /AUTOSTART=1"), 0u);

  std::vector<std::wstring> wrong;
  EXPECT_TRUE(SameFilesAsDist(Folder(), &wrong)) << Narrow(wrong);
  std::vector<std::wstring> expected = FilesBelow(e2e::DistFolder());
  expected.push_back(L"uninstall.exe");
  std::sort(expected.begin(), expected.end());
  EXPECT_EQ(FilesBelow(Folder()), expected);

  // What the system's list of installed programs shows, in the 32-bit view of a 32-bit program.
  EXPECT_EQ(Entry(L"DisplayName"), L"Pinvale");
  EXPECT_EQ(Entry(L"DisplayVersion"), Version());
  EXPECT_EQ(Entry(L"Publisher"), L"Tarquon");
  EXPECT_EQ(Entry(L"DisplayIcon"), Folder() + L"\\Pinvale.exe,0");
  EXPECT_EQ(Entry(L"InstallLocation"), Folder());
  EXPECT_EQ(Entry(L"UninstallString"), L"\"" + Folder() + L"\\uninstall.exe\"");
  EXPECT_EQ(Entry(L"QuietUninstallString"), L"\"" + Folder() + L"\\uninstall.exe\" /S");
  DWORD size = 0;
  ASSERT_TRUE(ReadDword(HKEY_LOCAL_MACHINE, kUninstallKey, L"EstimatedSize", &size, KEY_WOW64_32KEY));
  EXPECT_GE(size, DistBytes() / 1024);
  EXPECT_LT(size, DistBytes() / 1024 + 1024);  // plus the uninstaller
  EXPECT_EQ(ReadString(HKEY_LOCAL_MACHINE, kUninstallKey, L"DisplayName", KEY_WOW64_64KEY), L"");

  EXPECT_EQ(ReadString(HKEY_CURRENT_USER, kUserKey, L"installpath"), Folder() + L"\\Pinvale.exe");
  EXPECT_EQ(Option(L"rightmenu"), 1u);  // the settings dialog shows what setup chose

  // The 64-bit extension is registered where the 64-bit file manager looks, and only there.
  EXPECT_EQ(Lower(Extension64()), Lower(Folder() + L"\\Hollin.dll"));
  EXPECT_EQ(Extension32(), L"");
  EXPECT_EQ(ReadString(HKEY_LOCAL_MACHINE, L"Software\\Classes\\*\\ShellEx\\ContextMenuHandlers\\SimpleShlExt",
                       nullptr, KEY_WOW64_64KEY),
            L"{EDE9C14E-B540-40BD-9592-1770FCDF08F4}");

  EXPECT_EQ(Lower(ShortcutTarget(StartupShortcut())), Lower(Folder() + L"\\Pinvale.exe"));
  EXPECT_EQ(Lower(ShortcutTarget(StartMenuShortcut())), Lower(Folder() + L"\\Pinvale.exe"));

  UseProgramOnce(L"C:\\windows");
  ASSERT_EQ(e2e::StoredPaths(box.Database()), std::vector<std::string>{"C:\\windows"});

  ASSERT_EQ(Uninstall(L""), 0u);
  EXPECT_EQ(Extension64(), L"");
  EXPECT_FALSE(xtest::FileExists(StartupShortcut()));
  const std::vector<std::wstring> registry = Differences(registryBefore, RegistrySnapshot());
  const std::vector<std::wstring> files = Differences(filesBefore, FileSnapshot(WatchedFolders()));
  ExpectOnlyUserData(registry, files, box.AppData());
  EXPECT_EQ(e2e::StoredPaths(box.Database()), std::vector<std::string>{"C:\\windows"});
  EXPECT_EQ(Option(L"AutoHide"), 1u);  // the program's options stay for a later installation
}

TEST_F(SetupTest, WithoutOptionalComponentsAndWithDataRemovalNothingIsLeft) {
  const Snapshot registryBefore = RegistrySnapshot();
  const Snapshot filesBefore = FileSnapshot(WatchedFolders());
  ASSERT_EQ(Install(L"/CONTEXTMENU=0 /AUTOSTART=0"), 0u);

  EXPECT_TRUE(xtest::FileExists(Folder() + L"\\Hollin.dll"));  // shipped, just not registered
  EXPECT_EQ(Extension64(), L"");
  EXPECT_EQ(Extension32(), L"");
  EXPECT_EQ(Option(L"rightmenu"), 0u);
  EXPECT_FALSE(xtest::FileExists(StartupShortcut()));
  EXPECT_TRUE(xtest::FileExists(StartMenuShortcut()));

  UseProgramOnce(L"C:\\windows");
  ASSERT_TRUE(xtest::FileExists(box.Database()));

  ASSERT_EQ(Uninstall(L"/REMOVEDATA"), 0u);
  EXPECT_EQ(Narrow(Differences(registryBefore, RegistrySnapshot())), "");
  EXPECT_EQ(Narrow(Differences(filesBefore, FileSnapshot(WatchedFolders()))), "");
}

TEST_F(SetupTest, UpgradeClosesTheRunningProgramAndKeepsFavouritesOptionsAndChoices) {
  ASSERT_EQ(Install(L"/CONTEXTMENU=1 /AUTOSTART=1"), 0u);
  // A damaged file that the running program does not hold, so its replacement shows.
  {
    std::string damaged = xtest::ReadBytes(Folder() + L"\\Hollin.dll") + "damaged";
    ASSERT_TRUE(xtest::WriteBytes(Folder() + L"\\Hollin.dll", damaged));
  }

  e2e::Program running(Folder(), box.AppData());
  HWND window = running.WaitForWindow();
  ASSERT_TRUE(window);
  e2e::SendPath(window, L"C:\\windows");
  e2e::SendPath(window, L"C:\\windows\\system32");
  ASSERT_TRUE(xtest::WaitFor([&] { return e2e::StoredPaths(box.Database()).size() == 2; }, 10000));
  ASSERT_TRUE(e2e::SetOption(L"AutoSort", 1));
  ASSERT_TRUE(e2e::SetOption(L"HideToolbar", 1));

  // No /D: an upgrade goes where the installation is.
  ASSERT_EQ(RunToEnd(NextSetupExe(), L"/S /RUN=1", box.Environment()), 0u);
  DWORD code = 0xFFFF;
  EXPECT_TRUE(running.WaitForExit(0, &code));  // closed before its files were replaced
  EXPECT_EQ(code, 0u);
  std::vector<std::wstring> wrong;
  EXPECT_TRUE(SameFilesAsDist(Folder(), &wrong)) << Narrow(wrong);
  EXPECT_EQ(Entry(L"DisplayVersion"), NextVersion());
  EXPECT_EQ(Entry(L"InstallLocation"), Folder());

  EXPECT_EQ(e2e::StoredPaths(box.Database()), (std::vector<std::string>{"C:\\windows", "C:\\windows\\system32"}));
  EXPECT_EQ(Option(L"AutoSort"), 1u);
  EXPECT_EQ(Option(L"HideToolbar"), 1u);
  EXPECT_EQ(Lower(Extension64()), Lower(Folder() + L"\\Hollin.dll"));  // the installation's choices stay
  EXPECT_TRUE(xtest::FileExists(StartupShortcut()));

  // Asked to, setup starts the program again.
  HWND restarted = nullptr;
  EXPECT_TRUE(xtest::WaitFor([&] {
    restarted = FindWindowW(L"XDROPEASYWND", L"Pinvale");
    return restarted != nullptr;
  }, 30000));
  DWORD pid = 0;
  GetWindowThreadProcessId(restarted, &pid);
  EXPECT_NE(pid, running.Pid());
  e2e::EndStrayInstances();

  // The older setup over the newer installation asks first; declined, it changes nothing.
  Process older(SetupExe(), L"", box.Environment());
  HWND ask = older.WaitForWindow(L"Pinvale");
  ASSERT_TRUE(ask);
  EXPECT_NE(e2e::StaticTexts(ask).find(NextVersion()), std::wstring::npos) << xtest::Narrow(e2e::StaticTexts(ask));
  PressButton(ask, IDNO);
  EXPECT_EQ(older.Wait(30000), 4u);
  EXPECT_EQ(Entry(L"DisplayVersion"), NextVersion());
}

TEST_F(SetupTest, UpgradeStopsWhenTheProgramDoesNotClose) {
  ASSERT_EQ(Install(L"/CONTEXTMENU=0 /AUTOSTART=0"), 0u);
  // A program still starting holds the instance mutex and has no window to close yet.
  CXHandle instance(CreateMutexW(nullptr, TRUE, L"Pinvale_{704E1A40-9417-4525-AC09-396ED748401A}"));
  ASSERT_TRUE(instance.Valid());
  EXPECT_EQ(RunToEnd(NextSetupExe(), L"/S", box.Environment()), 3u);
  EXPECT_EQ(Entry(L"DisplayVersion"), Version());  // nothing was replaced
  std::vector<std::wstring> wrong;
  EXPECT_TRUE(SameFilesAsDist(Folder(), &wrong)) << Narrow(wrong);
}

}  // namespace
