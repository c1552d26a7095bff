// The skinned window base: class registration, creation, the two window procedures, window
// attributes and the shared steps of the window classes. The object pointer in the native
// window is set at WM_NCCREATE and cleared at WM_NCDESTROY or when the object goes first.
#include "XWindow.h"


#include "ControlMgr.h"
#include "XBaseUI.h"
#include "XDraw.h"
#include "XModelHooks.h"
#include "XModule.h"
#include "XSkinTables.h"
#include "XSkinText.h"
#include "XWindowSteps.h"

namespace {

const wchar_t kObjectProp[] = L"WndX";

// BeginPaint's device context, handed back by EndPaint however the painting ends.
class CXPaintDC {
 public:
  explicit CXPaintDC(HWND wnd) : m_wnd(wnd), m_dc(BeginPaint(wnd, &m_ps)) {}
  ~CXPaintDC() { EndPaint(m_wnd, &m_ps); }
  CXPaintDC(const CXPaintDC&) = delete;
  CXPaintDC& operator=(const CXPaintDC&) = delete;
  HDC Get() const { return m_dc; }

 private:
  HWND m_wnd;
  PAINTSTRUCT m_ps = {};
  HDC m_dc;
};

// The layout code asks here for a window's rule (see XModelHooks.h).
CXRelayOut* WindowRelayout(IXUIObject* object) {
  CXWindow* window = dynamic_cast<CXWindow*>(object);
  return window ? window->GetRelayoutPtr() : nullptr;
}
[[maybe_unused]] const bool kRelayoutHooked = (XModelHooks().windowRelayout = &WindowRelayout, true);

}  // namespace

LRESULT XBorderHitTest5(const RECT& r, POINT p, BOOL resizable) {
  if (!resizable) return HTCLIENT;
  const int b = 5;
  if (p.y < r.top + b) {
    if (p.x < r.left + b) return HTTOPLEFT;
    if (p.x > r.right - b) return HTTOPRIGHT;
    return HTTOP;
  }
  if (p.y > r.bottom - b) {
    if (p.x < r.left + b) return HTBOTTOMLEFT;
    if (p.x > r.right - b) return HTBOTTOMRIGHT;
    return HTBOTTOM;
  }
  if (p.x < r.left + b) return HTLEFT;
  if (p.x > r.right - b) return HTRIGHT;
  return HTCLIENT;
}

LRESULT XBorderHitTest3(const RECT& r, POINT p, BOOL resizable) {
  if (!resizable) return HTCLIENT;
  const int edge = 3, corner = 10;
  if (p.x <= r.left + edge) return HTLEFT;
  if (p.x >= r.right - edge) return HTRIGHT;
  if (p.y <= r.top + edge) return HTTOP;
  if (p.y >= r.bottom - edge) return HTBOTTOM;
  if (p.x <= r.left + corner && p.y <= r.top + corner) return HTTOPLEFT;
  if (p.x >= r.right - corner && p.y <= r.top + corner) return HTTOPRIGHT;
  if (p.x <= r.left + corner && p.y >= r.bottom - corner) return HTBOTTOMLEFT;
  if (p.x >= r.right - corner && p.y >= r.bottom - corner) return HTBOTTOMRIGHT;
  return HTCLIENT;
}

CXWindow* CXWindow::m_pThis = nullptr;

CXWindow::CXWindow() : CXEvent(this), m_pOwnRelayout(new CXRelayOut(this)), m_pRelayout(m_pOwnRelayout) {
  m_pOwnRelayout->SetEnable(1);
  m_pThis = this;
}

CXWindow::~CXWindow() {
  Detach();
  if (m_pThis == this) m_pThis = nullptr;
  delete m_pControlMgr;
  m_pControlMgr = nullptr;
  if (m_pRelayout != m_pOwnRelayout) delete m_pRelayout;
  delete m_pOwnRelayout;
}

// A native window that outlives its object falls back to default processing.
void CXWindow::Detach() {
  if (!m_hWnd || !IsWindow(m_hWnd)) return;
  if (m_superclassed) {
    if (GetPropW(m_hWnd, kObjectProp) == this) RemovePropW(m_hWnd, kObjectProp);
  } else if (reinterpret_cast<CXWindow*>(GetWindowLongPtrW(m_hWnd, GWLP_USERDATA)) == this) {
    SetWindowLongPtrW(m_hWnd, GWLP_USERDATA, 0);
  }
  m_hWnd = nullptr;
}

LRESULT CXWindow::MessageHandle(MESSAGE_EVENT* event) {
  // The base procedure has processed the message: it must not be processed again.
  event->bHandled = TRUE;
  return CallWindowProcW(m_baseWndProc, event->hWnd, event->uMsg, event->wParam, event->lParam);
}

UINT CXWindow::GetClassStyle() { return CS_VREDRAW | CS_HREDRAW | CS_DBLCLKS; }

const wchar_t* CXWindow::GetSuperClassName() { return nullptr; }

DWORD CXWindow::GetWindowStyle() { return XSTYLE_BASE; }

DWORD CXWindow::GetWindowExStyle() { return 0; }

const wchar_t* CXWindow::XUI_GetClassName() { return L"XWindowUI"; }

BOOL CXWindow::RegisterWindowClass() {
  WNDCLASSW wc = {};
  wc.style = GetClassStyle();
  wc.lpfnWndProc = &CXWindow::XWndProc;
  wc.hInstance = XThisModule();
  wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  wc.lpszClassName = XUI_GetClassName();
  if (RegisterClassW(&wc)) return 1;
  return GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
}

BOOL CXWindow::RegisterSuperclass() {
  WNDCLASSEXW wc = {};
  wc.cbSize = sizeof wc;
  const wchar_t* base = GetSuperClassName();
  if (!GetClassInfoExW(nullptr, base, &wc) && !GetClassInfoExW(XThisModule(), base, &wc)) return 0;
  m_baseWndProc = wc.lpfnWndProc;
  m_superclassed = true;
  wc.cbSize = sizeof wc;
  wc.hInstance = XThisModule();
  wc.lpfnWndProc = &CXWindow::__ControlProc;
  wc.lpszClassName = XUI_GetClassName();
  if (RegisterClassExW(&wc)) return 1;
  return GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
}

HWND CXWindow::Create(HWND parent, const RECT* rect, const wchar_t* name, DWORD style, DWORD exStyle, HMENU menu) {
  if (!rect)
    return Create(parent, name, style, exStyle, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, menu);
  return Create(parent, name, style, exStyle, rect->left, rect->top, rect->right - rect->left,
                rect->bottom - rect->top, menu);
}

HWND CXWindow::Create(HWND parent, const wchar_t* name, DWORD style, DWORD exStyle, int x, int y, int width,
                      int height, HMENU menu) {
  // One native window per object: a second one would leave the first pointing here.
  if (m_hWnd && IsWindow(m_hWnd)) return nullptr;
  BOOL registered = GetSuperClassName() ? RegisterSuperclass() : RegisterWindowClass();
  if (!registered) return nullptr;
  if (style == 0) style = GetWindowStyle();
  if (exStyle == 0) exStyle = GetWindowExStyle();
  HWND wnd = CreateWindowExW(exStyle, XUI_GetClassName(), name, style, x, y, width, height, parent, menu,
                             XThisModule(), static_cast<CXWindow*>(this));
  m_hWnd = wnd;
  return wnd;
}

BOOL CXWindow::ShowWindow(int show) { return m_hWnd ? ::ShowWindow(m_hWnd, show) : FALSE; }

BOOL CXWindow::UpdateWindow() { return m_hWnd ? ::UpdateWindow(m_hWnd) : FALSE; }

void CXWindow::CenterWindow() {
  if (!m_hWnd) return;
  CRect reference;
  HWND parent = GetParent(m_hWnd);
  if (!parent || !IsWindow(parent) || !GetWindowRect(parent, &reference))
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &reference, 0);
  CRect r;
  GetWindowRect(m_hWnd, &r);
  MoveWindow(m_hWnd, reference.left + (reference.Width() - r.Width()) / 2,
             reference.top + (reference.Height() - r.Height()) / 2, r.Width(), r.Height(), FALSE);
}

void CXWindow::RelocateWnd() {
  XUI_GetControlMgr()->SetAllWnd(m_hWnd);
  if (m_pRelayout && m_pRelayout->IsEnable()) {
    CRect r = m_pRelayout->CalcRect();
    XUI_SetRect(r);
    XUI_MoveWindow(r);
  }
  if (m_afterStyle & XWND_AFTER_VISIBLE) {
    ShowWindow(SW_SHOW);
    UpdateWindow();
  }
}

void CXWindow::SetMinMaxSize(int minWidth, int minHeight, int maxWidth, int maxHeight) {
  m_minWidth = minWidth;
  m_minHeight = minHeight;
  m_maxWidth = maxWidth;
  m_maxHeight = maxHeight;
}

IXUIObject* CXWindow::XUI_GetChild(const wchar_t* id) { return XUI_GetControlMgr()->FindObject(id); }

void CXWindow::XUI_AddChild(IXUIObject* child) { XUI_GetControlMgr()->AddUI(child); }

CRect CXWindow::XUI_GetWindowRect() {
  CRect r;
  if (m_hWnd) GetWindowRect(m_hWnd, &r);
  return r;
}

CRect CXWindow::XUI_GetClientRect() {
  CRect r = m_rect;
  r.MoveToXY(0, 0);
  return r;
}

void CXWindow::XUI_MoveWindow(const CRect& rect) {
  if (m_hWnd) MoveWindow(m_hWnd, rect.left, rect.top, rect.Width(), rect.Height(), FALSE);
}

DWORD CXWindow::XUI_GetStyle() { return m_hWnd ? static_cast<DWORD>(GetWindowLongW(m_hWnd, GWL_STYLE)) : 0; }

void CXWindow::XUI_SetStyle(DWORD style) {
  if (m_hWnd) SetWindowLongW(m_hWnd, GWL_STYLE, static_cast<LONG>(style));
}

DWORD CXWindow::XUI_GetExStyle() { return m_hWnd ? static_cast<DWORD>(GetWindowLongW(m_hWnd, GWL_EXSTYLE)) : 0; }

void CXWindow::XUI_SetExStyle(DWORD style) {
  if (m_hWnd) SetWindowLongW(m_hWnd, GWL_EXSTYLE, static_cast<LONG>(style));
}

void CXWindow::XUI_SetWindowText(const wchar_t* text) {
  m_text = text;
  if (m_hWnd) SetWindowTextW(m_hWnd, m_text);
}

BOOL CXWindow::XUI_IsVisible() { return m_hWnd && IsWindowVisible(m_hWnd); }

void CXWindow::XUI_SetVisible(BOOL visible) {
  if (m_hWnd) ::ShowWindow(m_hWnd, visible ? SW_SHOW : SW_HIDE);
}

BOOL CXWindow::XUI_IsEnable() { return m_hWnd && IsWindowEnabled(m_hWnd); }

void CXWindow::XUI_SetEnable(BOOL enable) {
  if (m_hWnd) EnableWindow(m_hWnd, enable);
}

BOOL CXWindow::XUI_IsFocus() { return m_hWnd && GetFocus() == m_hWnd; }

void CXWindow::XUI_SetFocus(BOOL focus) {
  if (focus && m_hWnd) ::SetFocus(m_hWnd);
}

CControlMgr* CXWindow::XUI_GetControlMgr() {
  if (!m_pControlMgr) {
    m_pControlMgr = new CControlMgr(this);
    m_pControlMgr->SetWnd(m_hWnd);
  }
  return m_pControlMgr;
}

void CXWindow::XUI_SetControlMgr(CControlMgr* mgr) {
  if (mgr == m_pControlMgr) return;
  delete m_pControlMgr;
  m_pControlMgr = mgr;
}

BOOL CXWindow::XUI_SetAttribute(const wchar_t* name, const wchar_t* value) {
  if (!name) return 0;
  const int n = XSkinParseInt(value);
  auto flag = [n](DWORD& word, DWORD bit) {
    if (n) word |= bit;
    else word &= ~bit;
  };
  if (lstrcmpiW(name, L"roundcorner") == 0) {
    XUI_GetControlMgr()->SetRoundCorner(n);
    return 1;
  }
  if (lstrcmpiW(name, L"resize") == 0) {
    XUI_GetControlMgr()->EnableResize(n != 0);
    return 1;
  }
  if (lstrcmpiW(name, L"center") == 0) {
    flag(m_afterStyle, XWND_AFTER_CENTER);
    return 1;
  }
  if (lstrcmpiW(name, L"topmost") == 0) {
    flag(m_extraExStyle, WS_EX_TOPMOST);
    return 1;
  }
  if (lstrcmpiW(name, L"toolwindow") == 0) {
    flag(m_extraExStyle, WS_EX_TOOLWINDOW);
    return 1;
  }
  if (lstrcmpiW(name, L"visible") == 0) {
    XUI_SetVisible(n);
    flag(m_afterStyle, XWND_AFTER_VISIBLE);
    return 1;
  }
  if (lstrcmpiW(name, L"bkcolor") == 0) {
    m_bkColor = CXColorTable::Instance().GetColor(n);
    return 0;
  }
  if (lstrcmpiW(name, L"minmaxsize") == 0) {
    std::vector<int> v = XSkinParseIntList(CString(value));
    if (v.size() == 4) SetMinMaxSize(v[0], v[1], v[2], v[3]);
    else SetMinMaxSize(0, 0, 0, 0);
    return 0;
  }
  return 0;
}

bool CXWindow::RunEventSteps(MESSAGE_EVENT* event) {
  DoEventStep(event);
  XUI_GetControlMgr()->DispatchMsg(event);
  return event->bHandled != 0;
}

void CXWindow::PaintBuffered(HWND hwnd, const std::function<void(HDC, const CRect&)>& extra) {
  CXPaintDC paint(hwnd);
  const HDC dc = paint.Get();
  CRect client;
  GetClientRect(hwnd, &client);
  CXMemDC mem(dc, client.Width(), client.Height());
  if (mem.IsValid()) {
    CXGdiObject<HBRUSH> brush(CreateSolidBrush(m_bkColor));
    FillRect(mem, &client, brush.Get());
    XUI_GetControlMgr()->DoPaint(mem);
    if (extra) extra(mem, client);
    BitBlt(dc, 0, 0, client.Width(), client.Height(), mem, 0, 0, SRCCOPY);
  }
}

void CXWindow::SetRoundRegion(int width, int height, int radius) {
  if (!m_hWnd) return;
  CXGdiObject<HRGN> region(CreateRoundRectRgn(0, 0, width, height, radius, radius));
  // The window owns the region once it has taken it.
  if (region && SetWindowRgn(m_hWnd, region.Get(), TRUE)) region.Detach();
}

void CXWindow::Minimize() {
  HWND wnd = XUI_GetControlMgr()->GetWnd();
  SendMessageW(wnd ? wnd : m_hWnd, WM_SYSCOMMAND, SC_MINIMIZE, 0);
}

void CXWindow::FillMinMaxInfo(CXWindow* self, HWND hwnd, MINMAXINFO* info) {
  if (!info) return;
  MONITORINFO mi = {};
  mi.cbSize = sizeof mi;
  GetMonitorInfoW(MonitorFromWindow(hwnd, MONITOR_DEFAULTTONEAREST), &mi);
  CRect work(mi.rcWork);
  const LONG w = self->m_maxWidth ? self->m_maxWidth : work.Width();
  const LONG h = self->m_maxHeight ? self->m_maxHeight : work.Height();
  info->ptMaxPosition = POINT{0, 0};
  info->ptMaxSize = POINT{w, h};
  info->ptMaxTrackSize = POINT{w, h};
  info->ptMinTrackSize = POINT{self->m_minWidth, self->m_minHeight};
}

LRESULT CXWindow::Route(CXWindow* self, MESSAGE_EVENT& event, bool superclassed) {
  HWND hwnd = event.hWnd;
  switch (event.uMsg) {
    case WM_PAINT: {
      RECT update;
      if (!GetUpdateRect(hwnd, &update, FALSE)) return 0;
      break;
    }
    case WM_ERASEBKGND:
      if (superclassed) return 1;
      break;
    case WM_GETMINMAXINFO:
      FillMinMaxInfo(self, hwnd, reinterpret_cast<MINMAXINFO*>(event.lParam));
      return 0;
    case WM_NCCALCSIZE:
    case WM_NCPAINT:
      return 0;
    case WM_NCACTIVATE:
      return event.wParam == 0 ? 1 : 0;
    default:
      break;
  }
  LRESULT result = self->MessageHandle(&event);
  if (superclassed || event.bHandled) return result;
  if (event.uMsg == WM_ERASEBKGND) return 1;
  return DefWindowProcW(hwnd, event.uMsg, event.wParam, event.lParam);
}

namespace {

MESSAGE_EVENT MakeEvent(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  MESSAGE_EVENT event = {};
  event.hWnd = hwnd;
  event.uMsg = msg;
  POINT cursor = {0, 0};
  GetCursorPos(&cursor);
  event.x = cursor.x;
  event.y = cursor.y;
  event.lParam = lParam;
  event.wParam = wParam;
  return event;
}

}  // namespace

namespace {

// Where a native window keeps its object: the user data of the framework's own classes, the
// property "WndX" of superclassed system controls (whose user data is the control's own).
struct XUserDataSlot {
  static constexpr bool kSuperclassed = false;
  static CXWindow* Get(HWND hwnd) { return reinterpret_cast<CXWindow*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA)); }
  static void Set(HWND hwnd, CXWindow* self) { SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self)); }
  static void Clear(HWND hwnd) { SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0); }
};

struct XPropSlot {
  static constexpr bool kSuperclassed = true;
  static CXWindow* Get(HWND hwnd) { return static_cast<CXWindow*>(GetPropW(hwnd, kObjectProp)); }
  static void Set(HWND hwnd, CXWindow* self) { SetPropW(hwnd, kObjectProp, self); }
  static void Clear(HWND hwnd) { RemovePropW(hwnd, kObjectProp); }
};

}  // namespace

class CXWindowProc {
 public:
  template <class Slot>
  static LRESULT Run(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    CXWindow* self = nullptr;
    if (msg == WM_NCCREATE) {
      self = static_cast<CXWindow*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
      if (self) {
        self->m_hWnd = hwnd;
        Slot::Set(hwnd, self);
      }
    } else {
      self = Slot::Get(hwnd);
    }
    if (!self) return DefWindowProcW(hwnd, msg, wParam, lParam);
    if (msg == WM_NCDESTROY) {
      LRESULT result = CallWindowProcW(self->m_baseWndProc, hwnd, msg, wParam, lParam);
      Slot::Clear(hwnd);
      self->m_hWnd = nullptr;
      return result;
    }
    MESSAGE_EVENT event = MakeEvent(hwnd, msg, wParam, lParam);
    // No C++ exception may unwind through the system's message dispatch.
    try {
      return CXWindow::Route(self, event, Slot::kSuperclassed);
    } catch (...) {
      return 0;
    }
  }
};

LRESULT CALLBACK CXWindow::XWndProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  return CXWindowProc::Run<XUserDataSlot>(hwnd, msg, wParam, lParam);
}

LRESULT CALLBACK CXWindow::__ControlProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  return CXWindowProc::Run<XPropSlot>(hwnd, msg, wParam, lParam);
}

LRESULT XSkinnedHitTest(HWND hwnd, LPARAM lParam, CControlMgr* mgr, XBORDER_HIT_TEST test) {
  CRect r;
  GetWindowRect(hwnd, &r);
  const BOOL resizable = mgr->IsEnableResize() && !IsZoomed(hwnd);
  return test(r, CPoint(lParam), resizable);
}

void XCloseMainWindow(HWND hwnd) {
  DestroyWindow(hwnd);
  PostQuitMessage(0);
}
