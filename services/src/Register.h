// CRegister: the anonymous machine identity (IRegister), an MD5 digest over the processor
// identification and the disk serial number. Holds nothing but its reference count.
#pragma once

#include <string>

#include "ServiceInterfaces.h"
#include "XObject.h"

class CRegister : public CXObject<IRegister> {
 public:
  CRegister() = default;

  HRESULT __stdcall QueryInterface(const GUID* id, void** out) override;
  void __stdcall GetMachineId(char* out) override;

 private:
  ~CRegister() override = default;
};

// The text that is digested: the first 16 characters of each part (a missing part is empty).
std::string XMachineIdText(const char* cpuId, const char* diskSerial);
