// Bounded registry string read: the value is read straight into the caller's buffer, so its
// stored size never decides an allocation, and the result is always terminated.
#include "RegKey.h"

#include <cwchar>
#include <string>

bool XReadRegString(HKEY root, const wchar_t* subKey, const wchar_t* name, wchar_t* out, size_t capacity) {
  if (!out || capacity == 0 || capacity > 32767) return false;
  out[0] = 0;
  CXRegKey key;
  if (RegOpenKeyExW(root, subKey, 0, KEY_QUERY_VALUE, key.Out()) != ERROR_SUCCESS) return false;
  DWORD type = 0;
  DWORD bytes = static_cast<DWORD>(capacity * sizeof(wchar_t));
  // A value larger than the buffer fails here (ERROR_MORE_DATA) instead of being cut.
  if (RegQueryValueExW(key.Get(), name, nullptr, &type, reinterpret_cast<BYTE*>(out), &bytes) != ERROR_SUCCESS ||
      (type != REG_SZ && type != REG_EXPAND_SZ)) {
    out[0] = 0;
    return false;
  }
  // The stored text may lack its terminator; it must fit together with one.
  size_t len = wcsnlen(out, bytes / sizeof(wchar_t));
  if (len >= capacity) {
    out[0] = 0;
    return false;
  }
  out[len] = 0;
  if (type == REG_EXPAND_SZ) {
    try {
      std::wstring raw(out, len);
      DWORD need = ExpandEnvironmentStringsW(raw.c_str(), out, static_cast<DWORD>(capacity));
      if (need == 0 || need > capacity) out[0] = 0;
    } catch (...) {
      out[0] = 0;
    }
  }
  return out[0] != 0;
}
