// Ping and update thread. The statistics object is the one process-wide object this unit
// keeps (from the ping until its release); the update thread shares nothing with the UI but
// the window handle it passes on.
#include "BackgroundServices.h"

#include <process.h>
#include <shlwapi.h>

#include "Brindle.h"
#include "ModuleLoader.h"
#include "ServiceInterfaces.h"
#include "ShellItem.h"
#include "XWin.h"

#ifndef PINVALE_UPDATE_HOST
#define PINVALE_UPDATE_HOST "update.pinvale.com"
#endif

namespace {

// Made on first use, after the library table, so it goes before the library that made it.
CXComPtr<IStatistic>& Statistic() {
  static CXComPtr<IStatistic> statistic;
  return statistic;
}

// A loopback address from the environment, or the built-in one.
CString AddressFrom(const wchar_t* variable, const wchar_t* builtIn) {
  wchar_t value[512] = {0};
  DWORD n = GetEnvironmentVariableW(variable, value, 512);
  if (n > 0 && n < 512 && wcsncmp(value, L"http://127.0.0.1:", 17) == 0) return CString(value);
  return CString(builtIn);
}

unsigned __stdcall UpdateThread(void* argument) {
  HWND mainWindow = static_cast<HWND>(argument);
  try {
    CString library = CBackgroundServices::UpdaterPath();
    if (library.IsEmpty()) return 0;
    CXModule module(LoadLibraryW(library));
    auto check = module.Proc<PFN_CHECKFORNEWVERSION>(BRINDLE_CHECK_EXPORT);
    if (check) check(UpdateAddress(), L"Pinvale", nullptr, mainWindow);
  } catch (...) {
    // Out of memory for a path: no update check this run, and no end of the program.
  }
  return 0;
}

}  // namespace

CString PingAddress() { return AddressFrom(L"PINVALE_TEST_PING_URL", XPingBaseAddress); }

CString UpdateAddress() {
  return AddressFrom(L"PINVALE_TEST_UPDATE_URL", L"http://" XPING_WIDE(PINVALE_UPDATE_HOST) L"/pinvale/update.ini");
}

void CBackgroundServices::SendPing() {
  if (Statistic()) return;
  IStatistic* statistic = nullptr;
  if (CModuleLoader::GetModuleObject(CModuleLoader::kServices, &IID_IStatistic,
                                     reinterpret_cast<void**>(&statistic)) != 0 ||
      !statistic)
    return;
  Statistic().Reset(statistic);
  statistic->Send(PingAddress());
}

void CBackgroundServices::ReleasePing() { Statistic().Reset(); }

bool CBackgroundServices::HasPingObject() { return static_cast<bool>(Statistic()); }

CString CBackgroundServices::UpdaterPath() {
  CString exe = ProgramPath();
  wchar_t path[MAX_PATH] = {0};
  if (exe.IsEmpty() || exe.GetLength() >= MAX_PATH) return CString();
  // The path-append rule removes the executable's name with "..".
  if (!PathCombineW(path, exe, L"..\\Brindle.dll")) return CString();
  return CString(path);
}

void CBackgroundServices::StartUpdateCheck(HWND mainWindow) {
  uintptr_t thread = _beginthreadex(nullptr, 0, UpdateThread, mainWindow, 0, nullptr);
  if (thread) CloseHandle(reinterpret_cast<HANDLE>(thread));
}
