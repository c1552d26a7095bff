// Registry probes for the tests: whether a key exists, a value's type and text, and a scratch
// key under HKEY_CURRENT_USER that is removed with everything below it afterwards.
#pragma once

#include <windows.h>

#include <string>

inline bool KeyExists(HKEY root, const std::wstring& path) {
  HKEY h = nullptr;
  if (RegOpenKeyExW(root, path.c_str(), 0, KEY_READ, &h) != ERROR_SUCCESS) return false;
  RegCloseKey(h);
  return true;
}

// Value text (REG_SZ / REG_EXPAND_SZ unexpanded), or "<missing>" / "<type N>".
inline std::wstring ValueText(HKEY root, const std::wstring& path, const wchar_t* name = nullptr) {
  HKEY h = nullptr;
  if (RegOpenKeyExW(root, path.c_str(), 0, KEY_READ, &h) != ERROR_SUCCESS) return L"<missing>";
  DWORD type = 0, bytes = 0;
  std::wstring out = L"<missing>";
  if (RegQueryValueExW(h, name, nullptr, &type, nullptr, &bytes) == ERROR_SUCCESS) {
    if (type == REG_SZ || type == REG_EXPAND_SZ) {
      std::wstring text(bytes / sizeof(wchar_t) + 1, L'\0');
      RegQueryValueExW(h, name, nullptr, &type, reinterpret_cast<BYTE*>(&text[0]), &bytes);
      out = text.c_str();
    } else {
      out = L"<type " + std::to_wstring(type) + L">";
    }
  }
  RegCloseKey(h);
  return out;
}

inline DWORD ValueType(HKEY root, const std::wstring& path, const wchar_t* name) {
  HKEY h = nullptr;
  if (RegOpenKeyExW(root, path.c_str(), 0, KEY_READ, &h) != ERROR_SUCCESS) return REG_NONE;
  DWORD type = REG_NONE;
  if (RegQueryValueExW(h, name, nullptr, &type, nullptr, nullptr) != ERROR_SUCCESS) type = REG_NONE;
  RegCloseKey(h);
  return type;
}

inline bool MakeKey(HKEY root, const std::wstring& path, const wchar_t* name = nullptr,
                    const wchar_t* text = nullptr) {
  HKEY h = nullptr;
  if (RegCreateKeyExW(root, path.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &h, nullptr) != ERROR_SUCCESS)
    return false;
  bool ok = true;
  if (text)
    ok = RegSetValueExW(h, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(text),
                        static_cast<DWORD>((wcslen(text) + 1) * sizeof(wchar_t))) == ERROR_SUCCESS;
  RegCloseKey(h);
  return ok;
}

// HKCU\Software\PinvaleTests\<name>.<pid>, open for the test and deleted afterwards.
class ScratchKey {
 public:
  explicit ScratchKey(const std::wstring& name)
      : m_path(L"Software\\PinvaleTests\\" + name + L"." + std::to_wstring(GetCurrentProcessId())) {
    RegDeleteTreeW(HKEY_CURRENT_USER, m_path.c_str());
    RegCreateKeyExW(HKEY_CURRENT_USER, m_path.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &m_key, nullptr);
  }
  ~ScratchKey() {
    if (m_key) RegCloseKey(m_key);
    RegDeleteTreeW(HKEY_CURRENT_USER, m_path.c_str());
  }
  ScratchKey(const ScratchKey&) = delete;
  ScratchKey& operator=(const ScratchKey&) = delete;
  HKEY Get() const { return m_key; }

 private:
  std::wstring m_path;
  HKEY m_key = nullptr;
};
