// This library's own module handle, and a pin that keeps the library loaded while one of its
// background threads runs: such a thread ends with FreeLibraryAndExitThread on its pin, so a
// caller that unloads the library early never pulls the code from under it.
#pragma once

#include <windows.h>

inline HMODULE XThisModule() {
  static const char anchor = 0;
  HMODULE h = nullptr;
  GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                     reinterpret_cast<LPCWSTR>(&anchor), &h);
  return h;
}

// One more load reference on this library (null on failure); give it back with FreeLibrary
// or FreeLibraryAndExitThread.
inline HMODULE XPinThisModule() {
  static const char anchor = 0;
  HMODULE h = nullptr;
  GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS, reinterpret_cast<LPCWSTR>(&anchor), &h);
  return h;
}

// Ends a background thread of this library, dropping its pin last.
[[noreturn]] inline void XExitPinnedThread(HMODULE pin, DWORD code) {
  if (pin) FreeLibraryAndExitThread(pin, code);
  ExitThread(code);
}
