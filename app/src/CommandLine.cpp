// "/add" parsing for the program: the neutral rule over the command line's UTF-16 text.
#include "CommandLine.h"

#include "HandedPath.h"
#include "XWin.h"

CString ParseAddSwitch(const wchar_t* commandLine, bool* found) {
  if (found) *found = false;
  if (!commandLine) return CString();
  return CString(XFromU16(ParseAddSwitchText(XToU16(commandLine, wcslen(commandLine)), found)));
}

CString& PendingAddPath() {
  static CString path;
  return path;
}
