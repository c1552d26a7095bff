// Radio buttons: membership is entered when the "group" attribute is applied and never
// removed; a release checks the button and unchecks its group's other members beside it.
#include "XRadioButton.h"

#include "XUIClassTable.h"

XUI_REGISTER_CLASS(L"radiobutton", CXRadioButton)

XBUTTON_GROUPS CXRadioButton::m_mRadioGroup;

CXRadioButton::CXRadioButton() {
  SetBias(STRING_BIAS_LEFT);
  SetTextMargin(5, 0);
  SetButtonType(BUTTON_TYPE_RADIO);
}

const wchar_t* CXRadioButton::XUI_GetClassName() { return L"XRADIOBUTTON"; }

void CXRadioButton::AddButtonGroup(int group, const CString& id) {
  m_nGroup = group;
  m_bGrouped = true;
  JoinGroup(m_mRadioGroup, group, id);
}

std::vector<CString> CXRadioButton::GetGroupMembers(int group) { return GroupMembers(m_mRadioGroup, group); }

LRESULT CXRadioButton::OnLButtonUp(MESSAGE_EVENT* event) {
  return Release(event, true, m_bGrouped ? &m_mRadioGroup : nullptr, m_nGroup);
}

CXButtonImpl::XBUTTON_STRIP& CXRadioButton::Strip() {
  static XBUTTON_STRIP strip = {nullptr, 0};
  return strip;
}

ITessaly* CXRadioButton::GetStripImage() { return Strip().image; }

void CXRadioButton::ResetStrip() { ForgetStrip(Strip()); }

void CXRadioButton::DoPaint(HDC dc) { PaintStrip(dc, Strip()); }
