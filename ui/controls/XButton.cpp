// The push button and what every button kind shares: state changes from the mouse, the click
// on a release that completes a press, groups, the check and radio strip, and the caption.
#include "XButton.h"

#include "ControlMgr.h"
#include "TessalyCtrl.h"
#include "XDraw.h"
#include "XRichString.h"
#include "XSkinTables.h"
#include "XSkinText.h"
#include "XUIClassTable.h"

XUI_REGISTER_CLASS(L"button", CXButtonImpl)

UINT XButtonTextFlags(int bias) {
  switch (bias) {
    case STRING_BIAS_CENTER:
      return DT_CENTER | DT_VCENTER | DT_SINGLELINE;
    case STRING_BIAS_RIGHT:
      return DT_RIGHT;
    default:
      return 0;
  }
}

XSTRIP_FRAMES XStripFrames(int pictureWidth, int blocks, int state, BOOL checked) {
  XSTRIP_FRAMES f = {};
  if (blocks <= 0) {
    f.whole = true;
    f.count = 1;
    return f;
  }
  f.blockWidth = pictureWidth / blocks;
  f.block[f.count++] = state;
  if (checked) f.block[f.count++] = blocks / 2 + state;
  return f;
}

CXButtonImpl::CXButtonImpl() = default;

CXButtonImpl::~CXButtonImpl() = default;

const wchar_t* CXButtonImpl::XUI_GetClassName() { return L"XBUTTON"; }

LRESULT CXButtonImpl::MessageHandle(MESSAGE_EVENT* event) {
  if (!event) return 0;
  DoEventStep(event);
  switch (event->uMsg) {
    case WM_MOUSEMOVE:
      event->bHandled = TRUE;
      return OnMouseMove(event);
    case WM_MOUSELEAVE:
      event->bHandled = TRUE;
      return OnMouseLeave(event);
    case WM_LBUTTONDOWN:
      event->bHandled = TRUE;
      return OnLButtonDown(event);
    case WM_LBUTTONUP:
      event->bHandled = TRUE;
      return OnLButtonUp(event);
    case WM_SETCURSOR:
      if (!m_bSetCursor) return 0;
      event->bHandled = TRUE;
      SetCursor(LoadCursorW(nullptr, IDC_HAND));
      return 1;
    default:
      return 0;
  }
}

BOOL CXButtonImpl::XUI_SetAttribute(const wchar_t* name, const wchar_t* value) {
  if (!name) return 0;
  if (lstrcmpiW(name, L"group") == 0) {
    m_strGroup = value;
    AddButtonGroup(XSkinParseInt(value), GetID());
    return 1;
  }
  // Stored, yet answered 0 through the base: callers (hosts setting attributes, the template
  // builder) rely on that answer for these two names, so it stays.
  if (lstrcmpiW(name, L"buttontype") == 0) m_nType = XSkinParseInt(value);
  else if (lstrcmpiW(name, L"texttopbias") == 0) m_nTextTop = XSkinParseInt(value);
  return CXBaseUI::XUI_SetAttribute(name, value);
}

void CXButtonImpl::SetTextColor(COLORREF normal, BOOL useStates, COLORREF hover, COLORREF push, COLORREF fourth) {
  m_textColors[0] = normal;
  m_textColors[1] = useStates ? hover : normal;
  m_textColors[2] = useStates ? push : normal;
  m_textColors[3] = useStates ? fourth : normal;
}

COLORREF CXButtonImpl::GetTextColor(int state) const { return state >= 0 && state <= 3 ? m_textColors[state] : 0; }

void CXButtonImpl::SetTextMargin(int left, int top) {
  m_nTextLeft = left;
  m_nTextTop = top;
}

void CXButtonImpl::SetImageIndex(int index) {
  CControlMgr* mgr = XUI_GetControlMgr();
  for (int i = 0; i < mgr->GetCount(); ++i) {
    IXUIObject* child = mgr->GetObjectAt(i);
    if (!child || (child->XUI_GetStyle() & (XUI_STYLE_BACKGROUND | XUI_STYLE_HIDDEN)) != XUI_STYLE_BACKGROUND) continue;
    if (auto* image = dynamic_cast<CTessalyCtrl*>(child)) image->SetImageIndex(index);
  }
}

void CXButtonImpl::SetState(int state) {
  m_nState = state;
  SetImageIndex(state);
}

void CXButtonImpl::EnterState(int state) {
  if (m_nState == state) return;
  SetState(state);
  CControlMgr::Invalidate(this, FALSE);
}

LRESULT CXButtonImpl::OnMouseMove(MESSAGE_EVENT*) {
  if (!m_bButtonDown) EnterState(XBUTTON_HOVER);
  return 0;
}

LRESULT CXButtonImpl::OnMouseLeave(MESSAGE_EVENT*) {
  m_bButtonDown = FALSE;
  EnterState(XBUTTON_NORMAL);
  return 0;
}

LRESULT CXButtonImpl::OnLButtonDown(MESSAGE_EVENT*) {
  m_bButtonDown = TRUE;
  EnterState(XBUTTON_PUSHED);
  return 0;
}

LRESULT CXButtonImpl::OnLButtonUp(MESSAGE_EVENT* event) { return Release(event, false, nullptr, 0); }

void CXButtonImpl::AddButtonGroup(int, const CString&) {}

void CXButtonImpl::JoinGroup(XBUTTON_GROUPS& groups, int group, const CString& id) {
  std::vector<CString>& members = groups[group];
  for (const CString& member : members)
    if (member.CompareNoCase(id) == 0) return;  // a template built again joins once
  members.push_back(id);
}

std::vector<CString> CXButtonImpl::GroupMembers(const XBUTTON_GROUPS& groups, int group) {
  auto it = groups.find(group);
  return it == groups.end() ? std::vector<CString>() : it->second;
}

LRESULT CXButtonImpl::Release(MESSAGE_EVENT* event, bool radioKind, const XBUTTON_GROUPS* groups, int group) {
  m_bButtonDown = FALSE;
  if (m_nState == XBUTTON_HOVER) return 0;
  SetState(XBUTTON_HOVER);
  if (m_nType == BUTTON_TYPE_CHECK) {
    SetCheck(!GetCheck());
  } else if (m_nType == BUTTON_TYPE_RADIO && radioKind) {
    SetCheck(1);
    IXUIObject* parent = XUI_GetParent();
    auto members = groups ? groups->find(group) : XBUTTON_GROUPS::const_iterator();
    if (groups && members != groups->end() && parent) {
      const CString own = GetID();
      for (const CString& id : members->second) {
        if (id.CompareNoCase(own) == 0) continue;
        IXUIObject* other = parent->XUI_GetChild(id);
        if (!other || other == this) continue;
        other->XUI_SetCheck(0);
        CControlMgr::Invalidate(other, FALSE);
      }
    }
  }
  CControlMgr::Invalidate(this, FALSE);
  XUI_GetControlMgr()->ClickEvent(GetID(), event ? event->wParam : 0, event ? event->lParam : 0, TRUE);
  return 0;
}

// Captions with markup ("{#") are drawn by their rich-text string (DrawRichCaption), the
// others here.
void CXButtonImpl::DrawCaption(HDC dc, const CRect& rect, UINT flags, HFONT font, COLORREF color) {
  if (DrawRichCaption(dc, rect, flags)) return;
  const CString text = XUI_GetWindowText();
  if (!text.IsEmpty()) DrawSkinText(dc, text, rect, color, flags, 0, font);
}

void CXButtonImpl::DrawCaptionWithFont(HDC dc, const CRect& rect, UINT flags, int fontId) {
  if (DrawRichCaption(dc, rect, flags)) return;
  const CXFontTable& fonts = CXFontTable::Instance();
  const CString text = XUI_GetWindowText();
  if (text.IsEmpty() || !fonts.Has(fontId)) return;
  const XFONT_ENTRY font = fonts.Get(fontId);
  DrawSkinText(dc, text, rect, font.color, flags, 0, font.hFont);
}

bool CXButtonImpl::DrawRichCaption(HDC dc, const CRect& rect, UINT flags) {
  CXString* rich = GetRichText();
  if (!rich) return false;
  // Each run is drawn in its font for the button's state.
  rich->SetButtonState(m_nState);
  rich->Draw(dc, flags, rect);
  return true;
}

void CXButtonImpl::DoPaint(HDC dc) {
  if (!dc) return;
  XUI_GetControlMgr()->DoPaintSimple(dc);
  CRect text = XUI_GetRect();
  text.OffsetRect(m_nTextLeft, m_nTextTop);
  DrawCaptionWithFont(dc, text, XButtonTextFlags(m_nBias), GetFontID(m_nState));
}

void CXButtonImpl::ForgetStrip(XBUTTON_STRIP& strip) {
  CTessalyCtrl::ReleaseImage(strip.image);
  strip.image = nullptr;
  strip.blocks = 0;
}

void CXButtonImpl::PaintStrip(HDC dc, XBUTTON_STRIP& strip) {
  if (!dc) return;
  if (!strip.image) {
    // The first background child of the first button that has one gives the class its strip.
    CControlMgr* mgr = XUI_GetControlMgr();
    for (int i = 0; i < mgr->GetCount(); ++i) {
      IXUIObject* child = mgr->GetObjectAt(i);
      if (!child || !(child->XUI_GetStyle() & XUI_STYLE_BACKGROUND)) continue;
      auto* image = dynamic_cast<CTessalyCtrl*>(child);
      if (image && image->GetImage()) {
        // Held for the process: the strip outlives the button that supplied it.
        CTessalyCtrl::HoldImage(image->GetImage());
        strip.image = image->GetImage();
        strip.blocks = image->GetImageBlock();
      }
      break;
    }
  }

  const CRect r = XUI_GetRect();
  int blockWidth = 0;
  if (strip.image) {
    const int height = strip.image->GetHeight();
    const XSTRIP_FRAMES f = XStripFrames(strip.image->GetWidth(), strip.blocks, m_nState, GetCheck());
    if (f.whole) {
      const CRect dest(r.left, r.top, r.left + strip.image->GetWidth(), r.top + height);
      strip.image->Draw(dc, &dest, nullptr, DRAW_NORMAL, 255);
    } else {
      blockWidth = f.blockWidth;
      const CRect dest(r.left, r.top, r.left + blockWidth, r.top + height);
      for (int i = 0; i < f.count; ++i) {
        // A block past the strip's end is an empty source: the library draws nothing.
        const CRect source(blockWidth * f.block[i], 0, blockWidth * (f.block[i] + 1), height);
        strip.image->Draw(dc, &dest, &source, DRAW_NORMAL, 255);
      }
    }
  }
  CRect text = r;
  text.OffsetRect(m_nTextLeft + blockWidth, m_nTextTop);
  DrawCaption(dc, text, XButtonTextFlags(m_nBias), nullptr, GetTextColor(m_nState));
}
