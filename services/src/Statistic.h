// CStatistic: the usage ping (IStatistic). Send completes a base address with the running
// program's version and the machine identity and requests it on a short-lived thread.
// The object is never destroyed: QueryInterface adds no reference and Release never frees,
// so the completed address it keeps stays valid for the life of the process.
#pragma once

#include <string>

#include "ServiceInterfaces.h"
#include "XObject.h"

class CStatistic : public CXObject<IStatistic> {
 public:
  static constexpr size_t kAddressChars = 2100;

  CStatistic() = default;

  HRESULT __stdcall QueryInterface(const GUID* id, void** out) override;
  LONG __stdcall Release() override { return InterlockedDecrement(&m_ref); }
  int __stdcall Send(const wchar_t* base) override;

 private:
  ~CStatistic() override = default;

  static DWORD WINAPI RequestThread(void* param);

  wchar_t m_address[kAddressChars] = {0};
};

// "<base>ver=<version>&userid=<id>"; empty when it would not fit in kAddressChars - 1.
std::wstring XPingAddress(const std::wstring& base, const std::wstring& version, const std::wstring& machineId);
