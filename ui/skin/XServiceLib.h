// The service library (Corvane.dll) as the framework sees it: loaded once by file name from
// the running executable's folder and kept for the process; objects are asked for by id.
#pragma once

#include "ServiceInterfaces.h"

class CXServiceLib {
 public:
  // A new object for the interface id (one reference, owned by the caller), or null when the
  // library, its export or the object is missing.
  static void* CreateInstance(const GUID& id);

 private:
  static PFN_XCreateInstance Entry();
};
