// The library table behind CModuleLoader. The table is a namespace-scope object, so it is
// made before and destroyed after every singleton that holds objects of its libraries.
#include "ModuleLoader.h"

#include <string>

#include "ProgramSeam.h"
#include "ServiceInterfaces.h"
#include "ShellItem.h"
#include "XString.h"
#include "XWin.h"

namespace {

struct LibraryEntry {
  const wchar_t* fileName;
  CXModule module;
  PFN_XCreateInstance create;
};

class LibraryTable {
 public:
  void UnloadAll() {
    for (LibraryEntry& e : entries) {
      e.module.Reset();
      e.create = nullptr;
    }
  }
  LibraryEntry entries[CModuleLoader::kLibraryCount] = {
      {L"Corvane.dll", {}, nullptr},
      {L"Tessaly.dll", {}, nullptr},
  };
};

LibraryTable g_libraries;

void ReportMissingFile(const std::wstring& path) {
  CString text;
  text.Format(L"Lack of file: %s !", path.c_str());
  if (!ProgramCallTaken({L"MessageBoxW", L"Error", text, nullptr, MB_ICONERROR}))
    MessageBoxW(nullptr, text, L"Error", MB_ICONERROR);
}

bool LoadEntry(LibraryEntry& e) {
  const std::wstring path = (ProgramFolder() + e.fileName).Str();
  if (GetFileAttributesW(path.c_str()) == INVALID_FILE_ATTRIBUTES) {
    ReportMissingFile(path);
    return false;
  }
  e.module.Reset(LoadLibraryW(path.c_str()));
  return e.module.Get() != nullptr;
}

}  // namespace

int CModuleLoader::GetModuleObject(int index, const GUID* id, void** out) {
  if (index < 0 || index >= kLibraryCount || !id || !out) return 1;
  try {
    LibraryEntry& e = g_libraries.entries[index];
    if (!e.module.Get() && !LoadEntry(e)) return 1;
    if (!e.create) {
      e.create = e.module.Proc<PFN_XCreateInstance>("CreateInstance");
      if (!e.create) return 1;
    }
    void* object = e.create(id);
    if (!object) return 1;
    *out = object;
    return 0;
  } catch (...) {
    return 1;
  }
}

void CModuleLoader::UnloadAll() { g_libraries.UnloadAll(); }

HMODULE CModuleLoader::LoadedModule(int index) {
  return (index >= 0 && index < kLibraryCount) ? g_libraries.entries[index].module.Get() : nullptr;
}

