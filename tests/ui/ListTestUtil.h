// Helpers of the list tests: a painter object that fills its rectangle, and a list hosted in
// a real hidden window (at screen 100, 100) behind a window-typed owner, so that messages
// take the same routes as in a skinned window.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include <ostream>

#include "ModelTestUtil.h"
#include "XDraw.h"
#include "XList.h"
#include "XScrollbar.h"

// Readable rectangles in test failures.
inline void PrintTo(const CRect& r, std::ostream* os) {
  *os << "(" << r.left << ", " << r.top << ", " << r.right << ", " << r.bottom << ")";
}

namespace uitest {

// A windowless object that fills its rectangle with one colour.
class Painter : public ProbeUI {
 public:
  Painter(const wchar_t* id, COLORREF color) : ProbeUI(id), m_color(color) {}
  void DoPaint(HDC dc) override {
    ++paints;
    XFillSolidRect(dc, XUI_GetRect(), m_color);
  }
  int paints = 0;

 private:
  COLORREF m_color;
};

// A list at a client rectangle of a hidden window, optionally with a 10-pixel-wide
// scrollbar "list.scrollbar" along its right edge.
class HostedList {
 public:
  explicit HostedList(const CRect& rect, bool withScrollbar = true) {
    owner.XUI_SetRect(CRect(0, 0, 300, 200));
    list = new CXList();
    list->SetID(L"list");
    list->XUI_SetRect(rect);
    list->XUI_SetParent(&owner);
    if (withScrollbar) {
      bar = new CXScrollbar();
      bar->SetID(L"list.scrollbar");
      bar->XUI_SetRect(CRect(rect.right - 10, rect.top, rect.right, rect.bottom));
      bar->XUI_SetParent(list);
      list->XUI_AddChild(bar);
    }
    owner.XUI_AddChild(list);
    owner.XUI_GetControlMgr()->SetAllWnd(host.Get());
    host.TakePosted();
  }
  ~HostedList() {
    if (CXBaseUI::GetCapturedUI()) CXBaseUI::GetCapturedUI()->XUI_SetCapture(FALSE);
  }

  // Routes a mouse message at a client point through the window's child list.
  LRESULT Mouse(UINT msg, int cx, int cy, WPARAM wp = 0) {
    MESSAGE_EVENT e = Event(msg, 100 + cx, 100 + cy, host.Get(), wp, MAKELPARAM(cx, cy));
    return owner.XUI_GetControlMgr()->DispatchMsg(&e);
  }
  // A wheel rotation at a client point (the wheel's lParam is in screen coordinates).
  void Wheel(int delta, int cx, int cy) {
    MESSAGE_EVENT e = Event(WM_MOUSEWHEEL, 100 + cx, 100 + cy, host.Get(),
                            MAKEWPARAM(0, static_cast<WORD>(static_cast<short>(delta))), MAKELPARAM(100 + cx, 100 + cy));
    owner.XUI_GetControlMgr()->DispatchMsg(&e);
  }
  // Rows of the default height, with texts "row N".
  void Fill(int rows) {
    if (list->GetColumnCount() == 0) list->InsertColumn(100, L"name");
    for (int i = 0; i < rows; ++i) list->InsertItem(CString(L"row ") + CString(std::to_wstring(i)));
  }
  int State(int row) { return list->GetRow(row)->state; }

  HostWindow host;
  WindowProbe owner{L"owner"};
  CXList* list = nullptr;
  CXScrollbar* bar = nullptr;
};

}  // namespace uitest
