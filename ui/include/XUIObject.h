// The interfaces every UI object shares: the message record (MESSAGE_EVENT) and its named
// form for the application (NOTIFY_EVENT), INotify, IXUIObject and the application's
// INotifyCallback. Slot order of the virtual operations is part of the binary contract.
#pragma once

#include <windows.h>

#include "WendoraApi.h"
#include "XGeometry.h"
#include "XString.h"

class CControlMgr;
class IXUIObject;

// What every MessageHandle receives; x and y are the cursor in screen coordinates at the
// time the message was taken from the queue.
struct MESSAGE_EVENT {
  BOOL bHandled;
  HWND hWnd;
  UINT uMsg;
  LONG x;
  LONG y;
  LPARAM lParam;
  WPARAM wParam;
};

// A notification for the application: the event and a name ("" for plain messages,
// "DropFiles", "MenuClick", ...). The name is always NUL-terminated.
struct NOTIFY_EVENT {
  MESSAGE_EVENT event;
  wchar_t szName[32];
};

// XUI_GetUIType: windows report 1, windowless objects (and placeholders) 0x1000.
enum XUI_TYPE : DWORD {
  XUI_TYPE_WINDOW = 0x1,
  XUI_TYPE_WINDOWLESS = 0x1000,
};

// Style bits of a windowless object.
enum : DWORD {
  XUI_STYLE_DISABLED = 0x01,
  XUI_STYLE_HIDDEN = 0x02,
  XUI_STYLE_BACKGROUND = 0x04,  // painted in the first pass
  XUI_STYLE_FOCUS = 0x08,
  XUI_STYLE_ALLMOVES = 0x10,    // receives every mouse move, not only the first over it
  XUI_STYLE_CAPTURED = 0x20,
};

// The framework's own click messages, posted by CControlMgr::ClickEvent.
enum : UINT {
  XWM_LBUTTONCLICK = 494,
  XWM_RBUTTONCLICK = 495,
  XWM_REFLECT_COMMAND = 0x2111,  // WM_COMMAND reflected to the control window named in lParam
};

// First base of every event-capable object: its message entry and its destructor, through
// which an owner destroys it.
class INotify {
 public:
  virtual LRESULT MessageHandle(MESSAGE_EVENT* event) = 0;
  virtual ~INotify() {}
};

// The 33 operations every UI object implements. Rectangles are in client coordinates of
// the object's window. An IXUIObject is never deleted through this interface: owners use
// XDestroyUIObject.
class IXUIObject {
 public:
  virtual IXUIObject* XUI_GetParent() = 0;
  virtual void XUI_SetParent(IXUIObject* parent) = 0;
  virtual IXUIObject* XUI_GetChild(const wchar_t* id) = 0;
  virtual void XUI_AddChild(IXUIObject* child) = 0;
  virtual CRect XUI_GetRect() = 0;
  virtual void XUI_SetRect(const CRect& rect) = 0;
  virtual CRect XUI_GetWindowRect() = 0;
  virtual CRect XUI_GetClientRect() = 0;
  virtual void XUI_MoveWindow(const CRect& rect) = 0;
  virtual DWORD XUI_GetStyle() = 0;
  virtual void XUI_SetStyle(DWORD style) = 0;
  virtual DWORD XUI_GetExStyle() = 0;
  virtual void XUI_SetExStyle(DWORD style) = 0;
  virtual const wchar_t* XUI_GetClassName() = 0;
  virtual CString XUI_GetWindowText() = 0;
  virtual void XUI_SetWindowText(const wchar_t* text) = 0;
  virtual BOOL XUI_IsVisible() = 0;
  virtual void XUI_SetVisible(BOOL visible) = 0;
  virtual BOOL XUI_IsEnable() = 0;
  virtual void XUI_SetEnable(BOOL enable) = 0;
  virtual BOOL XUI_IsFocus() = 0;
  virtual void XUI_SetFocus(BOOL focus) = 0;
  virtual BOOL XUI_IsCaptured() = 0;
  virtual void XUI_SetCapture(BOOL capture) = 0;
  virtual CControlMgr* XUI_GetControlMgr() = 0;
  virtual void XUI_SetControlMgr(CControlMgr* mgr) = 0;
  virtual void XUI_SetCheck(int check) = 0;
  virtual int XUI_GetCheck() = 0;
  virtual void XUI_SetID(const wchar_t* id) = 0;
  virtual const wchar_t* XUI_GetID() = 0;
  virtual void XUI_DataPrepared() = 0;
  virtual BOOL XUI_SetAttribute(const wchar_t* name, const wchar_t* value) = 0;
  virtual DWORD XUI_GetUIType() = 0;

 protected:
  ~IXUIObject() = default;
};

// Implemented by the application; receives every notification of the framework on the UI
// thread. Non-zero when handled.
class INotifyCallback {
 public:
  virtual LRESULT OnNotify(IXUIObject* sender, NOTIFY_EVENT* event) = 0;

 protected:
  ~INotifyCallback() = default;
};

// Destroys a UI object the way its class requires: event-capable objects through their
// INotify destructor, placeholders through their own. Null is ignored.
WENDORA_API void XDestroyUIObject(IXUIObject* object);

// The event-capable side of an object (null for placeholders and foreign objects).
WENDORA_API INotify* XNotifyOf(IXUIObject* object);

// True when the object is a window (its UI type lacks the windowless bit).
inline bool XIsWindowObject(IXUIObject* object) {
  return object && (object->XUI_GetUIType() & XUI_TYPE_WINDOWLESS) == 0;
}
