// The yardstick of bench_start: the least a Win32 program does to show a window (register a
// class, create, show, run the loop until closed), started and detected like Pinvale.exe.
// With the argument "keep" it only holds a hidden window, so that Wine's desktop process
// stays up between the measured starts.
#include <windows.h>

#include <cwchar>

namespace {

LRESULT CALLBACK Proc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (msg == WM_DESTROY) {
    PostQuitMessage(0);
    return 0;
  }
  if (msg == WM_COMMAND && wParam == 1) {  // the same exit command the bench sends Pinvale
    DestroyWindow(hwnd);
    return 0;
  }
  return DefWindowProcW(hwnd, msg, wParam, lParam);
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR commandLine, int) {
  const bool keeper = commandLine && wcsstr(commandLine, L"keep");
  WNDCLASSW wc = {};
  wc.lpfnWndProc = Proc;
  wc.hInstance = instance;
  wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
  wc.lpszClassName = L"PinvaleBareWindow";
  if (!RegisterClassW(&wc)) return 1;
  HWND hwnd = CreateWindowExW(0, wc.lpszClassName, keeper ? L"Keeper" : L"Bare", WS_OVERLAPPEDWINDOW, 100, 100, 300,
                              500, nullptr, nullptr, instance, nullptr);
  if (!hwnd) return 1;
  if (!keeper) {
    ShowWindow(hwnd, SW_SHOW);
    UpdateWindow(hwnd);
  }
  MSG msg;
  while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
  return 0;
}
