// Pinvale.exe started from a copy of the output folder, checked from outside the way the
// shell extension and the user meet it: its window, the copy-data message, "/add", a second
// instance, the exit command, and a start without the service library.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "E2eUtil.h"

namespace {

class ProgramTest : public e2e::CleanStateTest {};

std::string Utf8(const std::wstring& s) { return xtest::Narrow(s); }

TEST_F(ProgramTest, MainWindowHasTheIdentityOthersLookFor) {
  e2e::Install install;
  e2e::Program program(install);
  ASSERT_TRUE(program.Started());
  HWND main = program.WaitForWindow();
  ASSERT_NE(main, nullptr);
  EXPECT_EQ(FindWindowW(L"XDROPEASYWND", L"Pinvale"), main);
  EXPECT_TRUE(IsWindowVisible(main));
  // The shell extension's "open" command finds the program here.
  wchar_t installed[MAX_PATH] = {0};
  DWORD size = sizeof installed;
  ASSERT_EQ(RegGetValueW(HKEY_CURRENT_USER, L"Software\\Tarquon\\Pinvale", L"installpath", RRF_RT_REG_SZ, nullptr,
                         installed, &size),
            ERROR_SUCCESS);
  EXPECT_EQ(lstrcmpiW(installed, install.Exe().c_str()), 0);
  EXPECT_EQ(program.Exit(), 0u);
}

TEST_F(ProgramTest, CopyDataOfAnExistingPathAddsItAndShowsTheWindow) {
  e2e::Install install;
  xtest::TempDir files;
  std::wstring file = files / L"report.txt";
  ASSERT_TRUE(xtest::WriteBytes(file, "x"));
  e2e::Program program(install);
  HWND main = program.WaitForWindow();
  ASSERT_NE(main, nullptr);
  ShowWindow(main, SW_HIDE);
  ASSERT_TRUE(xtest::WaitFor([&] { return !IsWindowVisible(main); }));

  e2e::SendPath(main, files / L"missing.txt");
  EXPECT_FALSE(IsWindowVisible(main));  // nothing added, nothing shown
  e2e::SendPath(main, file);
  EXPECT_TRUE(xtest::WaitFor([&] { return IsWindowVisible(main) != 0; }));

  EXPECT_EQ(program.Exit(), 0u);
  // The database is closed and complete once the program has ended.
  EXPECT_FALSE(xtest::FileExists(install.DatabasePath() + L"-journal"));
  std::vector<std::string> paths = e2e::StoredPaths(install.DatabasePath());
  EXPECT_EQ(std::count(paths.begin(), paths.end(), Utf8(file)), 1);
  EXPECT_EQ(std::count(paths.begin(), paths.end(), Utf8(files / L"missing.txt")), 0);
  e2e::Rows rows = e2e::Query(install.DatabasePath(), "SELECT color, count, addtime = accesstime FROM main");
  ASSERT_FALSE(rows.empty());
  EXPECT_EQ(rows.back(), (std::vector<std::string>{"ffffff", "0", "1"}));
}

TEST_F(ProgramTest, AddSwitchAddsOnceWhateverTheLetterCase) {
  e2e::Install install;
  xtest::TempDir files;
  std::wstring folder = files / L"Projects";
  CreateDirectoryW(folder.c_str(), nullptr);
  {
    e2e::Program first(install, L"/add \"" + folder + L"\"");
    ASSERT_NE(first.WaitForWindow(), nullptr);
    EXPECT_EQ(first.Exit(), 0u);
  }
  std::wstring upper = folder;
  CharUpperBuffW(&upper[0], static_cast<DWORD>(upper.size()));
  {
    e2e::Program again(install, L"/add \"" + upper + L"\"");
    ASSERT_NE(again.WaitForWindow(), nullptr);
    EXPECT_EQ(again.Exit(), 0u);
  }
  std::vector<std::string> paths = e2e::StoredPaths(install.DatabasePath());
  EXPECT_EQ(std::count(paths.begin(), paths.end(), Utf8(folder)), 1);
  EXPECT_EQ(std::count(paths.begin(), paths.end(), Utf8(upper)), 0);
}

TEST_F(ProgramTest, SecondInstanceShowsTheFirstWindowAndEnds) {
  e2e::Install install;
  xtest::TempDir files;
  e2e::Program first(install);
  HWND main = first.WaitForWindow();
  ASSERT_NE(main, nullptr);
  ShowWindow(main, SW_HIDE);
  ASSERT_TRUE(xtest::WaitFor([&] { return !IsWindowVisible(main); }));

  e2e::Program second(install, L"/add \"" + files.Path() + L"\"");
  DWORD code = 1;
  ASSERT_TRUE(second.WaitForExit(20000, &code));
  EXPECT_EQ(code, 0u);
  EXPECT_TRUE(xtest::WaitFor([&] { return IsWindowVisible(main) != 0; }));
  EXPECT_EQ(first.Exit(), 0u);
  std::vector<std::string> paths = e2e::StoredPaths(install.DatabasePath());
  EXPECT_EQ(std::count(paths.begin(), paths.end(), Utf8(files.Path())), 0);  // not passed on
}

// A process holds the instance mutex but shows no window (as a first instance that lost its
// window would): a second start says so and what to do, instead of ending without a word.
TEST_F(ProgramTest, SecondStartWithoutAWindowToShowTellsTheUser) {
  e2e::Install install;
  CXHandle mutex(CreateMutexW(nullptr, TRUE, L"Pinvale_{704E1A40-9417-4525-AC09-396ED748401A}"));
  ASSERT_TRUE(mutex.Valid());
  e2e::Program second(install);
  HWND box = second.WaitForMessageBox(L"Pinvale");
  ASSERT_NE(box, nullptr);
  EXPECT_NE(e2e::StaticTexts(box).find(L"Pinvale is already running, but it does not respond"), std::wstring::npos)
      << Utf8(e2e::StaticTexts(box));
  PostMessageW(box, WM_COMMAND, IDOK, 0);
  DWORD code = 1;
  ASSERT_TRUE(second.WaitForExit(20000, &code));
  EXPECT_EQ(code, 0u);
}

// A UI thread ended by force, as the platform ends one lost to a fault, ends the program at
// once with a dump: the next start shows its window instead of finding the first one mute.
TEST_F(ProgramTest, AUiThreadEndedByForceEndsTheProgramAndTheNextStartShowsItsWindow) {
  e2e::Install install;
  {
    e2e::Program first(install);
    HWND main = first.WaitForWindow();
    ASSERT_NE(main, nullptr);
    CXHandle ui(OpenThread(THREAD_TERMINATE, FALSE, GetWindowThreadProcessId(main, nullptr)));
    ASSERT_TRUE(ui.Valid());
    ASSERT_TRUE(TerminateThread(ui.Get(), 9));
    DWORD code = 0;
    // Writing the dump takes seconds on a loaded machine. Without the loop's own check the
    // loop would return and the program end with 0 before the window watch could see anything.
    ASSERT_TRUE(first.WaitForExit(30000, &code));
    EXPECT_EQ(code, 0xE0000104u);
  }
  bool dumped = false;
  for (const std::wstring& file : xtest::FilesIn(install.AppData() + L"\\Tarquon\\Pinvale"))
    dumped = dumped || file.find(L".dmp") != std::wstring::npos;
  EXPECT_TRUE(dumped);
  e2e::Program next(install);
  EXPECT_NE(next.WaitForWindow(), nullptr);
  EXPECT_EQ(next.Exit(), 0u);
}

// Starts the install, expects the "Error" box with the text, answers it, and expects the
// program to end with 0.
void ExpectReportedAndEnded(const e2e::Install& install, const std::wstring& text) {
  e2e::Program program(install);
  HWND box = program.WaitForMessageBox(L"Error");
  ASSERT_NE(box, nullptr);
  EXPECT_EQ(e2e::StaticTexts(box), text);
  PostMessageW(box, WM_COMMAND, IDOK, 0);
  DWORD code = 1;
  ASSERT_TRUE(program.WaitForExit(20000, &code));
  EXPECT_EQ(code, 0u);
}

TEST_F(ProgramTest, WithoutTheServiceLibraryTheMissingFileIsReported) {
  e2e::Install install({L"Corvane.dll"});
  ExpectReportedAndEnded(install, L"Lack of file: " + install.Folder() + L"\\Corvane.dll !");
}

// Without its skin no window can appear: the program says which file is missing and ends, so
// that it neither runs unseen nor keeps every later start from showing anything.
TEST_F(ProgramTest, WithoutTheSkinPackageTheMissingFileIsReportedAndTheProgramEnds) {
  e2e::Install install({L"DefaultSkin.xui"});
  ExpectReportedAndEnded(install, L"Cannot find file: " + install.Folder() + L"\\skin\\DefaultSkin.xui!");
}

}  // namespace
