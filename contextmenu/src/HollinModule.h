// CHollinModule: the server's module object (instance handle, counts of live objects and of
// class-factory locks, registration from the REGISTRY resources) and its class factory.
// The library may be unloaded only while both counts are zero.
#pragma once

#include <windows.h>
#include <objbase.h>

#include <string>

#include "RegScript.h"

const UINT kHollinModuleScriptId = 101;  // AppID entries
const UINT kHollinClassScriptId = 102;   // class and context-menu handler entries
extern const wchar_t kHollinAppId[];

class CHollinModule {
 public:
  void Init(HINSTANCE instance) { m_instance = instance; }
  HINSTANCE Instance() const { return m_instance; }

  // Live objects (handlers and class factories) and LockServer locks, changed atomically.
  void ObjectMade() { InterlockedIncrement(&m_objects); }
  void ObjectGone() { InterlockedDecrement(&m_objects); }
  void Lock() { InterlockedIncrement(&m_locks); }
  void Unlock() { InterlockedDecrement(&m_locks); }
  bool CanUnload() const { return m_objects == 0 && m_locks == 0; }

  HRESULT GetClassObject(REFCLSID clsid, REFIID riid, void** object);

  // Runs the scripts under HKEY_CLASSES_ROOT, or under HKCU\Software\Classes per user.
  HRESULT UpdateRegistry(bool registering, bool perUser);

  // Full path of this library ("" when it cannot be had).
  std::wstring ModulePath() const;
  // The registry script of a REGISTRY resource, with %APPID% and %MODULE% bound.
  bool LoadScript(UINT id, CRegScript& script) const;

 private:
  HINSTANCE m_instance = nullptr;
  volatile LONG m_objects = 0;
  volatile LONG m_locks = 0;
};

extern CHollinModule g_hollinModule;

class CHollinFactory final : public IClassFactory {
 public:
  CHollinFactory();

  STDMETHODIMP QueryInterface(REFIID riid, void** object) override;
  STDMETHODIMP_(ULONG) AddRef() override;
  STDMETHODIMP_(ULONG) Release() override;
  STDMETHODIMP CreateInstance(IUnknown* outer, REFIID riid, void** object) override;
  STDMETHODIMP LockServer(BOOL lock) override;

 private:
  ~CHollinFactory();
  LONG m_ref = 1;
};
