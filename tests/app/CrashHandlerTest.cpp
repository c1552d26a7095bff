// The crash handler as the program arms it, in a separate process (crashprobe.exe) that then
// fails: each way of failing leaves exactly one minidump "Pinvale_<guid>.dmp" in the folder,
// which is created when missing.
#include <gtest/gtest.h>

#include <cwctype>
#include <string>
#include <vector>

#include "CrashHandler.h"
#include "TestUtil.h"
#include "XWin.h"

namespace {

// Runs the probe; its exit code, or -1 when it did not end within the bound.
DWORD RunProbe(const std::wstring& folder, const wchar_t* kind) {
  std::wstring command = L"\"" + xtest::TestBinFolder() + L"\\crashprobe.exe\" \"" + folder + L"\" " + kind;
  STARTUPINFOW si = {sizeof si};
  PROCESS_INFORMATION pi = {};
  if (!CreateProcessW(nullptr, &command[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi)) return static_cast<DWORD>(-2);
  CXHandle process(pi.hProcess), thread(pi.hThread);
  if (WaitForSingleObject(pi.hProcess, 60000) != WAIT_OBJECT_0) {
    TerminateProcess(pi.hProcess, 99);
    return static_cast<DWORD>(-1);
  }
  DWORD code = 0;
  GetExitCodeProcess(pi.hProcess, &code);
  return code;
}

// "Pinvale_" + 8-4-4-4-12 lower-case hex digits + ".dmp".
bool IsDumpName(const std::wstring& name) {
  const std::wstring prefix = L"Pinvale_", suffix = L".dmp";
  if (name.size() != prefix.size() + 36 + suffix.size()) return false;
  if (name.compare(0, prefix.size(), prefix) != 0 || name.compare(name.size() - 4, 4, suffix) != 0) return false;
  for (size_t i = 0; i < 36; ++i) {
    wchar_t c = name[prefix.size() + i];
    bool dash = i == 8 || i == 13 || i == 18 || i == 23;
    if (dash ? c != L'-' : !(iswdigit(c) || (c >= L'a' && c <= L'f'))) return false;
  }
  return true;
}

void ExpectOneDump(const std::wstring& folder) {
  std::vector<std::wstring> files = xtest::FilesIn(folder);
  ASSERT_EQ(files.size(), 1u);
  EXPECT_TRUE(IsDumpName(files[0])) << xtest::Narrow(files[0]);
  std::string bytes = xtest::ReadBytes(folder + L"\\" + files[0]);
  ASSERT_GE(bytes.size(), 32u);
  EXPECT_EQ(bytes.substr(0, 4), "MDMP");
}

TEST(CrashHandler, DumpNameHasFolderPrefixAndGuid) {
  GUID id = {0x0123ABCD, 0x4567, 0x89EF, {0x01, 0x23, 0x45, 0x67, 0x89, 0xAB, 0xCD, 0xEF}};
  EXPECT_EQ(CCrashHandler::DumpFileName(L"C:\\d", L"Pinvale", id),
            CString(L"C:\\d\\Pinvale_0123abcd-4567-89ef-0123-456789abcdef.dmp"));
}

class CrashKinds : public ::testing::TestWithParam<const wchar_t*> {};

TEST_P(CrashKinds, LeaveOneMinidumpAndEndTheProcess) {
  xtest::TempDir dir;
  std::wstring folder = dir / L"Tarquon\\Pinvale";  // missing: the handler makes it
  DWORD code = RunProbe(folder, GetParam());
  EXPECT_NE(code, 0u);
  EXPECT_NE(code, 10u) << "handler not armed";
  EXPECT_NE(code, 20u) << "the probe did not fail";
  EXPECT_NE(code, static_cast<DWORD>(-1)) << "the probe hung";
  ExpectOneDump(folder);
}

INSTANTIATE_TEST_SUITE_P(Ways, CrashKinds,
                         ::testing::Values(L"access", L"stack", L"uistack", L"uitext", L"invalidparam", L"purecall",
                                           L"terminate"));

TEST(CrashHandler, DumpOnRequestKeepsTheProcessRunning) {
  xtest::TempDir dir;
  EXPECT_EQ(RunProbe(dir.Path(), L"write"), 0u);
  ExpectOneDump(dir.Path());
}

}  // namespace
