// Version resources, %temp% and unique file names. Every buffer handed to the system is
// sized here and its result length checked before use.
#include "LocalFiles.h"

#include <windows.h>

#include <vector>

#include "XProgram.h"

namespace brindle {

namespace {
const DWORD kTempChars = 260;
}  // namespace

std::wstring FileVersionText(const std::wstring& path) { return XFileVersionText(path.c_str()); }

std::wstring RunningProgramVersion() { return XRunningProgramVersion(); }

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
