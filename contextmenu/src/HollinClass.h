// CHollinClass: the context-menu handler. One object serves one menu: Initialize keeps the
// first selected item's path (bounded to the 260-character buffer), QueryContextMenu adds the
// open and add items, InvokeCommand starts the program or hands it the path.
#pragma once

#include <windows.h>
#include <shlobj.h>

#include "ProgramLink.h"

// {EDE9C14E-B540-40BD-9592-1770FCDF08F4}
extern const CLSID CLSID_HollinClass;

// Menu texts: "open Pinvale" and "add to Pinvale".
extern const wchar_t kHollinOpenText[];
extern const wchar_t kHollinAddText[];
extern const wchar_t kHollinHelpText[];
const UINT kHollinMenuBitmapId = 201;

class CHollinClass final : public IShellExtInit, public IContextMenu {
 public:
  CHollinClass();

  // IUnknown
  STDMETHODIMP QueryInterface(REFIID riid, void** object) override;
  STDMETHODIMP_(ULONG) AddRef() override;
  STDMETHODIMP_(ULONG) Release() override;

  // IShellExtInit
  STDMETHODIMP Initialize(PCIDLIST_ABSOLUTE folder, IDataObject* data, HKEY progId) override;

  // IContextMenu
  STDMETHODIMP QueryContextMenu(HMENU menu, UINT index, UINT firstId, UINT lastId, UINT flags) override;
  STDMETHODIMP InvokeCommand(CMINVOKECOMMANDINFO* info) override;
  STDMETHODIMP GetCommandString(UINT_PTR command, UINT type, UINT* reserved, CHAR* name, UINT size) override;

 private:
  ~CHollinClass();
  CHollinClass(const CHollinClass&) = delete;
  CHollinClass& operator=(const CHollinClass&) = delete;

  HRESULT AddSelected(const CMINVOKECOMMANDINFO& info);

  LONG m_ref = 1;
  wchar_t m_path[kHollinPathChars] = {0};
  HBITMAP m_bitmap = nullptr;  // owned: made in the constructor, deleted in the destructor
};
