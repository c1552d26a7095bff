// CXStringWnd ("text", class "XSTRING"): a windowless rich-text object that behaves like a
// hyperlink: hand cursor, hover and pushed fonts, and a click when a press is released over
// it. It owns its CXString (made on first need) and always takes the size of its text.
#pragma once

#include <windows.h>

#include <memory>

#include "WendoraApi.h"
#include "XBaseUI.h"
#include "XRichString.h"

class WENDORA_API CXStringWnd : public CXBaseUI {
 public:
  CXStringWnd();
  ~CXStringWnd() override;

  LRESULT MessageHandle(MESSAGE_EVENT* event) override;
  void DoPaint(HDC dc) override;
  // Plain text is parsed again so its segments take the new fonts; markup keeps its own.
  void SetFontID(const int* ids) override;
  using CXBaseUI::SetFontID;
  void Relayout() override;

  const wchar_t* XUI_GetClassName() override { return L"XSTRING"; }
  CString XUI_GetWindowText() override;
  void XUI_SetWindowText(const wchar_t* text) override;
  void XUI_SetRect(const CRect& rect) override;
  // Kept in extended-style bit 0x1 (set while disabled) and as the string's button effect.
  void XUI_SetEnable(BOOL enable) override;

  CXString* GetString() const { return m_pString.get(); }
  bool IsPressed() const { return m_bPressed; }

 private:
  CXString* EnsureString();  // null only when memory ran out
  void SetState(int state);

  std::unique_ptr<CXString> m_pString;
  bool m_bPressed = false;
};
