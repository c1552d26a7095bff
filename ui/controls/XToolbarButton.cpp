// Toolbar buttons: radio behaviour over their own group table; painted as the state picture,
// then the children, then the caption centred on one line in the toolbar's state font.
#include "XToolbarButton.h"

#include "ControlMgr.h"
#include "TessalyCtrl.h"
#include "XUIClassTable.h"

XUI_REGISTER_CLASS(L"toolbarbutton", CXToolbarButton)

XBUTTON_GROUPS CXToolbarButton::m_mToolbarGroup;

CXToolbarButton::CXToolbarButton() { SetButtonType(BUTTON_TYPE_RADIO); }

CXToolbarButton::~CXToolbarButton() {
  CTessalyCtrl::ReleaseImage(m_pHoverImage);
  CTessalyCtrl::ReleaseImage(m_pPushImage);
}

const wchar_t* CXToolbarButton::XUI_GetClassName() { return L"XTOOLBARBUTTON"; }

void CXToolbarButton::AddButtonGroup(int group, const CString& id) {
  m_nGroup = group;
  m_bGrouped = true;
  JoinGroup(m_mToolbarGroup, group, id);
}

std::vector<CString> CXToolbarButton::GetGroupMembers(int group) { return GroupMembers(m_mToolbarGroup, group); }

LRESULT CXToolbarButton::OnLButtonUp(MESSAGE_EVENT* event) {
  return Release(event, true, m_bGrouped ? &m_mToolbarGroup : nullptr, m_nGroup);
}

void CXToolbarButton::SetHoverImage(ITessaly* image, int drawType) {
  CTessalyCtrl::HoldImage(image);
  CTessalyCtrl::ReleaseImage(m_pHoverImage);
  m_pHoverImage = image;
  m_nHoverType = drawType;
}

void CXToolbarButton::SetPushImage(ITessaly* image, int drawType) {
  CTessalyCtrl::HoldImage(image);
  CTessalyCtrl::ReleaseImage(m_pPushImage);
  m_pPushImage = image;
  m_nPushType = drawType;
}

void CXToolbarButton::DoPaint(HDC dc) {
  if (!dc) return;
  const CRect r = XUI_GetRect();
  if (GetCheck() || GetState() == XBUTTON_PUSHED) {
    if (m_pPushImage) m_pPushImage->Draw(dc, &r, nullptr, m_nPushType, 255);
  } else if (GetState() == XBUTTON_HOVER) {
    if (m_pHoverImage) m_pHoverImage->Draw(dc, &r, nullptr, m_nHoverType, 255);
  }
  XUI_GetControlMgr()->DoPaint(dc);
  CRect text = r;
  text.OffsetRect(0, GetTextTopMargin());
  // The toolbar chooses the caption font of every state.
  auto* toolbar = dynamic_cast<CXBaseUI*>(XUI_GetParent());
  const int fontId = toolbar ? toolbar->GetFontID(GetState()) : GetFontID(GetState());
  DrawCaptionWithFont(dc, text, DT_CENTER | DT_SINGLELINE, fontId);
}
