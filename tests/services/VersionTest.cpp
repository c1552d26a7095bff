// CVersion: the operating-system code mapping and version text as pure rules, and file
// versions read through the real Corvane.dll from programs built with and without one.
#include <algorithm>
#include <string>

#include "CorvaneLib.h"
#include "TestUtil.h"
#include "VersionText.h"

namespace {

TEST(VersionMap, OperatingSystemCodes) {
  const DWORD nt = VER_PLATFORM_WIN32_NT;
  const WORD x86 = PROCESSOR_ARCHITECTURE_INTEL, x64 = PROCESSOR_ARCHITECTURE_AMD64;
  struct Case {
    DWORD platform, major, minor;
    WORD arch;
    int code;
  } cases[] = {
      {nt, 5, 0, x86, 2},  {nt, 5, 1, x86, 3},  {nt, 5, 2, x64, 4},  {nt, 5, 3, x86, 1},
      {nt, 6, 0, x64, 5},  {nt, 6, 1, x86, 6},  {nt, 6, 1, x64, 7},  {nt, 6, 1, PROCESSOR_ARCHITECTURE_IA64, 6},
      {nt, 6, 2, x64, 1},  {nt, 6, 3, x86, 1},  {nt, 10, 0, x64, 1}, {nt, 4, 0, x86, 1},
      {VER_PLATFORM_WIN32_WINDOWS, 4, 10, x86, 0}, {VER_PLATFORM_WIN32s, 3, 1, x86, 0},
  };
  for (const Case& c : cases)
    EXPECT_EQ(XMapOSVersion(c.platform, c.major, c.minor, c.arch), c.code)
        << c.platform << " " << c.major << "." << c.minor << " arch " << c.arch;
}

std::wstring Format(DWORD ms, DWORD ls, int capacity) {
  std::wstring out(32, L'#');
  XFormatFileVersion(ms, ls, &out[0], capacity);
  EXPECT_EQ(out[static_cast<size_t>(std::max(capacity, 1))], L'#') << "wrote past the capacity";
  return out.c_str();
}

TEST(VersionMap, VersionTextKeepsWithinTwoLessThanTheCapacity) {
  const DWORD ms = MAKELONG(20, 10), ls = MAKELONG(40, 30);
  EXPECT_EQ(Format(ms, ls, 20), L"10.20.30.40");
  EXPECT_EQ(Format(ms, ls, 13), L"10.20.30.40");
  EXPECT_EQ(Format(ms, ls, 12), L"10.20.30.4");
  EXPECT_EQ(Format(ms, ls, 5), L"10.");
  EXPECT_EQ(Format(ms, ls, 2), L"");
  EXPECT_EQ(Format(ms, ls, 1), L"");
  EXPECT_EQ(Format(0xFFFFFFFF, 0xFFFFFFFF, 30), L"65535.65535.65535.65535");  // words are unsigned
  std::wstring untouched(4, L'#');
  XFormatFileVersion(ms, ls, &untouched[0], 0);
  EXPECT_EQ(untouched, L"####");
}

class Version : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(lib.Loaded());
    version = lib.Create<IVersion>(IID_IVersion);
    ASSERT_NE(version, nullptr);
  }
  void TearDown() override { EXPECT_EQ(version->Release(), 0); }
  CorvaneLib lib;
  IVersion* version = nullptr;
};

TEST_F(Version, WritesTheWholeFileVersionWithCapacity20) {
  wchar_t out[24];
  wmemset(out, L'#', 24);
  std::wstring probe = xtest::TestBinFolder() + L"\\verprobe.exe";
  ASSERT_EQ(version->GetFileVersion(probe.c_str(), out, 20), 1);
  EXPECT_STREQ(out, L"10.20.30.40");
  EXPECT_EQ(out[12], L'#');

  wmemset(out, L'#', 24);
  ASSERT_EQ(version->GetFileVersion(probe.c_str(), out, 6), 1);
  EXPECT_STREQ(out, L"10.2");
  EXPECT_EQ(out[5], L'#');

  // The library's own version, which every deliverable carries.
  std::wstring corvane = xtest::TestBinFolder() + L"\\Corvane.dll";
  ASSERT_EQ(version->GetFileVersion(corvane.c_str(), out, 20), 1);
  EXPECT_STREQ(out, L"2.1.0.1");
}

TEST_F(Version, NoVersionResourceGivesZeroAndLeavesTheOutput) {
  xtest::TempDir dir;
  ASSERT_TRUE(xtest::WriteBytes(dir / L"plain.txt", "not a program"));
  const std::wstring files[] = {dir / L"plain.txt", xtest::RecordArgsExe(), dir / L"missing.exe"};
  for (const std::wstring& f : files) {
    wchar_t out[20];
    wmemset(out, L'#', 20);
    EXPECT_EQ(version->GetFileVersion(f.c_str(), out, 20), 0) << xtest::Narrow(f);
    EXPECT_EQ(std::wstring(out, 20), std::wstring(20, L'#'));
  }
  wchar_t out[4] = {L'#', L'#', L'#', L'#'};
  std::wstring probe = xtest::TestBinFolder() + L"\\verprobe.exe";
  EXPECT_EQ(version->GetFileVersion(probe.c_str(), out, 0), 0);
  EXPECT_EQ(version->GetFileVersion(probe.c_str(), nullptr, 20), 0);
  EXPECT_EQ(version->GetFileVersion(nullptr, out, 4), 0);
  EXPECT_EQ(out[0], L'#');
}

TEST_F(Version, OSVersionFollowsTheRunningSystem) {
  OSVERSIONINFOEXW info = {};
  info.dwOSVersionInfoSize = sizeof info;
  ASSERT_TRUE(GetVersionExW(reinterpret_cast<OSVERSIONINFOW*>(&info)));
  SYSTEM_INFO system = {};
  GetNativeSystemInfo(&system);
  int code = version->GetOSVersion();
  EXPECT_EQ(code, XMapOSVersion(info.dwPlatformId, info.dwMajorVersion, info.dwMinorVersion,
                                system.wProcessorArchitecture));
  EXPECT_GE(code, 1);  // always the NT family here
}

}  // namespace
