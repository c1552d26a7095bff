// The opaque main window's message map, after the event steps shared with the dialog.
#include "XEasyWnd.h"


#include "ControlMgr.h"
#include "XBaseUI.h"
#include "XUIClassTable.h"
#include "XWindowSteps.h"

XUI_REGISTER_CLASS(L"mainwnd", CXEasyWnd)

CXEasyWnd::CXEasyWnd() = default;

CXEasyWnd::~CXEasyWnd() = default;

UINT CXEasyWnd::GetClassStyle() { return CS_VREDRAW | CS_HREDRAW | CS_DBLCLKS; }

DWORD CXEasyWnd::GetWindowStyle() { return XSTYLE_MAIN; }

DWORD CXEasyWnd::GetWindowExStyle() { return 0; }

const wchar_t* CXEasyWnd::XUI_GetClassName() { return L"XEASYWND"; }

void CXEasyWnd::OnSize(HWND hwnd) {
  CRect r;
  GetWindowRect(hwnd, &r);
  CControlMgr* mgr = XUI_GetControlMgr();
  SetRoundRegion(r.Width(), r.Height(), mgr->GetRoundCorner());
  XUI_SetRect(r);
  if (!mgr->IsEnableResize() || mgr->GetCount() == 0) return;
  for (int i = 0; i < mgr->GetCount(); ++i) {
    if (CXBaseUI* child = mgr->GetUI(i)) {
      child->NeedRelayout(TRUE);
      child->Relayout();
    }
  }
}

LRESULT CXEasyWnd::OnNCHittest(HWND hwnd, LPARAM lParam) {
  return XSkinnedHitTest(hwnd, lParam, XUI_GetControlMgr(), &XBorderHitTest5);
}

LRESULT CXEasyWnd::MessageHandle(MESSAGE_EVENT* e) {
  if (RunEventSteps(e)) return 0;
  const HWND hwnd = e->hWnd;
  switch (e->uMsg) {
    case WM_CREATE:
    case WM_CONTEXTMENU:
      e->bHandled = TRUE;
      return 0;
    case WM_PAINT:
      e->bHandled = TRUE;
      PaintBuffered(hwnd);
      return 0;
    case WM_SIZE:
      e->bHandled = TRUE;
      OnSize(hwnd);
      return 0;
    case WM_CLOSE:
      e->bHandled = TRUE;
      XCloseMainWindow(hwnd);
      return 0;
    case WM_NCHITTEST:
      e->bHandled = TRUE;
      return OnNCHittest(hwnd, e->lParam);
    case WM_COMMAND:
      if (LOWORD(e->wParam) == XCMD_CLOSE) {
        e->bHandled = TRUE;
        XCloseMainWindow(hwnd);
      } else if (LOWORD(e->wParam) == XCMD_MINIMIZE) {
        e->bHandled = TRUE;
        Minimize();
      }
      return 0;
    default:
      return 0;
  }
}
