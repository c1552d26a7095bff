// CXTempUI: the placeholder a template's "include" element leaves in the tree until the
// included template replaces it. It keeps a parent and an ID; everything else is inert.
// It has no INotify position: it is destroyed by its own destructor (XDestroyUIObject).
#pragma once

#include "WendoraApi.h"
#include "XUIObject.h"

class WENDORA_API CXTempUI : public IXUIObject {
 public:
  CXTempUI() = default;
  virtual ~CXTempUI();
  CXTempUI(const CXTempUI&) = delete;
  CXTempUI& operator=(const CXTempUI&) = delete;

  IXUIObject* XUI_GetParent() override { return m_pParent; }
  void XUI_SetParent(IXUIObject* parent) override { m_pParent = parent; }
  IXUIObject* XUI_GetChild(const wchar_t*) override { return nullptr; }
  void XUI_AddChild(IXUIObject*) override {}
  CRect XUI_GetRect() override { return CRect(); }
  void XUI_SetRect(const CRect&) override {}
  CRect XUI_GetWindowRect() override { return CRect(); }
  CRect XUI_GetClientRect() override { return CRect(); }
  void XUI_MoveWindow(const CRect&) override {}
  DWORD XUI_GetStyle() override { return 0; }
  void XUI_SetStyle(DWORD) override {}
  DWORD XUI_GetExStyle() override { return 0; }
  void XUI_SetExStyle(DWORD) override {}
  const wchar_t* XUI_GetClassName() override { return L"XTEMPUI"; }
  CString XUI_GetWindowText() override { return CString(); }
  void XUI_SetWindowText(const wchar_t*) override {}
  BOOL XUI_IsVisible() override { return 0; }
  void XUI_SetVisible(BOOL) override {}
  BOOL XUI_IsEnable() override { return 0; }
  void XUI_SetEnable(BOOL) override {}
  BOOL XUI_IsFocus() override { return 0; }
  void XUI_SetFocus(BOOL) override {}
  BOOL XUI_IsCaptured() override { return 0; }
  void XUI_SetCapture(BOOL) override {}
  CControlMgr* XUI_GetControlMgr() override { return nullptr; }
  void XUI_SetControlMgr(CControlMgr*) override {}
  void XUI_SetCheck(int) override {}
  int XUI_GetCheck() override { return 0; }
  void XUI_SetID(const wchar_t* id) override { m_id = id; }
  const wchar_t* XUI_GetID() override { return m_id; }
  void XUI_DataPrepared() override {}
  BOOL XUI_SetAttribute(const wchar_t*, const wchar_t*) override { return 0; }
  DWORD XUI_GetUIType() override { return XUI_TYPE_WINDOWLESS; }

 private:
  IXUIObject* m_pParent = nullptr;
  CString m_id;
};
