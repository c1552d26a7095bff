// CModuleLoader: the process-wide table of service libraries loaded by file name from the
// program's folder. Each library is loaded on its first request and kept, with its
// CreateInstance entry point, until UnloadAll (run at process exit).
#pragma once

#include <windows.h>

class CModuleLoader {
 public:
  enum Library { kServices = 0, kImages = 1, kLibraryCount = 2 };

  // Asks library `index` for the object with interface id `id`. Returns 0 and sets *out
  // (one reference, owned by the caller) on success; returns 1 and leaves *out untouched on
  // failure. A missing library file is reported in a message box on every request.
  static int GetModuleObject(int index, const GUID* id, void** out);

  // Frees every loaded library and forgets its entry point.
  static void UnloadAll();

  // The loaded library of an entry, or null.
  static HMODULE LoadedModule(int index);
};
