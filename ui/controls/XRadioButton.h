// CXRadioButton: a button that is checked by a click and then unchecks the other members of
// its group found beside it (in the same parent). Groups are numbered and span the process;
// radio buttons draw themselves from the strip shared by every radio button.
#pragma once

#include "XButton.h"

class WENDORA_API CXRadioButton : public CXButtonImpl {
 public:
  CXRadioButton();  // left aligned caption, left margin 5, type radio

  void DoPaint(HDC dc) override;
  const wchar_t* XUI_GetClassName() override;  // "XRADIOBUTTON"
  LRESULT OnLButtonUp(MESSAGE_EVENT* event) override;
  // Joins group (the ID once per group); the button belongs to the group it joined last.
  void AddButtonGroup(int group, const CString& id) override;

  int GetGroup() const { return m_nGroup; }
  // The IDs of a group's members in order of joining (empty for an unknown group).
  static std::vector<CString> GetGroupMembers(int group);

  // The class's strip (no reference added), null until a radio button with a strip child
  // has painted; ResetStrip drops it so the next paint takes a new one.
  static ITessaly* GetStripImage();
  static void ResetStrip();

 private:
  static XBUTTON_STRIP& Strip();

  int m_nGroup = 0;
  bool m_bGrouped = false;

  static XBUTTON_GROUPS m_mRadioGroup;
};
