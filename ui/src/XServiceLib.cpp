// Loads the service library on first success and keeps module and entry point until exit;
// a failed attempt is retried by the next caller.
#include "XServiceLib.h"

#include <string>

#include "XWin.h"

PFN_XCreateInstance CXServiceLib::Entry() {
  static CXModule module;
  static PFN_XCreateInstance entry = nullptr;
  if (entry) return entry;
  std::wstring folder = XModuleFolder();
  if (folder.empty()) return nullptr;
  HMODULE h = LoadLibraryW((folder + L"Corvane.dll").c_str());
  if (!h) return nullptr;
  auto found = reinterpret_cast<PFN_XCreateInstance>(reinterpret_cast<void*>(GetProcAddress(h, "CreateInstance")));
  if (!found) {
    FreeLibrary(h);
    return nullptr;
  }
  module.Reset(h);
  return entry = found;
}

void* CXServiceLib::CreateInstance(const GUID& id) {
  PFN_XCreateInstance entry = Entry();
  return entry ? entry(&id) : nullptr;
}
