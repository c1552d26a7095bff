// Small RAII holders for Win32 handles, registry keys, window device contexts, locks and COM
// pointers, and the text conversions used at module borders. Header-only so every module
// (32- and 64-bit) can use it.
#pragma once

#include <windows.h>
#include <string>

// Critical section and its scoped lock.
class CXCritSec {
 public:
  CXCritSec() { InitializeCriticalSection(&m_cs); }
  ~CXCritSec() { DeleteCriticalSection(&m_cs); }
  CXCritSec(const CXCritSec&) = delete;
  CXCritSec& operator=(const CXCritSec&) = delete;
  void Lock() { EnterCriticalSection(&m_cs); }
  void Unlock() { LeaveCriticalSection(&m_cs); }
 private:
  CRITICAL_SECTION m_cs;
};

class CXLock {
 public:
  explicit CXLock(CXCritSec& cs) : m_cs(cs) { m_cs.Lock(); }
  ~CXLock() { m_cs.Unlock(); }
  CXLock(const CXLock&) = delete;
  CXLock& operator=(const CXLock&) = delete;
 private:
  CXCritSec& m_cs;
};

// A kernel handle; both null and INVALID_HANDLE_VALUE count as empty.
class CXHandle {
 public:
  CXHandle() = default;
  explicit CXHandle(HANDLE h) : m_h(h) {}
  ~CXHandle() { Reset(); }
  CXHandle(CXHandle&& o) noexcept : m_h(o.Detach()) {}
  CXHandle& operator=(CXHandle&& o) noexcept { if (this != &o) Reset(o.Detach()); return *this; }
  CXHandle(const CXHandle&) = delete;
  CXHandle& operator=(const CXHandle&) = delete;
  bool Valid() const { return m_h != nullptr && m_h != INVALID_HANDLE_VALUE; }
  HANDLE Get() const { return m_h; }
  HANDLE Detach() { HANDLE h = m_h; m_h = nullptr; return h; }
  void Reset(HANDLE h = nullptr) { if (Valid()) CloseHandle(m_h); m_h = h; }
 private:
  HANDLE m_h = nullptr;
};

// An open registry key, closed on destruction; predefined root keys are never closed.
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

// The device context of a window (of the screen for a null window), released on destruction.
class CXWindowDC {
 public:
  explicit CXWindowDC(HWND window) : m_window(window), m_dc(GetDC(window)) {}
  ~CXWindowDC() { if (m_dc) ReleaseDC(m_window, m_dc); }
  CXWindowDC(const CXWindowDC&) = delete;
  CXWindowDC& operator=(const CXWindowDC&) = delete;
  HDC Get() const { return m_dc; }
 private:
  HWND m_window;
  HDC m_dc;
};

// A loaded library, freed on destruction.
class CXModule {
 public:
  CXModule() = default;
  explicit CXModule(HMODULE h) : m_h(h) {}
  ~CXModule() { Reset(); }
  CXModule(const CXModule&) = delete;
  CXModule& operator=(const CXModule&) = delete;
  HMODULE Get() const { return m_h; }
  HMODULE Detach() { HMODULE h = m_h; m_h = nullptr; return h; }
  void Reset(HMODULE h = nullptr) { if (m_h) FreeLibrary(m_h); m_h = h; }
  template <class F> F Proc(const char* name) const {
    return m_h ? reinterpret_cast<F>(reinterpret_cast<void*>(GetProcAddress(m_h, name))) : nullptr;
  }
 private:
  HMODULE m_h = nullptr;
};

// Owning pointer to anything with Release() (COM interfaces and service objects alike).
template <class T>
class CXComPtr {
 public:
  CXComPtr() = default;
  explicit CXComPtr(T* p) : m_p(p) {}  // takes over one reference
  ~CXComPtr() { Reset(); }
  CXComPtr(CXComPtr&& o) noexcept : m_p(o.Detach()) {}
  CXComPtr& operator=(CXComPtr&& o) noexcept { if (this != &o) Reset(o.Detach()); return *this; }
  CXComPtr(const CXComPtr&) = delete;
  CXComPtr& operator=(const CXComPtr&) = delete;
  T* operator->() const { return m_p; }
  T* Get() const { return m_p; }
  explicit operator bool() const { return m_p != nullptr; }
  T** Out() { Reset(); return &m_p; }
  void** OutVoid() { Reset(); return reinterpret_cast<void**>(&m_p); }
  T* Detach() { T* p = m_p; m_p = nullptr; return p; }
  void Reset(T* p = nullptr) { if (m_p) m_p->Release(); m_p = p; }
 private:
  T* m_p = nullptr;
};

// Text conversions. cp is CP_ACP for SQL, file names and skin attributes, CP_UTF8 for XML text.
inline std::string XNarrow(const wchar_t* s, int len = -1, UINT cp = CP_ACP) {
  if (!s) return std::string();
  if (len < 0) len = static_cast<int>(wcslen(s));
  if (len == 0) return std::string();
  int n = WideCharToMultiByte(cp, 0, s, len, nullptr, 0, nullptr, nullptr);
  if (n <= 0) return std::string();
  std::string out(static_cast<size_t>(n), '\0');
  WideCharToMultiByte(cp, 0, s, len, &out[0], n, nullptr, nullptr);
  return out;
}

inline std::wstring XWiden(const char* s, int len = -1, UINT cp = CP_ACP) {
  if (!s) return std::wstring();
  if (len < 0) len = static_cast<int>(strlen(s));
  if (len == 0) return std::wstring();
  int n = MultiByteToWideChar(cp, 0, s, len, nullptr, 0);
  if (n <= 0) return std::wstring();
  std::wstring out(static_cast<size_t>(n), L'\0');
  MultiByteToWideChar(cp, 0, s, len, &out[0], n);
  return out;
}

// Bounded copy that always terminates (capacity counts the NUL); returns characters copied.
template <class C>
inline size_t XCopyBounded(C* dst, size_t capacity, const C* src, size_t srcLen = static_cast<size_t>(-1)) {
  if (!dst || capacity == 0) return 0;
  size_t i = 0;
  if (src) {
    for (; i + 1 < capacity && i < srcLen && src[i]; ++i) dst[i] = src[i];
  }
  dst[i] = 0;
  return i;
}
