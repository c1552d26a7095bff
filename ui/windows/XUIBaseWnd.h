// XUIBaseWnd: a layered window drawn with per-pixel alpha (UpdateLayeredWindow). Its objects
// paint premultiplied 32-bit pixels into a transparent buffer; mouse messages redraw it.
#pragma once

#include "XWindow.h"

class WENDORA_API XUIBaseWnd : public CXWindow {
 public:
  XUIBaseWnd();
  ~XUIBaseWnd() override;

  LRESULT MessageHandle(MESSAGE_EVENT* event) override;
  UINT GetClassStyle() override;
  DWORD GetWindowStyle() override;
  DWORD GetWindowExStyle() override;
  const wchar_t* XUI_GetClassName() override;

  // Paints every object into a buffer of the window's size and hands it to the system.
  void Draw();
};
