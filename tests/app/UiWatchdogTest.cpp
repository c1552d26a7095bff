// The UI watch with short times over a window on a thread of its own: a thread that stops
// taking messages is reported hung, a window gone with its thread (ended or ended by force) is
// reported lost, and a modal loop (a message box) answers, so it is never reported.
#include <gtest/gtest.h>

#include <atomic>

#include "TestUtil.h"
#include "UiWatchdog.h"
#include "XWin.h"

namespace {

std::atomic<DWORD> g_reported{0};
void Report(DWORD code) { g_reported = code; }

const wchar_t kClass[] = L"PinvaleWatchedWindow";
const UINT kBlockMessage = WM_APP + 1, kModalMessage = WM_APP + 2;

HANDLE g_release = nullptr;  // ends a blocked window procedure
HANDLE g_blocked = nullptr;  // set once the procedure blocks

LRESULT CALLBACK WatchedProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (msg == kBlockMessage) {
    SetEvent(g_blocked);
    WaitForSingleObject(g_release, INFINITE);
  }
  if (msg == kModalMessage) MessageBoxW(hwnd, L"modal", L"PinvaleWatchedBox", MB_OK);
  return DefWindowProcW(hwnd, msg, wParam, lParam);
}

DWORD WINAPI WindowThread(void* out) {
  WNDCLASSW wc = {};
  wc.lpfnWndProc = WatchedProc;
  wc.hInstance = GetModuleHandleW(nullptr);
  wc.lpszClassName = kClass;
  RegisterClassW(&wc);
  HWND window = CreateWindowExW(0, kClass, L"Watched", WS_OVERLAPPED, 0, 0, 100, 100, nullptr, nullptr,
                                wc.hInstance, nullptr);
  *static_cast<HWND*>(out) = window;
  MSG msg;
  while (GetMessageW(&msg, nullptr, 0, 0) > 0) DispatchMessageW(&msg);
  return 0;
}

class UiWatchdogTest : public ::testing::Test {
 protected:
  void SetUp() override {
    g_reported = 0;
    release.Reset(CreateEventW(nullptr, TRUE, FALSE, nullptr));
    blocked.Reset(CreateEventW(nullptr, TRUE, FALSE, nullptr));
    g_release = release.Get();
    g_blocked = blocked.Get();
    thread.Reset(CreateThread(nullptr, 0, WindowThread, &window, 0, &threadId));
    ASSERT_TRUE(xtest::WaitFor([&] { return window != nullptr; }));
    ASSERT_TRUE(watchdog.Start());
  }
  void TearDown() override {
    watchdog.Stop();
    SetEvent(release.Get());
    if (IsWindow(window)) PostMessageW(window, WM_QUIT, 0, 0);
    WaitForSingleObject(thread.Get(), 10000);
  }

  CXHandle release, blocked, thread;
  DWORD threadId = 0;
  HWND window = nullptr;
  CUiWatchdog watchdog{kClass, L"Watched", WATCHDOG_TIMES{50, 200, 1000, 500}, &Report};
};

TEST_F(UiWatchdogTest, AThreadThatTakesNoMessagesIsReportedHung) {
  xtest::PumpFor(300);
  EXPECT_EQ(g_reported.load(), 0u);
  PostMessageW(window, kBlockMessage, 0, 0);
  EXPECT_TRUE(xtest::WaitFor([] { return g_reported.load() != 0; }, 15000));
  EXPECT_EQ(g_reported.load(), CUiWatchdog::kCodeHung);
}

TEST_F(UiWatchdogTest, AWindowGoneWithItsThreadIsReportedLost) {
  xtest::PumpFor(300);
  PostThreadMessageW(threadId, WM_QUIT, 0, 0);  // the thread ends; its window goes with it
  ASSERT_EQ(WaitForSingleObject(thread.Get(), 10000), WAIT_OBJECT_0);
  EXPECT_TRUE(xtest::WaitFor([] { return g_reported.load() != 0; }, 15000));
  EXPECT_EQ(g_reported.load(), CUiWatchdog::kCodeLost);
}

// As the platform ends a thread whose stack overflowed: its windows stay valid to this
// process's own calls.
TEST_F(UiWatchdogTest, AWindowWhoseThreadWasEndedByForceIsReportedLost) {
  xtest::PumpFor(300);
  // Ended where it holds nothing the watch needs: in its own window procedure.
  PostMessageW(window, kBlockMessage, 0, 0);
  ASSERT_EQ(WaitForSingleObject(blocked.Get(), 10000), WAIT_OBJECT_0);
  CXHandle forced(OpenThread(THREAD_TERMINATE, FALSE, threadId));
  ASSERT_TRUE(TerminateThread(forced.Get(), 1));
  EXPECT_TRUE(xtest::WaitFor([] { return g_reported.load() != 0; }, 15000));
  EXPECT_EQ(g_reported.load(), CUiWatchdog::kCodeLost);
}

TEST_F(UiWatchdogTest, AModalLoopAnswers) {
  PostMessageW(window, kModalMessage, 0, 0);
  HWND box = nullptr;
  ASSERT_TRUE(xtest::WaitFor([&] { return (box = FindWindowW(L"#32770", L"PinvaleWatchedBox")) != nullptr; }));
  xtest::PumpFor(3000);  // three times the silence that counts as hung
  EXPECT_EQ(g_reported.load(), 0u);
  PostMessageW(box, WM_COMMAND, IDOK, 0);
}

}  // namespace
