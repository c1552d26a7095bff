// CUiWatchdog: a thread that asks the program's main window for an answer now and then. A UI
// thread that has stopped answering for a long silence, or a main window gone while the
// program has not ended (its thread lost, as the platform ends a thread whose stack overflowed
// without running any handler), is reported once to the given callback; then the watch ends.
#pragma once

#include <windows.h>

#include "XWin.h"

// The watch's times in milliseconds. The program's are long enough that a slow machine never
// reaches them; a modal loop (dialog, menu, message box, folder picker) still answers.
struct WATCHDOG_TIMES {
  DWORD periodMs;   // between two looks at the window
  DWORD answerMs;   // how long one question waits for its answer
  DWORD silenceMs;  // no answer for this long: the UI thread is hung
  DWORD goneMs;     // the window seen once missing for this long: the UI thread is lost
  static WATCHDOG_TIMES Program() { return {5000, 10000, 90000, 15000}; }
};

class CUiWatchdog {
 public:
  // Exception-style codes the callback is given (the process's exit code when it ends it).
  static constexpr DWORD kCodeHung = 0xE0000103;
  static constexpr DWORD kCodeLost = 0xE0000104;
  typedef void (*PFN_OnLost)(DWORD code);

  // Watches the top-level window of this process with the class and caption.
  CUiWatchdog(const wchar_t* windowClass, const wchar_t* caption, const WATCHDOG_TIMES& times, PFN_OnLost onLost);
  // Stops the watch and waits for its thread.
  ~CUiWatchdog();
  CUiWatchdog(const CUiWatchdog&) = delete;
  CUiWatchdog& operator=(const CUiWatchdog&) = delete;

  bool Start();
  void Stop();

 private:
  static DWORD WINAPI ThreadMain(void* self);
  void Watch();
  // A top-level window of this process with the class and caption whose thread still runs,
  // and that thread.
  HWND FindOwnWindow(CXHandle* thread) const;

  const wchar_t* m_class;
  const wchar_t* m_caption;
  WATCHDOG_TIMES m_times;
  PFN_OnLost m_onLost;
  CXHandle m_stop;
  CXHandle m_thread;
};
