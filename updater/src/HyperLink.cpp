// CHyperLink: window-procedure subclassing with the object found through a window property.
// The control paints itself (WM_PAINT and WM_PRINTCLIENT share one routine) over the brush its
// parent gives for static controls, so it matches the dialog's background.
#include "HyperLink.h"

#include <shellapi.h>

#include "UpdateRules.h"
#include "XWin.h"

namespace {

const wchar_t kProp[] = L"Brindle.HyperLink";
const wchar_t kSettingsKey[] = L"Software\\Microsoft\\Internet Explorer\\Settings";

// A colour value "r,g,b" of the browser settings, or fallback.
COLORREF ReadColor(HKEY key, const wchar_t* name, COLORREF fallback) {
  wchar_t text[64] = {0};
  DWORD type = 0;
  DWORD size = sizeof text - sizeof(wchar_t);
  if (RegQueryValueExW(key, name, nullptr, &type, reinterpret_cast<BYTE*>(text), &size) != ERROR_SUCCESS ||
      type != REG_SZ) {
    return fallback;
  }
  text[size / sizeof(wchar_t) < 63 ? size / sizeof(wchar_t) : 63] = 0;
  uint32_t color = 0;
  return brindle::ParseColorText(text, &color) ? static_cast<COLORREF>(color) : fallback;
}

}  // namespace

CHyperLink::~CHyperLink() { Detach(); }

bool CHyperLink::Attach(HWND control, const std::wstring& url) {
  Detach();
  if (!IsWindow(control)) return false;
  m_hWnd = control;
  m_url = url;
  ReadColors();
  LOGFONTW lf = {};
  HFONT font = reinterpret_cast<HFONT>(SendMessageW(control, WM_GETFONT, 0, 0));
  if (!font) font = static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
  if (GetObjectW(font, sizeof lf, &lf)) {
    lf.lfUnderline = TRUE;
    m_font.Reset(CreateFontIndirectW(&lf));
  }
  SetPropW(control, kProp, this);
  SetWindowLongPtrW(control, GWL_STYLE, GetWindowLongPtrW(control, GWL_STYLE) | SS_NOTIFY);
  m_oldProc = reinterpret_cast<WNDPROC>(
      SetWindowLongPtrW(control, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&CHyperLink::WindowProc)));
  InvalidateRect(control, nullptr, TRUE);
  return m_oldProc != nullptr;
}

void CHyperLink::Detach() {
  if (m_hWnd && m_oldProc && IsWindow(m_hWnd)) {
    SetWindowLongPtrW(m_hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(m_oldProc));
    RemovePropW(m_hWnd, kProp);
  }
  m_hWnd = nullptr;
  m_oldProc = nullptr;
}

void CHyperLink::ReadColors() {
  m_linkColor = RGB(0, 0, 255);
  m_visitedColor = RGB(128, 0, 128);
  CXRegKey key;
  if (RegOpenKeyExW(HKEY_CURRENT_USER, kSettingsKey, 0, KEY_QUERY_VALUE, key.Out()) != ERROR_SUCCESS) return;
  m_linkColor = ReadColor(key.Get(), L"Anchor Color", m_linkColor);
  m_visitedColor = ReadColor(key.Get(), L"Anchor Color Visited", m_visitedColor);
}

LRESULT CALLBACK CHyperLink::WindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  CHyperLink* self = static_cast<CHyperLink*>(GetPropW(hwnd, kProp));
  if (!self || !self->m_oldProc) return DefWindowProcW(hwnd, msg, wParam, lParam);
  if (msg == WM_NCDESTROY) {
    WNDPROC old = self->m_oldProc;
    self->Detach();
    return CallWindowProcW(old, hwnd, msg, wParam, lParam);
  }
  // A window procedure is called by the system: nothing may unwind through it.
  try {
    return self->OnMessage(msg, wParam, lParam);
  } catch (...) {
    return CallWindowProcW(self->m_oldProc, hwnd, msg, wParam, lParam);
  }
}

LRESULT CHyperLink::OnMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
  switch (msg) {
    case WM_PAINT: {
      PAINTSTRUCT ps;
      HDC dc = BeginPaint(m_hWnd, &ps);
      if (dc) Paint(dc);
      EndPaint(m_hWnd, &ps);
      return 0;
    }
    case WM_PRINTCLIENT:
      Paint(reinterpret_cast<HDC>(wParam));
      return 0;
    case WM_ERASEBKGND:
      return 1;  // Paint fills the background
    case WM_SETCURSOR: {
      POINT pt;
      GetCursorPos(&pt);
      ScreenToClient(m_hWnd, &pt);
      if (OverText(MAKELPARAM(pt.x, pt.y))) {
        SetCursor(LoadCursorW(nullptr, IDC_HAND));
        return TRUE;
      }
      break;
    }
    case WM_LBUTTONUP:
      if (OverText(lParam)) {
        ShellExecuteW(GetParent(m_hWnd), L"open", m_url.c_str(), nullptr, nullptr, SW_SHOWNORMAL);
        m_visited = true;
        InvalidateRect(m_hWnd, nullptr, TRUE);
      }
      return 0;
    default:
      break;
  }
  return CallWindowProcW(m_oldProc, m_hWnd, msg, wParam, lParam);
}

RECT CHyperLink::TextRect() {
  RECT rc = {0, 0, 0, 0};
  CXWindowDC dc(m_hWnd);
  if (!dc.Get()) return rc;
  CXDCState state(dc.Get());
  if (m_font) SelectObject(dc.Get(), m_font.Get());
  wchar_t text[256] = {0};
  GetWindowTextW(m_hWnd, text, 256);
  RECT client;
  GetClientRect(m_hWnd, &client);
  rc = client;
  DrawTextW(dc.Get(), text, -1, &rc, DT_LEFT | DT_SINGLELINE | DT_NOPREFIX | DT_CALCRECT);
  if (rc.right > client.right) rc.right = client.right;
  rc.bottom = client.bottom;
  return rc;
}

bool CHyperLink::OverText(LPARAM clientPoint) {
  RECT rc = TextRect();
  POINT pt = {static_cast<short>(LOWORD(clientPoint)), static_cast<short>(HIWORD(clientPoint))};
  return PtInRect(&rc, pt) != FALSE;
}

void CHyperLink::Paint(HDC dc) {
  RECT rc;
  GetClientRect(m_hWnd, &rc);
  CXDCState state(dc);
  HBRUSH brush = reinterpret_cast<HBRUSH>(
      SendMessageW(GetParent(m_hWnd), WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc), reinterpret_cast<LPARAM>(m_hWnd)));
  FillRect(dc, &rc, brush ? brush : GetSysColorBrush(COLOR_3DFACE));
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, m_visited ? m_visitedColor : m_linkColor);
  if (m_font) SelectObject(dc, m_font.Get());
  wchar_t text[256] = {0};
  GetWindowTextW(m_hWnd, text, 256);
  DrawTextW(dc, text, -1, &rc, DT_LEFT | DT_SINGLELINE | DT_NOPREFIX | DT_END_ELLIPSIS);
}
