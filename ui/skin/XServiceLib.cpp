// The service library is one of the program folder's libraries; its entry makes objects by id.
#include "XServiceLib.h"

#include "XProgramLib.h"

PFN_XCreateInstance CXServiceLib::Entry() {
  static CXProgramLib library(L"Corvane.dll", "CreateInstance");
  return library.EntryAs<PFN_XCreateInstance>();
}

void* CXServiceLib::CreateInstance(const GUID& id) {
  PFN_XCreateInstance entry = Entry();
  return entry ? entry(&id) : nullptr;
}
