// loaderprobe.exe OUTFILE STEP...: drives CModuleLoader from wherever it was copied to and
// writes what happened to OUTFILE (UTF-8, one line per event). Steps: "box" (report missing
// files with the real message box instead of recording them), "get" (ask library 0 for
// ISQLite), "other" (ask for an id it does not serve), "hide" (rename Corvane.dll beside
// the probe to Corvane.moved).
#include <windows.h>

#include <string>

#include "ModuleLoader.h"
#include "ProgramSeam.h"
#include "ServiceInterfaces.h"
#include "XString.h"
#include "XProgram.h"
#include "XWin.h"

namespace {

std::wstring g_out;

void WriteLine(const std::wstring& line) {
  CXHandle f(CreateFileW(g_out.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ, nullptr, OPEN_ALWAYS,
                         FILE_ATTRIBUTE_NORMAL, nullptr));
  std::string bytes = XNarrow(line.c_str(), -1, CP_UTF8) + "\n";
  DWORD written = 0;
  if (f.Valid()) WriteFile(f.Get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
}

bool RecordMessage(const XPROGRAM_CALL& call) {
  CString line;
  line.Format(L"message %s %u %s", call.verb, call.style, call.file);
  WriteLine(line.Str());
  return true;
}

void Request(const GUID& id) {
  void* const sentinel = reinterpret_cast<void*>(0x1234);
  void* out = sentinel;
  int r = CModuleLoader::GetModuleObject(CModuleLoader::kServices, &id, &out);
  CString line;
  line.Format(L"get %d%s", r, out == sentinel ? L" untouched" : L"");
  WriteLine(line.Str());
  if (r == 0 && out) static_cast<IXUnknown*>(out)->Release();
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc < 2) return 2;
  g_out = argv[1];
  SetProgramCallSink(RecordMessage);
  const GUID unserved = {0x12345678, 0x1111, 0x2222, {1, 2, 3, 4, 5, 6, 7, 8}};
  for (int i = 2; i < argc; ++i) {
    std::wstring step = argv[i];
    if (step == L"box") SetProgramCallSink(nullptr);
    if (step == L"get") Request(IID_ISQLite);
    if (step == L"other") Request(unserved);
    if (step == L"hide") {
      std::wstring folder = XModuleFolder();
      BOOL moved = MoveFileW((folder + L"Corvane.dll").c_str(), (folder + L"Corvane.moved").c_str());
      WriteLine(moved ? L"hidden" : L"hide failed");
    }
  }
  CModuleLoader::UnloadAll();
  WriteLine(L"done");
  return 0;
}
