// The favourites window without the mouse, with real key input on the default skin: typing
// finds (an unbound letter or Ctrl+F starts the filter field, Enter opens the first match, Esc
// clears and then hides), the selection keys, Enter and Delete on the list, and a removal
// brought back by Ctrl+Z or the "Undo" link with its id, add time and open count, also while
// the list is filtered.
#include <gtest/gtest.h>

#include <sqlite3.h>

#include <algorithm>
#include <string>
#include <vector>

#include "E2eUtil.h"

namespace {

POINT Row(int index) { return POINT{150, 118 + 40 * index}; }
const POINT kDeleteButton = {98, 74};
const POINT kUndoLink = {290, 476};  // the bottom right of the list area

class KeyboardTest : public e2e::CleanStateTest {
 protected:
  void SetUp() override {
    CleanStateTest::SetUp();
    // The programs started here may take the activation; the window stays for the next keys.
    ASSERT_TRUE(e2e::SetOption(L"AutoHide", 0));
    CreateDirectoryW((install.AppData() + L"\\Tarquon").c_str(), nullptr);
    CreateDirectoryW((install.AppData() + L"\\Tarquon\\Pinvale").c_str(), nullptr);
  }
  // Favourites that record their start in the record file, stored in this order.
  std::vector<std::wstring> Tools(std::initializer_list<const wchar_t*> names) {
    std::vector<std::wstring> paths;
    for (const wchar_t* name : names) {
      paths.push_back(files / name);
      EXPECT_TRUE(CopyFileW(xtest::RecordArgsExe().c_str(), paths.back().c_str(), FALSE));
    }
    EXPECT_TRUE(e2e::MakeDatabase(install.DatabasePath(), paths));
    return paths;
  }
  // How often each name was started, in the record file.
  int Started(const std::string& name) {
    std::string lines = xtest::Narrow(xtest::ReadRecordedLines(record));
    int n = 0;
    for (size_t at = lines.find(name); at != std::string::npos; at = lines.find(name, at + 1)) ++n;
    return n;
  }
  static void Type(const char* text) {
    for (const char* c = text; *c; ++c) e2e::PressKey(static_cast<WORD>(toupper(static_cast<unsigned char>(*c))));
  }
  bool WaitForStarts(size_t lines) {
    return xtest::WaitFor(
        [&] {
          std::wstring text = xtest::ReadRecordedLines(record);
          return static_cast<size_t>(std::count(text.begin(), text.end(), L'\n')) >= lines;
        },
        15000);
  }

  e2e::Install install;
  xtest::TempDir files;
  std::wstring record = files / L"started.log";
};

TEST_F(KeyboardTest, TypingFindsEnterOpensTheFirstMatchEscClearsThenHides) {
  std::wstring marker = files / L"marker.exe";
  ASSERT_TRUE(CopyFileW(xtest::RecordArgsExe().c_str(), marker.c_str(), FALSE));
  ASSERT_TRUE(xtest::WriteBytes(install.Folder() + L"\\HotKey.xml",
                                "<hotkeys><HK_ITEM key=\"R\" value=\"" + xtest::Narrow(marker) + "\"/></hotkeys>"));
  Tools({L"zebra.exe", L"quokka.exe", L"walrus.exe"});
  e2e::Program program(install, L"", {{L"PINVALE_RECORD", record}});
  HWND main = program.WaitForFocusedWindow();
  ASSERT_NE(main, nullptr);
  xtest::PumpFor(300);

  // W is not in the key table: it starts the filter. Enter opens the first row left.
  Type("walrus");
  e2e::PressKey(VK_RETURN);
  ASSERT_TRUE(WaitForStarts(1));
  EXPECT_EQ(Started("walrus.exe"), 1);
  // Esc clears the field: the whole list is back in its order, so Enter opens the first row.
  e2e::PressKey(VK_ESCAPE);
  e2e::PressKey(VK_RETURN);
  ASSERT_TRUE(WaitForStarts(2));
  EXPECT_EQ(Started("zebra.exe"), 1);
  // Esc in the empty field hides the window.
  e2e::PressKey(VK_ESCAPE);
  EXPECT_TRUE(xtest::WaitFor([&] { return !IsWindowVisible(main); }));

  PostMessageW(main, WM_HOTKEY, 1, MAKELPARAM(MOD_CONTROL | MOD_ALT, 0));
  ASSERT_TRUE(xtest::WaitFor([&] { return IsWindowVisible(main) != 0; }));
  SetForegroundWindow(main);
  xtest::PumpFor(300);
  // R is bound: it starts its path and types nothing.
  e2e::PressKey('R');
  ASSERT_TRUE(WaitForStarts(3));
  EXPECT_EQ(Started("marker.exe"), 1);
  // Ctrl+F starts the filter too; the letters then go to the field, bound or not.
  e2e::PressKeys({VK_CONTROL}, 'F');
  Type("quokka");
  e2e::PressKey(VK_RETURN);
  ASSERT_TRUE(WaitForStarts(4));
  EXPECT_EQ(Started("quokka.exe"), 1);
  EXPECT_EQ(Started("marker.exe"), 1);
  ASSERT_EQ(program.Exit(), 0u);

  e2e::Rows rows = e2e::Query(install.DatabasePath(), "SELECT count FROM main ORDER BY id");
  EXPECT_EQ(rows, (e2e::Rows{{"1"}, {"1"}, {"1"}}));
}

TEST_F(KeyboardTest, SelectionKeysEnterAndDeleteWorkOnTheList) {
  std::vector<std::wstring> paths = Tools({L"t0.exe", L"t1.exe", L"t2.exe", L"t3.exe", L"t4.exe"});
  e2e::Program program(install, L"", {{L"PINVALE_RECORD", record}});
  HWND main = program.WaitForFocusedWindow();
  ASSERT_NE(main, nullptr);
  xtest::PumpFor(300);

  // Down selects the first row; End the last; Up the one before it.
  for (WORD key : {VK_DOWN, VK_DOWN, VK_END, VK_UP}) e2e::PressKey(key);
  e2e::PressKey(VK_RETURN);
  ASSERT_TRUE(WaitForStarts(1));
  EXPECT_EQ(Started("t3.exe"), 1);
  // Home, Down: the second row, removed with Delete.
  for (WORD key : {VK_HOME, VK_DOWN, VK_DELETE}) e2e::PressKey(key);
  xtest::PumpFor(300);
  // The selection is gone with its row: Down starts again at the top.
  e2e::PressKey(VK_DOWN);
  e2e::PressKey(VK_RETURN);
  ASSERT_TRUE(WaitForStarts(2));
  EXPECT_EQ(Started("t0.exe"), 1);
  ASSERT_EQ(program.Exit(), 0u);

  e2e::Rows rows = e2e::Query(install.DatabasePath(), "SELECT id, count FROM main ORDER BY id");
  EXPECT_EQ(rows, (e2e::Rows{{"1", "1"}, {"3", "0"}, {"4", "1"}, {"5", "0"}}));
}

TEST_F(KeyboardTest, CtrlZAndTheUndoLinkBringBackARemovedFavouriteAsItWas) {
  Tools({L"first.exe", L"second.exe", L"third.exe"});
  {
    // A favourite with a history of its own.
    sqlite3* db = nullptr;
    ASSERT_EQ(sqlite3_open(xtest::Narrow(install.DatabasePath()).c_str(), &db), SQLITE_OK);
    EXPECT_EQ(sqlite3_exec(db,
                           "UPDATE main SET color='abcdef', addtime='2020-01-02 03:04:05', "
                           "accesstime='2021-02-03 04:05:06', count=7 WHERE id=2;",
                           nullptr, nullptr, nullptr),
              SQLITE_OK);
    sqlite3_close(db);
  }
  const char* kAll = "SELECT id, path, color, addtime, accesstime, count FROM main ORDER BY id";
  e2e::Rows before = e2e::Query(install.DatabasePath(), kAll);
  ASSERT_EQ(before.size(), 3u);
  e2e::Program program(install, L"", {{L"PINVALE_RECORD", record}});
  HWND main = program.WaitForFocusedWindow();
  ASSERT_NE(main, nullptr);
  xtest::PumpFor(300);

  // Removed with the keys, brought back with Ctrl+Z: the row is stored as it was.
  for (WORD key : {VK_DOWN, VK_DOWN, VK_DELETE}) e2e::PressKey(key);
  ASSERT_TRUE(xtest::WaitFor([&] { return e2e::Query(install.DatabasePath(), kAll).size() == 2; }));
  e2e::PressKeys({VK_CONTROL}, 'Z');
  ASSERT_TRUE(xtest::WaitFor([&] { return e2e::Query(install.DatabasePath(), kAll).size() == 3; }));
  EXPECT_EQ(e2e::Query(install.DatabasePath(), kAll), before);
  // ...and listed at its place: Home, Down, Enter opens it.
  for (WORD key : {VK_HOME, VK_DOWN, VK_RETURN}) e2e::PressKey(key);
  ASSERT_TRUE(WaitForStarts(1));
  EXPECT_EQ(Started("second.exe"), 1);

  // Removed with the mouse, brought back by the link under the list (a click on the selected
  // row would take its selection away: another row first).
  e2e::Click(e2e::ClientToScreenPoint(main, Row(0).x, Row(0).y));
  e2e::Click(e2e::ClientToScreenPoint(main, Row(1).x, Row(1).y));
  e2e::Click(e2e::ClientToScreenPoint(main, kDeleteButton.x, kDeleteButton.y));
  ASSERT_TRUE(xtest::WaitFor([&] { return e2e::Query(install.DatabasePath(), kAll).size() == 2; }));
  e2e::Click(e2e::ClientToScreenPoint(main, kUndoLink.x, kUndoLink.y));
  ASSERT_TRUE(xtest::WaitFor([&] { return e2e::Query(install.DatabasePath(), kAll).size() == 3; }));

  // While filtered: the one row shown (selected as the first match) is the one removed, and it
  // comes back. A click below the rows gives the list the keyboard and keeps the selection.
  Type("third");
  e2e::Click(e2e::ClientToScreenPoint(main, Row(4).x, Row(4).y));
  e2e::PressKey(VK_DELETE);
  ASSERT_TRUE(xtest::WaitFor([&] { return e2e::Query(install.DatabasePath(), kAll).size() == 2; }));
  EXPECT_EQ(e2e::Query(install.DatabasePath(), "SELECT id FROM main ORDER BY id"), (e2e::Rows{{"1"}, {"2"}}));
  e2e::PressKeys({VK_CONTROL}, 'Z');
  ASSERT_TRUE(xtest::WaitFor([&] { return e2e::Query(install.DatabasePath(), kAll).size() == 3; }));
  ASSERT_EQ(program.Exit(), 0u);

  e2e::Rows after = e2e::Query(install.DatabasePath(), kAll);
  ASSERT_EQ(after.size(), 3u);
  // The one open since counts; everything else is as it was.
  before[1][4] = after[1][4];
  before[1][5] = "8";
  EXPECT_EQ(after, before);
}

}  // namespace
