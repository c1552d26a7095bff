// Child list, message routing and painting passes of a UI object or window. Hover and focus
// pointers are dropped whenever their child leaves the list, so they never dangle.
#include "ControlMgr.h"

#include "XBaseUI.h"
#include "XComCtl.h"
#include "XModule.h"
#include "XSkinText.h"

static_assert(sizeof(void*) != 4 || sizeof(TOOLINFOW) == 48, "tooltip record of the 32-bit layout");

namespace {

const UINT kTtmTrackActivate = 0x411;  // TTM_TRACKACTIVATE
const UINT kTtmGetDelayTime = 0x415;   // TTM_GETDELAYTIME
const UINT kTtmAddTool = 0x432;        // TTM_ADDTOOLW
const UINT kTtmSetToolInfo = 0x436;    // TTM_SETTOOLINFOW

void EnsureCommonControls() {
  static const bool done = [] {
    INITCOMMONCONTROLSEX icc = {sizeof icc, ICC_WIN95_CLASSES};
    return XInitCommonControlsEx(&icc) != FALSE;
  }();
  (void)done;
}

}  // namespace

CControlMgr::CControlMgr() : CControlMgr(nullptr) {}

CControlMgr::CControlMgr(IXUIObject* owner) : m_owner(owner) { m_toolInfo = TOOLINFOW{}; }

CControlMgr::~CControlMgr() {
  m_pHover = m_pFocus = nullptr;
  // Detached first: a child's destructor must not find itself in a half-destroyed list.
  std::vector<IXUIObject*> children;
  children.swap(m_children);
  for (IXUIObject* child : children) XDestroyUIObject(child);
  if (m_hTooltip && IsWindow(m_hTooltip)) DestroyWindow(m_hTooltip);
}

int CControlMgr::AddUI(IXUIObject* object) {
  if (!object) return -1;
  for (size_t i = 0; i < m_children.size(); ++i)
    if (m_children[i] == object) return static_cast<int>(i);
  m_children.push_back(object);
  return static_cast<int>(m_children.size() - 1);
}

IXUIObject* CControlMgr::GetObjectAt(int index) const {
  return index >= 0 && index < GetCount() ? m_children[static_cast<size_t>(index)] : nullptr;
}

CXBaseUI* CControlMgr::GetUI(int index) const {
  IXUIObject* object = GetObjectAt(index);
  return object ? dynamic_cast<CXBaseUI*>(object) : nullptr;
}

IXUIObject* CControlMgr::FindObject(const wchar_t* id) const {
  if (!id) return nullptr;
  for (IXUIObject* child : m_children)
    if (child && lstrcmpiW(child->XUI_GetID(), id) == 0) return child;
  return nullptr;
}

CXBaseUI* CControlMgr::GetUI(const wchar_t* id) const {
  IXUIObject* object = FindObject(id);
  return object ? dynamic_cast<CXBaseUI*>(object) : nullptr;
}

void CControlMgr::Forget(IXUIObject* object) {
  if (!object) return;
  if (m_pHover && static_cast<IXUIObject*>(m_pHover) == object) m_pHover = nullptr;
  if (m_pFocus && static_cast<IXUIObject*>(m_pFocus) == object) m_pFocus = nullptr;
}

IXUIObject* CControlMgr::SetUI(int index, IXUIObject* object) {
  if (index < 0 || index >= GetCount()) return nullptr;
  IXUIObject* old = m_children[static_cast<size_t>(index)];
  m_children[static_cast<size_t>(index)] = object;
  if (old != object) Forget(old);
  return old;
}

CXBaseUI* CControlMgr::FindUI(const CPoint& screenPoint, DWORD exclude) const {
  for (IXUIObject* child : m_children) {
    if (!child || (child->XUI_GetStyle() & exclude)) continue;
    CRect r = child->XUI_GetWindowRect();
    if (!r.PtInRect(screenPoint)) continue;
    if (CXBaseUI* ui = dynamic_cast<CXBaseUI*>(child)) return ui;
  }
  return nullptr;
}

void CControlMgr::FindUI(std::vector<CXBaseUI*>& list, DWORD include, DWORD exclude) const {
  for (IXUIObject* child : m_children) {
    if (!child) continue;
    DWORD style = child->XUI_GetStyle();
    if (style & exclude) continue;
    if (include && !(style & include)) continue;
    if (CXBaseUI* ui = dynamic_cast<CXBaseUI*>(child)) list.push_back(ui);
  }
}

void CControlMgr::SetAllWnd(HWND wnd) {
  m_hWnd = wnd;
  for (IXUIObject* child : m_children) {
    if (!child) continue;
    if (CControlMgr* mgr = child->XUI_GetControlMgr()) mgr->SetAllWnd(wnd);
  }
}

void CControlMgr::ClickEvent(const wchar_t* id, WPARAM wParam, LPARAM lParam, BOOL left) {
  int command = XSkinParseInt(id);
  if (command != 0) PostMessageW(m_hWnd, WM_COMMAND, LOWORD(command), 0);
  PostMessageW(m_hWnd, left ? XWM_LBUTTONCLICK : XWM_RBUTTONCLICK, wParam, lParam);
}

void CControlMgr::Invalidate(IXUIObject* object, BOOL erase) {
  if (!object) return;
  CControlMgr* mgr = object->XUI_GetControlMgr();
  HWND wnd = mgr ? mgr->GetWnd() : nullptr;
  if (!wnd) return;
  CRect r = object->XUI_GetRect();
  InvalidateRect(wnd, &r, erase);
}

LRESULT CControlMgr::Deliver(IXUIObject* object, MESSAGE_EVENT* event) const {
  INotify* notify = XNotifyOf(object);
  return notify ? notify->MessageHandle(event) : 0;
}

LRESULT CControlMgr::DeliverNew(IXUIObject* object, UINT msg, const MESSAGE_EVENT& from) const {
  MESSAGE_EVENT event = {};
  event.uMsg = msg;
  event.x = from.x;
  event.y = from.y;
  return Deliver(object, &event);
}

void CControlMgr::DeactivateTooltip() {
  m_tooltipArea.SetRectEmpty();
  if (m_hTooltip) SendMessageW(m_hTooltip, kTtmTrackActivate, 0, reinterpret_cast<LPARAM>(&m_toolInfo));
}

void CControlMgr::ShowTooltip(CXBaseUI* object) {
  m_tooltipText = object->GetTooltip();
  m_tooltipArea = object->GetTooltipArea();
  m_toolInfo = TOOLINFOW{};
  m_toolInfo.cbSize = sizeof(TOOLINFOW);
  m_toolInfo.uFlags = TTF_IDISHWND;
  m_toolInfo.hwnd = m_hWnd;
  m_toolInfo.uId = reinterpret_cast<UINT_PTR>(m_hWnd);
  m_toolInfo.rect = object->XUI_GetWindowRect();
  m_toolInfo.hinst = XThisModule();
  m_toolInfo.lpszText = const_cast<wchar_t*>(m_tooltipText.GetString());
  if (!m_hTooltip) {
    EnsureCommonControls();
    m_hTooltip = CreateWindowExW(0, L"tooltips_class32", nullptr, 0x80000003, CW_USEDEFAULT, CW_USEDEFAULT,
                                 CW_USEDEFAULT, CW_USEDEFAULT, m_hWnd, nullptr, XThisModule(), nullptr);
    if (!m_hTooltip) return;
    SendMessageW(m_hTooltip, kTtmAddTool, 0, reinterpret_cast<LPARAM>(&m_toolInfo));
  }
  SendMessageW(m_hTooltip, kTtmSetToolInfo, 0, reinterpret_cast<LPARAM>(&m_toolInfo));
  SendMessageW(m_hTooltip, kTtmTrackActivate, 1, reinterpret_cast<LPARAM>(&m_toolInfo));
}

// Objects inside others (the buttons of a toolbar) carry their own tooltips: the innermost
// object under the point that has one.
CXBaseUI* CControlMgr::TooltipOwnerAt(CXBaseUI* under, const CPoint& point) {
  CXBaseUI* owner = nullptr;
  for (int depth = 0; under && depth < 16; ++depth) {
    if (!under->GetTooltip().IsEmpty()) owner = under;
    CControlMgr* inner = under->XUI_GetControlMgr();
    under = inner && inner->GetCount() > 0 ? inner->FindUI(point, XUI_STYLE_DISABLED | XUI_STYLE_HIDDEN) : nullptr;
  }
  return owner;
}

LRESULT CControlMgr::DispatchMsg(MESSAGE_EVENT* event) {
  if (!event) return 0;
  const UINT msg = event->uMsg;
  if ((msg == WM_MOUSEMOVE || msg == WM_LBUTTONUP || msg == WM_MOUSELEAVE) && !m_children.empty()) {
    CXBaseUI* captured = CXBaseUI::GetCapturedUI();
    if (captured && captured->XUI_IsCaptured()) return captured->MessageHandle(event);
  }
  const CPoint point(event->x, event->y);
  CXBaseUI* under = FindUI(point, XUI_STYLE_DISABLED | XUI_STYLE_HIDDEN);

  switch (msg) {
    case WM_CREATE: {
      // A copy: a child's handler may add children.
      std::vector<IXUIObject*> children(m_children);
      for (IXUIObject* child : children) Deliver(child, event);
      return 0;
    }
    case WM_SETFOCUS: {
      CXBaseUI* previous = m_pFocus;
      LRESULT result = 0;
      if (under) {
        under->XUI_SetFocus(TRUE);
        m_pFocus = under;
        result = under->MessageHandle(event);
      } else {
        m_pFocus = nullptr;
      }
      if (previous && previous != m_pFocus) {
        // The old object loses its focus bit as well as hearing of it.
        previous->XUI_SetFocus(FALSE);
        DeliverNew(previous, WM_KILLFOCUS, *event);
      }
      return result;
    }
    case WM_KILLFOCUS: {
      if (m_owner) m_owner->XUI_SetFocus(FALSE);
      std::vector<IXUIObject*> children(m_children);
      for (IXUIObject* child : children) Deliver(child, event);
      return 0;
    }
    case WM_SETCURSOR:
      if (under) return under->MessageHandle(event);
      SetCursor(LoadCursorW(nullptr, IDC_ARROW));
      event->bHandled = FALSE;
      return 0;
    case WM_COMMAND:
      if (event->lParam)
        SendMessageW(reinterpret_cast<HWND>(event->lParam), XWM_REFLECT_COMMAND, event->wParam, event->lParam);
      return 0;
    case WM_MOUSEMOVE: {
      if (!m_bTracking) {
        m_bTracking = TRUE;
        TRACKMOUSEEVENT tme = {sizeof tme, TME_HOVER | TME_LEAVE, m_hWnd, 1000};
        if (m_hTooltip) tme.dwHoverTime = static_cast<DWORD>(SendMessageW(m_hTooltip, kTtmGetDelayTime, TTDT_INITIAL, 0));
        TrackMouseEvent(&tme);
      }
      LRESULT result = 0;
      if (under && (under != m_pHover || (under->XUI_GetStyle() & XUI_STYLE_ALLMOVES)))
        result = under->MessageHandle(event);
      if (under != m_pHover) {
        CXBaseUI* previous = m_pHover;
        m_pHover = under;
        if (previous) DeliverNew(previous, WM_MOUSELEAVE, *event);
      }
      // A tooltip goes once the mouse leaves its object, also for one inside another (a
      // toolbar's button), where the hovered child stays the same.
      if (!m_pHover || (!m_tooltipArea.IsRectEmpty() && !m_tooltipArea.PtInRect(point))) DeactivateTooltip();
      return result;
    }
    case WM_LBUTTONDOWN: {
      SetFocus(m_hWnd);
      PostMessageW(m_hWnd, WM_SETFOCUS, 0, 0);
      if (under) return under->MessageHandle(event);
      // A press on an empty area drags the window.
      if (!m_owner || XIsWindowObject(m_owner)) PostMessageW(m_hWnd, WM_NCLBUTTONDOWN, HTCAPTION, 0);
      return 0;
    }
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:
      DeactivateTooltip();  // a tooltip goes at the first key, as the system's own do
      return under ? under->MessageHandle(event) : 0;
    case WM_MOUSEHOVER:
      m_bTracking = FALSE;
      if (CXBaseUI* tip = TooltipOwnerAt(under, point)) ShowTooltip(tip);
      return 0;
    case WM_MOUSELEAVE: {
      DeactivateTooltip();
      LRESULT result = 0;
      CXBaseUI* previous = m_pHover;
      m_pHover = nullptr;
      if (previous) result = previous->MessageHandle(event);
      m_bTracking = FALSE;
      return result;
    }
    default:
      return under ? under->MessageHandle(event) : 0;
  }
}

void CControlMgr::DoPaint(HDC dc) {
  std::vector<CXBaseUI*> background, foreground;
  FindUI(background, XUI_STYLE_BACKGROUND, XUI_STYLE_HIDDEN);
  FindUI(foreground, 0, XUI_STYLE_HIDDEN | XUI_STYLE_BACKGROUND);
  for (CXBaseUI* child : background) {
    child->Relayout();
    child->DoPaint(dc);
  }
  for (CXBaseUI* child : foreground) {
    child->Relayout();
    child->DoPaint(dc);
  }
}

void CControlMgr::DoPaintSimple(HDC dc) {
  if (!m_owner) return;
  std::vector<CXBaseUI*> background;
  FindUI(background, XUI_STYLE_BACKGROUND, XUI_STYLE_HIDDEN);
  for (CXBaseUI* child : background) child->DoPaint(dc);
}
