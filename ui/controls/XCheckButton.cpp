// Check buttons: the push button's behaviour with toggling, painted from the class's strip.
#include "XCheckButton.h"

#include "XUIClassTable.h"

XUI_REGISTER_CLASS(L"checkbutton", CXCheckButton)

CXCheckButton::CXCheckButton() {
  SetBias(STRING_BIAS_LEFT);
  SetTextMargin(5, 0);
  SetButtonType(BUTTON_TYPE_CHECK);
}

const wchar_t* CXCheckButton::XUI_GetClassName() { return L"XCHECKBUTTON"; }

CXButtonImpl::XBUTTON_STRIP& CXCheckButton::Strip() {
  static XBUTTON_STRIP strip = {nullptr, 0};
  return strip;
}

ITessaly* CXCheckButton::GetStripImage() { return Strip().image; }

void CXCheckButton::ResetStrip() { ForgetStrip(Strip()); }

void CXCheckButton::DoPaint(HDC dc) { PaintStrip(dc, Strip()); }
