// CXHotKey ("hotkey", class "XHOTKEY"): a field in which the user presses a key combination.
// It is the system's hotkey control placed over the object's rectangle once the host window
// exists (its WM_CREATE); the combination is kept here too, so it can be set before the
// control exists and read after the window has gone (the control's last one). Changes reach the host window as
// WM_COMMAND with EN_CHANGE from the control (id kControlId).
#pragma once

#include <windows.h>

#include "WendoraApi.h"
#include "XBaseUI.h"

class WENDORA_API CXHotKey : public CXBaseUI {
 public:
  enum { kControlId = 0x4B48 };

  CXHotKey();
  ~CXHotKey() override;  // destroys a control that is still there

  LRESULT MessageHandle(MESSAGE_EVENT* event) override;
  void DoPaint(HDC dc) override;
  void XUI_SetRect(const CRect& rect) override;
  const wchar_t* XUI_GetClassName() override { return L"XHOTKEY"; }

  // The combination in the control's form: virtual key in the low byte, HOTKEYF_* flags in
  // the high byte; 0 = none.
  void SetHotKey(WORD hotKey);
  WORD GetHotKey();
  // The native control, null while there is none.
  HWND GetControlWnd() const;

 private:
  void CreateControl(HWND host);
  static LRESULT CALLBACK ControlProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam, UINT_PTR id, DWORD_PTR data);

  HWND m_hControl = nullptr;
  WORD m_hotKey = 0;
};
