// CXEasyWnd: the opaque, double-buffered main window. Closing it (WM_CLOSE or command 1)
// destroys it and ends the thread's message loop.
#pragma once

#include "XWindow.h"

class WENDORA_API CXEasyWnd : public CXWindow {
 public:
  CXEasyWnd();
  ~CXEasyWnd() override;

  LRESULT MessageHandle(MESSAGE_EVENT* event) override;
  UINT GetClassStyle() override;
  DWORD GetWindowStyle() override;
  DWORD GetWindowExStyle() override;
  const wchar_t* XUI_GetClassName() override;

 protected:
  void OnSize(HWND hwnd);
  LRESULT OnNCHittest(HWND hwnd, LPARAM lParam);
};
