// "/add" parsing: never reads past the end of the text, whatever follows the switch.
#include "CommandLine.h"

CString ParseAddSwitch(const wchar_t* commandLine, bool* found) {
  if (found) *found = false;
  if (!commandLine) return CString();
  CString text(commandLine);
  int at = text.Find(L"/add");
  if (at < 0) return CString();
  if (found) *found = true;
  CString path = text.Mid(at + 5);  // empty when the text ends within those five characters
  path.Trim(L"\"");
  return path;
}

CString& PendingAddPath() {
  static CString path;
  return path;
}
