// Keys from outside: the global hotkey's registration and its message, letters bound in the
// program folder's HotKey.xml, and auto-hide when another program's window becomes active.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "E2eUtil.h"

namespace {

class KeysTest : public e2e::CleanStateTest {};

TEST_F(KeysTest, GlobalHotKeyIsHeldWhileRunningAndTogglesTheWindow) {
  ASSERT_TRUE(e2e::HotKeyIsFree());
  e2e::Install install;
  e2e::Program program(install);
  HWND main = program.WaitForWindow();
  ASSERT_NE(main, nullptr);
  EXPECT_FALSE(e2e::HotKeyIsFree());
  EXPECT_EQ(GetLastError(), 1409u);  // already registered

  PostMessageW(main, WM_HOTKEY, 1, MAKELPARAM(MOD_CONTROL | MOD_ALT, 0));
  EXPECT_TRUE(xtest::WaitFor([&] { return !IsWindowVisible(main); }));
  PostMessageW(main, WM_HOTKEY, 1, MAKELPARAM(MOD_CONTROL | MOD_ALT, 0));
  EXPECT_TRUE(xtest::WaitFor([&] { return IsWindowVisible(main) != 0; }));

  EXPECT_EQ(program.Exit(), 0u);
  EXPECT_TRUE(e2e::HotKeyIsFree());  // given back when the window was destroyed
}

TEST_F(KeysTest, BoundLettersStartTheirPaths) {
  e2e::Install install;
  std::wstring tool = install.Folder() + L"\\marker.exe";
  ASSERT_TRUE(CopyFileW(xtest::RecordArgsExe().c_str(), tool.c_str(), FALSE));
  ASSERT_TRUE(xtest::WriteBytes(install.Folder() + L"\\HotKey.xml",
                                "<?xml version=\"1.0\"?>\n<hotkeys>\n"
                                "  <HK_ITEM key=\"R\" value=\"" + xtest::Narrow(tool) + "\"/>\n"
                                "  <HK_ITEM key=\"q\" value=\"" + xtest::Narrow(tool) + "\"/>\n"
                                "</hotkeys>\n"));
  xtest::TempDir records;
  std::wstring record = records / L"marker.log";
  e2e::Program program(install, L"", {{L"PINVALE_RECORD", record}});
  HWND main = program.WaitForWindow();
  ASSERT_NE(main, nullptr);

  PostMessageW(main, WM_KEYDOWN, 'Q', 0);  // bound only in lower case: never matches
  PostMessageW(main, WM_KEYDOWN, '7', 0);
  PostMessageW(main, WM_KEYDOWN, 'R', 0);
  ASSERT_TRUE(xtest::WaitFor([&] { return !xtest::ReadRecordedLines(record).empty(); }, 15000));
  xtest::PumpFor(1000);
  std::wstring lines = xtest::ReadRecordedLines(record);
  EXPECT_EQ(std::count(lines.begin(), lines.end(), L'\n'), 1) << xtest::Narrow(lines);
  EXPECT_EQ(program.Exit(), 0u);
}

// The window's thread answers a message within a bound far above its answering time.
bool Answers(HWND window) {
  DWORD_PTR result = 0;
  return SendMessageTimeoutW(window, WM_NULL, 0, 0, SMTO_NORMAL, 5000, &result) != 0;
}

// A HotKey.xml that binds R to the marker program, with what the test puts around it.
std::string MarkerTable(const std::wstring& tool, const std::string& before, const std::string& after) {
  return "<?xml version=\"1.0\"?>\n<hotkeys>" + before + "<HK_ITEM key=\"R\" value=\"" + xtest::Narrow(tool) +
         "\"/>" + after + "</hotkeys>\n";
}

// Pressing R starts the marker exactly once more; the window still answers.
void ExpectRStartsTheMarker(HWND main, const std::wstring& record) {
  e2e::PressKey('R');
  EXPECT_TRUE(xtest::WaitFor([&] { return !xtest::ReadRecordedLines(record).empty(); }, 15000));
  xtest::PumpFor(500);
  std::wstring lines = xtest::ReadRecordedLines(record);
  EXPECT_EQ(std::count(lines.begin(), lines.end(), L'\n'), 1) << xtest::Narrow(lines);
  EXPECT_TRUE(Answers(main));
}

// A path longer than the shell takes is refused, not cut: pressed twenty times it starts
// nothing, and the program goes on as before (no crash, no dump).
TEST_F(KeysTest, ALongBindingStartsNothingAndTheProgramGoesOn) {
  e2e::Install install;
  std::wstring tool = install.Folder() + L"\\marker.exe";
  ASSERT_TRUE(CopyFileW(xtest::RecordArgsExe().c_str(), tool.c_str(), FALSE));
  std::string longPath = "C:";
  while (longPath.size() < 10000) longPath += "\\" + std::string(200, 'b');
  longPath.resize(10000);
  ASSERT_TRUE(xtest::WriteBytes(install.Folder() + L"\\HotKey.xml",
                                MarkerTable(tool, "<HK_ITEM key=\"N\" value=\"" + longPath + "\"/>", "")));
  xtest::TempDir records;
  std::wstring record = records / L"marker.log";
  e2e::Program program(install, L"", {{L"PINVALE_RECORD", record}});
  HWND main = program.WaitForFocusedWindow();
  ASSERT_NE(main, nullptr);
  for (int i = 0; i < 20; ++i) e2e::PressKey('N');
  xtest::PumpFor(1000);
  EXPECT_TRUE(Answers(main));
  EXPECT_TRUE(xtest::ReadRecordedLines(record).empty());
  ExpectRStartsTheMarker(main, record);
  EXPECT_EQ(program.Exit(), 0u);
  for (const std::wstring& file : xtest::FilesIn(install.AppData() + L"\\Tarquon\\Pinvale"))
    EXPECT_EQ(file.find(L".dmp"), std::wstring::npos) << xtest::Narrow(file);
}

// Hostile key tables start normally and keep their letters: 50 MB of entries, nesting
// 100,000 deep, items without attributes, keys of several letters, invalid UTF-8.
TEST_F(KeysTest, AHostileKeyTableStartsNormally) {
  e2e::Install install;
  std::wstring tool = install.Folder() + L"\\marker.exe";
  ASSERT_TRUE(CopyFileW(xtest::RecordArgsExe().c_str(), tool.c_str(), FALSE));
  std::string after;
  for (int i = 0; i < 100000; ++i) after += "<d>";
  const std::string item = "<HK_ITEM key=\"Q\" value=\"C:\\nowhere\"/>\n";
  after.reserve(after.size() + 50 * 1024 * 1024 + 1000000);
  while (after.size() < 50 * 1024 * 1024) after += item;
  for (int i = 0; i < 100000; ++i) after += "</d>";
  after += "<HK_ITEM key=\"B\" value=\"C:\\\xff\xfe\"/>";
  // The marker is bound with a key of several letters: its first one counts.
  ASSERT_TRUE(xtest::WriteBytes(install.Folder() + L"\\HotKey.xml",
                                "<?xml version=\"1.0\"?>\n<hotkeys><HK_ITEM/><HK_ITEM key=\"Rx\" value=\"" +
                                    xtest::Narrow(tool) + "\"/>" + after + "</hotkeys>\n"));
  xtest::TempDir records;
  std::wstring record = records / L"marker.log";
  e2e::Program program(install, L"", {{L"PINVALE_RECORD", record}});
  HWND main = program.WaitForFocusedWindow();
  ASSERT_NE(main, nullptr);
  EXPECT_TRUE(Answers(main));
  ExpectRStartsTheMarker(main, record);
  EXPECT_EQ(program.Exit(), 0u);
}

LRESULT CALLBACK PlainProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  return DefWindowProcW(hwnd, msg, wParam, lParam);
}

// A window of this process, the "other program" the user switches to.
HWND OtherWindow() {
  WNDCLASSW wc = {};
  wc.lpfnWndProc = PlainProc;
  wc.hInstance = GetModuleHandleW(nullptr);
  wc.lpszClassName = L"PinvaleE2eOther";
  RegisterClassW(&wc);
  return CreateWindowExW(0, wc.lpszClassName, L"Other program", WS_OVERLAPPEDWINDOW, 700, 600, 300, 200, nullptr,
                         nullptr, wc.hInstance, nullptr);
}

TEST_F(KeysTest, AutoHideFollowsTheOption) {
  e2e::Install install;
  for (DWORD autoHide : {1u, 0u}) {
    e2e::Program program(install);
    HWND main = program.WaitForWindow();
    ASSERT_NE(main, nullptr);
    ASSERT_TRUE(e2e::SetOption(L"AutoHide", autoHide));
    SetForegroundWindow(main);
    xtest::PumpFor(300);

    HWND other = OtherWindow();
    ShowWindow(other, SW_SHOW);
    SetForegroundWindow(other);
    bool hidden = xtest::WaitFor([&] { return !IsWindowVisible(main); }, 3000);
    EXPECT_EQ(hidden, autoHide == 1) << "AutoHide " << autoHide;
    DestroyWindow(other);
    EXPECT_EQ(program.Exit(), 0u);
  }
}

}  // namespace
