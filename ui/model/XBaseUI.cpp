// The windowless base object: fields, style bits, capture, lazy child list, rich-text
// caption and layout. The capture pointer is cleared when its object is destroyed.
#include "XBaseUI.h"

#include "ControlMgr.h"
#include "XSkinText.h"
#include "XTempUI.h"

namespace {

XRICHTEXT_OPS& RichTextOps() {
  static XRICHTEXT_OPS ops = {nullptr, nullptr};
  return ops;
}

}  // namespace

void XRegisterRichText(const XRICHTEXT_OPS& ops) { RichTextOps() = ops; }

void XDestroyUIObject(IXUIObject* object) {
  if (!object) return;
  if (INotify* notify = dynamic_cast<INotify*>(object)) {
    delete notify;
    return;
  }
  // A placeholder has no INotify position: it goes by its own destructor.
  if (CXTempUI* placeholder = dynamic_cast<CXTempUI*>(object)) delete placeholder;
}

INotify* XNotifyOf(IXUIObject* object) { return object ? dynamic_cast<INotify*>(object) : nullptr; }

CXBaseUI* CXBaseUI::m_pCapturedUI = nullptr;

CXBaseUI::CXBaseUI() : CXEvent(this), m_pOwnRelayout(new CXRelayOut(this)), m_pRelayout(m_pOwnRelayout) {}

CXBaseUI::~CXBaseUI() {
  if (m_pCapturedUI == this) m_pCapturedUI = nullptr;
  delete m_pControlMgr;
  m_pControlMgr = nullptr;
  FreeRichText();
  if (m_pRelayout != m_pOwnRelayout) delete m_pRelayout;
  delete m_pOwnRelayout;
  RemoveAllEvent();
}

void CXBaseUI::FreeRichText() {
  if (m_pRichText && RichTextOps().destroy) RichTextOps().destroy(m_pRichText);
  m_pRichText = nullptr;
}

LRESULT CXBaseUI::MessageHandle(MESSAGE_EVENT*) { return 0; }

void CXBaseUI::DoPaint(HDC) {}

void CXBaseUI::SetControlMgr(CControlMgr* mgr) { m_pControlMgr = mgr; }

void CXBaseUI::SetID(const CString& id) { m_id = id; }

CString CXBaseUI::GetID() { return m_id; }

CString CXBaseUI::GetTooltip() { return m_tooltip; }

void CXBaseUI::SetTooltip(const CString& tooltip) { m_tooltip = tooltip; }

CRect CXBaseUI::GetTooltipArea() { return XUI_GetWindowRect(); }

int CXBaseUI::GetCheck() { return m_check; }

void CXBaseUI::SetCheck(int check) { m_check = check; }

int CXBaseUI::GetFontID(int index) { return index >= 0 && index <= 3 ? m_fontIds[index] : 0; }

void CXBaseUI::SetFontID(const int* ids) {
  if (!ids) return;
  for (int i = 0; i < 4; ++i) m_fontIds[i] = ids[i];
}

void CXBaseUI::SetFontID(int id0, int id1, int id2, int id3) {
  const int ids[4] = {id0, id1, id2, id3};
  SetFontID(ids);
}

void CXBaseUI::Relayout() {
  if (!m_bNeedRelayout) return;
  if (m_pRelayout && m_pRelayout->IsEnable()) {
    XUI_SetRect(m_pRelayout->CalcRect());
  } else if (m_pParent && lstrcmpiW(XUI_GetClassName(), L"TESSALY") == 0) {
    // An image without a rule fills its parent.
    CRect r = m_pParent->XUI_GetRect();
    if (XIsWindowObject(m_pParent)) r.MoveToXY(0, 0);
    XUI_SetRect(r);
  }
  if (m_pControlMgr) {
    for (int i = 0; i < m_pControlMgr->GetCount(); ++i)
      if (CXBaseUI* child = m_pControlMgr->GetUI(i)) child->Relayout();
  }
  NeedRelayout(FALSE);
}

void CXBaseUI::NeedRelayout(BOOL need) {
  m_bNeedRelayout = need != 0;
  if (!m_pControlMgr) return;
  for (int i = 0; i < m_pControlMgr->GetCount(); ++i)
    if (CXBaseUI* child = m_pControlMgr->GetUI(i)) child->NeedRelayout(need);
}

IXUIObject* CXBaseUI::XUI_GetParent() { return m_pParent; }

void CXBaseUI::XUI_SetParent(IXUIObject* parent) { m_pParent = parent; }

IXUIObject* CXBaseUI::XUI_GetChild(const wchar_t* id) {
  return m_pControlMgr ? m_pControlMgr->FindObject(id) : nullptr;
}

void CXBaseUI::XUI_AddChild(IXUIObject* child) { XUI_GetControlMgr()->AddUI(child); }

CRect CXBaseUI::XUI_GetRect() { return m_rect; }

void CXBaseUI::XUI_SetRect(const CRect& rect) { m_rect = rect; }

HWND CXBaseUI::GetHostWnd() { return XUI_GetControlMgr()->GetWnd(); }

CRect CXBaseUI::XUI_GetWindowRect() {
  CRect window;
  HWND wnd = GetHostWnd();
  if (!wnd || !GetWindowRect(wnd, &window)) window.SetRectEmpty();
  return CRect(window.left + m_rect.left, window.top + m_rect.top, window.left + m_rect.left + m_rect.Width(),
               window.top + m_rect.top + m_rect.Height());
}

CRect CXBaseUI::XUI_GetClientRect() { return XUI_GetRect(); }

void CXBaseUI::XUI_MoveWindow(const CRect& rect) {
  const CRect old = m_rect;
  const int dl = rect.left - old.left, dt = rect.top - old.top;
  const int dr = rect.right - old.right, db = rect.bottom - old.bottom;
  m_rect = rect;
  if (m_pControlMgr) {
    for (int i = 0; i < m_pControlMgr->GetCount(); ++i) {
      IXUIObject* child = m_pControlMgr->GetObjectAt(i);
      if (!child) continue;
      CRect r = child->XUI_GetRect();
      child->XUI_MoveWindow(CRect(r.left + dl, r.top + dt, r.right + dr, r.bottom + db));
    }
  }
  if (HWND wnd = GetHostWnd()) InvalidateRect(wnd, &m_rect, FALSE);
}

DWORD CXBaseUI::XUI_GetStyle() { return m_style; }

void CXBaseUI::XUI_SetStyle(DWORD style) { m_style = style; }

DWORD CXBaseUI::XUI_GetExStyle() { return m_exStyle; }

void CXBaseUI::XUI_SetExStyle(DWORD style) { m_exStyle = style; }

const wchar_t* CXBaseUI::XUI_GetClassName() { return L"XBASEUI"; }

CString CXBaseUI::XUI_GetWindowText() { return m_text; }

void CXBaseUI::XUI_SetWindowText(const wchar_t* text) {
  m_text = text;
  if (m_text.Find(L"{#") >= 0 && RichTextOps().make) {
    CXString* made = RichTextOps().make(this, m_text);
    FreeRichText();
    m_pRichText = made;
  } else {
    // A plain caption replaces an earlier rich one; otherwise the old runs would still be drawn.
    FreeRichText();
  }
}

BOOL CXBaseUI::XUI_IsVisible() { return (m_style & XUI_STYLE_HIDDEN) == 0; }

void CXBaseUI::XUI_SetVisible(BOOL visible) {
  if (visible) m_style &= ~XUI_STYLE_HIDDEN;
  else m_style |= XUI_STYLE_HIDDEN;
}

BOOL CXBaseUI::XUI_IsEnable() { return (m_style & XUI_STYLE_DISABLED) == 0; }

void CXBaseUI::XUI_SetEnable(BOOL enable) {
  if (enable) m_style &= ~XUI_STYLE_DISABLED;
  else m_style |= XUI_STYLE_DISABLED;
}

BOOL CXBaseUI::XUI_IsFocus() { return (m_style & XUI_STYLE_FOCUS) != 0; }

void CXBaseUI::XUI_SetFocus(BOOL focus) {
  if (focus) m_style |= XUI_STYLE_FOCUS;
  else m_style &= ~XUI_STYLE_FOCUS;
}

BOOL CXBaseUI::XUI_IsCaptured() { return (m_style & XUI_STYLE_CAPTURED) != 0; }

void CXBaseUI::XUI_SetCapture(BOOL capture) {
  if (capture) {
    m_style |= XUI_STYLE_CAPTURED;
    if (m_pCapturedUI && m_pCapturedUI != this) m_pCapturedUI->XUI_SetCapture(FALSE);
    m_pCapturedUI = this;
  } else {
    m_style &= ~XUI_STYLE_CAPTURED;
    m_pCapturedUI = nullptr;
  }
}

CControlMgr* CXBaseUI::XUI_GetControlMgr() {
  if (!m_pControlMgr) m_pControlMgr = new CControlMgr(this);
  return m_pControlMgr;
}

void CXBaseUI::XUI_SetControlMgr(CControlMgr* mgr) {
  if (mgr == m_pControlMgr) return;
  delete m_pControlMgr;
  m_pControlMgr = mgr;
}

void CXBaseUI::XUI_SetCheck(int check) { SetCheck(check); }

int CXBaseUI::XUI_GetCheck() { return GetCheck(); }

void CXBaseUI::XUI_SetID(const wchar_t* id) { SetID(CString(id)); }

const wchar_t* CXBaseUI::XUI_GetID() { return m_id; }

void CXBaseUI::XUI_DataPrepared() {}

BOOL CXBaseUI::XUI_SetAttribute(const wchar_t* name, const wchar_t* value) {
  if (!name) return 0;
  if (lstrcmpiW(name, L"fontid") == 0) {
    int ids[4] = {0, 0, 0, 0};
    std::vector<int> values = XSkinParseIntList(CString(value));
    for (size_t i = 0; i < values.size() && i < 4; ++i) ids[i] = values[i];
    SetFontID(ids);
    return 1;
  }
  if (lstrcmpiW(name, L"tooltip") == 0) {
    SetTooltip(CString(value));
    return 1;
  }
  return 0;
}

DWORD CXBaseUI::XUI_GetUIType() { return XUI_TYPE_WINDOWLESS; }
