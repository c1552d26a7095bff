// CVersion: file versions of program files and the operating-system generation (IVersion).
// Holds nothing but its reference count.
#pragma once

#include "ServiceInterfaces.h"
#include "XObject.h"

class CVersion : public CXObject<IVersion> {
 public:
  CVersion() = default;

  HRESULT __stdcall QueryInterface(const GUID* id, void** out) override;
  int __stdcall GetFileVersion(const wchar_t* path, wchar_t* out, int capacity) override;
  int __stdcall GetOSVersion() override;

 private:
  ~CVersion() override = default;
};
