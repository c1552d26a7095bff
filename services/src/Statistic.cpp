// CStatistic: builds the ping address and requests it through the platform's internet
// library on a detached thread, without reading the answer.
#include "Statistic.h"

#include <new>

#include "Factory.h"
#include "ModuleRef.h"
#include "XInternet.h"
#include "XProgram.h"
#include "XWin.h"

namespace {

// What one request thread needs; it owns this and frees it.
struct XPingRequest {
  std::wstring address;
  HMODULE pin = nullptr;
};

// The ping carries at most 18 characters of the version, as it always has.
std::wstring PingVersion() {
  std::wstring text = XRunningProgramVersion();
  if (text.size() > 18) text.resize(18);
  return text;
}

std::wstring MachineId() {
  CXComPtr<IRegister> reg(XCreate<IRegister>(IID_IRegister));
  char id[33] = {0};
  if (reg) reg->GetMachineId(id);
  return XWiden(id, -1, CP_THREAD_ACP);
}

// The base address: a string, or the number of a string resource of this library.
std::wstring BaseAddress(const wchar_t* base) {
  if (!IS_INTRESOURCE(base)) return base;
  if (!base) return std::wstring();
  wchar_t text[CStatistic::kAddressChars] = {0};
  int n = LoadStringW(XThisModule(), static_cast<UINT>(reinterpret_cast<UINT_PTR>(base)), text,
                      static_cast<int>(CStatistic::kAddressChars));
  if (n <= 0 || n >= static_cast<int>(CStatistic::kAddressChars) - 1) return std::wstring();
  return std::wstring(text, static_cast<size_t>(n));
}

}  // namespace

std::wstring XPingAddress(const std::wstring& base, const std::wstring& version, const std::wstring& machineId) {
  std::wstring address = base + L"ver=" + version + L"&userid=" + machineId;
  if (address.size() >= CStatistic::kAddressChars) return std::wstring();
  return address;
}

HRESULT CStatistic::QueryInterface(const GUID* id, void** out) {
  if (!out) return E_POINTER;
  if (id && (XIsEqualId(*id, IID_IStatistic) || XIsEqualId(*id, IID_IXUnknown))) {
    *out = static_cast<IStatistic*>(this);
    return S_OK;
  }
  *out = nullptr;
  return E_NOINTERFACE;
}

int CStatistic::Send(const wchar_t* base) {
  try {
    std::wstring version = PingVersion();
    std::wstring id = MachineId();
    std::wstring prefix = BaseAddress(base);
    if (prefix.empty()) return 0;
    std::wstring address = XPingAddress(prefix, version, id);
    if (address.empty()) return 0;
    XCopyBounded(m_address, kAddressChars, address.c_str(), address.size());

    // The thread requests its own copy, so a later Send never changes a request in flight.
    XPingRequest* request = new XPingRequest;
    request->address = address;
    request->pin = XPinThisModule();
    HANDLE thread = CreateThread(nullptr, 0, RequestThread, request, 0, nullptr);
    if (!thread) {
      if (request->pin) FreeLibrary(request->pin);
      delete request;
      return 0;
    }
    CloseHandle(thread);
    return 1;
  } catch (...) {
    return 0;
  }
}

DWORD WINAPI CStatistic::RequestThread(void* param) {
  HMODULE pin = nullptr;
  {
    XPingRequest* request = static_cast<XPingRequest*>(param);
    pin = request->pin;
    DWORD state = 0;
    InternetGetConnectedState(&state, 0);
    CXInternet session((state & INTERNET_CONNECTION_PROXY)
                           ? InternetOpenW(nullptr, INTERNET_OPEN_TYPE_PRECONFIG, nullptr, nullptr, 0)
                           : InternetOpenW(L"Mircrosoft Internet Explorer",
                                           INTERNET_OPEN_TYPE_PRECONFIG_WITH_NO_AUTOPROXY, nullptr, nullptr, 0));
    if (session.Get()) {
      CXInternet url(InternetOpenUrlW(session.Get(), request->address.c_str(), nullptr, 0,
                                      INTERNET_FLAG_NO_CACHE_WRITE, 0));
    }
    delete request;
  }
  XExitPinnedThread(pin, 0);
}
