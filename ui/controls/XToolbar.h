// CXToolbar: a row of toolbar buttons. It routes its window's mouse messages on to the button
// under the mouse and gives every toolbar button the pictures of its "hover" and "push" image
// children; it paints its background children, then each button.
#pragma once

#include <windows.h>

#include "ITessaly.h"
#include "XBaseUI.h"

class WENDORA_API CXToolbar : public CXBaseUI {
 public:
  CXToolbar();
  ~CXToolbar() override;  // releases the pictures of SetImages

  // The event step, then: WM_CREATE wires the buttons; every message goes on to the children.
  LRESULT MessageHandle(MESSAGE_EVENT* event) override;
  void DoPaint(HDC dc) override;
  // The stored style with 0x10: the toolbar hears every mouse move, to follow the mouse from
  // button to button.
  DWORD XUI_GetStyle() override;
  const wchar_t* XUI_GetClassName() override;  // "XTOOLBAR"

  // Gives the pictures of the children "hover" and "push" to every child of class
  // "XTOOLBARBUTTON". Run on creation, and at the first paint when creation was not heard.
  void OnCreate();

  // Three PNG pictures of the skin package kept by the toolbar (not painted); a missing one
  // stays null.
  void SetImages(const CString& first, const CString& second, const CString& third);
  ITessaly* GetImage(int index) const;  // 0..2; no reference added
  // A rectangle and an index, stored.
  void SetItemRect(const CRect& rect, int index);
  CRect GetItemRect() const { return m_itemRect; }
  int GetItemIndex() const { return m_nItemIndex; }

 private:
  void ReleaseImages();

  ITessaly* m_pImages[3] = {nullptr, nullptr, nullptr};
  CRect m_itemRect;
  int m_nItemIndex = 0;
  bool m_bWired = false;
};
