// How the extension reaches the main program: the install path the program leaves in the
// user's registry, the window of a running instance, the copy-data record that carries a path
// to it, and the command line that hands a path to a fresh start. Every text is bounded here.
#pragma once

#include <windows.h>

// Selected-path buffer in characters, the NUL included; the record carries all of it.
const size_t kHollinPathChars = 260;
// Parameter text of a start with /add, in characters, the NUL included.
const size_t kHollinParamChars = 270;
const ULONG_PTR kHollinCopyDataTag = 1;
const DWORD kHollinCopyDataBytes = kHollinPathChars * sizeof(wchar_t);  // 520

// HKEY_CURRENT_USER\Software\Tarquon\Pinvale, value "installpath".
extern const wchar_t kHollinProgramKey[];
extern const wchar_t kHollinInstallPathValue[];
// The running program's main window.
extern const wchar_t kHollinWindowClass[];
extern const wchar_t kHollinWindowCaption[];

// The program's executable, or an empty text (false) when the value is missing, is no
// string, or does not fit the buffer.
bool ReadInstallPath(wchar_t (&path)[kHollinPathChars]);

// "/add \"<path>\"", cut at the buffer's end; always terminated.
void MakeAddParameters(const wchar_t* path, wchar_t (&params)[kHollinParamChars]);

// The record's data: the path as UTF-16, NUL-padded to the full 520 bytes.
void FillCopyDataPath(const wchar_t* path, BYTE (&data)[kHollinCopyDataBytes]);

// Top-level window of class "XDROPEASYWND" with the caption "Pinvale", or null.
HWND FindProgramWindow();

// Sends WM_COPYDATA (tag 1, 520 bytes, no sender window) and waits for it to be handled; a
// hung program is given up on after a while so the file manager never freezes.
bool SendPathToWindow(HWND window, const wchar_t* path);

// Starts exe with the "open" operation, the parameters (may be null) and SW_SHOW. No error
// is ever shown to the user.
bool StartProgram(const wchar_t* exe, const wchar_t* params);
