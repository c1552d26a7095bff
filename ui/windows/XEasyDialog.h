// CXEasyDialog: a modal dialog with its own message loop. Closing it destroys only the
// dialog and ends that loop; a WM_QUIT taken by the loop is posted again for the outer one.
#pragma once

#include "XWindow.h"

class WENDORA_API CXEasyDialog : public CXWindow {
 public:
  CXEasyDialog();
  ~CXEasyDialog() override;

  LRESULT MessageHandle(MESSAGE_EVENT* event) override;
  UINT GetClassStyle() override;
  DWORD GetWindowStyle() override;
  DWORD GetWindowExStyle() override;
  // Creates the dialog over the disabled owner and runs until the dialog window is gone;
  // the wParam of the last message taken from the queue.
  virtual int DoModal(HWND owner);
  const wchar_t* XUI_GetClassName() override;
};
