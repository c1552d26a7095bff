// CString: a counted UTF-16 string with value semantics, the text type at every interface
// between the program and the UI framework. Header-only over std::wstring; it may cross module
// borders because every 32-bit module links the same shared C++ runtime.
#pragma once

#include <windows.h>

#include <cstdarg>
#include <cwchar>
#include <string>

class CString {
 public:
  CString() = default;
  CString(const wchar_t* s) : m_s(s ? s : L"") {}
  CString(const wchar_t* s, int len) : m_s(s ? std::wstring(s, len < 0 ? 0 : static_cast<size_t>(len)) : std::wstring()) {}
  CString(wchar_t ch, int repeat = 1) : m_s(repeat > 0 ? static_cast<size_t>(repeat) : 0, ch) {}
  CString(const std::wstring& s) : m_s(s) {}
  CString(std::wstring&& s) : m_s(std::move(s)) {}

  int GetLength() const { return static_cast<int>(m_s.size()); }
  bool IsEmpty() const { return m_s.empty(); }
  void Empty() { m_s.clear(); }
  const wchar_t* GetString() const { return m_s.c_str(); }
  operator const wchar_t*() const { return m_s.c_str(); }
  const std::wstring& Str() const { return m_s; }
  wchar_t GetAt(int i) const { return (i >= 0 && i < GetLength()) ? m_s[static_cast<size_t>(i)] : 0; }
  void SetAt(int i, wchar_t ch) { if (i >= 0 && i < GetLength()) m_s[static_cast<size_t>(i)] = ch; }

  CString& operator=(const wchar_t* s) { m_s = s ? s : L""; return *this; }
  CString& operator+=(const CString& s) { m_s += s.m_s; return *this; }
  CString& operator+=(const wchar_t* s) { if (s) m_s += s; return *this; }
  CString& operator+=(wchar_t ch) { m_s += ch; return *this; }
  friend CString operator+(const CString& a, const CString& b) { return CString(a.m_s + b.m_s); }
  friend CString operator+(const CString& a, const wchar_t* b) { CString r(a); r += b; return r; }
  friend CString operator+(const wchar_t* a, const CString& b) { CString r(a); r += b; return r; }
  friend CString operator+(const CString& a, wchar_t b) { CString r(a); r += b; return r; }
  friend bool operator==(const CString& a, const CString& b) { return a.m_s == b.m_s; }
  friend bool operator==(const CString& a, const wchar_t* b) { return a.m_s == (b ? b : L""); }
  friend bool operator!=(const CString& a, const CString& b) { return a.m_s != b.m_s; }
  friend bool operator!=(const CString& a, const wchar_t* b) { return !(a == b); }
  friend bool operator<(const CString& a, const CString& b) { return a.m_s < b.m_s; }

  int Compare(const wchar_t* s) const { return wcscmp(m_s.c_str(), s ? s : L""); }
  // Case-insensitive comparison as the system folds case (CompareStringW with NORM_IGNORECASE
  // would depend on the locale; lstrcmpiW is what the platform uses for ids and names).
  int CompareNoCase(const wchar_t* s) const { return lstrcmpiW(m_s.c_str(), s ? s : L""); }

  CString& MakeLower() { if (!m_s.empty()) CharLowerBuffW(&m_s[0], static_cast<DWORD>(m_s.size())); return *this; }
  CString& MakeUpper() { if (!m_s.empty()) CharUpperBuffW(&m_s[0], static_cast<DWORD>(m_s.size())); return *this; }

  int Find(const wchar_t* sub, int start = 0) const {
    if (!sub || start < 0 || start > GetLength()) return -1;
    size_t p = m_s.find(sub, static_cast<size_t>(start));
    return p == std::wstring::npos ? -1 : static_cast<int>(p);
  }
  int Find(wchar_t ch, int start = 0) const {
    if (start < 0 || start > GetLength()) return -1;
    size_t p = m_s.find(ch, static_cast<size_t>(start));
    return p == std::wstring::npos ? -1 : static_cast<int>(p);
  }
  int ReverseFind(wchar_t ch) const {
    size_t p = m_s.rfind(ch);
    return p == std::wstring::npos ? -1 : static_cast<int>(p);
  }

  CString Mid(int first) const { return Mid(first, GetLength()); }
  CString Mid(int first, int count) const {
    if (first < 0) first = 0;
    if (first >= GetLength() || count <= 0) return CString();
    return CString(m_s.substr(static_cast<size_t>(first), static_cast<size_t>(count)));
  }
  CString Left(int count) const { return Mid(0, count); }
  CString Right(int count) const {
    if (count <= 0) return CString();
    if (count >= GetLength()) return *this;
    return CString(m_s.substr(m_s.size() - static_cast<size_t>(count)));
  }

  int Replace(const wchar_t* from, const wchar_t* to) {
    if (!from || !*from) return 0;
    std::wstring f(from), t(to ? to : L"");
    int n = 0;
    for (size_t p = m_s.find(f); p != std::wstring::npos; p = m_s.find(f, p + t.size())) {
      m_s.replace(p, f.size(), t);
      ++n;
    }
    return n;
  }
  int Remove(wchar_t ch) {
    size_t before = m_s.size();
    std::wstring out;
    out.reserve(before);
    for (wchar_t c : m_s) if (c != ch) out += c;
    m_s.swap(out);
    return static_cast<int>(before - m_s.size());
  }
  CString& Insert(int index, const wchar_t* s) {
    if (!s) return *this;
    if (index < 0) index = 0;
    if (index > GetLength()) index = GetLength();
    m_s.insert(static_cast<size_t>(index), s);
    return *this;
  }
  CString& Delete(int index, int count = 1) {
    if (index < 0 || index >= GetLength() || count <= 0) return *this;
    m_s.erase(static_cast<size_t>(index), static_cast<size_t>(count));
    return *this;
  }

  CString& TrimLeft(const wchar_t* chars = L" \t\r\n") {
    size_t p = m_s.find_first_not_of(chars);
    m_s.erase(0, p == std::wstring::npos ? m_s.size() : p);
    return *this;
  }
  CString& TrimRight(const wchar_t* chars = L" \t\r\n") {
    size_t p = m_s.find_last_not_of(chars);
    m_s.erase(p == std::wstring::npos ? 0 : p + 1);
    return *this;
  }
  CString& Trim(const wchar_t* chars = L" \t\r\n") { TrimRight(chars); return TrimLeft(chars); }

  // printf-style formatting with the Windows C runtime's rules: in these wide formats %s takes
  // a wide string (unlike the C99 swprintf that mingw's C++ headers select).
  void Format(const wchar_t* fmt, ...) {
    va_list ap;
    va_start(ap, fmt);
    m_s = VFormat(fmt, ap);
    va_end(ap);
  }
  void AppendFormat(const wchar_t* fmt, ...) {
    va_list ap;
    va_start(ap, fmt);
    m_s += VFormat(fmt, ap);
    va_end(ap);
  }
  static std::wstring VFormat(const wchar_t* fmt, va_list ap) {
    if (!fmt) return std::wstring();
    std::wstring out(256, L'\0');
    for (;;) {
      va_list copy;
      va_copy(copy, ap);
      int n = _vsnwprintf(&out[0], out.size(), fmt, copy);
      va_end(copy);
      if (n >= 0 && static_cast<size_t>(n) < out.size()) {
        out.resize(static_cast<size_t>(n));
        return out;
      }
      if (out.size() >= (1u << 24)) return std::wstring();  // refuse absurd lengths
      out.resize(out.size() * 2);
    }
  }

  // Direct access for Win32 calls: GetBuffer(n) gives room for n characters plus a NUL;
  // ReleaseBuffer(len) sets the length (-1: up to the first NUL).
  wchar_t* GetBuffer(int minLength) {
    if (minLength > 0 && static_cast<size_t>(minLength) > m_s.size()) m_s.resize(static_cast<size_t>(minLength));
    return &m_s[0];
  }
  void ReleaseBuffer(int newLength = -1) {
    if (newLength < 0) newLength = static_cast<int>(wcsnlen(m_s.c_str(), m_s.size()));
    if (static_cast<size_t>(newLength) <= m_s.size()) m_s.resize(static_cast<size_t>(newLength));
  }

 private:
  std::wstring m_s;
};
