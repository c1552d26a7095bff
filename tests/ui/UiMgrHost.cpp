// uimgrhost: a small application of the framework for the UI manager tests. It runs the
// skin in the "skin" folder beside it through CXUIMgr on its UI thread, like the program
// does, and writes what happens to host.log beside it (one UTF-8 line per event): message
// boxes (through the framework's message sink, so none blocks), notifications, the
// application loop's messages, and the state of the windows once start-up has finished.
// Usage: uimgrhost <scenario>; "noinit" ends on 994, "app" drives the app skin and closes
// its main window, "strict" clicks the strict skin's main window and closes it, "lost" ends the
// UI thread by force.
#include <windows.h>

#include <lua.hpp>

#include <fstream>
#include <string>

#include "ControlMgr.h"
#include "XBaseUI.h"
#include "XEasyDialog.h"
#include "XMessageBox.h"
#include "XSkinRegistry.h"
#include "XUIClassTable.h"
#include "XUIMgr.h"
#include "XProgram.h"
#include "XWin.h"

namespace {

const UINT kHostMsg = WM_USER + 61;
CXCritSec g_lock;
std::wstring g_logPath;
std::wstring g_scenario;
HWND g_hostWnd = nullptr;
HWND g_mainWnd = nullptr;
DWORD g_started = 0;

void Log(const std::wstring& line) {
  CXLock lock(g_lock);
  std::ofstream out(g_logPath.c_str(), std::ios::app | std::ios::binary);
  out << XNarrow(line.c_str(), -1, CP_UTF8) << "\n";
}

bool Logged(const std::wstring& prefix) {
  CXLock lock(g_lock);
  std::ifstream in(g_logPath.c_str(), std::ios::binary);
  std::string want = XNarrow(prefix.c_str(), -1, CP_UTF8), line;
  while (std::getline(in, line))
    if (line.compare(0, want.size(), want) == 0) return true;
  return false;
}

void Sink(const wchar_t* text, const wchar_t* caption, UINT) { Log(std::wstring(L"box|") + caption + L"|" + text); }

std::wstring Hex(const CString& s) {
  std::wstring out;
  for (wchar_t c : s.Str()) {
    wchar_t part[8];
    wsprintfW(part, L"%04x ", c);
    out += part;
  }
  return out;
}

// A plain windowless object for template texts, and a dialog that reports its destruction.
class Label : public CXBaseUI {};
class CountingDialog : public CXEasyDialog {
 public:
  ~CountingDialog() override { Log(L"dialog destroyed"); }
};

int HostValue(lua_State* L) {
  lua_pushnumber(L, 42);
  return 1;
}

class Handler : public INotifyCallback {
 public:
  LRESULT OnNotify(IXUIObject* sender, NOTIFY_EVENT* e) override {
    std::wstring id = sender ? sender->XUI_GetID() : L"?";
    if (e->event.uMsg == WM_CREATE) {
      Log(L"create|" + id);
      if (id == L"dlg") PostMessageW(e->event.hWnd, WM_COMMAND, 5, 0);
      if (id == L"main") CXUIMgr::GetInstance().RegLuaFunction("HostValue", &HostValue);
    }
    return 0;
  }
};

// The log lines a scenario waits for before it closes the main window.
bool ScenarioDone() {
  if (g_scenario == L"strict")
    return Logged(L"box||undeclared global Missing") &&
           Logged(L"box||undeclared global NoTick");
  return Logged(L"box|timers done|") && Logged(L"box|click|7") && Logged(L"box||attempt");
}

void CALLBACK Poll(HWND, UINT, UINT_PTR timer, DWORD) {
  bool done = ScenarioDone();
  if (!done && GetTickCount() - g_started < 10000) return;
  KillTimer(nullptr, timer);
  Log(done ? L"closing" : L"closing after timeout");
  PostMessageW(g_mainWnd, WM_CLOSE, 0, 0);
}

void OnReady() {
  Log(L"994");
  wchar_t cls[64] = {0};
  g_mainWnd = FindWindowW(L"XEASYWND", L"UiHostMain");
  Log(std::wstring(L"main window|") + (g_mainWnd ? L"found" : L"none") + L"|" +
      (g_mainWnd && IsWindowVisible(g_mainWnd) ? L"visible" : L"hidden"));
  if (g_scenario == L"lost") {
    // The UI thread ended by force, as the platform ends a thread lost to a fault.
    CXHandle ui(OpenThread(THREAD_TERMINATE | SYNCHRONIZE, FALSE, CXUIMgr::GetInstance().UIThreadId()));
    Log(std::wstring(L"ended|") + (ui.Valid() && TerminateThread(ui.Get(), 9) ? L"yes" : L"no"));
    return;
  }
  if (g_scenario != L"app" && g_scenario != L"strict") {
    PostQuitMessage(0);
    return;
  }
  if (!g_mainWnd) {
    PostQuitMessage(0);
    return;
  }
  if (g_scenario == L"strict") {
    PostMessageW(g_mainWnd, 494, 0, 0);
    g_started = GetTickCount();
    SetTimer(nullptr, 0, 50, &Poll);
    return;
  }
  GetClassNameW(g_mainWnd, cls, 64);
  Log(std::wstring(L"main class|") + cls);
  // Start-up is over and the UI thread waits for messages: its objects can be read.
  if (IXUIObject* main = CXSkinRegistry::Instance().GetCreated(L"MAIN")) {
    for (const wchar_t* label : {L"label0", L"label1", L"label2"}) {
      IXUIObject* child = main->XUI_GetChild(label);
      Log(std::wstring(L"text|") + label + L"|" + (child ? Hex(child->XUI_GetWindowText()) : L"missing"));
    }
  }
  PostMessageW(g_mainWnd, 494, 7, 8);
  PostMessageW(g_mainWnd, 495, 0, 0);
  g_started = GetTickCount();
  SetTimer(nullptr, 0, 50, &Poll);
}

class Translator : public IMessageTranslator {
 public:
  BOOL Translate(MSG* msg) override {
    if (msg->hwnd == nullptr && msg->message == XWM_UI_READY) {
      OnReady();
      return 1;
    }
    if (msg->hwnd == g_hostWnd && msg->message == kHostMsg && msg->wParam == 1) {
      Log(L"consumed|1");
      return 1;
    }
    return 0;
  }
};

LRESULT CALLBACK HostProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  if (msg == kHostMsg) Log(L"dispatched|" + std::to_wstring(wp));
  return DefWindowProcW(hwnd, msg, wp, lp);
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOGPFAULTERRORBOX);
  g_scenario = argc > 1 ? argv[1] : L"noinit";
  g_logPath = XModuleFolder() + L"host.log";
  XSetMessageSink(&Sink);
  CXUIClassTable::Register(L"label", &XCreateUIObjectOf<Label>);
  CXUIClassTable::Register(L"Dialog", &XCreateUIObjectOf<CountingDialog>);
  // Before the engine exists this registers nothing.
  CXUIMgr::GetInstance().RegLuaFunction("HostValue", &HostValue);

  WNDCLASSW wc = {};
  wc.lpfnWndProc = &HostProc;
  wc.hInstance = GetModuleHandleW(nullptr);
  wc.lpszClassName = L"UiMgrHostWnd";
  RegisterClassW(&wc);
  g_hostWnd = CreateWindowExW(0, L"UiMgrHostWnd", L"", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr, wc.hInstance, nullptr);
  PostMessageW(g_hostWnd, kHostMsg, 1, 0);
  PostMessageW(g_hostWnd, kHostMsg, 2, 0);

  Handler handler;
  Log(L"start|" + g_scenario);
  // Set before the UI thread starts, so no early notification can miss it.
  CXUIMgr::GetInstance().SetNotifyCallback(&handler);
  CXUIMgr::GetInstance().Initialize();
  Translator translator;
  CXUIMgr::GetInstance().MessageLoop(&translator);
  Log(CXUIMgr::GetInstance().UIThreadLost() ? L"loop ended|lost" : L"loop ended");
  DestroyWindow(g_hostWnd);
  return 0;
}
