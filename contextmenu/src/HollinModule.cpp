// The module object, the class factory and the in-process server's exports. No exception
// leaves an export: out-of-memory becomes E_OUTOFMEMORY.
#include "HollinModule.h"

#include <shlwapi.h>

#include <new>
#include <vector>

#include "HollinClass.h"
#include "RegKey.h"
#include "RegRegistrar.h"
#include "XWin.h"

const wchar_t kHollinAppId[] = L"{6BB3D1B4-AFD0-4BBC-8267-8EF854D01B88}";

CHollinModule g_hollinModule;

namespace {

// Sets the thread locale for its lifetime and puts the previous one back.
class CThreadLocaleScope {
 public:
  explicit CThreadLocaleScope(LCID lcid) : m_previous(GetThreadLocale()) { SetThreadLocale(lcid); }
  ~CThreadLocaleScope() { SetThreadLocale(m_previous); }
  CThreadLocaleScope(const CThreadLocaleScope&) = delete;
  CThreadLocaleScope& operator=(const CThreadLocaleScope&) = delete;

 private:
  LCID m_previous;
};

const UINT kScripts[] = {kHollinModuleScriptId, kHollinClassScriptId};

}  // namespace

std::wstring CHollinModule::ModulePath() const {
  std::vector<wchar_t> buffer(MAX_PATH);
  for (;;) {
    DWORD n = GetModuleFileNameW(m_instance, buffer.data(), static_cast<DWORD>(buffer.size()));
    if (n == 0) return std::wstring();
    if (n < buffer.size()) return std::wstring(buffer.data(), n);
    if (buffer.size() >= 32768) return std::wstring();
    buffer.resize(buffer.size() * 2);
  }
}

bool CHollinModule::LoadScript(UINT id, CRegScript& script) const {
  HRSRC info = FindResourceW(m_instance, MAKEINTRESOURCEW(id), L"REGISTRY");
  HGLOBAL loaded = info ? LoadResource(m_instance, info) : nullptr;
  const char* bytes = loaded ? static_cast<const char*>(LockResource(loaded)) : nullptr;
  DWORD size = info ? SizeofResource(m_instance, info) : 0;
  if (!bytes || size == 0 || size > 0x100000) return false;
  std::wstring text;
  if (size >= 2 && static_cast<unsigned char>(bytes[0]) == 0xFF && static_cast<unsigned char>(bytes[1]) == 0xFE) {
    text.assign(reinterpret_cast<const wchar_t*>(bytes + 2), (size - 2) / sizeof(wchar_t));
  } else {
    if (size >= 3 && memcmp(bytes, "\xEF\xBB\xBF", 3) == 0) { bytes += 3; size -= 3; }
    text = XWiden(bytes, static_cast<int>(size), CP_UTF8);
  }
  std::wstring module = ModulePath();
  if (module.empty()) return false;
  REG_SCRIPT_VARIABLES vars = {{u"APPID", XToU16(kHollinAppId, wcslen(kHollinAppId))}, {u"MODULE", XToU16(module)}};
  return script.Parse(XToU16(text), vars);
}

HRESULT CHollinModule::UpdateRegistry(bool registering, bool perUser) {
  CThreadLocaleScope locale(LOCALE_SYSTEM_DEFAULT);
  CXRegKey userClasses;
  HKEY classes = HKEY_CLASSES_ROOT;
  if (perUser) {
    LONG err = RegCreateKeyExW(HKEY_CURRENT_USER, L"Software\\Classes", 0, nullptr, REG_OPTION_NON_VOLATILE,
                               KEY_READ | KEY_WRITE, nullptr, userClasses.Out(), nullptr);
    if (err != ERROR_SUCCESS) return HRESULT_FROM_WIN32(static_cast<DWORD>(err));
    classes = userClasses.Get();
  }
  CRegRegistrar registrar(classes);
  // Every script is read before anything is written, so a broken one changes nothing.
  CRegScript scripts[2];
  for (size_t i = 0; i < 2; ++i) {
    if (!LoadScript(kScripts[i], scripts[i])) return HRESULT_FROM_WIN32(ERROR_INVALID_DATA);
  }
  if (registering) {
    for (const auto& script : scripts) {
      HRESULT hr = registrar.Register(script);
      if (FAILED(hr)) return hr;
    }
    return S_OK;
  }
  HRESULT first = S_OK;
  for (size_t i = 2; i-- > 0;) {
    HRESULT hr = registrar.Unregister(scripts[i]);
    if (FAILED(hr) && SUCCEEDED(first)) first = hr;
  }
  return first;
}

HRESULT CHollinModule::GetClassObject(REFCLSID clsid, REFIID riid, void** object) {
  if (!object) return E_POINTER;
  *object = nullptr;
  if (!IsEqualCLSID(clsid, CLSID_HollinClass)) return CLASS_E_CLASSNOTAVAILABLE;
  CHollinFactory* factory = new (std::nothrow) CHollinFactory();
  if (!factory) return E_OUTOFMEMORY;
  HRESULT hr = factory->QueryInterface(riid, object);
  factory->Release();
  return hr;
}

CHollinFactory::CHollinFactory() { g_hollinModule.ObjectMade(); }
CHollinFactory::~CHollinFactory() { g_hollinModule.ObjectGone(); }

STDMETHODIMP CHollinFactory::QueryInterface(REFIID riid, void** object) {
  if (!object) return E_POINTER;
  if (IsEqualIID(riid, IID_IUnknown) || IsEqualIID(riid, IID_IClassFactory)) {
    *object = static_cast<IClassFactory*>(this);
    AddRef();
    return S_OK;
  }
  *object = nullptr;
  return E_NOINTERFACE;
}

STDMETHODIMP_(ULONG) CHollinFactory::AddRef() { return static_cast<ULONG>(InterlockedIncrement(&m_ref)); }

STDMETHODIMP_(ULONG) CHollinFactory::Release() {
  LONG n = InterlockedDecrement(&m_ref);
  if (n == 0) delete this;
  return static_cast<ULONG>(n);
}

STDMETHODIMP CHollinFactory::CreateInstance(IUnknown* outer, REFIID riid, void** object) {
  if (!object) return E_POINTER;
  *object = nullptr;
  if (outer) return CLASS_E_NOAGGREGATION;
  CHollinClass* handler = new (std::nothrow) CHollinClass();
  if (!handler) return E_OUTOFMEMORY;
  HRESULT hr = handler->QueryInterface(riid, object);
  handler->Release();
  return hr;
}

STDMETHODIMP CHollinFactory::LockServer(BOOL lock) {
  if (lock) g_hollinModule.Lock();
  else g_hollinModule.Unlock();
  return S_OK;
}

// In-process server entry points (exported by name through Hollin.def).

extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID) {
  if (reason == DLL_PROCESS_ATTACH) {
    g_hollinModule.Init(instance);
    DisableThreadLibraryCalls(instance);
  }
  return TRUE;
}

STDAPI DllCanUnloadNow() { return g_hollinModule.CanUnload() ? S_OK : S_FALSE; }

STDAPI DllGetClassObject(REFCLSID clsid, REFIID riid, void** object) {
  return g_hollinModule.GetClassObject(clsid, riid, object);
}

namespace {
HRESULT Update(bool registering, bool perUser) {
  try {
    return g_hollinModule.UpdateRegistry(registering, perUser);
  } catch (const std::bad_alloc&) {
    return E_OUTOFMEMORY;
  } catch (...) {
    return E_UNEXPECTED;
  }
}
}  // namespace

STDAPI DllRegisterServer() { return Update(true, false); }

STDAPI DllUnregisterServer() { return Update(false, false); }

// "user" (any case) registers under HKEY_CURRENT_USER\Software\Classes instead; a failed
// registration is undone again.
STDAPI DllInstall(BOOL install, LPCWSTR commandLine) {
  bool perUser = commandLine && lstrcmpiW(commandLine, L"user") == 0;
  if (!install) return Update(false, perUser);
  HRESULT hr = Update(true, perUser);
  if (FAILED(hr)) Update(false, perUser);
  return hr;
}
