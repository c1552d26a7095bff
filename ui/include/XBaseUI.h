// CXBaseUI: the windowless UI object every control derives from. It owns its child list
// (a CControlMgr made on first use), its layout rule and its rich-text caption; it never
// owns its parent. The class-wide capture pointer names the object holding the mouse, and
// never outlives that object.
#pragma once

#include <windows.h>

#include "WendoraApi.h"
#include "XEvent.h"
#include "XGeometry.h"
#include "XRelayOut.h"
#include "XString.h"
#include "XUIObject.h"

class CControlMgr;
class CXBaseUI;
class CXString;

// How captions with markup ("{#") become rich text. The rich-text string registers these
// when it is part of the framework; without them every caption stays plain text.
struct XRICHTEXT_OPS {
  CXString* (*make)(CXBaseUI* owner, const CString& text);
  void (*destroy)(CXString* richText);
};
WENDORA_API void XRegisterRichText(const XRICHTEXT_OPS& ops);

class WENDORA_API CXBaseUI : public INotify, public IXUIObject, public CXEvent {
 public:
  CXBaseUI();
  ~CXBaseUI() override;
  CXBaseUI(const CXBaseUI&) = delete;
  CXBaseUI& operator=(const CXBaseUI&) = delete;

  // INotify
  LRESULT MessageHandle(MESSAGE_EVENT* event) override;

  // Own operations, continuing the INotify table.
  virtual void DoPaint(HDC dc);
  virtual void SetControlMgr(CControlMgr* mgr);  // takes mgr; the old list is not destroyed
  virtual void SetID(const CString& id);
  virtual CString GetID();
  virtual CString GetTooltip();
  virtual void SetTooltip(const CString& tooltip);
  virtual int GetCheck();
  virtual void SetCheck(int check);
  virtual int GetFontID(int index);  // 0 outside 0..3
  virtual void SetFontID(const int* ids);  // four ids
  virtual void SetFontID(int id0, int id1, int id2, int id3);
  virtual void Relayout();
  // Where the tooltip shown for this object holds, in screen pixels: the object's window
  // rectangle (a list narrows it to the row whose text it shows). The tooltip goes once the
  // mouse leaves it.
  virtual CRect GetTooltipArea();

  // IXUIObject
  IXUIObject* XUI_GetParent() override;
  void XUI_SetParent(IXUIObject* parent) override;
  IXUIObject* XUI_GetChild(const wchar_t* id) override;
  void XUI_AddChild(IXUIObject* child) override;
  CRect XUI_GetRect() override;
  void XUI_SetRect(const CRect& rect) override;
  CRect XUI_GetWindowRect() override;
  CRect XUI_GetClientRect() override;
  void XUI_MoveWindow(const CRect& rect) override;
  DWORD XUI_GetStyle() override;
  void XUI_SetStyle(DWORD style) override;
  DWORD XUI_GetExStyle() override;
  void XUI_SetExStyle(DWORD style) override;
  const wchar_t* XUI_GetClassName() override;
  CString XUI_GetWindowText() override;
  void XUI_SetWindowText(const wchar_t* text) override;
  BOOL XUI_IsVisible() override;
  void XUI_SetVisible(BOOL visible) override;
  BOOL XUI_IsEnable() override;
  void XUI_SetEnable(BOOL enable) override;
  BOOL XUI_IsFocus() override;
  void XUI_SetFocus(BOOL focus) override;
  BOOL XUI_IsCaptured() override;
  void XUI_SetCapture(BOOL capture) override;
  CControlMgr* XUI_GetControlMgr() override;
  void XUI_SetControlMgr(CControlMgr* mgr) override;  // destroys the old list and its children
  void XUI_SetCheck(int check) override;
  int XUI_GetCheck() override;
  void XUI_SetID(const wchar_t* id) override;
  const wchar_t* XUI_GetID() override;
  void XUI_DataPrepared() override;
  // "fontid" (up to four comma-separated ids) and "tooltip"; 1 when the name was taken.
  BOOL XUI_SetAttribute(const wchar_t* name, const wchar_t* value) override;
  DWORD XUI_GetUIType() override;

  // Layout.
  // The object owns the rule it made and the rule in use at its destruction; a rule replaced
  // by a later SetRelayout is left to whoever made it.
  void SetRelayout(CXRelayOut* rule) { m_pRelayout = rule; }
  CXRelayOut* GetRelayoutPtr() const { return m_pRelayout; }
  void NeedRelayout(BOOL need);  // on this object and every descendant
  BOOL IsNeedRelayout() const { return m_bNeedRelayout; }

  // The rich-text caption, or null while the caption is plain.
  CXString* GetRichText() const { return m_pRichText; }
  // The window of the object's child list (null until a window has been told).
  HWND GetHostWnd();

  static CXBaseUI* GetCapturedUI() { return m_pCapturedUI; }

 protected:
  static CXBaseUI* m_pCapturedUI;

 private:
  void FreeRichText();

  CControlMgr* m_pControlMgr = nullptr;
  CRect m_rect;
  CString m_text;
  CXString* m_pRichText = nullptr;
  int m_fontIds[4] = {0, 0, 0, 0};
  IXUIObject* m_pParent = nullptr;
  DWORD m_style = 0;
  DWORD m_exStyle = 0;
  CString m_id;
  CString m_tooltip;
  int m_check = 0;
  CXRelayOut* m_pOwnRelayout;
  CXRelayOut* m_pRelayout;
  bool m_bNeedRelayout = true;
};
