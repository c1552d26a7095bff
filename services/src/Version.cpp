// CVersion: reads version resources and the system version record. A resource is read only
// when it fits the fixed 16383-byte buffer; the output is touched only on success.
#include "Version.h"

#include <vector>

#include "VersionText.h"

namespace {
const DWORD kMaxVersionResource = 16383;
}

HRESULT CVersion::QueryInterface(const GUID* id, void** out) { return QueryPrimary(id, out, IID_IVersion); }

int CVersion::GetFileVersion(const wchar_t* path, wchar_t* out, int capacity) {
  if (!path || !out || capacity < 1) return 0;
  try {
    DWORD ignored = 0;
    DWORD size = GetFileVersionInfoSizeW(path, &ignored);
    if (size == 0 || size > kMaxVersionResource) return 0;
    std::vector<BYTE> data(kMaxVersionResource);
    if (!GetFileVersionInfoW(path, 0, kMaxVersionResource, data.data())) return 0;
    VS_FIXEDFILEINFO* fixed = nullptr;
    UINT length = 0;
    if (!VerQueryValueW(data.data(), L"\\", reinterpret_cast<void**>(&fixed), &length) || !fixed ||
        length < sizeof(VS_FIXEDFILEINFO))
      return 0;
    XFormatFileVersion(fixed->dwFileVersionMS, fixed->dwFileVersionLS, out, capacity);
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
