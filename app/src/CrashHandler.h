// CCrashHandler: the program's crash-dump writer on dbghelp's MiniDumpWriteDump. Once armed it
// stays armed until the process ends. A crashing thread hands its exception to the handler's
// own thread, which writes "<folder>\<prefix>_<guid>.dmp" and then lets the process end, so a
// dump is written even when the crashing thread has no stack left.
#pragma once

#include <windows.h>

#include "XString.h"

class CCrashHandler {
 public:
  // What the handler catches (all of them by default).
  enum : DWORD {
    kUnhandledExceptions = 0x1,  // structured exceptions nobody handled
    kInvalidParameter = 0x2,     // the C runtime's invalid-parameter reports
    kPureCall = 0x4,             // pure virtual calls (and the C++ terminate path they take)
    kAll = 0x7,
  };

  // Arms the process-wide handler; false when it could not be set up (dbghelp or the handler
  // thread missing), in which case the program runs without dumps. A second call changes
  // nothing and returns the first call's result.
  static bool Install(const CString& folder, const wchar_t* prefix, DWORD types = kAll);
  static bool IsInstalled();

  // Writes a dump for the given exception (null: the current state of the calling thread)
  // without ending the process; the dump's path, or empty on failure.
  static CString WriteDump(EXCEPTION_POINTERS* exception);

  // "%s\\%s_%s.dmp" with a fresh GUID in the form 8-4-4-4-12 lower-case hex digits.
  static CString DumpFileName(const CString& folder, const wchar_t* prefix, const GUID& id);
};
