// The main program's one test seam: every shell start and every message box the program makes
// itself is offered to a sink first. Without a sink (as in the program) the real call follows;
// a sink hears each call and answers whether it stood in for it (the real call is skipped) or
// only observed it (the real call follows). Every read of an item for its own icon is offered
// the same way, from the icon thread ("ReadItemIcon", the file): a sink must then be callable
// from any thread. The drive type the program goes by before it reads anything for an icon
// comes from a replaceable source too. Tests set both; the program never does.
#pragma once

#include <windows.h>

struct XPROGRAM_CALL {
  const wchar_t* api;         // "ShellExecuteW", "ShellExecuteExW", "WinExec", "MessageBoxW" or "ReadItemIcon"
  const wchar_t* verb;        // a start's verb ("open", "runas"; null for WinExec); a box's caption
  const wchar_t* file;        // a start's file or command line; a box's text
  const wchar_t* parameters;  // a start's parameters, else null
  UINT style;                 // a box's style, else 0
};

// True when the sink stands in for the call.
typedef bool (*PFN_ProgramCallSink)(const XPROGRAM_CALL& call);
void SetProgramCallSink(PFN_ProgramCallSink sink);

// Offers a call to the sink: true when the caller must skip the real call.
bool ProgramCallTaken(const XPROGRAM_CALL& call);

// The type of the drive with the root (e.g. C:\), as GetDriveTypeW answers (DRIVE_FIXED, ...).
typedef UINT (*PFN_DriveTypeSource)(const wchar_t* root);
void SetDriveTypeSource(PFN_DriveTypeSource source);  // null: the system's answer
UINT ProgramDriveType(const wchar_t* root);
