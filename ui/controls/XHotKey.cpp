// The hotkey field: the native control lives in the host window and dies with it. A subclass
// of the control keeps its last combination here as it goes, and is removed when the object
// goes first, so neither side ever reaches the other after its end.
#include "XHotKey.h"

#include <commctrl.h>

#include "XComCtl.h"
#include "XSkinTables.h"
#include "XUIClassTable.h"

XUI_REGISTER_CLASS(L"hotkey", CXHotKey)

namespace {

const UINT_PTR kSubclassId = 0x4B48;

}  // namespace

LRESULT CALLBACK CXHotKey::ControlProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR data) {
  // At WM_DESTROY the control still knows its combination (it forgets it after).
  if (msg == WM_DESTROY) {
    CXHotKey* self = reinterpret_cast<CXHotKey*>(data);
    self->m_hotKey = static_cast<WORD>(SendMessageW(hwnd, HKM_GETHOTKEY, 0, 0));
    self->m_hControl = nullptr;
    XRemoveWindowSubclass(hwnd, &CXHotKey::ControlProc, kSubclassId);
  }
  return XDefSubclassProc(hwnd, msg, wParam, lParam);
}

CXHotKey::CXHotKey() = default;

CXHotKey::~CXHotKey() {
  if (HWND control = GetControlWnd()) {
    XRemoveWindowSubclass(control, &CXHotKey::ControlProc, kSubclassId);
    DestroyWindow(control);
  }
}

HWND CXHotKey::GetControlWnd() const { return m_hControl && IsWindow(m_hControl) ? m_hControl : nullptr; }

LRESULT CXHotKey::MessageHandle(MESSAGE_EVENT* event) {
  if (!event) return 0;
  DoEventStep(event);
  // The host's window tells its children of its creation before it hands them its handle.
  if (event->uMsg == WM_CREATE) CreateControl(GetHostWnd() ? GetHostWnd() : event->hWnd);
  return 0;
}

void CXHotKey::CreateControl(HWND host) {
  if (GetControlWnd() || !host || !IsWindow(host)) return;
  INITCOMMONCONTROLSEX icc = {sizeof icc, ICC_HOTKEY_CLASS};
  XInitCommonControlsEx(&icc);
  // The host paints its whole client area from a buffer: it must leave the control's pixels.
  SetWindowLongW(host, GWL_STYLE, GetWindowLongW(host, GWL_STYLE) | WS_CLIPCHILDREN);
  const CRect r = XUI_GetRect();
  m_hControl = CreateWindowExW(0, HOTKEY_CLASSW, L"", WS_CHILD | WS_VISIBLE | WS_TABSTOP | WS_BORDER, r.left, r.top,
                               r.Width(), r.Height(), host, reinterpret_cast<HMENU>(static_cast<INT_PTR>(kControlId)),
                               GetModuleHandleW(nullptr), nullptr);
  if (!m_hControl) return;
  XSetWindowSubclass(m_hControl, &CXHotKey::ControlProc, kSubclassId, reinterpret_cast<DWORD_PTR>(this));
  const int font = GetFontID(0);
  if (CXFontTable::Instance().Has(font))
    SendMessageW(m_hControl, WM_SETFONT, reinterpret_cast<WPARAM>(CXFontTable::Instance().Get(font).hFont), FALSE);
  // A key without a modifier would be taken from every program: such a choice gets Ctrl+Alt.
  SendMessageW(m_hControl, HKM_SETRULES, HKCOMB_NONE | HKCOMB_S, MAKELPARAM(HOTKEYF_CONTROL | HOTKEYF_ALT, 0));
  SendMessageW(m_hControl, HKM_SETHOTKEY, m_hotKey, 0);
  EnableWindow(m_hControl, XUI_IsEnable());
}

void CXHotKey::SetHotKey(WORD hotKey) {
  m_hotKey = hotKey;
  if (HWND control = GetControlWnd()) SendMessageW(control, HKM_SETHOTKEY, hotKey, 0);
}

WORD CXHotKey::GetHotKey() {
  if (HWND control = GetControlWnd()) m_hotKey = static_cast<WORD>(SendMessageW(control, HKM_GETHOTKEY, 0, 0));
  return m_hotKey;
}

void CXHotKey::XUI_SetRect(const CRect& rect) {
  CXBaseUI::XUI_SetRect(rect);
  if (HWND control = GetControlWnd())
    SetWindowPos(control, nullptr, rect.left, rect.top, rect.Width(), rect.Height(), SWP_NOZORDER | SWP_NOACTIVATE);
}

// The control paints itself; before it exists the field is left to the skin's pictures.
void CXHotKey::DoPaint(HDC) {}
