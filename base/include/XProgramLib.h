// A library of the program's own folder, loaded by file name on the first successful call and
// kept with one export until the process ends. A missing file or export is retried by the
// next caller, so a library copied in later is still found.
#pragma once

#include <windows.h>

#include "XWin.h"

class CXProgramLib {
 public:
  CXProgramLib(const wchar_t* fileName, const char* exportName) : m_file(fileName), m_export(exportName) {}
  CXProgramLib(const CXProgramLib&) = delete;
  CXProgramLib& operator=(const CXProgramLib&) = delete;

  // The export, or null when the file (beside the running executable) or the export is missing.
  FARPROC Entry();
  template <class F>
  F EntryAs() {
    return reinterpret_cast<F>(reinterpret_cast<void*>(Entry()));
  }

 private:
  const wchar_t* m_file;
  const char* m_export;
  CXModule m_module;
  FARPROC m_entry = nullptr;
};
