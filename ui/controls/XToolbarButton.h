// CXToolbarButton: a button of a toolbar. It behaves as a radio button with groups of its
// own (separate from the radio buttons' groups) and draws the hover and push pictures that
// its toolbar gives it under its children and caption.
#pragma once

#include "ITessaly.h"
#include "XButton.h"

class WENDORA_API CXToolbarButton : public CXButtonImpl {
 public:
  CXToolbarButton();  // type radio
  ~CXToolbarButton() override;

  void DoPaint(HDC dc) override;
  const wchar_t* XUI_GetClassName() override;  // "XTOOLBARBUTTON"
  LRESULT OnLButtonUp(MESSAGE_EVENT* event) override;
  void AddButtonGroup(int group, const CString& id) override;

  // The picture drawn over the button's rectangle in hover, and when checked or pushed, with
  // its draw type. The button holds a reference while it keeps a picture; null clears.
  void SetHoverImage(ITessaly* image, int drawType = DRAW_9STRETCH);
  void SetPushImage(ITessaly* image, int drawType = DRAW_9STRETCH);
  ITessaly* GetHoverImage() const { return m_pHoverImage; }
  ITessaly* GetPushImage() const { return m_pPushImage; }

  int GetGroup() const { return m_nGroup; }
  static std::vector<CString> GetGroupMembers(int group);

 private:
  int m_nGroup = 0;
  bool m_bGrouped = false;
  ITessaly* m_pHoverImage = nullptr;
  ITessaly* m_pPushImage = nullptr;
  int m_nHoverType = DRAW_9STRETCH;
  int m_nPushType = DRAW_9STRETCH;

  static XBUTTON_GROUPS m_mToolbarGroup;
};
