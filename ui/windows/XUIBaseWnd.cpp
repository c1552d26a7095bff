// The layered window: every change that can alter its look ends in Draw, which hands a
// premultiplied 32-bit buffer to UpdateLayeredWindow.
#include "XUIBaseWnd.h"


#include "ControlMgr.h"
#include "XDraw.h"
#include "XUIClassTable.h"
#include "XWindowSteps.h"

XUI_REGISTER_CLASS(L"mainwndlayer", XUIBaseWnd)

namespace {

// The window's device context (whole window, frame included), released however drawing ends.
class CXWholeWindowDC {
 public:
  explicit CXWholeWindowDC(HWND wnd) : m_wnd(wnd), m_dc(GetWindowDC(wnd)) {}
  ~CXWholeWindowDC() {
    if (m_dc) ReleaseDC(m_wnd, m_dc);
  }
  CXWholeWindowDC(const CXWholeWindowDC&) = delete;
  CXWholeWindowDC& operator=(const CXWholeWindowDC&) = delete;
  HDC Get() const { return m_dc; }

 private:
  HWND m_wnd;
  HDC m_dc;
};

}  // namespace

XUIBaseWnd::XUIBaseWnd() = default;

XUIBaseWnd::~XUIBaseWnd() = default;

UINT XUIBaseWnd::GetClassStyle() { return CS_VREDRAW | CS_HREDRAW | CS_DBLCLKS; }

DWORD XUIBaseWnd::GetWindowStyle() { return XSTYLE_POPUP; }

DWORD XUIBaseWnd::GetWindowExStyle() { return WS_EX_LAYERED; }

const wchar_t* XUIBaseWnd::XUI_GetClassName() { return L"XUIBaseWnd"; }

void XUIBaseWnd::Draw() {
  HWND hwnd = GetHWND();
  if (!hwnd) return;
  CRect r;
  GetWindowRect(hwnd, &r);
  CXWholeWindowDC screen(hwnd);
  CXMemDC buffer(screen.Get(), r.Width(), r.Height(), true);
  if (!buffer.IsValid()) return;
  XUI_GetControlMgr()->DoPaint(buffer);
  POINT dst = {r.left, r.top};
  SIZE size = {r.Width(), r.Height()};
  POINT src = {0, 0};
  BLENDFUNCTION blend = {AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
  UpdateLayeredWindow(hwnd, screen.Get(), &dst, &size, buffer, &src, 0, &blend, ULW_ALPHA);
}

LRESULT XUIBaseWnd::MessageHandle(MESSAGE_EVENT* e) {
  const HWND hwnd = e->hWnd;
  CControlMgr* mgr = XUI_GetControlMgr();
  switch (e->uMsg) {
    case WM_CREATE:
      e->bHandled = TRUE;
      return 0;
    case WM_SIZE: {
      e->bHandled = TRUE;
      const int cx = LOWORD(e->lParam), cy = HIWORD(e->lParam);
      if (cx && cy) {
        SetRoundRegion(cx, cy, 9);
        Draw();
      }
      return 0;
    }
    case WM_CLOSE:
      e->bHandled = TRUE;
      XCloseMainWindow(hwnd);
      return 0;
    case WM_NCHITTEST:
      e->bHandled = TRUE;
      return XSkinnedHitTest(hwnd, e->lParam, mgr, &XBorderHitTest3);
    case WM_SETCURSOR:
    case WM_SETFOCUS:
      e->bHandled = TRUE;
      return mgr->DispatchMsg(e);
    case WM_MOUSEMOVE:
    case WM_MOUSEHOVER:
    case WM_MOUSELEAVE:
    case WM_MOUSEWHEEL:
    case WM_LBUTTONDOWN:
    case WM_LBUTTONUP:
    case WM_RBUTTONDOWN:
    case WM_RBUTTONUP: {
      e->bHandled = TRUE;
      LRESULT result = mgr->DispatchMsg(e);
      Draw();
      return result;
    }
    case WM_COMMAND:
      e->bHandled = TRUE;
      if (LOWORD(e->wParam) == XCMD_CLOSE) {
        XCloseMainWindow(hwnd);
        return 0;
      }
      if (LOWORD(e->wParam) == XCMD_MINIMIZE) {
        Minimize();
        return 0;
      }
      return mgr->DispatchMsg(e);
    default:
      return CXWindow::MessageHandle(e);
  }
}
