// CXEditWnd: the native editor of a CXEdit, a superclass of the system "Edit" class placed
// over the field while it is edited. It copies its text into the field on every change
// notification and closes itself when it loses the focus; the field may outlive it, and a
// field that goes first is forgotten before the editor's window is destroyed.
#pragma once

#include <windows.h>

#include "WendoraApi.h"
#include "XWindow.h"

class CXEdit;

class WENDORA_API CXEditWnd : public CXWindow {
 public:
  CXEditWnd() = default;
  ~CXEditWnd() override;  // destroys a native window that is still there

  LRESULT MessageHandle(MESSAGE_EVENT* event) override;
  const wchar_t* GetSuperClassName() override { return L"Edit"; }
  virtual const wchar_t* GetClassNameW() { return L"XEDIT"; }
  const wchar_t* XUI_GetClassName() override { return L"XEditWnd"; }

  // Places the editor over the field's inner rectangle, fills it with the field's text (all
  // selected) and gives it the keyboard focus. False when the field has no window to host it.
  BOOL Open(CXEdit* owner);
  CXEdit* GetOwner() const { return m_pOwner; }
  void SetOwner(CXEdit* owner) { m_pOwner = owner; }
  // The native window is there and has not yet begun to close.
  BOOL IsOpen() const;

 private:
  void CopyTextToOwner();

  CXEdit* m_pOwner = nullptr;
  bool m_bClosing = false;  // focus lost: WM_CLOSE is on its way
};
