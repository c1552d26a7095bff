// The hyperlink-like text object: its mouse states, click, text and fonts, and its row in
// the class-name table. The pressed flag only lives between a press and the mouse leaving.
#include "XStringWnd.h"

#include <new>

#include "ControlMgr.h"
#include "XUIClassTable.h"

XUI_REGISTER_CLASS(L"text", CXStringWnd)

CXStringWnd::CXStringWnd() { XUI_SetExStyle(XUI_GetExStyle() | 0x1); }

CXStringWnd::~CXStringWnd() = default;

CXString* CXStringWnd::EnsureString() {
  if (!m_pString) m_pString.reset(new (std::nothrow) CXString(this));
  return m_pString.get();
}

CString CXStringWnd::XUI_GetWindowText() { return m_pString ? m_pString->GetSource() : CString(); }

void CXStringWnd::XUI_SetWindowText(const wchar_t* text) {
  CXString* string = EnsureString();
  if (!string) return;
  string->SetOwner(this);
  // Callers reach this through the object interface from other modules: no allocation
  // failure may leave it.
  try {
    string->SetString(CString(text));
  } catch (...) {
    string->SetString(CString());
  }
}

void CXStringWnd::XUI_SetRect(const CRect& rect) {
  CXBaseUI::XUI_SetRect(rect);
  EnsureString();
}

void CXStringWnd::SetFontID(const int* ids) {
  CXBaseUI::SetFontID(ids);
  const CString text = XUI_GetWindowText();
  if (!text.IsEmpty() && text.Find(L"{#") < 0) XUI_SetWindowText(text);
}

void CXStringWnd::Relayout() {
  CXBaseUI::Relayout();
  if (m_pString) m_pString->NeedAdjust();
}

void CXStringWnd::XUI_SetEnable(BOOL enable) {
  if (enable) XUI_SetExStyle(XUI_GetExStyle() & ~0x1u);
  else XUI_SetExStyle(XUI_GetExStyle() | 0x1u);
  if (CXString* string = EnsureString()) string->StoreButtonEffect(enable);
}

void CXStringWnd::DoPaint(HDC dc) {
  if (m_pString) m_pString->Draw(dc, 0);
}

void CXStringWnd::SetState(int state) {
  CXString* string = EnsureString();
  if (!string || string->GetButtonState() == state) return;
  string->SetButtonState(state);
  CControlMgr::Invalidate(this, FALSE);
}

LRESULT CXStringWnd::MessageHandle(MESSAGE_EVENT* event) {
  if (!event) return 0;
  DoEventStep(event);
  switch (event->uMsg) {
    case WM_SETCURSOR:
      event->bHandled = TRUE;
      SetCursor(LoadCursorW(nullptr, IDC_HAND));
      return 1;
    case WM_MOUSEMOVE:
      event->bHandled = TRUE;
      SetState(BUTTON_STATE_HOVER);
      return 0;
    case WM_MOUSELEAVE:
      event->bHandled = TRUE;
      // A press that left the text no longer counts: a later release over it is no click.
      m_bPressed = false;
      SetState(BUTTON_STATE_NORMAL);
      return 0;
    case WM_LBUTTONDOWN:
      event->bHandled = TRUE;
      m_bPressed = true;
      SetState(BUTTON_STATE_PUSHED);
      return 0;
    case WM_LBUTTONUP: {
      event->bHandled = TRUE;
      SetState(BUTTON_STATE_HOVER);
      const bool click = m_bPressed;
      m_bPressed = false;
      if (click) XUI_GetControlMgr()->ClickEvent(XUI_GetID(), event->wParam, event->lParam, TRUE);
      return 0;
    }
    default:
      return 0;
  }
}
