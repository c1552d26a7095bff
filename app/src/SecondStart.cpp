// The second start over FindWindowW and a WM_NULL sent with a time-out: a hung instance would
// keep ShowWindow (a message sent to its thread) waiting for good, so it is asked first.
#include "SecondStart.h"

#include "AppText.h"
#include "ProgramSeam.h"

namespace {

const DWORD kFindPollMs = 100;

HWND WaitForWindow(const wchar_t* windowClass, const wchar_t* caption, DWORD waitMs) {
  const DWORD start = GetTickCount();
  for (;;) {
    HWND running = FindWindowW(windowClass, caption);
    if (running && IsWindow(running)) return running;
    if (GetTickCount() - start >= waitMs) return nullptr;
    Sleep(kFindPollMs);
  }
}

bool Answers(HWND window, DWORD waitMs) {
  DWORD_PTR result = 0;
  return SendMessageTimeoutW(window, WM_NULL, 0, 0, SMTO_NORMAL | SMTO_ABORTIFHUNG, waitMs, &result) != 0;
}

}  // namespace

bool ShowRunningInstance(const wchar_t* windowClass, const wchar_t* caption, const SECOND_START_TIMES& times) {
  HWND running = WaitForWindow(windowClass, caption, times.findMs);
  if (running && Answers(running, times.answerMs)) {
    ShowWindow(running, SW_SHOWNORMAL);
    return true;
  }
  const std::wstring title = AppText(IDS_INSTANCE_CAPTION), text = AppText(IDS_INSTANCE_NOT_ANSWERING);
  const UINT style = MB_OK | MB_ICONWARNING | MB_SETFOREGROUND;
  if (!ProgramCallTaken({L"MessageBoxW", title.c_str(), text.c_str(), nullptr, style}))
    MessageBoxW(nullptr, text.c_str(), title.c_str(), style);
  return false;
}
