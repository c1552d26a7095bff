// recordargs.exe: appends its command line (UTF-8, one line per start) to the file named by
// the environment variable PINVALE_RECORD, or to recordargs.log beside itself. Used by tests
// to observe that, and how, the code under test started a program.
#include <windows.h>

#include <string>

#include "XProgram.h"
#include "XWin.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, LPWSTR, int) {
  wchar_t target[MAX_PATH] = {0};
  DWORD n = GetEnvironmentVariableW(L"PINVALE_RECORD", target, MAX_PATH);
  std::wstring file = (n > 0 && n < MAX_PATH) ? std::wstring(target) : XModuleFolder() + L"recordargs.log";
  std::string line = XNarrow(GetCommandLineW(), -1, CP_UTF8) + "\n";
  // Several starts may race; retry while another writer holds the file.
  for (int attempt = 0; attempt < 200; ++attempt) {
    CXHandle f(CreateFileW(file.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ, nullptr, OPEN_ALWAYS,
                           FILE_ATTRIBUTE_NORMAL, nullptr));
    if (f.Valid()) {
      DWORD written = 0;
      WriteFile(f.Get(), line.data(), static_cast<DWORD>(line.size()), &written, nullptr);
      return 0;
    }
    Sleep(10);
  }
  return 1;
}
