// The framework library's own module handle (window classes, tooltips and the script
// function "GetCurrentPath" name this module, not the program).
#pragma once

#include <windows.h>

inline HMODULE XThisModule() {
  HMODULE module = nullptr;
  GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                     reinterpret_cast<LPCWSTR>(&XThisModule), &module);
  return module;
}
