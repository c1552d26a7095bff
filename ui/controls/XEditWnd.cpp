// The in-place editor: opening over its field, the messages it shares with the field (keys
// for the scripts, change notifications for the text) and closing on focus loss.
#include "XEditWnd.h"

#include <string>

#include "ControlMgr.h"
#include "XEdit.h"
#include "XSkinTables.h"

namespace {

const wchar_t kBullet = 0x25CF;

}  // namespace

CXEditWnd::~CXEditWnd() {
  m_pOwner = nullptr;
  if (GetHWND() && IsWindow(GetHWND())) DestroyWindow(GetHWND());
}

BOOL CXEditWnd::IsOpen() const { return GetHWND() && IsWindow(GetHWND()) && !m_bClosing; }

BOOL CXEditWnd::Open(CXEdit* owner) {
  m_pOwner = owner;
  m_bClosing = false;
  if (!owner) return FALSE;
  HWND host = owner->GetHostWnd();
  if (!host) return FALSE;
  const CRect r = owner->GetEditRect();
  XUI_SetRect(r);
  HWND wnd = Create(host, &r, L"", owner->GetEditStyle(), 0, nullptr);
  if (!wnd) return FALSE;
  SetWindowTextW(wnd, owner->XUI_GetWindowText());
  const int font = owner->GetFontID(0);
  if (CXFontTable::Instance().Has(font))
    SendMessageW(wnd, WM_SETFONT, reinterpret_cast<WPARAM>(CXFontTable::Instance().Get(font).hFont), TRUE);
  // The same bullets as the field paints when it is not being edited.
  if (owner->IsPassword()) SendMessageW(wnd, EM_SETPASSWORDCHAR, kBullet, 0);
  SendMessageW(wnd, EM_SETMODIFY, TRUE, 0);
  SendMessageW(wnd, EM_SETMARGINS, EC_LEFTMARGIN | EC_RIGHTMARGIN, 0);
  SendMessageW(wnd, EM_SETSEL, 0, -1);
  EnableWindow(wnd, owner->XUI_IsEnable());
  SendMessageW(wnd, EM_SETREADONLY, owner->IsReadOnly() ? TRUE : FALSE, 0);
  ::ShowWindow(wnd, SW_SHOWNOACTIVATE);
  SetFocus(wnd);
  return TRUE;
}

void CXEditWnd::CopyTextToOwner() {
  HWND wnd = GetHWND();
  if (!m_pOwner || !wnd) return;
  const int length = GetWindowTextLengthW(wnd);
  std::wstring text(static_cast<size_t>(length > 0 ? length : 0) + 1, L'\0');
  const int copied = GetWindowTextW(wnd, &text[0], static_cast<int>(text.size()));
  text.resize(copied > 0 ? static_cast<size_t>(copied) : 0);
  m_pOwner->XUI_SetWindowText(text.c_str());
}

LRESULT CXEditWnd::MessageHandle(MESSAGE_EVENT* e) {
  e->bHandled = TRUE;
  const WNDPROC edit = GetBaseWndProc();
  switch (e->uMsg) {
    case WM_KILLFOCUS: {
      // The edit box hears of it too, so its caret and selection go at once.
      LRESULT result = CallWindowProcW(edit, e->hWnd, e->uMsg, e->wParam, e->lParam);
      if (!m_bClosing) {
        m_bClosing = true;
        PostMessageW(e->hWnd, WM_CLOSE, 0, 0);
      }
      if (m_pOwner) CControlMgr::Invalidate(m_pOwner, FALSE);
      return result;
    }
    case WM_KEYDOWN:
    case WM_KEYUP:
      // The field's scripts see the key first; the edit box then moves its caret as usual.
      if (m_pOwner) {
        MESSAGE_EVENT forwarded = *e;
        forwarded.bHandled = FALSE;
        m_pOwner->MessageHandle(&forwarded);
      }
      break;
    case XWM_REFLECT_COMMAND:
      CopyTextToOwner();
      return 0;
    default:
      break;
  }
  return CallWindowProcW(edit, e->hWnd, e->uMsg, e->wParam, e->lParam);
}
