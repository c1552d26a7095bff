// CXEdit ("edit", class "XEDIT"): a windowless text field. It paints its text (bullets for a
// password) like any object, and only while the user edits does a native editor (CXEditWnd)
// sit over it. The text always lives here: the editor copies it back on every change.
#pragma once

#include <windows.h>

#include <memory>

#include "WendoraApi.h"
#include "XBaseUI.h"

class CXEditWnd;

class WENDORA_API CXEdit : public CXBaseUI {
 public:
  CXEdit();
  ~CXEdit() override;  // destroys an editor that is still open

  LRESULT MessageHandle(MESSAGE_EVENT* event) override;
  void DoPaint(HDC dc) override;
  const wchar_t* XUI_GetClassName() override { return L"XEDIT"; }
  // "readonly" (an integer); everything else as for any object.
  BOOL XUI_SetAttribute(const wchar_t* name, const wchar_t* value) override;

  void SetPassword() { m_bPassword = TRUE; }
  BOOL IsPassword() const { return m_bPassword; }
  void SetReadOnly(int readOnly) { m_bReadOnly = readOnly; }
  int IsReadOnly() const { return m_bReadOnly; }
  void SetEditMargin(const CRect& margin) { m_margin = margin; }
  CRect GetEditMargin() const { return m_margin; }
  // WS_CHILD | ES_AUTOHSCROLL, with ES_PASSWORD for a password field.
  DWORD GetEditStyle() const;
  void SetBkImage(const wchar_t* path, int mode) {}
  // The rectangle inside the margins, where the text and the editor go.
  CRect GetEditRect();
  // The editor, null before the first edit (it may have closed since).
  CXEditWnd* GetEditor() const { return m_pEditor.get(); }

  virtual void OnSetFocus();
  virtual void OnLButtonDown();
  virtual LRESULT OnSetCursor();

 private:
  void OpenEditor();

  std::unique_ptr<CXEditWnd> m_pEditor;
  CRect m_margin{2, 3, 2, 5};
  int m_bReadOnly = 0;
  BOOL m_bPassword = FALSE;
};
