// The modal dialog: its message map and its own loop, which hands a WM_QUIT on to the
// loop outside it.
#include "XEasyDialog.h"


#include "ControlMgr.h"
#include "XUIClassTable.h"
#include "XWindowSteps.h"

XUI_REGISTER_CLASS(L"Dialog", CXEasyDialog)

CXEasyDialog::CXEasyDialog() = default;

CXEasyDialog::~CXEasyDialog() = default;

UINT CXEasyDialog::GetClassStyle() { return CS_SAVEBITS | CS_VREDRAW | CS_HREDRAW | CS_DBLCLKS; }

DWORD CXEasyDialog::GetWindowStyle() { return XSTYLE_POPUP; }

DWORD CXEasyDialog::GetWindowExStyle() { return WS_EX_TOOLWINDOW; }

const wchar_t* CXEasyDialog::XUI_GetClassName() { return L"#32770"; }

LRESULT CXEasyDialog::MessageHandle(MESSAGE_EVENT* e) {
  if (RunEventSteps(e)) return 0;
  const HWND hwnd = e->hWnd;
  switch (e->uMsg) {
    case WM_CREATE:
      e->bHandled = TRUE;
      SetWindowLongW(hwnd, GWL_STYLE, GetWindowLongW(hwnd, GWL_STYLE) & ~WS_BORDER);
      return 0;
    case WM_PAINT:
      e->bHandled = TRUE;
      PaintBuffered(hwnd);
      return 0;
    case WM_SIZE: {
      e->bHandled = TRUE;
      const int cx = LOWORD(e->lParam), cy = HIWORD(e->lParam);
      if (cx && cy) SetRoundRegion(cx, cy, XUI_GetControlMgr()->GetRoundCorner());
      return 0;
    }
    case WM_CLOSE:
      e->bHandled = TRUE;
      DestroyWindow(hwnd);
      return 0;
    case WM_NCHITTEST:
      e->bHandled = TRUE;
      return XSkinnedHitTest(hwnd, e->lParam, XUI_GetControlMgr(), &XBorderHitTest3);
    case WM_COMMAND:
      switch (LOWORD(e->wParam)) {
        case XCMD_CLOSE:
        case XCMD_CONFIRM:
        case XCMD_DISMISS:
          e->bHandled = TRUE;
          DestroyWindow(hwnd);
          break;
        case XCMD_MINIMIZE:
          e->bHandled = TRUE;
          Minimize();
          break;
        default:
          break;
      }
      return 0;
    default:
      return 0;
  }
}

int CXEasyDialog::DoModal(HWND owner) {
  HWND dialog = nullptr;
  try {
    const DWORD style = GetWindowStyle() | GetWndStyle();
    const DWORD exStyle = GetWindowExStyle() | GetWndExStyle();
    const CRect r = XUI_GetRect();
    const CString caption = XUI_GetWindowText();
    dialog = Create(owner, &r, caption, style, exStyle, nullptr);
    if (!dialog) return 0;
    RelocateWnd();
  } catch (...) {
    // A dialog that could not be set up does not run; its window goes (the owner is still
    // enabled, the loop has not started, and nothing may unwind into the caller).
    if (GetHWND()) DestroyWindow(GetHWND());
    return 0;
  }
  HWND ownerWnd = GetWindow(dialog, GW_OWNER);
  ::ShowWindow(dialog, SW_SHOWNORMAL);
  if (ownerWnd) EnableWindow(ownerWnd, FALSE);

  MSG msg = {};
  bool quit = false;
  while (IsWindow(dialog)) {
    const BOOL got = GetMessageW(&msg, nullptr, 0, 0);
    if (got == 0) {
      quit = true;
      break;
    }
    if (got == -1) break;
    if (msg.message == WM_CLOSE && ownerWnd) {
      EnableWindow(ownerWnd, TRUE);
      SetFocus(ownerWnd);
    }
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
  if (ownerWnd) {
    EnableWindow(ownerWnd, TRUE);
    SetFocus(ownerWnd);
    SetActiveWindow(ownerWnd);
  }
  if (quit) PostQuitMessage(static_cast<int>(msg.wParam));
  return static_cast<int>(msg.wParam);
}
