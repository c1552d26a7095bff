// CModuleLoader in this process (Corvane.dll beside the test) and in a probe program copied
// into throwaway folders, where the library is missing, unloadable or lacks its export.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "ModuleLoader.h"
#include "ProgramSeam.h"
#include "ServiceInterfaces.h"
#include "TestUtil.h"
#include "XWin.h"

namespace {

std::vector<std::wstring> g_messages;
bool RecordMessage(const XPROGRAM_CALL& call) {
  g_messages.push_back(call.file);
  return true;
}

const GUID kUnserved = {0x12345678, 0x1111, 0x2222, {1, 2, 3, 4, 5, 6, 7, 8}};

class LoaderInProcess : public ::testing::Test {
 protected:
  void SetUp() override {
    g_messages.clear();
    SetProgramCallSink(RecordMessage);
  }
  void TearDown() override { SetProgramCallSink(nullptr); }
};

TEST_F(LoaderInProcess, LoadsOnceAndHandsOutWorkingObjects) {
  ISQLite* first = nullptr;
  ASSERT_EQ(CModuleLoader::GetModuleObject(CModuleLoader::kServices, &IID_ISQLite,
                                           reinterpret_cast<void**>(&first)), 0);
  ASSERT_NE(first, nullptr);
  HMODULE loaded = CModuleLoader::LoadedModule(CModuleLoader::kServices);
  EXPECT_NE(loaded, nullptr);
  EXPECT_EQ(loaded, GetModuleHandleW(L"Corvane.dll"));
  EXPECT_EQ(first->Exec("SELECT 1;", nullptr, nullptr), -1);  // a real, still closed, ISQLite

  ISQLite* second = nullptr;
  ASSERT_EQ(CModuleLoader::GetModuleObject(CModuleLoader::kServices, &IID_ISQLite,
                                           reinterpret_cast<void**>(&second)), 0);
  EXPECT_NE(second, first);  // a new object per request
  EXPECT_EQ(CModuleLoader::LoadedModule(CModuleLoader::kServices), loaded);
  first->Release();
  second->Release();
  EXPECT_TRUE(g_messages.empty());
}

TEST_F(LoaderInProcess, UnservedIdAndBadArgumentsFailSilentlyWithOutUntouched) {
  void* const sentinel = reinterpret_cast<void*>(0x5678);
  void* out = sentinel;
  EXPECT_EQ(CModuleLoader::GetModuleObject(CModuleLoader::kServices, &kUnserved, &out), 1);
  EXPECT_EQ(CModuleLoader::GetModuleObject(CModuleLoader::kServices, &IID_IXUnknown, &out), 1);
  EXPECT_EQ(CModuleLoader::GetModuleObject(CModuleLoader::kLibraryCount, &IID_ISQLite, &out), 1);
  EXPECT_EQ(CModuleLoader::GetModuleObject(-1, &IID_ISQLite, &out), 1);
  EXPECT_EQ(out, sentinel);
  EXPECT_TRUE(g_messages.empty());
}

TEST_F(LoaderInProcess, UnloadAllFreesTheLibraryAndTheNextRequestLoadsItAgain) {
  IXUnknown* object = nullptr;
  ASSERT_EQ(CModuleLoader::GetModuleObject(CModuleLoader::kServices, &IID_IMD5,
                                           reinterpret_cast<void**>(&object)), 0);
  object->Release();
  CModuleLoader::UnloadAll();
  EXPECT_EQ(CModuleLoader::LoadedModule(CModuleLoader::kServices), nullptr);
  EXPECT_EQ(GetModuleHandleW(L"Corvane.dll"), nullptr);
  ASSERT_EQ(CModuleLoader::GetModuleObject(CModuleLoader::kServices, &IID_IMD5,
                                           reinterpret_cast<void**>(&object)), 0);
  EXPECT_NE(CModuleLoader::LoadedModule(CModuleLoader::kServices), nullptr);
  object->Release();
}

// The probe in a folder of its own, with the runtime it needs and a chosen Corvane.dll.
class LoaderProbe : public ::testing::Test {
 protected:
  enum Library { kNone, kReal, kGarbage, kWithoutExport };

  void Prepare(Library library) {
    std::wstring bin = xtest::TestBinFolder();
    for (const wchar_t* f : {L"loaderprobe.exe", L"libstdc++-6.dll", L"libgcc_s_dw2-1.dll", L"libwinpthread-1.dll"}) {
      ASSERT_TRUE(xtest::CopyInto(bin + L"\\" + f, dir.Path())) << xtest::Narrow(f);
    }
    std::wstring target = dir / L"Corvane.dll";
    bool ok = true;
    if (library == kReal) ok = CopyFileW((bin + L"\\Corvane.dll").c_str(), target.c_str(), FALSE) != 0;
    if (library == kGarbage) ok = xtest::WriteBytes(target, std::string(4096, 'x'));
    if (library == kWithoutExport) ok = CopyFileW((bin + L"\\lua51.dll").c_str(), target.c_str(), FALSE) != 0;
    ASSERT_TRUE(ok);
  }

  bool Start(const std::wstring& steps) {
    std::wstring cmd = L"\"" + (dir / L"loaderprobe.exe") + L"\" \"" + out + L"\" " + steps;
    STARTUPINFOW si = {};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi = {};
    if (!CreateProcessW(nullptr, &cmd[0], nullptr, nullptr, FALSE, 0, nullptr, dir.Path().c_str(), &si, &pi))
      return false;
    process.Reset(pi.hProcess);
    CXHandle thread(pi.hThread);
    pid = pi.dwProcessId;
    return true;
  }

  std::vector<std::wstring> Run(const std::wstring& steps) {
    EXPECT_TRUE(Start(steps));
    EXPECT_EQ(WaitForSingleObject(process.Get(), 30000), WAIT_OBJECT_0);
    return Lines();
  }

  std::vector<std::wstring> Lines() {
    std::vector<std::wstring> lines;
    std::wstring all = xtest::ReadRecordedLines(out);
    for (size_t start = 0; start < all.size();) {
      size_t end = all.find(L'\n', start);
      if (end == std::wstring::npos) end = all.size();
      lines.push_back(all.substr(start, end - start));
      start = end + 1;
    }
    return lines;
  }

  void TearDown() override {
    if (process.Valid() && WaitForSingleObject(process.Get(), 0) == WAIT_TIMEOUT) {
      TerminateProcess(process.Get(), 1);
      WaitForSingleObject(process.Get(), 5000);
    }
  }

  xtest::TempDir dir;
  std::wstring out = dir / L"probe.log";
  CXHandle process;
  DWORD pid = 0;
};

TEST_F(LoaderProbe, MissingLibraryIsReportedWithItsFullPathOnEveryRequest) {
  Prepare(kNone);
  std::wstring message = L"message Error 16 Lack of file: " + (dir / L"Corvane.dll") + L" !";
  EXPECT_EQ(Run(L"get get"),
            (std::vector<std::wstring>{message, L"get 1 untouched", message, L"get 1 untouched", L"done"}));
}

TEST_F(LoaderProbe, LibraryStaysLoadedAfterTheFirstSuccess) {
  Prepare(kReal);
  // Once loaded, the file is not looked for again: a second request after it has gone works.
  EXPECT_EQ(Run(L"get hide get other"),
            (std::vector<std::wstring>{L"get 0", L"hidden", L"get 0", L"get 1 untouched", L"done"}));
}

TEST_F(LoaderProbe, UnloadableLibraryFailsWithoutMessage) {
  Prepare(kGarbage);
  EXPECT_EQ(Run(L"get get"), (std::vector<std::wstring>{L"get 1 untouched", L"get 1 untouched", L"done"}));
}

TEST_F(LoaderProbe, LibraryWithoutTheExportFailsWithoutMessage) {
  Prepare(kWithoutExport);
  EXPECT_EQ(Run(L"get"), (std::vector<std::wstring>{L"get 1 untouched", L"done"}));
}

struct FoundBox {
  DWORD pid;
  HWND hwnd;
};

BOOL CALLBACK FindErrorBox(HWND hwnd, LPARAM param) {
  auto* found = reinterpret_cast<FoundBox*>(param);
  DWORD owner = 0;
  GetWindowThreadProcessId(hwnd, &owner);
  wchar_t caption[64] = {0};
  GetWindowTextW(hwnd, caption, 64);
  if (owner == found->pid && IsWindowVisible(hwnd) && wcscmp(caption, L"Error") == 0) {
    found->hwnd = hwnd;
    return FALSE;
  }
  return TRUE;
}

TEST_F(LoaderProbe, RealProgramShowsAnErrorBoxWithTheMessage) {
  Prepare(kNone);
  ASSERT_TRUE(Start(L"box get"));
  FoundBox found = {pid, nullptr};
  ASSERT_TRUE(xtest::WaitFor([&] { EnumWindows(FindErrorBox, reinterpret_cast<LPARAM>(&found)); return found.hwnd != nullptr; }, 20000));
  wchar_t text[512] = {0};
  GetDlgItemTextW(found.hwnd, 0xFFFF, text, 512);  // the message box's text control
  EXPECT_EQ(std::wstring(text), L"Lack of file: " + (dir / L"Corvane.dll") + L" !");
  HWND icon = GetDlgItem(found.hwnd, 0x0440);
  EXPECT_TRUE(icon && IsWindowVisible(icon));  // MB_ICONERROR shows an icon
  PostMessageW(found.hwnd, WM_COMMAND, IDOK, 0);
  ASSERT_EQ(WaitForSingleObject(process.Get(), 20000), WAIT_OBJECT_0);
  EXPECT_EQ(Lines(), (std::vector<std::wstring>{L"get 1 untouched", L"done"}));
}

}  // namespace
