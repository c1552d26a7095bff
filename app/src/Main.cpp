// Pinvale.exe's entry: crash dumps, COM, the "/add" switch, one instance per logon, then the
// UI framework runs the program until the main window closes. The process result is 0.
#include <windows.h>
#include <objbase.h>

#include "CommandLine.h"
#include "CrashHandler.h"
#include "FavoriteStore.h"
#include "ModuleLoader.h"
#include "SecondStart.h"
#include "ServiceInterfaces.h"
#include "Settings.h"
#include "UIHandle.h"
#include "UiWatchdog.h"
#include "XMessageBox.h"
#include "XSkinConfig.h"
#include "XUIMgr.h"
#include "XWin.h"

namespace {

const wchar_t kInstanceMutex[] = L"Pinvale_{704E1A40-9417-4525-AC09-396ED748401A}";
const wchar_t kMainWindowClass[] = L"XDROPEASYWND";
const wchar_t kMainWindowCaption[] = L"Pinvale";

// Watches the UI thread's "start-up finished" message. A first instance without a main window
// can never be used and would only hold the instance mutex, so every later start would end
// unseen: the cause is reported and the program ends. Without the service library the skin
// cannot be deciphered (the loader's own message says so); without the skin package the
// framework stays silent, so its path is reported here.
class CStartupWatch : public IMessageTranslator {
 public:
  BOOL Translate(MSG* msg) override {
    if (msg->hwnd || msg->message != XWM_UI_READY || CUIHandle::Instance().GetMainWindow()) return FALSE;
    ISQLite* db = nullptr;
    if (CModuleLoader::GetModuleObject(CModuleLoader::kServices, &IID_ISQLite, reinterpret_cast<void**>(&db)) == 0) {
      CXComPtr<ISQLite> held(db);
      const CString package = CXSkinConfig::PackagePath();
      if (GetFileAttributesW(package) == INVALID_FILE_ATTRIBUTES) {
        CString text;
        text.Format(L"Cannot find file: %s!", package.GetString());
        XShowMessageBox(text, L"Error", MB_OK);
      }
    }
    PostQuitMessage(0);
    return TRUE;
  }
};

}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, LPWSTR commandLine, int) {
  CCrashHandler::Install(CFavoriteStore::DatabaseFolder(), L"Pinvale");
  CoInitialize(nullptr);
  // The common controls are loaded where first used (tooltips, image lists, the hotkey field).

  PendingAddPath() = ParseAddSwitch(commandLine);

  // Owned by this process and never closed: it lives exactly as long as the first instance.
  CreateMutexW(nullptr, TRUE, kInstanceMutex);
  if (GetLastError() == ERROR_ALREADY_EXISTS) {
    ShowRunningInstance(kMainWindowClass, kMainWindowCaption, SECOND_START_TIMES::Program());
    CoUninitialize();
    return 0;
  }

  WriteInstallPath();
  CUIHandle& handle = CUIHandle::Instance();
  CXUIMgr& ui = CXUIMgr::GetInstance();
  // Registered before the UI thread starts: the skin's start-up creates the main window on
  // that thread, and its creation notification must never find the callback missing.
  ui.SetNotifyCallback(&handle);
  ui.Initialize();
  CStartupWatch watch;
  // A UI thread lost or hung for good would keep the mutex, and every later start, with it.
  CUiWatchdog watchdog(kMainWindowClass, kMainWindowCaption, WATCHDOG_TIMES::Program(),
                       &CCrashHandler::DumpProcessAndEnd);
  watchdog.Start();
  ui.MessageLoop(&watch);
  // Lost before its window showed or after: the process would linger with the mutex.
  if (ui.UIThreadLost()) CCrashHandler::DumpProcessAndEnd(CUiWatchdog::kCodeLost);
  watchdog.Stop();

  CoUninitialize();
  return 0;
}
