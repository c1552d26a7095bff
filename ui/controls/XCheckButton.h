// CXCheckButton: a button that toggles its check state on each click and draws itself from
// the check strip shared by every check button of the process.
#pragma once

#include "XButton.h"

class WENDORA_API CXCheckButton : public CXButtonImpl {
 public:
  CXCheckButton();  // left aligned caption, left margin 5, type check

  void DoPaint(HDC dc) override;
  const wchar_t* XUI_GetClassName() override;  // "XCHECKBUTTON"

  // The class's strip (no reference added), null until a check button with a strip child
  // has painted; ResetStrip drops it so the next paint takes a new one.
  static ITessaly* GetStripImage();
  static void ResetStrip();

 private:
  static XBUTTON_STRIP& Strip();
};
