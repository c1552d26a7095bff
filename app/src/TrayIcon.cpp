// The tray icon over Shell_NotifyIconW. Results of the shell calls are not looked at: an add
// that fails at start-up is repeated when the taskbar announces itself.
#include "TrayIcon.h"

#include <cstddef>

#include "XWin.h"

namespace {

// Registered while the program's static data is set up, before the entry point runs.
const UINT g_taskbarCreated = RegisterWindowMessageW(L"TaskbarCreated");

// The record up to and including its GUID field (the version-3 layout).
const DWORD kRecordSize = offsetof(NOTIFYICONDATAW, guidItem) + sizeof(GUID);
static_assert(sizeof(void*) == 8 || kRecordSize == 952, "the version-3 record of the 32-bit program");

}  // namespace

CTrayIcon::CTrayIcon() { ZeroMemory(&m_data, sizeof m_data); }

UINT CTrayIcon::TaskbarCreatedMessage() { return g_taskbarCreated; }

void CTrayIcon::Create(HWND window) {
  if (!m_icon) {
    m_icon.Reset(static_cast<HICON>(LoadImageW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(128), IMAGE_ICON,
                                               GetSystemMetrics(SM_CXSMICON), GetSystemMetrics(SM_CYSMICON),
                                               LR_DEFAULTCOLOR)));
  }
  ZeroMemory(&m_data, sizeof m_data);
  m_data.cbSize = kRecordSize;
  m_data.hWnd = window;
  m_data.uID = 0;
  m_data.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
  m_data.uCallbackMessage = kCallbackMessage;
  m_data.hIcon = m_icon.Get();
  XCopyBounded(m_data.szTip, sizeof m_data.szTip / sizeof m_data.szTip[0], L"Pinvale");
  Add();
}

void CTrayIcon::Add() {
  if (m_data.hWnd) Shell_NotifyIconW(NIM_ADD, &m_data);
}

void CTrayIcon::Delete() {
  if (m_data.hWnd) Shell_NotifyIconW(NIM_DELETE, &m_data);
}

void CTrayIcon::ShowMenu() {
  if (!m_data.hWnd) return;
  CXMenuHandle menu(CreatePopupMenu());
  if (!menu) return;
  AppendMenuW(menu.Get(), MF_STRING, kCommandOpen, L"\u6253\u5f00Pinvale");
  AppendMenuW(menu.Get(), MF_STRING, kCommandExit, L"\u9000\u51fa");
  POINT at = {0, 0};
  GetCursorPos(&at);
  TrackPopupMenu(menu.Get(), TPM_LEFTBUTTON, at.x, at.y, 0, m_data.hWnd, nullptr);
}
