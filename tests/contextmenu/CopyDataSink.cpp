// copydatasink.exe <record file>: stands in for the running main program. It owns a top-level
// window of class "XDROPEASYWND" captioned "Pinvale" and appends every WM_COPYDATA it gets to
// the record file as: tag (8 bytes), sender window (8), length (4), then the data bytes.
// It ends on WM_CLOSE.
#include <windows.h>

#include <cstdint>
#include <string>

#include "XWin.h"

namespace {

std::wstring g_record;

void Append(const COPYDATASTRUCT& cds, WPARAM sender) {
  std::string bytes;
  uint64_t tag = cds.dwData, from = static_cast<uint64_t>(sender);
  uint32_t len = cds.cbData;
  bytes.append(reinterpret_cast<const char*>(&tag), sizeof tag);
  bytes.append(reinterpret_cast<const char*>(&from), sizeof from);
  bytes.append(reinterpret_cast<const char*>(&len), sizeof len);
  if (cds.lpData && len) bytes.append(static_cast<const char*>(cds.lpData), len);
  CXHandle f(CreateFileW(g_record.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ, nullptr, OPEN_ALWAYS,
                         FILE_ATTRIBUTE_NORMAL, nullptr));
  DWORD written = 0;
  if (f.Valid()) WriteFile(f.Get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
}

LRESULT CALLBACK WndProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_COPYDATA:
      Append(*reinterpret_cast<const COPYDATASTRUCT*>(lp), wp);
      return TRUE;
    case WM_DESTROY:
      PostQuitMessage(0);
      return 0;
  }
  return DefWindowProcW(hwnd, msg, wp, lp);
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, LPWSTR cmdLine, int) {
  g_record = cmdLine ? cmdLine : L"";
  if (!g_record.empty() && g_record.front() == L'"') g_record = g_record.substr(1, g_record.find(L'"', 1) - 1);
  if (g_record.empty()) return 2;
  WNDCLASSW wc = {};
  wc.lpfnWndProc = WndProc;
  wc.hInstance = instance;
  wc.lpszClassName = L"XDROPEASYWND";
  if (!RegisterClassW(&wc)) return 1;
  HWND hwnd = CreateWindowExW(0, wc.lpszClassName, L"Pinvale", WS_OVERLAPPEDWINDOW, 0, 0, 200, 100, nullptr,
                              nullptr, instance, nullptr);
  if (!hwnd) return 1;
  MSG msg;
  while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
  return 0;
}
