// The running program's path, its folder and its version: the one routine of each that every
// module uses. Paths of any length the system reports; an empty result means it failed.
#pragma once

#include <windows.h>

#include <cstdio>
#include <string>
#include <vector>

// Full path of a loaded module (the running executable for null).
inline std::wstring XModulePath(HMODULE module = nullptr) {
  std::wstring buf(MAX_PATH, L'\0');
  for (;;) {
    const DWORD n = GetModuleFileNameW(module, &buf[0], static_cast<DWORD>(buf.size()));
    if (n == 0) return std::wstring();
    if (n < buf.size()) return buf.substr(0, n);
    if (buf.size() >= 32768) return std::wstring();
    buf.resize(buf.size() * 2);
  }
}

// Folder of a loaded module (the running executable for null), with a trailing backslash.
inline std::wstring XModuleFolder(HMODULE module = nullptr) {
  const std::wstring path = XModulePath(module);
  const size_t slash = path.find_last_of(L"\\/");
  return slash == std::wstring::npos ? std::wstring() : path.substr(0, slash + 1);
}

// The fixed file version of a file's version resource; false without one. Resources larger
// than 16383 bytes are refused rather than read in part.
inline bool XReadFileVersion(const wchar_t* path, DWORD* mostSignificant, DWORD* leastSignificant) {
  const DWORD kMaxVersionResource = 16383;
  if (!path) return false;
  DWORD ignored = 0;
  const DWORD size = GetFileVersionInfoSizeW(path, &ignored);
  if (size == 0 || size > kMaxVersionResource) return false;
  std::vector<BYTE> data(kMaxVersionResource);
  if (!GetFileVersionInfoW(path, 0, kMaxVersionResource, data.data())) return false;
  VS_FIXEDFILEINFO* fixed = nullptr;
  UINT length = 0;
  if (!VerQueryValueW(data.data(), L"\\", reinterpret_cast<void**>(&fixed), &length) || !fixed ||
      length < sizeof(VS_FIXEDFILEINFO)) {
    return false;
  }
  *mostSignificant = fixed->dwFileVersionMS;
  *leastSignificant = fixed->dwFileVersionLS;
  return true;
}

// "a.b.c.d" of a file's version resource, or empty.
inline std::wstring XFileVersionText(const wchar_t* path) {
  DWORD ms = 0, ls = 0;
  if (!XReadFileVersion(path, &ms, &ls)) return std::wstring();
  wchar_t text[32] = {0};
  swprintf(text, 32, L"%u.%u.%u.%u", static_cast<unsigned>(HIWORD(ms)), static_cast<unsigned>(LOWORD(ms)),
           static_cast<unsigned>(HIWORD(ls)), static_cast<unsigned>(LOWORD(ls)));
  return text;
}

// The version of the running executable, or empty.
inline std::wstring XRunningProgramVersion() {
  const std::wstring exe = XModulePath();
  return exe.empty() ? std::wstring() : XFileVersionText(exe.c_str());
}
