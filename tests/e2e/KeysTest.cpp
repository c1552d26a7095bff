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
