// The list's scrollbar: range, position and thumb geometry, painting from its image
// children, and dragging the thumb with the mouse captured. The position never leaves
// 0 .. range - page, and the framework capture is released only by the object holding it.
#include "XScrollbar.h"

#include <climits>

#include "ControlMgr.h"
#include "XDraw.h"
#include "XMouseRoute.h"
#include "XUIClassTable.h"

XUI_REGISTER_CLASS(L"scrollbar", CXScrollbar)

namespace {

// Plain fills for a skin that gives the scrollbar no pictures.
const COLORREF kTrackColor = RGB(240, 240, 240);
const COLORREF kThumbColors[3] = {RGB(192, 192, 192), RGB(160, 160, 160), RGB(128, 128, 128)};
const wchar_t* const kThumbIds[3] = {L"scrollnormal", L"scrollhover", L"scrollpush"};
// A thumb shorter than this could be neither seen nor grabbed on a long content.
const int kMinThumb = 8;

}  // namespace

int XSCROLL_GEOMETRY::ThumbHeight(int page, int range, int barHeight) {
  if (range <= 0 || page < 0 || barHeight <= 0) return 0;
  const int height = static_cast<int>(static_cast<long long>(page) * barHeight / range);
  const int least = barHeight < kMinThumb ? barHeight : kMinThumb;
  return height < least ? least : height;
}

int XSCROLL_GEOMETRY::ThumbOffset(int position, int page, int range, int barHeight, int thumbHeight) {
  const long long track = barHeight - thumbHeight;
  const long long span = static_cast<long long>(range) - page;
  if (track <= 0 || span <= 0 || position <= 0) return 0;
  return static_cast<int>(position * track / span);
}

int XSCROLL_GEOMETRY::ContentDelta(int trackDelta, int page, int range, int barHeight, int thumbHeight) {
  const long long track = barHeight - thumbHeight;
  const long long span = static_cast<long long>(range) - page;
  if (track <= 0 || span <= 0) return 0;
  const long long scaled = trackDelta * span;
  // Rounded to the nearest content pixel, symmetric for both directions.
  const long long delta = scaled >= 0 ? (scaled + track / 2) / track : -((-scaled + track / 2) / track);
  return delta > INT_MAX ? INT_MAX : delta < INT_MIN ? INT_MIN : static_cast<int>(delta);
}

int XSCROLL_GEOMETRY::Clamp(int position, int page, int range) {
  const int last = range - page;
  if (position > last) position = last;
  return position < 0 ? 0 : position;
}

CXScrollbar::CXScrollbar() = default;

CXScrollbar::~CXScrollbar() {
  if (m_bWin32Capture && GetCapture() == GetHostWnd()) ReleaseCapture();
}

DWORD CXScrollbar::XUI_GetStyle() { return CXBaseUI::XUI_GetStyle() | XUI_STYLE_ALLMOVES; }

LRESULT CXScrollbar::MessageHandle(MESSAGE_EVENT* event) {
  if (!event) return 0;
  DoEventStep(event);
  static const XMOUSE_ROUTE<CXScrollbar> kRoutes[] = {
      {WM_MOUSEMOVE, &CXScrollbar::OnMouseMove},
      {WM_MOUSELEAVE, &CXScrollbar::OnMouseLeave},
      {WM_LBUTTONDOWN, &CXScrollbar::OnLButtonDown},
      {WM_LBUTTONUP, &CXScrollbar::OnLButtonUp},
  };
  XRouteMouse(this, event, kRoutes);
  return 0;
}

void CXScrollbar::SetScrollRange(int page, int range) {
  if (range <= 0 || page < 0 || range < page) return;
  m_page = page;
  m_range = range;
  if (page < range) {
    XUI_SetVisible(TRUE);
    // A content that shrank must not leave the view beyond its end.
    m_position = XSCROLL_GEOMETRY::Clamp(m_position, m_page, m_range);
  } else {
    m_position = 0;
    XUI_SetVisible(FALSE);
  }
}

void CXScrollbar::SetScrollPos(int position) {
  if (position < 0 || position > m_range - m_page) return;
  m_position = position;
}

int CXScrollbar::ThumbHeight() { return XSCROLL_GEOMETRY::ThumbHeight(m_page, m_range, XUI_GetRect().Height()); }

CRect CXScrollbar::GetScrollbarRect() {
  CRect thumb = XUI_GetRect();
  const int height = ThumbHeight();
  thumb.bottom = thumb.top + height;
  thumb.OffsetRect(0, XSCROLL_GEOMETRY::ThumbOffset(m_position, m_page, m_range, XUI_GetRect().Height(), height));
  return thumb;
}

void CXScrollbar::DoPaint(HDC dc) {
  if (!dc || m_page == 0 || m_range == 0) return;
  CControlMgr* children = XUI_GetControlMgr();
  if (CXBaseUI* back = children->FindUI(L"scrollback")) {
    back->Relayout();
    back->DoPaint(dc);
  } else {
    XFillSolidRect(dc, XUI_GetRect(), kTrackColor);
  }
  const int state = m_state >= 0 && m_state <= 2 ? m_state : STATE_NORMAL;
  const CRect thumb = GetScrollbarRect();
  if (CXBaseUI* image = children->FindUI(kThumbIds[state])) {
    image->XUI_SetRect(thumb);
    image->DoPaint(dc);
  } else {
    XFillSolidRect(dc, thumb, kThumbColors[state]);
  }
}

void CXScrollbar::SetState(int state) {
  if (m_state == state) return;
  m_state = state;
  CControlMgr::Invalidate(this, FALSE);
}

void CXScrollbar::InvalidateParent() {
  IXUIObject* parent = XUI_GetParent();
  CControlMgr::Invalidate(parent ? parent : static_cast<IXUIObject*>(this), FALSE);
}

void CXScrollbar::OnLButtonDown(WPARAM, LPARAM lParam) {
  m_press = CPoint(lParam);
  m_bButtonDown = TRUE;
  if (!GetScrollbarRect().PtInRect(m_press)) {
    m_bDragging = FALSE;  // the track does not page
    return;
  }
  m_bDragging = TRUE;
  m_pressPosition = m_position;
  if (m_state != STATE_PUSHED) {
    SetState(STATE_PUSHED);
    XUI_SetCapture(TRUE);
    // The window's capture too, so the drag goes on while the mouse is outside the window.
    HWND wnd = GetHostWnd();
    if (wnd && IsWindow(wnd)) {
      SetCapture(wnd);
      m_bWin32Capture = true;
    }
  }
}

void CXScrollbar::OnMouseMove(WPARAM, LPARAM lParam) {
  if (!m_bDragging) {
    if (m_state == STATE_NORMAL) SetState(STATE_HOVER);
    return;
  }
  // Measured from the press, so the thumb stays under the mouse whatever the portion.
  const CPoint at(lParam);
  const int delta = XSCROLL_GEOMETRY::ContentDelta(at.y - m_press.y, m_page, m_range, XUI_GetRect().Height(),
                                                   ThumbHeight());
  const long long wanted = static_cast<long long>(m_pressPosition) + delta;
  const int position = XSCROLL_GEOMETRY::Clamp(
      wanted > INT_MAX ? INT_MAX : wanted < INT_MIN ? INT_MIN : static_cast<int>(wanted), m_page, m_range);
  if (position == m_position) return;
  m_position = position;
  InvalidateParent();
}

void CXScrollbar::EndDrag() {
  m_bDragging = FALSE;
  m_bButtonDown = FALSE;
  if (XUI_IsCaptured()) XUI_SetCapture(FALSE);
  if (m_bWin32Capture) {
    m_bWin32Capture = false;
    if (GetCapture() && GetCapture() == GetHostWnd()) ReleaseCapture();
  }
  SetState(STATE_NORMAL);
}

void CXScrollbar::OnMouseLeave(WPARAM, LPARAM) { EndDrag(); }

void CXScrollbar::OnLButtonUp(WPARAM, LPARAM) { EndDrag(); }
