// Finds the library beside the running executable (not on the search path, so a copy
// elsewhere is never picked up) and keeps it only once its export is there.
#include "XProgramLib.h"

#include <shlwapi.h>

#include <string>

#include "XProgram.h"

FARPROC CXProgramLib::Entry() {
  if (m_entry) return m_entry;
  const std::wstring folder = XModuleFolder();
  if (folder.empty()) return nullptr;
  const std::wstring path = folder + m_file;
  if (!PathFileExistsW(path.c_str())) return nullptr;
  HMODULE h = LoadLibraryW(path.c_str());
  if (!h) return nullptr;
  FARPROC found = GetProcAddress(h, m_export);
  if (!found) {
    FreeLibrary(h);
    return nullptr;
  }
  m_module.Reset(h);
  return m_entry = found;
}
