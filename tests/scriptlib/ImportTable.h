// Reads a loaded module's import and export tables, and swaps one imported function for
// another while an object lives: lets a test observe a call that would show a window.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

struct XImportEntry {
  std::string dll;
  std::string name;  // empty when imported by ordinal
  WORD ordinal = 0;
  bool byName = false;
  void** slot = nullptr;
};

std::vector<XImportEntry> ListImports(HMODULE module);
std::vector<std::string> ListExportNames(HMODULE module);

class CImportHook {
 public:
  CImportHook(HMODULE module, const char* dll, const char* name, void* replacement);
  ~CImportHook();
  CImportHook(const CImportHook&) = delete;
  CImportHook& operator=(const CImportHook&) = delete;
  bool Active() const { return m_slot != nullptr; }

 private:
  static void Write(void** slot, void* value);
  void** m_slot = nullptr;
  void* m_original = nullptr;
};
