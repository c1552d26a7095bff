// IXUnknown, the reference-counted base of every object handed across a module border (service
// objects, images), and the id comparison they share. Slot order is binary contract.
#pragma once

#include <windows.h>

// GUIDs in their standard layout; equality compares all 16 bytes as four 32-bit words.
inline bool XIsEqualId(const GUID& a, const GUID& b) {
  const DWORD* x = reinterpret_cast<const DWORD*>(&a);
  const DWORD* y = reinterpret_cast<const DWORD*>(&b);
  return x[0] == y[0] && x[1] == y[1] && x[2] == y[2] && x[3] == y[3];
}

inline constexpr GUID IID_IXUnknown = {0x6EF6D107, 0x362A, 0x470C, {0x98, 0x0D, 0xEB, 0x7C, 0xBF, 0x8D, 0x5D, 0xCB}};

// Slots 0 to 2.
struct IXUnknown {
  virtual HRESULT __stdcall QueryInterface(const GUID* id, void** out) = 0;
  virtual LONG __stdcall AddRef() = 0;
  virtual LONG __stdcall Release() = 0;
};
