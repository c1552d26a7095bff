// The tray icon record and its menu, in-process with a window of the test: the record the
// shell gets, and the menu's items read while the menu is open (then closed with Escape), in
// the language of the user's UI.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "TestUtil.h"
#include "TrayIcon.h"
#include "XUiLanguage.h"

namespace {

LRESULT CALLBACK OwnerProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  return DefWindowProcW(hwnd, msg, wParam, lParam);
}

struct MenuSeen {
  std::vector<std::wstring> texts;
  std::vector<UINT> ids;
};
MenuSeen g_seen;

// Runs inside the menu's modal loop: reads the open menu and closes it.
void CALLBACK InspectMenu(HWND, UINT, UINT_PTR timer, DWORD) {
  HWND menu = FindWindowW(L"#32768", nullptr);
  if (!menu || !IsWindowVisible(menu)) return;
  KillTimer(nullptr, timer);
  HMENU items = reinterpret_cast<HMENU>(SendMessageW(menu, 0x01E1 /* MN_GETHMENU */, 0, 0));
  for (int i = 0; items && i < GetMenuItemCount(items); ++i) {
    wchar_t text[64] = {0};
    GetMenuStringW(items, i, text, 64, MF_BYPOSITION);
    g_seen.texts.push_back(text);
    g_seen.ids.push_back(GetMenuItemID(items, i));
  }
  EndMenu();
}

TEST(TrayIcon, RecordAndMenu) {
  WNDCLASSW wc = {};
  wc.lpfnWndProc = OwnerProc;
  wc.hInstance = GetModuleHandleW(nullptr);
  wc.lpszClassName = L"PinvaleTrayTest";
  RegisterClassW(&wc);
  HWND owner = CreateWindowExW(0, wc.lpszClassName, L"tray owner", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                               wc.hInstance, nullptr);
  ASSERT_NE(owner, nullptr);
  {
    CTrayIcon tray;
    tray.Create(owner);
    const NOTIFYICONDATAW& r = tray.Record();
    EXPECT_EQ(r.cbSize, 952u);
    EXPECT_EQ(r.hWnd, owner);
    EXPECT_EQ(r.uID, 0u);
    EXPECT_EQ(r.uFlags, static_cast<UINT>(NIF_MESSAGE | NIF_ICON | NIF_TIP));
    EXPECT_EQ(r.uCallbackMessage, 1027u);
    EXPECT_STREQ(r.szTip, L"Pinvale");
    EXPECT_NE(CTrayIcon::TaskbarCreatedMessage(), 0u);
    EXPECT_EQ(CTrayIcon::TaskbarCreatedMessage(), RegisterWindowMessageW(L"TaskbarCreated"));

    SetTimer(nullptr, 0, 50, InspectMenu);
    tray.ShowMenu();
    ASSERT_EQ(g_seen.texts.size(), 2u);
    // In the UI language of the run (tray.cmake runs this test in English and in Chinese).
    const bool chinese = XUserLanguage() == XLANG_CHINESE;
    const char* wanted = getenv("PINVALE_TEST_LANGUAGE");
    ASSERT_NE(wanted, nullptr);
    EXPECT_STREQ(wanted, chinese ? "zh" : "en");
    EXPECT_EQ(g_seen.texts[0], chinese ? L"\u6253\u5f00Pinvale" : L"Open Pinvale");
    EXPECT_EQ(g_seen.ids[0], 1000u);
    EXPECT_EQ(g_seen.texts[1], chinese ? L"\u9000\u51fa" : L"Exit");
    EXPECT_EQ(g_seen.ids[1], 1u);
    tray.Delete();
  }
  DestroyWindow(owner);
}

}  // namespace
