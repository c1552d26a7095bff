// Walks the PE tables of a module mapped in this process (RVAs relative to its base).
#include "ImportTable.h"

namespace {

const IMAGE_NT_HEADERS* Headers(HMODULE module) {
  if (!module) return nullptr;
  auto base = reinterpret_cast<const BYTE*>(module);
  auto dos = reinterpret_cast<const IMAGE_DOS_HEADER*>(base);
  if (dos->e_magic != IMAGE_DOS_SIGNATURE) return nullptr;
  auto nt = reinterpret_cast<const IMAGE_NT_HEADERS*>(base + dos->e_lfanew);
  return nt->Signature == IMAGE_NT_SIGNATURE ? nt : nullptr;
}

}  // namespace

std::vector<XImportEntry> ListImports(HMODULE module) {
  std::vector<XImportEntry> out;
  const IMAGE_NT_HEADERS* nt = Headers(module);
  if (!nt) return out;
  auto base = reinterpret_cast<BYTE*>(module);
  const IMAGE_DATA_DIRECTORY& dir = nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
  if (!dir.VirtualAddress) return out;
  for (auto d = reinterpret_cast<IMAGE_IMPORT_DESCRIPTOR*>(base + dir.VirtualAddress); d->Name; ++d) {
    DWORD lookup = d->OriginalFirstThunk ? d->OriginalFirstThunk : d->FirstThunk;
    auto names = reinterpret_cast<IMAGE_THUNK_DATA*>(base + lookup);
    auto slots = reinterpret_cast<IMAGE_THUNK_DATA*>(base + d->FirstThunk);
    for (; names->u1.AddressOfData; ++names, ++slots) {
      XImportEntry e;
      e.dll = reinterpret_cast<const char*>(base + d->Name);
      if (IMAGE_SNAP_BY_ORDINAL(names->u1.Ordinal)) {
        e.ordinal = static_cast<WORD>(IMAGE_ORDINAL(names->u1.Ordinal));
      } else {
        auto byName = reinterpret_cast<const IMAGE_IMPORT_BY_NAME*>(base + names->u1.AddressOfData);
        e.name = reinterpret_cast<const char*>(byName->Name);
        e.ordinal = byName->Hint;
        e.byName = true;
      }
      e.slot = reinterpret_cast<void**>(&slots->u1.Function);
      out.push_back(e);
    }
  }
  return out;
}

std::vector<std::string> ListExportNames(HMODULE module) {
  std::vector<std::string> out;
  const IMAGE_NT_HEADERS* nt = Headers(module);
  if (!nt) return out;
  auto base = reinterpret_cast<const BYTE*>(module);
  const IMAGE_DATA_DIRECTORY& dir = nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_EXPORT];
  if (!dir.VirtualAddress) return out;
  auto exports = reinterpret_cast<const IMAGE_EXPORT_DIRECTORY*>(base + dir.VirtualAddress);
  auto names = reinterpret_cast<const DWORD*>(base + exports->AddressOfNames);
  for (DWORD i = 0; i < exports->NumberOfNames; ++i) out.emplace_back(reinterpret_cast<const char*>(base + names[i]));
  return out;
}

CImportHook::CImportHook(HMODULE module, const char* dll, const char* name, void* replacement) {
  for (const XImportEntry& e : ListImports(module)) {
    if (e.byName && lstrcmpiA(e.dll.c_str(), dll) == 0 && e.name == name) {
      m_slot = e.slot;
      m_original = *e.slot;
      Write(m_slot, replacement);
      return;
    }
  }
}

CImportHook::~CImportHook() {
  if (m_slot) Write(m_slot, m_original);
}

void CImportHook::Write(void** slot, void* value) {
  DWORD old = 0;
  if (VirtualProtect(slot, sizeof(void*), PAGE_READWRITE, &old)) {
    *slot = value;
    VirtualProtect(slot, sizeof(void*), old, &old);
  }
}
