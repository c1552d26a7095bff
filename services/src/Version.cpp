// CVersion: reads version resources (through the base layer's one reader, which refuses
// resources over 16383 bytes) and the system version record; the output is touched only on
// success.
#include "Version.h"

#include "VersionText.h"
#include "XProgram.h"

HRESULT CVersion::QueryInterface(const GUID* id, void** out) { return QueryPrimary(id, out, IID_IVersion); }

int CVersion::GetFileVersion(const wchar_t* path, wchar_t* out, int capacity) {
  if (!path || !out || capacity < 1) return 0;
  try {
    DWORD ms = 0, ls = 0;
    if (!XReadFileVersion(path, &ms, &ls)) return 0;
    XFormatFileVersion(ms, ls, out, capacity);
    return 1;
  } catch (...) {
    return 0;
  }
}

int CVersion::GetOSVersion() {
  OSVERSIONINFOEXW info = {};
  info.dwOSVersionInfoSize = sizeof info;
  if (!GetVersionExW(reinterpret_cast<OSVERSIONINFOW*>(&info))) return 0;
  SYSTEM_INFO system = {};
  GetNativeSystemInfo(&system);
  return XMapOSVersion(info.dwPlatformId, info.dwMajorVersion, info.dwMinorVersion,
                       system.wProcessorArchitecture);
}
