// An open handle of the platform's internet library (session, connection or request), closed
// on destruction. Header-only; a module that uses it links the internet library itself.
#pragma once

#include <windows.h>
#include <wininet.h>

class CXInternet {
 public:
  explicit CXInternet(HINTERNET h = nullptr) : m_h(h) {}
  ~CXInternet() {
    if (m_h) InternetCloseHandle(m_h);
  }
  CXInternet(const CXInternet&) = delete;
  CXInternet& operator=(const CXInternet&) = delete;
  HINTERNET Get() const { return m_h; }
  explicit operator bool() const { return m_h != nullptr; }

 private:
  HINTERNET m_h;
};
