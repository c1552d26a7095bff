// CXWindow: a skinned native window that owns a tree of windowless UI objects (through its
// control manager) and turns every native message into a MESSAGE_EVENT for them. The native
// window knows its object through GWLP_USERDATA (or the property "WndX" for superclassed
// windows); the handle is cleared when the native window is gone, and the object detaches
// itself from a native window that outlives it.
#pragma once

#include <windows.h>

#include <functional>

#include "WendoraApi.h"
#include "XEvent.h"
#include "XRelayOut.h"
#include "XString.h"
#include "XUIObject.h"

// windowsx.h defines these names as macros; the window classes use them as operations.
#undef GetWindowStyle
#undef GetWindowExStyle

class CControlMgr;

// After-style flags of a window.
enum : DWORD {
  XWND_AFTER_CENTER = 0x1,   // stored for callers
  XWND_AFTER_VISIBLE = 0x2,  // RelocateWnd shows the window
};

// Command ids (WM_COMMAND) the window classes answer. Skins' buttons send these numbers and
// the program reads XCMD_CONFIRM back from DialogDoModal: they are fixed.
enum : WORD {
  XCMD_CLOSE = 1,     // a main window closes and ends its thread's loop; a dialog ends
  XCMD_MINIMIZE = 3,
  XCMD_CONFIRM = 5,   // a dialog ends, confirmed
  XCMD_DISMISS = 6,   // a dialog ends, not confirmed
};

// The border hit tests of the window classes, as plain functions of the window rectangle
// and a screen point. Both give HTCLIENT when resizing is off or the window is maximised.
// 5-pixel variant: corners by the 5-pixel bands.
WENDORA_API LRESULT XBorderHitTest5(const RECT& window, POINT point, BOOL resizable);
// 3/10-pixel variant: 3-pixel edges first, then 10-pixel corners.
WENDORA_API LRESULT XBorderHitTest3(const RECT& window, POINT point, BOOL resizable);

class WENDORA_API CXWindow : public INotify, public IXUIObject, public CXEvent {
 public:
  CXWindow();
  ~CXWindow() override;
  CXWindow(const CXWindow&) = delete;
  CXWindow& operator=(const CXWindow&) = delete;

  // INotify, then the window's own slots.
  LRESULT MessageHandle(MESSAGE_EVENT* event) override;  // the base window procedure
  virtual UINT GetClassStyle();
  virtual const wchar_t* GetSuperClassName();  // null: the window registers its own class
  virtual DWORD GetWindowStyle();
  virtual DWORD GetWindowExStyle();
  virtual void RelocateWnd();

  // Registers the class and creates the native window (a null rect means CW_USEDEFAULT for
  // position and size; style or ex-style 0 means the class's own); the handle or null.
  HWND Create(HWND parent, const RECT* rect, const wchar_t* name, DWORD style, DWORD exStyle, HMENU menu);
  BOOL RegisterWindowClass();
  BOOL RegisterSuperclass();

  HWND GetHWND() const { return m_hWnd; }
  HWND GetWnd() const { return m_hWnd; }
  operator HWND() const { return m_hWnd; }
  BOOL ShowWindow(int show);
  BOOL UpdateWindow();
  // Centres over a live parent window, else over the primary work area; size unchanged.
  void CenterWindow();

  // Window attributes and stored properties.
  void SetWndStyle(DWORD style) { m_extraStyle = style; }
  DWORD GetWndStyle() const { return m_extraStyle; }
  void SetWndExStyle(DWORD style) { m_extraExStyle = style; }
  DWORD GetWndExStyle() const { return m_extraExStyle; }
  void SetAfterStyle(DWORD flags) { m_afterStyle = flags; }
  DWORD GetAfterStyle() const { return m_afterStyle; }
  void SetBkColor(COLORREF color) { m_bkColor = color; }
  COLORREF GetBkColor() const { return m_bkColor; }
  CSize GetMinTrackSize() const { return CSize(m_minWidth, m_minHeight); }
  CSize GetMaxSize() const { return CSize(m_maxWidth, m_maxHeight); }
  void SetMinMaxSize(int minWidth, int minHeight, int maxWidth, int maxHeight);
  // The window owns the rule it made and the rule in use at its destruction.
  void SetRelayout(CXRelayOut* rule) { m_pRelayout = rule; }
  CXRelayOut* GetRelayoutPtr() const { return m_pRelayout; }
  WNDPROC GetBaseWndProc() const { return m_baseWndProc; }

  // IXUIObject: the native window's state where there is one.
  IXUIObject* XUI_GetParent() override { return m_pParent; }
  void XUI_SetParent(IXUIObject* parent) override { m_pParent = parent; }
  IXUIObject* XUI_GetChild(const wchar_t* id) override;
  void XUI_AddChild(IXUIObject* child) override;
  CRect XUI_GetRect() override { return m_rect; }
  void XUI_SetRect(const CRect& rect) override { m_rect = rect; }
  CRect XUI_GetWindowRect() override;
  CRect XUI_GetClientRect() override;
  void XUI_MoveWindow(const CRect& rect) override;
  DWORD XUI_GetStyle() override;
  void XUI_SetStyle(DWORD style) override;
  DWORD XUI_GetExStyle() override;
  void XUI_SetExStyle(DWORD style) override;
  const wchar_t* XUI_GetClassName() override;
  CString XUI_GetWindowText() override { return m_text; }
  void XUI_SetWindowText(const wchar_t* text) override;
  BOOL XUI_IsVisible() override;
  void XUI_SetVisible(BOOL visible) override;
  BOOL XUI_IsEnable() override;
  void XUI_SetEnable(BOOL enable) override;
  BOOL XUI_IsFocus() override;
  void XUI_SetFocus(BOOL focus) override;
  BOOL XUI_IsCaptured() override { return 1; }
  void XUI_SetCapture(BOOL) override {}
  CControlMgr* XUI_GetControlMgr() override;
  void XUI_SetControlMgr(CControlMgr* mgr) override;
  void XUI_SetCheck(int) override {}
  int XUI_GetCheck() override { return 0; }
  void XUI_SetID(const wchar_t* id) override { m_id = id; }
  const wchar_t* XUI_GetID() override { return m_id; }
  void XUI_DataPrepared() override {}
  BOOL XUI_SetAttribute(const wchar_t* name, const wchar_t* value) override;
  DWORD XUI_GetUIType() override { return XUI_TYPE_WINDOW; }

  // The most recently constructed window.
  static CXWindow* m_pThis;

  static LRESULT CALLBACK XWndProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
  static LRESULT CALLBACK __ControlProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);

 protected:
  HWND Create(HWND parent, const wchar_t* name, DWORD style, DWORD exStyle, int x, int y, int width, int height,
              HMENU menu);
  // The steps windows with script events share: scripts and the application hear of the
  // message, then the control manager routes it. True when a child handled it.
  bool RunEventSteps(MESSAGE_EVENT* event);
  // Double-buffered paint of the client area: background colour, then the objects, then
  // what extra draws (into the buffer, given the client rectangle).
  void PaintBuffered(HWND hwnd, const std::function<void(HDC, const CRect&)>& extra = nullptr);
  // Rounded window region of the manager's corner radius (or the given one).
  void SetRoundRegion(int width, int height, int radius);
  void Minimize();

 private:
  friend class CXWindowProc;  // the one body of both window procedures (XWindow.cpp)
  static LRESULT Route(CXWindow* self, MESSAGE_EVENT& event, bool superclassed);
  static void FillMinMaxInfo(CXWindow* self, HWND hwnd, MINMAXINFO* info);
  void Detach();

  HWND m_hWnd = nullptr;
  COLORREF m_bkColor = 0xFFFFFF;
  int m_minWidth = 0;
  int m_minHeight = 0;
  int m_maxWidth = 0;
  int m_maxHeight = 0;
  WNDPROC m_baseWndProc = &DefWindowProcW;
  CControlMgr* m_pControlMgr = nullptr;
  CString m_text;
  IXUIObject* m_pParent = nullptr;
  CString m_id;
  DWORD m_extraStyle = 0;
  DWORD m_extraExStyle = 0;
  DWORD m_afterStyle = XWND_AFTER_CENTER;
  CXRelayOut* m_pOwnRelayout;
  CXRelayOut* m_pRelayout;
  CRect m_rect;
  bool m_superclassed = false;
};
