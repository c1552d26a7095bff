// Layout arithmetic. Plain integer code: the only system call is the work area of an object
// without a parent.
#include "XRelayOut.h"

#include "XBaseUI.h"
#include "XModelHooks.h"
#include "XUIObject.h"

namespace {

DWORD FlagOf(wchar_t letter, const wchar_t* letters) {
  static const DWORD flags[4] = {XALIGN_NEAR, XALIGN_CENTER, XALIGN_FAR, XALIGN_STRETCH};
  wchar_t upper = (letter >= L'a' && letter <= L'z') ? static_cast<wchar_t>(letter - L'a' + L'A') : letter;
  for (int i = 0; i < 4; ++i)
    if (letters[i] == upper) return flags[i];
  return 0;
}

// One axis: near/far/centre/stretch by the first flag present of 1, 4, 2, 8.
void PlaceAxis(DWORD flags, LONG& lo, LONG& hi, LONG refLo, LONG refHi, LONG marginLo, LONG marginHi) {
  const LONG size = hi - lo;
  if (flags & XALIGN_NEAR) {
    lo = refLo + marginLo;
    hi = lo + size;
  } else if (flags & XALIGN_FAR) {
    hi = refHi - marginHi;
    lo = hi - size;
  } else if (flags & XALIGN_CENTER) {
    lo = refLo + marginLo + (refHi - refLo - size) / 2;
    hi = lo + size;
  } else if (flags & XALIGN_STRETCH) {
    lo = refLo + marginLo;
    hi = refHi - marginHi;
  }
}

}  // namespace

CXRelayOut::CXRelayOut(IXUIObject* object) : m_object(object) {}

CXRelayOut::~CXRelayOut() = default;

void CXRelayOut::SetAlignment(const wchar_t* text) {
  if (!text || !text[0] || !text[1]) return;
  DWORD vertical = FlagOf(text[0], L"TCBS");
  DWORD horizontal = FlagOf(text[1], L"LCRS");
  m_alignment = vertical | (horizontal << 16);
}

CRect CXRelayOut::ReferenceRect(IXUIObject* object) {
  IXUIObject* parent = object ? object->XUI_GetParent() : nullptr;
  if (!parent) {
    CRect work;
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
    return work;
  }
  CRect r = parent->XUI_GetRect();
  if (XIsWindowObject(parent)) r.MoveToXY(0, 0);
  return r;
}

CRect CXRelayOut::Place(const CRect& own, const CRect& reference, DWORD alignment, const CRect& margin) {
  CRect r = own;
  PlaceAxis(alignment & 0xFFFF, r.top, r.bottom, reference.top, reference.bottom, margin.top, margin.bottom);
  PlaceAxis(alignment >> 16, r.left, r.right, reference.left, reference.right, margin.left, margin.right);
  return r;
}

CRect CXRelayOut::CalcRect() const {
  if (!m_object) return CRect();
  return Place(m_object->XUI_GetRect(), ReferenceRect(m_object), m_alignment, m_margin);
}

CXRelayOut* XGetRelayout(IXUIObject* object) {
  if (CXBaseUI* ui = dynamic_cast<CXBaseUI*>(object)) return ui->GetRelayoutPtr();
  return XModelHooks().windowRelayout ? XModelHooks().windowRelayout(object) : nullptr;
}
