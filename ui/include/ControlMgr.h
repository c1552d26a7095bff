// CControlMgr: an object's ordered child list and the router of its window's messages to
// the child under the mouse (hover, focus, capture, tooltips), and the two painting passes.
// It owns its children; hovered and focused pointers only ever name current children.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include <vector>

#include "WendoraApi.h"
#include "XGeometry.h"
#include "XString.h"
#include "XUIObject.h"

class CXBaseUI;

class WENDORA_API CControlMgr {
 public:
  CControlMgr();
  explicit CControlMgr(IXUIObject* owner);
  ~CControlMgr();  // destroys every child
  CControlMgr(const CControlMgr&) = delete;
  CControlMgr& operator=(const CControlMgr&) = delete;

  // Appends a child: its index (the existing index when already present), -1 for null.
  int AddUI(IXUIObject* object);
  int GetCount() const { return static_cast<int>(m_children.size()); }
  // The child at index as a windowless object (null when out of range or of another kind).
  CXBaseUI* GetUI(int index) const;
  // The child at index whatever its kind, or null.
  IXUIObject* GetObjectAt(int index) const;
  // The first direct child whose ID matches, case ignored; no recursion.
  CXBaseUI* GetUI(const wchar_t* id) const;
  CXBaseUI* FindUI(const wchar_t* id) const { return GetUI(id); }
  IXUIObject* FindObject(const wchar_t* id) const;
  // Replaces the child at index; the old child (not destroyed) or null when out of range.
  IXUIObject* SetUI(int index, IXUIObject* object);
  // The first child with none of the exclude style bits whose window rectangle holds the
  // screen point.
  CXBaseUI* FindUI(const CPoint& screenPoint, DWORD exclude) const;
  // Appends every child with none of the exclude bits and, when include is not 0, at least
  // one of the include bits.
  void FindUI(std::vector<CXBaseUI*>& list, DWORD include, DWORD exclude) const;

  IXUIObject* GetOwner() const { return m_owner; }
  void SetOwner(IXUIObject* owner) { m_owner = owner; }
  void SetWnd(HWND wnd) { m_hWnd = wnd; }
  // This list's window and, recursively, that of every child's list.
  void SetAllWnd(HWND wnd);
  HWND GetWnd() const { return m_hWnd; }
  void EnableResize(BOOL enable) { m_bResize = enable; }
  BOOL IsEnableResize() const { return m_bResize; }
  void SetRoundCorner(int radius) { m_roundCorner = radius; }
  int GetRoundCorner() const { return m_roundCorner; }

  CXBaseUI* GetHoverUI() const { return m_pHover; }
  CXBaseUI* GetFocusUI() const { return m_pFocus; }
  HWND GetTooltipWnd() const { return m_hTooltip; }

  // A non-zero decimal ID posts WM_COMMAND with it first; then the click message (494 left,
  // 495 right) with wParam and lParam, both to this list's window.
  void ClickEvent(const wchar_t* id, WPARAM wParam, LPARAM lParam, BOOL left);
  // InvalidateRect of the object's window over the object's rectangle.
  static void Invalidate(IXUIObject* object, BOOL erase);

  // Routes a message of the window (or container) to its children; the receiving child's
  // result, or 0.
  LRESULT DispatchMsg(MESSAGE_EVENT* event);
  // Background children first, then the others; each is laid out just before it paints.
  void DoPaint(HDC dc);
  // Background children only, without layout.
  void DoPaintSimple(HDC dc);

 private:
  LRESULT Deliver(IXUIObject* object, MESSAGE_EVENT* event) const;
  LRESULT DeliverNew(IXUIObject* object, UINT msg, const MESSAGE_EVENT& from) const;
  void DeactivateTooltip();
  void ShowTooltip(CXBaseUI* object);
  static CXBaseUI* TooltipOwnerAt(CXBaseUI* under, const CPoint& point);
  void Forget(IXUIObject* object);

  std::vector<IXUIObject*> m_children;
  IXUIObject* m_owner = nullptr;
  CXBaseUI* m_pHover = nullptr;
  CXBaseUI* m_pFocus = nullptr;
  HWND m_hWnd = nullptr;
  HWND m_hTooltip = nullptr;
  BOOL m_bTracking = FALSE;
  TOOLINFOW m_toolInfo;
  BOOL m_bResize = FALSE;
  int m_roundCorner = 9;
  CString m_tooltipText;  // the text the tooltip record points at
  CRect m_tooltipArea;    // the shown tooltip's object in screen pixels; empty when none shows
};
