// A new user's round trip with real mouse input on the default skin: favourites added from
// outside, opened by double-click (counted), their folder opened by right-click (counted),
// one selected and removed with the toolbar, and the folder picker offered by the toolbar (a
// folder chosen in it stored like every other path).
#include <gtest/gtest.h>

#include <shlobj.h>

#include <string>
#include <vector>

#include "E2eUtil.h"

namespace {

// Client points of the default skin: rows of 40 pixels from y 98, the toolbar's buttons.
POINT Row(int index) { return POINT{150, 118 + 40 * index}; }
const POINT kAddButton = {62, 74}, kDeleteButton = {98, 74};

class ListTest : public e2e::CleanStateTest {};

TEST_F(ListTest, AddOpenCountAndDelete) {
  e2e::Install install;
  xtest::TempDir files;
  std::wstring tool = files / L"tool.exe", folder = files / L"Projects", note = files / L"note.txt";
  ASSERT_TRUE(CopyFileW(xtest::RecordArgsExe().c_str(), tool.c_str(), FALSE));
  CreateDirectoryW(folder.c_str(), nullptr);
  ASSERT_TRUE(xtest::WriteBytes(note, "x"));
  std::wstring record = files / L"opened.log";
  // The programs started here may take the activation; the window stays for the next clicks.
  ASSERT_TRUE(e2e::SetOption(L"AutoHide", 0));
  e2e::Program program(install, L"", {{L"PINVALE_RECORD", record}});
  HWND main = program.WaitForWindow();
  ASSERT_NE(main, nullptr);
  for (const std::wstring& p : {tool, folder, note}) e2e::SendPath(main, p);
  SetForegroundWindow(main);
  xtest::PumpFor(300);

  e2e::DoubleClick(e2e::ClientToScreenPoint(main, Row(0).x, Row(0).y));
  EXPECT_TRUE(xtest::WaitFor([&] { return !xtest::ReadRecordedLines(record).empty(); }, 15000));
  e2e::Click(e2e::ClientToScreenPoint(main, Row(1).x, Row(1).y), true);
  e2e::Click(e2e::ClientToScreenPoint(main, Row(2).x, Row(2).y));
  e2e::Click(e2e::ClientToScreenPoint(main, kDeleteButton.x, kDeleteButton.y));
  xtest::PumpFor(500);
  ASSERT_EQ(program.Exit(), 0u);

  e2e::Rows rows = e2e::Query(install.DatabasePath(), "SELECT path, count FROM main ORDER BY id");
  ASSERT_EQ(rows.size(), 2u);
  EXPECT_EQ(rows[0], (std::vector<std::string>{xtest::Narrow(tool), "1"}));
  EXPECT_EQ(rows[1], (std::vector<std::string>{xtest::Narrow(folder), "1"}));

  // The next start shows what is left.
  e2e::Program again(install);
  ASSERT_NE(again.WaitForWindow(), nullptr);
  EXPECT_EQ(again.Exit(), 0u);
  EXPECT_EQ(e2e::StoredPaths(install.DatabasePath()).size(), 2u);
}

TEST_F(ListTest, AddButtonOffersTheFolderPickerAndStoresTheChosenFolderWithoutATrailingBackslash) {
  wchar_t documents[MAX_PATH] = {0};
  ASSERT_TRUE(SHGetSpecialFolderPathW(nullptr, documents, CSIDL_PERSONAL, FALSE));
  e2e::Install install;
  e2e::Program program(install);
  HWND main = program.WaitForFocusedWindow();
  ASSERT_NE(main, nullptr);
  auto openPicker = [&] {
    e2e::Click(e2e::ClientToScreenPoint(main, kAddButton.x, kAddButton.y));
    HWND shown = program.WaitForDialog(L"Choose a folder to add", false);
    EXPECT_TRUE(shown && GetWindow(shown, GW_OWNER) == main);
    return shown;
  };
  HWND picker = openPicker();
  ASSERT_NE(picker, nullptr);
  xtest::PumpFor(500);
  EXPECT_TRUE(IsWindowVisible(main));  // its own dialog keeps it on screen
  // Where the activation goes once the picker is gone is the window system's choice; the
  // window stays for the second round.
  ASSERT_TRUE(e2e::SetOption(L"AutoHide", 0));
  PostMessageW(picker, WM_COMMAND, IDCANCEL, 0);
  EXPECT_TRUE(xtest::WaitFor([&] { return !IsWindow(picker); }));
  EXPECT_TRUE(e2e::StoredPaths(install.DatabasePath()).empty());

  picker = openPicker();
  ASSERT_NE(picker, nullptr);
  xtest::PumpFor(500);
  // The user clicks into the folder tree, types the folder's first letters and confirms.
  HWND tree = FindWindowExW(picker, nullptr, L"SysTreeView32", nullptr);
  ASSERT_NE(tree, nullptr);
  RECT box = {};
  GetWindowRect(tree, &box);
  e2e::Click(POINT{box.left + 60, box.top + 10});
  for (WORD key : {'D', 'O', 'C'}) e2e::PressKey(key);
  e2e::PressKey(VK_RETURN);
  ASSERT_TRUE(xtest::WaitFor([&] { return !IsWindow(picker); }));
  xtest::PumpFor(500);
  EXPECT_EQ(program.Exit(), 0u);
  std::vector<std::string> paths = e2e::StoredPaths(install.DatabasePath());
  ASSERT_EQ(paths.size(), 1u);
  EXPECT_EQ(paths[0], xtest::Narrow(documents));
  EXPECT_NE(paths[0].back(), '\\');
}

}  // namespace
