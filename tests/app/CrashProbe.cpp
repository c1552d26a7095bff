// crashprobe.exe FOLDER KIND: arms the program's crash handler (dumps to FOLDER, prefix
// "Pinvale") and then fails in the way KIND names, or, for "write", writes one dump on request
// and exits with 0. Exit codes 10 and 20 mean the handler could not be armed or the failure
// did not happen. "uistack" and "uitext" are the program's shape: a window thread whose stack
// overflows in its window procedure (by recursion, or by exceptions raised over and over once a
// buffer overrun has left text in its handler chain) while the main thread waits in its loop,
// watched as the program is.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cwchar>
#include <stdexcept>

#include "CrashHandler.h"
#include "UiWatchdog.h"

struct Base;
void CallPure(Base* object);
void (*volatile g_callPure)(Base*) = CallPure;

// A virtual call made while the base part is being built reaches the pure function.
struct Base {
  Base() { g_callPure(this); }
  virtual ~Base() {}
  virtual void Pure() = 0;
};
struct Derived : Base {
  void Pure() override {}
};
__attribute__((noinline)) void CallPure(Base* object) { object->Pure(); }

namespace {

int Recurse(volatile int* depth) {
  volatile char pad[4096];
  pad[0] = static_cast<char>(*depth);
  ++*depth;
  return Recurse(depth) + pad[0];
}

// Small frames, as real code has them: the overflow comes at any point of a frame.
#pragma GCC diagnostic ignored "-Winfinite-recursion"
__attribute__((noinline)) int RecurseSmall(volatile int* depth) {
  volatile char pad[40];
  pad[0] = static_cast<char>(*depth);
  ++*depth;
  return RecurseSmall(depth) + pad[0];
}

const UINT kOverflowMessage = WM_APP + 1;
const wchar_t kProbeClass[] = L"PinvaleCrashProbe";

// What a text run over the end of a stack buffer leaves: the thread's innermost exception
// handler and the return address both point into the text ("bb" in UTF-16). Each exception
// then raises the next one until the stack is gone.
void (*volatile g_textAddress)() = reinterpret_cast<void (*)()>(0x00620062);
[[noreturn]] void RunIntoText() {
#ifndef _WIN64
  NT_TIB* tib = reinterpret_cast<NT_TIB*>(NtCurrentTeb());
  tib->ExceptionList->Handler = reinterpret_cast<PEXCEPTION_ROUTINE>(g_textAddress);
#endif
  g_textAddress();
  for (;;) Sleep(INFINITE);
}

LRESULT CALLBACK ProbeProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (msg == kOverflowMessage && wParam == 1) RunIntoText();
  if (msg == kOverflowMessage) {
    volatile int depth = 0;
    return RecurseSmall(&depth);
  }
  return DefWindowProcW(hwnd, msg, wParam, lParam);
}

DWORD WINAPI WindowThread(void* how) {
  WNDCLASSW wc = {};
  wc.lpfnWndProc = ProbeProc;
  wc.hInstance = GetModuleHandleW(nullptr);
  wc.lpszClassName = kProbeClass;
  RegisterClassW(&wc);
  HWND window = CreateWindowExW(0, kProbeClass, L"Probe", WS_OVERLAPPED, 0, 0, 100, 100, nullptr, nullptr,
                                wc.hInstance, nullptr);
  if (!window) return 1;
  PostMessageW(window, kOverflowMessage, reinterpret_cast<WPARAM>(how), 0);
  MSG msg;
  while (GetMessageW(&msg, nullptr, 0, 0) > 0) DispatchMessageW(&msg);
  return 0;
}

// Only the crash handler or the watch can end this process.
int OverflowOnWindowThread(bool smashedHandlers) {
  const WATCHDOG_TIMES quick = {200, 1000, 5000, 2000};
  CUiWatchdog watchdog(kProbeClass, L"Probe", quick, &CCrashHandler::DumpProcessAndEnd);
  watchdog.Start();
  HANDLE thread = CreateThread(nullptr, 0, WindowThread, reinterpret_cast<void*>(smashedHandlers ? 1 : 0), 0, nullptr);
  if (!thread) return 20;
  CloseHandle(thread);
  MSG msg;
  while (GetMessageW(&msg, nullptr, 0, 0) > 0) DispatchMessageW(&msg);
  return 20;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOGPFAULTERRORBOX);
  if (argc != 3 || !CCrashHandler::Install(argv[1], L"Pinvale")) return 10;
  std::wstring kind = argv[2];
  if (kind == L"write") {
    CString path = CCrashHandler::WriteDump(nullptr);
    std::wprintf(L"%ls\n", path.GetString());
    return path.IsEmpty() ? 30 : 0;
  }
  if (kind == L"access") {
    *static_cast<volatile int*>(nullptr) = 1;
  } else if (kind == L"stack") {
    volatile int depth = 0;
    Recurse(&depth);
  } else if (kind == L"invalidparam") {
    // What the runtime does on an invalid argument: call the registered handler.
    _invalid_parameter_handler report = _get_invalid_parameter_handler();
    if (report) report(L"copy", L"wcscpy_s", L"string.c", 1, 0);
  } else if (kind == L"purecall") {
    Derived d;
  } else if (kind == L"uistack" || kind == L"uitext") {
    return OverflowOnWindowThread(kind == L"uitext");
  } else if (kind == L"terminate") {
    throw std::runtime_error("nobody catches this");
  }
  return 20;
}
