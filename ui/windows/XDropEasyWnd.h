// CXDropEasyWnd: the main window that accepts files dropped from the shell and reports them
// to the application as the notification "DropFiles" (lParam: the paths, each followed by a
// NUL, then one more NUL and a terminator; wParam: that length in characters). The window
// owns its drop target, which therefore counts no references.
#pragma once

#include <windows.h>
#include <ole2.h>
#include <shobjidl.h>

#include <vector>

#include "XEasyWnd.h"
#include "XString.h"

// Told of the drag events a drop target receives.
class IXDropHandler {
 public:
  virtual HRESULT OnDragEnter(IDataObject* data, DWORD keyState, LONG x, LONG y, DWORD* effect) = 0;
  virtual HRESULT OnDragOver(DWORD keyState, LONG x, LONG y, DWORD* effect) = 0;
  virtual HRESULT OnDragLeave() = 0;
  virtual HRESULT OnDrop(IDataObject* data, DWORD keyState, LONG x, LONG y, DWORD* effect,
                         const std::vector<CString>& paths) = 0;

 protected:
  ~IXDropHandler() = default;
};

// The shell's drop target of one window: drag events go to the handler and to the shell's
// drag-image object; a drop delivers the dropped file paths.
class WENDORA_API IXDropTarget : public IDropTarget {
 public:
  IXDropTarget() = default;
  IXDropTarget(const IXDropTarget&) = delete;
  IXDropTarget& operator=(const IXDropTarget&) = delete;

  HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override;
  ULONG STDMETHODCALLTYPE AddRef() override;
  ULONG STDMETHODCALLTYPE Release() override;
  HRESULT STDMETHODCALLTYPE DragEnter(IDataObject* data, DWORD keyState, POINTL pt, DWORD* effect) override;
  HRESULT STDMETHODCALLTYPE DragOver(DWORD keyState, POINTL pt, DWORD* effect) override;
  HRESULT STDMETHODCALLTYPE DragLeave() override;
  HRESULT STDMETHODCALLTYPE Drop(IDataObject* data, DWORD keyState, POINTL pt, DWORD* effect) override;

  // Registers the window with OLE; the registration's result. The shell's drag-image object
  // is made at the first drag (a failure leaves it out).
  HRESULT RegisterTarget(HWND wnd, IXDropHandler* handler);
  void RevokeTarget();
  IDropTargetHelper* GetDragImageHelper() const { return m_pHelper; }

  // The file paths a data object carries as CF_HDROP, in order (none without it).
  static std::vector<CString> QueryDropFiles(IDataObject* data);

 protected:
  ~IXDropTarget();

 private:
  HRESULT DeliverDrop(IDataObject* data, DWORD keyState, POINTL pt, DWORD* effect);
  IDropTargetHelper* m_pHelper = nullptr;  // the drag image, from the first drag on
  bool m_helperTried = false;
  HWND m_hTargetWnd = nullptr;
  IXDropHandler* m_pHandler = nullptr;
};

class WENDORA_API CXDropEasyWnd : public IXDropTarget, public CXEasyWnd, public IXDropHandler {
 public:
  CXDropEasyWnd();
  ~CXDropEasyWnd() override;

  LRESULT MessageHandle(MESSAGE_EVENT* event) override;
  const wchar_t* XUI_GetClassName() override;

  HRESULT OnDragEnter(IDataObject* data, DWORD keyState, LONG x, LONG y, DWORD* effect) override;
  HRESULT OnDragOver(DWORD keyState, LONG x, LONG y, DWORD* effect) override;
  HRESULT OnDragLeave() override;
  HRESULT OnDrop(IDataObject* data, DWORD keyState, LONG x, LONG y, DWORD* effect,
                 const std::vector<CString>& paths) override;

  // The notification buffer for a list of paths.
  static std::vector<wchar_t> JoinPaths(const std::vector<CString>& paths);

 private:
  bool m_oleInitialized = false;
};
