// Version resources, %temp% and unique file names. Every buffer handed to the system is
// sized here and its result length checked before use.
#include "LocalFiles.h"

#include <windows.h>

#include <vector>

namespace brindle {

namespace {
const DWORD kMaxVersionResource = 16383;
const DWORD kTempChars = 260;
}  // namespace

std::wstring FileVersionText(const std::wstring& path) {
  DWORD ignored = 0;
  DWORD size = GetFileVersionInfoSizeW(path.c_str(), &ignored);
  if (size == 0 || size > kMaxVersionResource) return std::wstring();
  std::vector<unsigned char> data(kMaxVersionResource);
  if (!GetFileVersionInfoW(path.c_str(), 0, kMaxVersionResource, data.data())) return std::wstring();
  VS_FIXEDFILEINFO* fixed = nullptr;
  UINT fixedSize = 0;
  if (!VerQueryValueW(data.data(), L"\\", reinterpret_cast<void**>(&fixed), &fixedSize) || !fixed ||
      fixedSize < sizeof(VS_FIXEDFILEINFO)) {
    return std::wstring();
  }
  wchar_t text[64];
  _snwprintf(text, 63, L"%d.%d.%d.%d", HIWORD(fixed->dwFileVersionMS), LOWORD(fixed->dwFileVersionMS),
             HIWORD(fixed->dwFileVersionLS), LOWORD(fixed->dwFileVersionLS));
  text[63] = 0;
  return text;
}

std::wstring RunningProgramVersion() {
  std::vector<wchar_t> path(MAX_PATH);
  for (;;) {
    DWORD n = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
    if (n == 0) return std::wstring();
    if (n < path.size()) return FileVersionText(std::wstring(path.data(), n));
    if (path.size() >= 32768) return std::wstring();
    path.resize(path.size() * 2);
  }
}

std::wstring TempFolder() {
  wchar_t folder[kTempChars] = {0};
  DWORD n = ExpandEnvironmentStringsW(L"%temp%", folder, kTempChars);
  if (n == 0 || n > kTempChars) return std::wstring();
  std::wstring result(folder);
  if (result.empty() || lstrcmpiW(folder, L"%temp%") == 0) return std::wstring();  // unset: left as is
  return result;
}

std::wstring CreateUniqueFile(const std::wstring& folder, const wchar_t* prefix) {
  if (folder.empty() || folder.size() > MAX_PATH - 14) return std::wstring();
  wchar_t path[MAX_PATH] = {0};
  if (!GetTempFileNameW(folder.c_str(), prefix, 0, path)) return std::wstring();
  return path;
}

std::wstring FolderOf(const std::wstring& path) {
  size_t slash = path.find_last_of(L"\\/");
  return slash == std::wstring::npos ? std::wstring() : path.substr(0, slash);
}

}  // namespace brindle
