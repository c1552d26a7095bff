// Small RAII holders for Win32 handles (one template, CXHolder, over per-handle traits), window
// device contexts, locks and COM pointers, and the text conversions used at module borders. Header-only so every module
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

// The one owning holder of a handle: Traits name the handle type, its empty value, what
// counts as valid and how it is closed. Move-only; closes a valid handle exactly once.
template <class Traits>
class CXHolder {
 public:
  using Type = typename Traits::Type;
  CXHolder() = default;
  explicit CXHolder(Type h) : m_h(h) {}
  ~CXHolder() { Reset(); }
  CXHolder(CXHolder&& o) noexcept : m_h(o.Detach()) {}
  CXHolder& operator=(CXHolder&& o) noexcept {
    if (this != &o) Reset(o.Detach());
    return *this;
  }
  CXHolder(const CXHolder&) = delete;
  CXHolder& operator=(const CXHolder&) = delete;

  Type Get() const { return m_h; }
  bool Valid() const { return Traits::IsValid(m_h); }
  explicit operator bool() const { return Valid(); }
  // For a call that writes a new handle: the old one is closed first.
  Type* Out() {
    Reset();
    return &m_h;
  }
  Type Detach() {
    Type h = m_h;
    m_h = Traits::Empty();
    return h;
  }
  void Reset(Type h = Traits::Empty()) {
    if (Valid()) Traits::Close(m_h);
    m_h = h;
  }

 private:
  Type m_h = Traits::Empty();
};

// Traits of a handle that is empty when null.
template <class H, void (*CloseFn)(H)>
struct XNullableTraits {
  using Type = H;
  static constexpr H Empty() { return nullptr; }
  static bool IsValid(H h) { return h != nullptr; }
  static void Close(H h) { CloseFn(h); }
};

// A kernel handle; both null and INVALID_HANDLE_VALUE count as empty.
struct XKernelHandleTraits {
  using Type = HANDLE;
  static constexpr HANDLE Empty() { return nullptr; }
  static bool IsValid(HANDLE h) { return h != nullptr && h != INVALID_HANDLE_VALUE; }
  static void Close(HANDLE h) { CloseHandle(h); }
};
using CXHandle = CXHolder<XKernelHandleTraits>;

// An open registry key; predefined root keys are never closed.
struct XRegKeyTraits {
  using Type = HKEY;
  static constexpr HKEY Empty() { return nullptr; }
  static bool IsValid(HKEY h) { return h != nullptr; }
  static void Close(HKEY h) {
    if (!IsPredefined(h)) RegCloseKey(h);
  }
  static bool IsPredefined(HKEY h) {
    ULONG_PTR v = reinterpret_cast<ULONG_PTR>(h);
    return v >= reinterpret_cast<ULONG_PTR>(HKEY_CLASSES_ROOT) &&
           v <= reinterpret_cast<ULONG_PTR>(HKEY_CURRENT_USER_LOCAL_SETTINGS);
  }
};
using CXRegKey = CXHolder<XRegKeyTraits>;

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

// A loaded library, freed on destruction, with typed access to its exports.
inline void XFreeLibrary(HMODULE h) { FreeLibrary(h); }
class CXModule : public CXHolder<XNullableTraits<HMODULE, &XFreeLibrary>> {
 public:
  using CXHolder::CXHolder;
  template <class F> F Proc(const char* name) const {
    return Get() ? reinterpret_cast<F>(reinterpret_cast<void*>(GetProcAddress(Get(), name))) : nullptr;
  }
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
