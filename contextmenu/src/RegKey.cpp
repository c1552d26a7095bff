// Bounded registry string read: the stored bytes are checked against the buffer before any
// copy, and the result is always terminated.
#include "RegKey.h"

#include <vector>

bool XReadRegString(HKEY root, const wchar_t* subKey, const wchar_t* name, wchar_t* out, size_t capacity) {
  if (!out || capacity == 0) return false;
  out[0] = 0;
  CXRegKey key;
  if (RegOpenKeyExW(root, subKey, 0, KEY_QUERY_VALUE, key.Out()) != ERROR_SUCCESS) return false;
  DWORD type = 0, bytes = 0;
  if (RegQueryValueExW(key.Get(), name, nullptr, &type, nullptr, &bytes) != ERROR_SUCCESS) return false;
  if (type != REG_SZ && type != REG_EXPAND_SZ) return false;
  // Room for a terminator the stored value may lack.
  std::vector<wchar_t> text(bytes / sizeof(wchar_t) + 1, L'\0');
  DWORD got = bytes;
  if (RegQueryValueExW(key.Get(), name, nullptr, &type, reinterpret_cast<BYTE*>(text.data()), &got) != ERROR_SUCCESS ||
      got > bytes)
    return false;
  text[got / sizeof(wchar_t)] = L'\0';
  size_t len = wcslen(text.data());
  if (type == REG_EXPAND_SZ) {
    DWORD need = ExpandEnvironmentStringsW(text.data(), out, static_cast<DWORD>(capacity));
    if (need == 0 || need > capacity) { out[0] = 0; return false; }
    return out[0] != 0;
  }
  if (len + 1 > capacity) return false;
  wmemcpy(out, text.data(), len + 1);
  return len != 0;
}
