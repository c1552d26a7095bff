// Containers: clipped painting of the children and message routing to them; the scroll
// container's wheel moves its "list" child together with that child's own children.
#include "XContainer.h"

#include "ControlMgr.h"
#include "XDraw.h"
#include "XUIClassTable.h"

XUI_REGISTER_CLASS(L"container", CXContainer)
XUI_REGISTER_CLASS(L"scrollcontainer", CXScrollContainer)

namespace {

const int kWheelNotch = 120;
const int kWheelStep = 10;

}  // namespace

CXContainer::CXContainer() = default;

CXContainer::~CXContainer() = default;

const wchar_t* CXContainer::XUI_GetClassName() { return L"XCONTAINER"; }

DWORD CXContainer::XUI_GetStyle() { return CXBaseUI::XUI_GetStyle() | XUI_STYLE_ALLMOVES; }

LRESULT CXContainer::MessageHandle(MESSAGE_EVENT* event) {
  if (!event) return 0;
  DoEventStep(event);
  XUI_GetControlMgr()->DispatchMsg(event);
  return 0;
}

void CXContainer::DoPaint(HDC dc) {
  if (!dc) return;
  // The clip is intersected, not replaced, and restored afterwards: an outer container's
  // clip still holds for this one's children.
  CXDCState state(dc);
  const CRect rect = XUI_GetRect();
  IntersectClipRect(dc, rect.left, rect.top, rect.right, rect.bottom);
  XUI_GetControlMgr()->DoPaint(dc);
}

CXScrollContainer::CXScrollContainer() = default;

CXScrollContainer::~CXScrollContainer() = default;

const wchar_t* CXScrollContainer::XUI_GetClassName() { return L"XSCROLLCONTAINER"; }

LRESULT CXScrollContainer::MessageHandle(MESSAGE_EVENT* event) {
  if (!event) return 0;
  if (event->uMsg != WM_MOUSEWHEEL) return CXContainer::MessageHandle(event);
  DoEventStep(event);
  event->bHandled = TRUE;
  OnMouseWheel(event->wParam, event->lParam);
  return 0;
}

void CXScrollContainer::OnMouseWheel(WPARAM wParam, LPARAM) {
  IXUIObject* list = XUI_GetChild(L"list");
  if (!list) return;
  const int dy = static_cast<short>(HIWORD(wParam)) / kWheelNotch * kWheelStep;
  if (dy == 0) return;
  CRect before = list->XUI_GetRect();
  CRect after = before;
  after.OffsetRect(0, dy);
  // Moved with its children (a list's scrollbar stays on it); both places are repainted.
  list->XUI_MoveWindow(after);
  CControlMgr::Invalidate(list, FALSE);
  CControlMgr* mgr = XUI_GetControlMgr();
  if (mgr->GetWnd()) InvalidateRect(mgr->GetWnd(), &before, FALSE);
}
