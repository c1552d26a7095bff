// CXContainer and CXScrollContainer: windowless groups of child objects, painted clipped to
// the container's rectangle. The scroll container moves its child "list" with the mouse
// wheel. Clipping is restored to what the device context had before, so containers nest.
#pragma once

#include <windows.h>

#include "WendoraApi.h"
#include "XBaseUI.h"

class WENDORA_API CXContainer : public CXBaseUI {
 public:
  CXContainer();
  ~CXContainer() override;

  LRESULT MessageHandle(MESSAGE_EVENT* event) override;
  void DoPaint(HDC dc) override;
  DWORD XUI_GetStyle() override;  // the stored style with 0x10: every move counts
  const wchar_t* XUI_GetClassName() override;
};

class WENDORA_API CXScrollContainer : public CXContainer {
 public:
  CXScrollContainer();
  ~CXScrollContainer() override;

  // The wheel moves the child "list" down for forward rotation, 10 pixels a notch, without
  // bounds; other messages are handled as by CXContainer.
  LRESULT MessageHandle(MESSAGE_EVENT* event) override;
  const wchar_t* XUI_GetClassName() override;

  virtual void OnMouseWheel(WPARAM wParam, LPARAM lParam);
};
