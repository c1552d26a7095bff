// The settings dialog used as a user uses it, with real clicks: what it writes to the
// registry and the Startup folder, the registration tool it starts (a recording stand-in named
// regsvr32.exe in the program folder, which the shell finds first), and the toolbar it hides.
#include <gtest/gtest.h>

#include <shlobj.h>

#include <algorithm>
#include <cstdlib>
#include <vector>
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
const POINT kConfirm = {276, 386}, kCancel = {178, 386}, kClose = {314, 28};
const POINT kHotKeyField = {170, 303};
const RECT kHotKeyStatus = {24, 324, 316, 346};

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

// Pixels of the screen rectangle for which the test holds.
template <class Test>
int CountScreenPixels(const RECT& r, Test test) {
  CXWindowDC screen(nullptr);
  int n = 0;
  for (int y = r.top; y < r.bottom; ++y)
    for (int x = r.left; x < r.right; ++x)
      if (test(GetPixel(screen.Get(), x, y))) ++n;
  return n;
}

// Ink of the hotkey field's two status lines: the red of the error, the grey of the note.
bool IsErrorRed(COLORREF c) { return GetRValue(c) > 150 && GetGValue(c) < 110 && GetBValue(c) < 110; }
bool IsNoteGrey(COLORREF c) {
  return GetRValue(c) < 190 && GetRValue(c) > 60 && std::abs(GetRValue(c) - GetBValue(c)) < 40 &&
         std::abs(GetRValue(c) - GetGValue(c)) < 30;
}

// A key combination pressed as a user does, given time to arrive.
void PressCombination(std::initializer_list<WORD> modifiers, WORD key) {
  e2e::PressKeys(modifiers, key);
  xtest::PumpFor(200);
}

// Whether the combination is free for a registration right now.
bool Free(UINT modifiers, UINT key) {
  if (!RegisterHotKey(nullptr, 7, modifiers, key)) return false;
  UnregisterHotKey(nullptr, 7);
  return true;
}

LRESULT CALLBACK PlainProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  return DefWindowProcW(hwnd, msg, wParam, lParam);
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

TEST_F(SettingsTest, AChosenHotKeyIsStoredHeldAndTogglesTheWindow) {
  ASSERT_TRUE(e2e::SetOption(L"AutoHide", 0));
  ASSERT_NE(Start(), nullptr);
  EXPECT_FALSE(Free(MOD_CONTROL | MOD_ALT, 0));  // the default, as specified
  HWND dialog = OpenDialog();
  ASSERT_NE(dialog, nullptr);
  ClickIn(dialog, kHotKeyField);
  PressCombination({VK_CONTROL, VK_SHIFT}, 'K');
  ClickIn(dialog, kConfirm);
  ASSERT_TRUE(Closed(dialog));
  EXPECT_EQ(Value(L"HotKey"), MAKELONG('K', MOD_CONTROL | MOD_SHIFT));
  EXPECT_FALSE(Free(MOD_CONTROL | MOD_SHIFT, 'K'));  // held by the program
  EXPECT_TRUE(Free(MOD_CONTROL | MOD_ALT, 0));       // the old one given back

  // Pressed while another window has the keyboard, it hides and shows the window.
  WNDCLASSW wc = {};
  wc.lpfnWndProc = PlainProc;
  wc.hInstance = GetModuleHandleW(nullptr);
  wc.lpszClassName = L"PinvaleE2eHotKeyOther";
  RegisterClassW(&wc);
  HWND other = CreateWindowExW(0, wc.lpszClassName, L"Other program", WS_OVERLAPPEDWINDOW, 600, 500, 300, 200,
                               nullptr, nullptr, wc.hInstance, nullptr);
  ShowWindow(other, SW_SHOW);
  SetForegroundWindow(other);
  SetFocus(other);
  xtest::PumpFor(300);
  PressCombination({VK_CONTROL, VK_SHIFT}, 'K');
  EXPECT_TRUE(xtest::WaitFor([&] { return !IsWindowVisible(main); }, 5000));
  SetForegroundWindow(other);
  SetFocus(other);
  xtest::PumpFor(200);
  PressCombination({VK_CONTROL, VK_SHIFT}, 'K');
  EXPECT_TRUE(xtest::WaitFor([&] { return IsWindowVisible(main) != 0; }, 5000));
  DestroyWindow(other);
  EXPECT_EQ(program->Exit(), 0u);

  // The next start registers the stored choice.
  ASSERT_NE(Start(), nullptr);
  EXPECT_FALSE(Free(MOD_CONTROL | MOD_SHIFT, 'K'));
  EXPECT_TRUE(Free(MOD_CONTROL | MOD_ALT, 0));
  EXPECT_EQ(program->Exit(), 0u);
  EXPECT_TRUE(Free(MOD_CONTROL | MOD_SHIFT, 'K'));
}

// A held combination never reaches a window (the system takes the keys as that hotkey), so a
// taken choice is the stored one that could not be registered at start: the dialog names it
// when it opens, and a free one typed in its place clears the error at once.
TEST_F(SettingsTest, ACombinationThatCannotBeRegisteredIsShownAsSuch) {
  ASSERT_TRUE(RegisterHotKey(nullptr, 8, MOD_CONTROL | MOD_SHIFT, 'J'));  // another program's
  ASSERT_TRUE(e2e::SetOption(L"HotKey", MAKELONG('J', MOD_CONTROL | MOD_SHIFT)));
  ASSERT_NE(Start(), nullptr);
  EXPECT_TRUE(Free(MOD_CONTROL | MOD_ALT, 0));  // the stored choice replaces the default
  HWND dialog = OpenDialog();
  ASSERT_NE(dialog, nullptr);
  auto status = [&] {
    RECT r = kHotKeyStatus;
    POINT tl = e2e::ClientToScreenPoint(dialog, r.left, r.top), br = e2e::ClientToScreenPoint(dialog, r.right, r.bottom);
    return RECT{tl.x, tl.y, br.x, br.y};
  };
  EXPECT_GT(CountScreenPixels(status(), IsErrorRed), 20);
  EXPECT_EQ(CountScreenPixels(status(), IsNoteGrey), 0);

  ClickIn(dialog, kHotKeyField);
  PressCombination({VK_CONTROL, VK_SHIFT}, 'L');  // a free one: nothing to say
  EXPECT_TRUE(xtest::WaitFor([&] { return CountScreenPixels(status(), IsErrorRed) == 0; }, 3000));
  EXPECT_EQ(CountScreenPixels(status(), IsNoteGrey), 0);
  PressCombination({VK_CONTROL, VK_MENU}, 'P');  // shares AltGr: a note, no error
  EXPECT_TRUE(xtest::WaitFor([&] { return CountScreenPixels(status(), IsNoteGrey) > 20; }, 3000));
  EXPECT_EQ(CountScreenPixels(status(), IsErrorRed), 0);
  PressCombination({VK_CONTROL, VK_SHIFT}, 'L');
  ClickIn(dialog, kConfirm);
  ASSERT_TRUE(Closed(dialog));
  EXPECT_EQ(Value(L"HotKey"), MAKELONG('L', MOD_CONTROL | MOD_SHIFT));
  EXPECT_FALSE(Free(MOD_CONTROL | MOD_SHIFT, 'L'));
  UnregisterHotKey(nullptr, 8);
  EXPECT_EQ(program->Exit(), 0u);
}

}  // namespace
