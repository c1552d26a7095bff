// An open registry key, closed on destruction; predefined root keys are never closed.
// Also the bounded string read used for per-user values.
#pragma once

#include <windows.h>

#include <string>

class CXRegKey {
 public:
  CXRegKey() = default;
  explicit CXRegKey(HKEY h) : m_h(h) {}
  ~CXRegKey() { Reset(); }
  CXRegKey(CXRegKey&& o) noexcept : m_h(o.Detach()) {}
  CXRegKey& operator=(CXRegKey&& o) noexcept { if (this != &o) Reset(o.Detach()); return *this; }
  CXRegKey(const CXRegKey&) = delete;
  CXRegKey& operator=(const CXRegKey&) = delete;

  HKEY Get() const { return m_h; }
  explicit operator bool() const { return m_h != nullptr; }
  HKEY* Out() { Reset(); return &m_h; }
  HKEY Detach() { HKEY h = m_h; m_h = nullptr; return h; }
  void Reset(HKEY h = nullptr) {
    if (m_h && !IsPredefined(m_h)) RegCloseKey(m_h);
    m_h = h;
  }

  static bool IsPredefined(HKEY h) {
    ULONG_PTR v = reinterpret_cast<ULONG_PTR>(h);
    return v >= reinterpret_cast<ULONG_PTR>(HKEY_CLASSES_ROOT) &&
           v <= reinterpret_cast<ULONG_PTR>(HKEY_CURRENT_USER_LOCAL_SETTINGS);
  }

 private:
  HKEY m_h = nullptr;
};

// Reads a REG_SZ (or REG_EXPAND_SZ, expanded) value into out, which holds at most capacity
// characters including the terminating NUL. A value that does not fit, is missing or has
// another type leaves out empty and returns false; a partial path is never handed on.
bool XReadRegString(HKEY root, const wchar_t* subKey, const wchar_t* name, wchar_t* out, size_t capacity);
