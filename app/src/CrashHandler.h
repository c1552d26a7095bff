// CCrashHandler: the program's crash-dump writer on dbghelp's MiniDumpWriteDump. Once armed it
// stays armed until the process ends. A crashing thread hands its exception to the handler's
// own thread, which writes "<folder>\<prefix>_<guid>.dmp"; then the process ends, so the
// instance mutex goes with it. Every thread keeps stack back for the handler of its overflow.
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

  // A dump of the whole process as it is now (no exception; a watch found the UI thread hung
  // or lost), then the end of the process with the code. Without the handler only the end.
  [[noreturn]] static void DumpProcessAndEnd(DWORD code);

  // "%s\\%s_%s.dmp" with a fresh GUID in the form 8-4-4-4-12 lower-case hex digits.
  static CString DumpFileName(const CString& folder, const wchar_t* prefix, const GUID& id);
};
