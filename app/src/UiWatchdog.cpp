// CUiWatchdog's thread. The question is WM_NULL sent with a time-out: it is answered by any
// loop that takes messages, modal ones included, and costs the UI thread nothing else.
#include "UiWatchdog.h"

#include <utility>

CUiWatchdog::CUiWatchdog(const wchar_t* windowClass, const wchar_t* caption, const WATCHDOG_TIMES& times,
                         PFN_OnLost onLost)
    : m_class(windowClass), m_caption(caption), m_times(times), m_onLost(onLost) {}

CUiWatchdog::~CUiWatchdog() { Stop(); }

bool CUiWatchdog::Start() {
  if (m_thread.Valid()) return true;
  m_stop.Reset(CreateEventW(nullptr, TRUE, FALSE, nullptr));
  if (!m_stop.Valid()) return false;
  m_thread.Reset(CreateThread(nullptr, 0, &CUiWatchdog::ThreadMain, this, 0, nullptr));
  return m_thread.Valid();
}

void CUiWatchdog::Stop() {
  if (!m_thread.Valid()) return;
  SetEvent(m_stop.Get());
  // A question in flight is answered or given up within answerMs.
  WaitForSingleObject(m_thread.Get(), INFINITE);
  m_thread.Reset();
}

DWORD WINAPI CUiWatchdog::ThreadMain(void* self) {
  static_cast<CUiWatchdog*>(self)->Watch();
  return 0;
}

namespace {

bool Ended(const CXHandle& thread) { return thread.Valid() && WaitForSingleObject(thread.Get(), 0) == WAIT_OBJECT_0; }

}  // namespace

HWND CUiWatchdog::FindOwnWindow(CXHandle* thread) const {
  for (HWND w = FindWindowExW(nullptr, nullptr, m_class, m_caption); w;
       w = FindWindowExW(nullptr, w, m_class, m_caption)) {
    DWORD pid = 0;
    const DWORD tid = GetWindowThreadProcessId(w, &pid);
    if (pid != GetCurrentProcessId()) continue;
    thread->Reset(OpenThread(SYNCHRONIZE, FALSE, tid));
    if (!Ended(*thread)) return w;
  }
  return nullptr;
}

void CUiWatchdog::Watch() {
  HWND window = nullptr;
  // The window's thread: a thread ended by force leaves its windows valid to this process's
  // own calls, so its end is watched, not only the window.
  CXHandle thread;
  // Silence counts from the first question of an unanswered run, so a machine that slept
  // between two questions is never taken for a hung program.
  DWORD silentSince = 0, goneSince = 0;
  bool silent = false, gone = false;
  while (WaitForSingleObject(m_stop.Get(), m_times.periodMs) == WAIT_TIMEOUT) {
    // A thread ended by force may hold the window system's locks for good: once it has ended,
    // nothing here asks the window system again.
    const bool ended = Ended(thread);
    if (!ended && (!window || !IsWindow(window))) {
      // Until the window first shows there is nothing to watch; a new main window (the skin
      // rebuilt) is watched from then on.
      CXHandle foundThread;
      HWND found = FindOwnWindow(&foundThread);
      if (found) {
        window = found;
        thread = std::move(foundThread);
        silent = gone = false;
      } else if (!window) {
        continue;
      }
    }
    if (ended || !IsWindow(window)) {
      if (!gone) goneSince = GetTickCount();
      gone = true;
      if (GetTickCount() - goneSince >= m_times.goneMs) {
        m_onLost(kCodeLost);
        return;
      }
      continue;
    }
    const DWORD asked = GetTickCount();
    DWORD_PTR result = 0;
    if (SendMessageTimeoutW(window, WM_NULL, 0, 0, SMTO_NORMAL, m_times.answerMs, &result)) {
      silent = false;
    } else if (!Ended(thread)) {
      if (!silent) silentSince = asked;
      silent = true;
      if (GetTickCount() - silentSince >= m_times.silenceMs) {
        m_onLost(kCodeHung);
        return;
      }
    }
  }
}
