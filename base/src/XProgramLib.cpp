// Finds the library beside the running executable (not on the search path, so a copy
// elsewhere is never picked up) and keeps it only once its export is there.
#include "XProgramLib.h"

#include <shlwapi.h>

FARPROC CXProgramLib::Entry() {
  if (m_entry) return m_entry;
  wchar_t folder[MAX_PATH] = {0};
  const DWORD n = GetModuleFileNameW(nullptr, folder, MAX_PATH);
  if (n == 0 || n >= MAX_PATH || !PathRemoveFileSpecW(folder)) return nullptr;
  wchar_t path[MAX_PATH] = {0};
  if (!PathCombineW(path, folder, m_file) || !PathFileExistsW(path)) return nullptr;
  HMODULE h = LoadLibraryW(path);
  if (!h) return nullptr;
  FARPROC found = GetProcAddress(h, m_export);
  if (!found) {
    FreeLibrary(h);
    return nullptr;
  }
  m_module.Reset(h);
  return m_entry = found;
}
