// The library's one export: fetch the update description, compare versions, offer the update.
// Nothing is reported on failure; no exception leaves the library.
#include <windows.h>

#include <string>

#include "Brindle.h"
#include "Download.h"
#include "LocalFiles.h"
#include "MainDlg.h"
#include "UpdateRules.h"

namespace {

const DWORD kValueChars = 260;

std::wstring ProfileValue(const std::wstring& section, const wchar_t* key, const wchar_t* fallback,
                          const std::wstring& file) {
  wchar_t value[kValueChars] = {0};
  GetPrivateProfileStringW(section.c_str(), key, fallback, value, kValueChars, file.c_str());
  value[kValueChars - 1] = 0;
  return value;
}

// Removes the temporary copy of the update description however the check ends.
struct CTempFile {
  std::wstring path;
  ~CTempFile() {
    if (!path.empty()) DeleteFileW(path.c_str());
  }
};

bool Check(const wchar_t* iniUrl, const wchar_t* appName, const wchar_t* currentVersion, HWND parent) {
  if (!iniUrl || !*iniUrl || !appName) return false;
  std::wstring current = currentVersion ? std::wstring(currentVersion) : brindle::RunningProgramVersion();
  std::wstring section = appName;

  std::wstring announced, url, info;
  {
    CTempFile ini{brindle::CreateUniqueFile(brindle::TempFolder(), L"brindle")};
    if (ini.path.empty()) return false;
    if (!brindle::DownloadToFile(iniUrl, ini.path)) return false;
    if (GetFileAttributesW(ini.path.c_str()) == INVALID_FILE_ATTRIBUTES) return false;
    announced = ProfileValue(section, L"version", L"1.0.0.0", ini.path);
    if (brindle::VersionNumber(announced) <= brindle::VersionNumber(current)) return false;
    url = ProfileValue(section, L"url", L"", ini.path);
    info = ProfileValue(section, L"info", L"", ini.path);
  }

  CMainDlg dialog(url, section, announced, info);
  dialog.Run(parent);
  return true;
}

}  // namespace

extern "C" __declspec(dllexport) BOOL __cdecl CheckForNewVersion(const wchar_t* iniUrl, const wchar_t* appName,
                                                                 const wchar_t* currentVersion, HWND parent) {
  try {
    return Check(iniUrl, appName, currentVersion, parent) ? TRUE : FALSE;
  } catch (...) {
    return FALSE;
  }
}

// The type that callers look the export up with must match the definition.
[[maybe_unused]] static const PFN_CHECKFORNEWVERSION kExportSignature = &CheckForNewVersion;
