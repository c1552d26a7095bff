// CSystemInfo: processor identification (ICPUInfo, primary) and drive and disk facts
// (IDiskInfo, second). Both interfaces share one count; the only state is the storage that
// keeps the last disk model valid after GetDiskModel returns.
#pragma once

#include "DiskIdentity.h"
#include "ServiceInterfaces.h"
#include "XObject.h"

class CSystemInfo : public CXObject<ICPUInfo>, public IDiskInfo {
 public:
  CSystemInfo() = default;

  HRESULT __stdcall QueryInterface(const GUID* id, void** out) override;
  LONG __stdcall AddRef() override { return CXObject<ICPUInfo>::AddRef(); }
  LONG __stdcall Release() override { return CXObject<ICPUInfo>::Release(); }

  int __stdcall GetCPUID(char* out, int size) override;
  int __stdcall GetDriveKind(wchar_t letter) override;
  int __stdcall GetDriveLetters(wchar_t* out, int capacity) override;
  const char* __stdcall GetDiskModel() override;
  int __stdcall GetDiskSerial(char* out, int size) override;

 private:
  ~CSystemInfo() override = default;

  char m_model[260] = {0};
};

// Serial number and model of physical disk 0, by the device requests in their order (empty
// when none answers, and on systems outside the NT family).
XDiskIdentity XReadDiskIdentity();
