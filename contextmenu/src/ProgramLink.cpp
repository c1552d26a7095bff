// The extension's side of the conversation with the main program. Texts go through fixed
// buffers whose bounds are checked at every copy; a path that does not fit is dropped, not cut.
#include "ProgramLink.h"

#include <shellapi.h>

#include <cstring>

#include "RegKey.h"
#include "XWin.h"

const wchar_t kHollinProgramKey[] = L"Software\\Tarquon\\Pinvale";
const wchar_t kHollinInstallPathValue[] = L"installpath";
const wchar_t kHollinWindowClass[] = L"XDROPEASYWND";
const wchar_t kHollinWindowCaption[] = L"Pinvale";

namespace {
const UINT kSendTimeoutMs = 10000;
}

bool ReadInstallPath(wchar_t (&path)[kHollinPathChars]) {
  return XReadRegString(HKEY_CURRENT_USER, kHollinProgramKey, kHollinInstallPathValue, path, kHollinPathChars);
}

void MakeAddParameters(const wchar_t* path, wchar_t (&params)[kHollinParamChars]) {
  size_t n = XCopyBounded(params, kHollinParamChars, L"/add \"");
  n += XCopyBounded(params + n, kHollinParamChars - n, path ? path : L"");
  XCopyBounded(params + n, kHollinParamChars - n, L"\"");
}

void FillCopyDataPath(const wchar_t* path, BYTE (&data)[kHollinCopyDataBytes]) {
  wchar_t text[kHollinPathChars] = {0};
  XCopyBounded(text, kHollinPathChars, path ? path : L"");
  memset(data, 0, sizeof data);
  memcpy(data, text, sizeof text);
}

HWND FindProgramWindow() { return FindWindowW(kHollinWindowClass, kHollinWindowCaption); }

bool SendPathToWindow(HWND window, const wchar_t* path) {
  BYTE data[kHollinCopyDataBytes];
  FillCopyDataPath(path, data);
  COPYDATASTRUCT record = {};
  record.dwData = kHollinCopyDataTag;
  record.cbData = kHollinCopyDataBytes;
  record.lpData = data;
  DWORD_PTR result = 0;
  return SendMessageTimeoutW(window, WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&record),
                             SMTO_NORMAL | SMTO_ABORTIFHUNG, kSendTimeoutMs, &result) != 0;
}

bool StartProgram(const wchar_t* exe, const wchar_t* params) {
  SHELLEXECUTEINFOW info = {};
  info.cbSize = sizeof info;
  info.fMask = SEE_MASK_FLAG_NO_UI | SEE_MASK_NOASYNC;
  info.lpVerb = L"open";
  info.lpFile = exe;
  info.lpParameters = params;
  info.nShow = SW_SHOW;
  return ShellExecuteExW(&info) != FALSE;
}
