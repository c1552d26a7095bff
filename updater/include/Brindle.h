// The updater's one export, for the program that loads Brindle.dll by file name: the
// function-pointer type to look "CheckForNewVersion" up with, and the call's contract.
#pragma once

#include <windows.h>

// Downloads the update description at iniUrl, compares the version it announces for section
// appName with currentVersion ("a.b.c.d"; null: the running executable's file version) and,
// when the announced one is newer, runs the update dialog. Blocks until the dialog has closed.
// A started installer is followed by WM_CLOSE posted to parent. Returns TRUE when a newer
// version was announced, FALSE in every other case. Plain C calling convention.
extern "C" typedef BOOL (__cdecl *PFN_CHECKFORNEWVERSION)(const wchar_t* iniUrl, const wchar_t* appName,
                                                          const wchar_t* currentVersion, HWND parent);

#define BRINDLE_CHECK_EXPORT "CheckForNewVersion"
