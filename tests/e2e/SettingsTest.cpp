// The settings dialog used as a user uses it, with real clicks: what it writes to the
// registry and the Startup folder, the registration tool it starts (a recording stand-in named
// regsvr32.exe in the program folder, which the shell finds first), and the toolbar it hides.
#include <gtest/gtest.h>

#include <shlobj.h>

#include <algorithm>
#include <initializer_list>
#include <memory>
#include <string>

#include "E2eUtil.h"
#include "XWin.h"

namespace {

const wchar_t kKey[] = L"Software\\Tarquon\\pinvale";

// Client points of the default skin's controls.
const POINT kSettingButton = {134, 74}, kHeaderSettingButton = {264, 26};
const POINT kAutoRun = {42, 74}, kAutoHide = {42, 114}, kRightLink = {42, 154}, kAutoSort = {42, 194},
            kHideToolbar = {42, 234};
const POINT kConfirm = {276, 302}, kCancel = {178, 302}, kClose = {314, 28};

long long Value(const wchar_t* name) {
  DWORD value = 0, size = sizeof value;
  if (RegGetValueW(HKEY_CURRENT_USER, kKey, name, RRF_RT_REG_DWORD, nullptr, &value, &size) != ERROR_SUCCESS) return -1;
  return value;
}

FILETIME KeyWriteTime() {
  FILETIME t = {};
  CXRegKey key;
  if (RegOpenKeyExW(HKEY_CURRENT_USER, kKey, 0, KEY_QUERY_VALUE, key.Out()) == ERROR_SUCCESS)
    RegQueryInfoKeyW(key.Get(), nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr,
                     &t);
  return t;
}

std::wstring StartupShortcut() {
  wchar_t startup[MAX_PATH] = {0};
  SHGetSpecialFolderPathW(nullptr, startup, CSIDL_STARTUP, FALSE);
  return std::wstring(startup) + L"\\Pinvale.lnk";
}

COLORREF ScreenPixel(POINT p) {
  CXWindowDC screen(nullptr);
  return GetPixel(screen.Get(), p.x, p.y);
}

class SettingsTest : public e2e::CleanStateTest {
 protected:
  void SetUp() override {
    e2e::CleanStateTest::SetUp();
    regsvr = install.Folder() + L"\\regsvr32.exe";
    ASSERT_TRUE(CopyFileW(xtest::RecordArgsExe().c_str(), regsvr.c_str(), FALSE));
    record = records / L"regsvr32.log";
  }

  HWND Start() {
    program.reset(new e2e::Program(install, L"", {{L"PINVALE_RECORD", record}}));
    main = program->WaitForWindow();
    if (main) {
      SetForegroundWindow(main);
      xtest::PumpFor(300);
    }
    return main;
  }
  // Opens the dialog with a settings button (the toolbar's by default); its window, or null.
  HWND OpenDialog(POINT button = kSettingButton) {
    e2e::Click(e2e::ClientToScreenPoint(main, button.x, button.y));
    HWND dialog = nullptr;
    xtest::WaitFor([&] {
      for (HWND h : program->Windows(L"#32770")) {
        wchar_t caption[64] = {0};
        GetWindowTextW(h, caption, 64);
        if (wcscmp(caption, L"Pinvale Settings") == 0 && IsWindowVisible(h)) dialog = h;
      }
      return dialog != nullptr;
    });
    xtest::PumpFor(300);
    return dialog;
  }
  void ClickIn(HWND window, POINT p) { e2e::Click(e2e::ClientToScreenPoint(window, p.x, p.y)); }
  bool Closed(HWND dialog) { return xtest::WaitFor([&] { return !IsWindow(dialog); }); }
  // Clicks the boxes, then the button that ends the dialog; whether the dialog is gone then.
  bool ClickAndEnd(HWND dialog, std::initializer_list<POINT> boxes, POINT end) {
    for (POINT box : boxes) ClickIn(dialog, box);
    ClickIn(dialog, end);
    return Closed(dialog);
  }
  std::wstring Recorded() { return xtest::ReadRecordedLines(record); }

  e2e::Install install;
  xtest::TempDir records;
  std::wstring regsvr, record;
  std::unique_ptr<e2e::Program> program;
  HWND main = nullptr;
};

TEST_F(SettingsTest, FirstStartDefaultsAndTheDialogsFirstOpening) {
  ASSERT_NE(Start(), nullptr);
  EXPECT_EQ(Value(L"AutoHide"), 1);
  EXPECT_EQ(Value(L"AutoSort"), 0);
  EXPECT_EQ(Value(L"HideToolbar"), 0);
  EXPECT_EQ(Value(L"rightmenu"), -1);
  HWND dialog = OpenDialog();
  ASSERT_NE(dialog, nullptr);
  EXPECT_EQ(Value(L"rightmenu"), 1);
  // Changes are dropped unless confirmed: cancel, then the close button.
  ASSERT_TRUE(ClickAndEnd(dialog, {kAutoHide, kAutoRun}, kCancel));
  dialog = OpenDialog();
  ASSERT_NE(dialog, nullptr);
  FILETIME before = KeyWriteTime();
  ASSERT_TRUE(ClickAndEnd(dialog, {kAutoSort, kRightLink}, kClose));
  // Confirmed without changes.
  dialog = OpenDialog();
  ASSERT_NE(dialog, nullptr);
  ASSERT_TRUE(ClickAndEnd(dialog, {}, kConfirm));
  xtest::PumpFor(500);
  FILETIME after = KeyWriteTime();
  EXPECT_EQ(CompareFileTime(&before, &after), 0) << "nothing may be written";
  EXPECT_EQ(Value(L"AutoHide"), 1);
  EXPECT_EQ(Value(L"AutoSort"), 0);
  EXPECT_FALSE(xtest::FileExists(StartupShortcut()));
  EXPECT_TRUE(Recorded().empty());
  EXPECT_EQ(program->Exit(), 0u);
}

TEST_F(SettingsTest, StartWithWindowsIsTheStartupShortcut) {
  ASSERT_NE(Start(), nullptr);
  HWND dialog = OpenDialog();
  ASSERT_NE(dialog, nullptr);
  ASSERT_TRUE(ClickAndEnd(dialog, {kAutoRun}, kConfirm));
  ASSERT_TRUE(xtest::WaitFor([&] { return xtest::FileExists(StartupShortcut()); }));
  dialog = OpenDialog();
  ASSERT_NE(dialog, nullptr);
  ASSERT_TRUE(ClickAndEnd(dialog, {kAutoRun}, kConfirm));
  EXPECT_TRUE(xtest::WaitFor([&] { return !xtest::FileExists(StartupShortcut()); }));
  EXPECT_TRUE(Recorded().empty());
  EXPECT_EQ(program->Exit(), 0u);
}

TEST_F(SettingsTest, ContextMenuOptionRunsTheRegistrationToolOnce) {
  ASSERT_NE(Start(), nullptr);
  const std::wstring hollin = L"\"" + install.Folder() + L"\\Hollin.dll\"";
  HWND dialog = OpenDialog();
  ASSERT_NE(dialog, nullptr);
  ASSERT_TRUE(ClickAndEnd(dialog, {kRightLink}, kConfirm));  // on (first opening) -> off
  ASSERT_TRUE(xtest::WaitFor([&] { return !Recorded().empty(); }, 15000));
  EXPECT_EQ(Value(L"rightmenu"), 0);
  dialog = OpenDialog();
  ASSERT_NE(dialog, nullptr);
  ASSERT_TRUE(ClickAndEnd(dialog, {kRightLink}, kConfirm));
  auto lineCount = [&] {
    std::wstring lines = Recorded();
    return std::count(lines.begin(), lines.end(), L'\n');
  };
  ASSERT_TRUE(xtest::WaitFor([&] { return lineCount() == 2; }, 15000));
  xtest::PumpFor(1000);
  std::wstring lines = Recorded();
  EXPECT_EQ(std::count(lines.begin(), lines.end(), L'\n'), 2) << xtest::Narrow(lines);
  size_t first = lines.find(L'\n');
  EXPECT_NE(lines.substr(0, first).find(L"/s /u " + hollin), std::wstring::npos) << xtest::Narrow(lines);
  std::wstring second = lines.substr(first + 1);
  EXPECT_NE(second.find(L"/s " + hollin), std::wstring::npos) << xtest::Narrow(lines);
  EXPECT_EQ(second.find(L"/u"), std::wstring::npos);
  EXPECT_EQ(Value(L"rightmenu"), 1);
  EXPECT_EQ(program->Exit(), 0u);
}

TEST_F(SettingsTest, HidingTheToolbarMovesTheListUpAtOnceAndPersists) {
  ASSERT_NE(Start(), nullptr);
  const POINT probe = {220, 84};  // toolbar band when shown, the list's card when hidden
  COLORREF shown = ScreenPixel(e2e::ClientToScreenPoint(main, probe.x, probe.y));
  HWND dialog = OpenDialog();
  ASSERT_NE(dialog, nullptr);
  ASSERT_TRUE(ClickAndEnd(dialog, {kHideToolbar}, kConfirm));
  EXPECT_TRUE(xtest::WaitFor([&] { return ScreenPixel(e2e::ClientToScreenPoint(main, probe.x, probe.y)) == RGB(255, 255, 255); }));
  EXPECT_NE(shown, RGB(255, 255, 255));
  EXPECT_EQ(Value(L"HideToolbar"), 1);
  EXPECT_EQ(program->Exit(), 0u);

  ASSERT_NE(Start(), nullptr);
  xtest::PumpFor(500);
  EXPECT_EQ(ScreenPixel(e2e::ClientToScreenPoint(main, probe.x, probe.y)), RGB(255, 255, 255));
  // Without the toolbar the header's settings button still brings the toolbar back.
  dialog = OpenDialog(kHeaderSettingButton);
  ASSERT_NE(dialog, nullptr);
  ASSERT_TRUE(ClickAndEnd(dialog, {kHideToolbar}, kConfirm));
  EXPECT_TRUE(xtest::WaitFor([&] { return ScreenPixel(e2e::ClientToScreenPoint(main, probe.x, probe.y)) == shown; }));
  EXPECT_EQ(Value(L"HideToolbar"), 0);
  EXPECT_EQ(program->Exit(), 0u);
}

}  // namespace
