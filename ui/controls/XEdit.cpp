// The windowless text field: when its editor opens, how its text (or a password's bullets)
// is painted, and its row in the class-name table. A password is never painted as text,
// not even through rich-text markup.
#include "XEdit.h"

#include <new>

#include "ControlMgr.h"
#include "XDraw.h"
#include "XEditWnd.h"
#include "XRichString.h"
#include "XSkinTables.h"
#include "XSkinText.h"
#include "XUIClassTable.h"

XUI_REGISTER_CLASS(L"edit", CXEdit)

namespace {

const wchar_t kBullet = 0x25CF;

}  // namespace

CXEdit::CXEdit() = default;

CXEdit::~CXEdit() {
  // The editor's window goes with it, and must not reach back into this field meanwhile.
  if (m_pEditor) m_pEditor->SetOwner(nullptr);
}

DWORD CXEdit::GetEditStyle() const { return m_bPassword ? 0x400000A0 : 0x40000080; }

BOOL CXEdit::XUI_SetAttribute(const wchar_t* name, const wchar_t* value) {
  if (name && lstrcmpiW(name, L"readonly") == 0) {
    SetReadOnly(XSkinParseInt(value));
    return 1;
  }
  return CXBaseUI::XUI_SetAttribute(name, value);
}

CRect CXEdit::GetEditRect() {
  const CRect r = XUI_GetRect();
  return CRect(r.left + m_margin.left, r.top + m_margin.top, r.right - m_margin.right, r.bottom - m_margin.bottom);
}

void CXEdit::OpenEditor() {
  // An editor still closing goes with its window, without reaching back into this field.
  if (m_pEditor) m_pEditor->SetOwner(nullptr);
  m_pEditor.reset(new (std::nothrow) CXEditWnd());
  if (m_pEditor) m_pEditor->Open(this);
}

void CXEdit::OnSetFocus() {
  if (!XUI_IsEnable()) return;
  // Focus that comes back while the editor is open (the press that focused the field is
  // followed by a posted WM_SETFOCUS) keeps the edit going instead of starting it again.
  if (m_pEditor && m_pEditor->IsOpen()) {
    SetFocus(m_pEditor->GetHWND());
    return;
  }
  OpenEditor();
}

void CXEdit::OnLButtonDown() {
  if (XUI_IsFocus() && XUI_IsEnable() && !m_pEditor) OpenEditor();
}

LRESULT CXEdit::OnSetCursor() {
  SetCursor(LoadCursorW(nullptr, IDC_IBEAM));
  return 1;
}

LRESULT CXEdit::MessageHandle(MESSAGE_EVENT* e) {
  if (!e) return 0;
  DoEventStep(e);
  switch (e->uMsg) {
    case WM_SETFOCUS:
      e->bHandled = TRUE;
      OnSetFocus();
      return 0;
    case WM_SETCURSOR:
      e->bHandled = TRUE;
      return OnSetCursor();
    case WM_LBUTTONDOWN:
      e->bHandled = TRUE;
      OnLButtonDown();
      return 0;
    default:
      return 0;
  }
}

void CXEdit::DoPaint(HDC dc) {
  CControlMgr* children = XUI_GetControlMgr();
  if (children->GetCount() > 0) children->DoPaint(dc);
  const CRect r = GetEditRect();
  if (!m_bPassword && GetRichText()) {
    GetRichText()->Draw(dc, 0, r);
    return;
  }
  const int font = GetFontID(0);
  if (!CXFontTable::Instance().Has(font)) return;
  const XFONT_ENTRY entry = CXFontTable::Instance().Get(font);
  CString text = XUI_GetWindowText();
  if (m_bPassword) text = CString(kBullet, text.GetLength());
  DrawSkinText(dc, text, r, entry.color, 0, 0, entry.hFont);
}
