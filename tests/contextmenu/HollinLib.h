// Loads Hollin.dll from the test folder and hands out its in-process server entry points,
// plus the ids and texts the tests compare against.
#pragma once

#include <windows.h>
#include <objbase.h>
#include <shlobj.h>

#include <gtest/gtest.h>

#include "XWin.h"

typedef HRESULT(__stdcall* PFN_DllGetClassObject)(REFCLSID, REFIID, void**);
typedef HRESULT(__stdcall* PFN_DllVoid)();
typedef HRESULT(__stdcall* PFN_DllInstall)(BOOL, LPCWSTR);

const CLSID kHollinClsid = {0xEDE9C14E, 0xB540, 0x40BD, {0x95, 0x92, 0x17, 0x70, 0xFC, 0xDF, 0x08, 0xF4}};
const wchar_t kHollinClsidText[] = L"{EDE9C14E-B540-40BD-9592-1770FCDF08F4}";
const wchar_t kHollinAppIdText[] = L"{6BB3D1B4-AFD0-4BBC-8267-8EF854D01B88}";

class HollinLib {
 public:
  HollinLib() : m_module(LoadLibraryW(L"Hollin.dll")) {
    GetClassObject = m_module.Proc<PFN_DllGetClassObject>("DllGetClassObject");
    CanUnloadNow = m_module.Proc<PFN_DllVoid>("DllCanUnloadNow");
    RegisterServer = m_module.Proc<PFN_DllVoid>("DllRegisterServer");
    UnregisterServer = m_module.Proc<PFN_DllVoid>("DllUnregisterServer");
    Install = m_module.Proc<PFN_DllInstall>("DllInstall");
  }
  bool Loaded() const { return GetClassObject && CanUnloadNow && RegisterServer && UnregisterServer && Install; }
  HMODULE Module() const { return m_module.Get(); }
  std::wstring Path() const {
    wchar_t path[MAX_PATH] = {0};
    GetModuleFileNameW(m_module.Get(), path, MAX_PATH);
    return path;
  }

  // A fresh handler object through the class factory, asked for interface T.
  template <class T>
  CXComPtr<T> Create(REFIID riid) const {
    CXComPtr<T> out;
    CXComPtr<IClassFactory> factory;
    if (GetClassObject && SUCCEEDED(GetClassObject(kHollinClsid, IID_IClassFactory, factory.OutVoid())))
      factory->CreateInstance(nullptr, riid, out.OutVoid());
    return out;
  }

  PFN_DllGetClassObject GetClassObject = nullptr;
  PFN_DllVoid CanUnloadNow = nullptr;
  PFN_DllVoid RegisterServer = nullptr;
  PFN_DllVoid UnregisterServer = nullptr;
  PFN_DllInstall Install = nullptr;

 private:
  CXModule m_module;
};
