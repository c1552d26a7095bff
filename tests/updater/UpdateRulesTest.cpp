// The updater's plain rules: version numbers, line breaks, installer names, header and colour
// values, and file versions read from real modules.
#include <gtest/gtest.h>

#include "LocalFiles.h"
#include "TestUtil.h"
#include "UpdateRules.h"

using brindle::VersionNumber;

namespace {
uint64_t V(uint64_t a, uint64_t b, uint64_t c, uint64_t d) { return (a << 48) | (b << 32) | (c << 16) | d; }
}  // namespace

TEST(VersionNumber, PartsCompareAsNumbers) {
  EXPECT_EQ(VersionNumber(L"1.2.3.4"), V(1, 2, 3, 4));
  EXPECT_LT(VersionNumber(L"1.2.3.4"), VersionNumber(L"1.2.3.10"));
  EXPECT_GT(VersionNumber(L"2"), VersionNumber(L"1.9.9.9"));
  EXPECT_EQ(VersionNumber(L"2"), V(2, 0, 0, 0));
  EXPECT_EQ(VersionNumber(L"1.2"), VersionNumber(L"1.2.0.0"));
  EXPECT_EQ(VersionNumber(L"2.1.0.1.99"), V(2, 1, 0, 1));  // a fifth part is ignored
}

TEST(VersionNumber, SeparatorsAndOddParts) {
  EXPECT_EQ(VersionNumber(L""), 0u);
  EXPECT_EQ(VersionNumber(L"1."), V(1, 0, 0, 0));       // nothing after the last dot: no part
  EXPECT_EQ(VersionNumber(L"1..2"), V(1, 0, 2, 0));     // an empty stretch between dots is a part
  EXPECT_EQ(VersionNumber(L".5"), V(0, 5, 0, 0));
  EXPECT_EQ(VersionNumber(L" 3.+4.7b.x"), V(3, 4, 7, 0));
  // A part cannot spill into its neighbour, and a negative part counts as 0.
  EXPECT_EQ(VersionNumber(L"1.2.3.70000"), V(1, 2, 3, 65535));
  EXPECT_LT(VersionNumber(L"1.2.3.70000"), VersionNumber(L"1.2.4.0"));
  EXPECT_EQ(VersionNumber(L"1.-1.0.0"), V(1, 0, 0, 0));
  EXPECT_EQ(VersionNumber(L"65535.65535.65535.65535"), UINT64_MAX);
}

TEST(UpdateRules, LineBreaks) {
  EXPECT_EQ(brindle::ExpandLineBreaks(L"First\\nSecond"), L"First\r\nSecond");
  EXPECT_EQ(brindle::ExpandLineBreaks(L"\\n\\n"), L"\r\n\r\n");
  EXPECT_EQ(brindle::ExpandLineBreaks(L"a\\tb\\"), L"a\\tb\\");
  EXPECT_EQ(brindle::ExpandLineBreaks(L"C:\\new"), L"C:\r\new");  // as written: every backslash-n
}

TEST(UpdateRules, InstallerFileName) {
  std::wstring name = L"unchanged";
  EXPECT_TRUE(brindle::InstallerFileName(L"http://example.test/dl/setup.exe", &name));
  EXPECT_EQ(name, L"setup.exe");
  EXPECT_TRUE(brindle::InstallerFileName(L"http://example.test/dl/Pinvale_2.2.exe?from=app#top", &name));
  EXPECT_EQ(name, L"Pinvale_2.2.exe");
  const wchar_t* refused[] = {
      L"http://example.test/dl/",         L"http://example.test/dl/..",       L"http://example.test/.",
      L"http://example.test/a\\..\\x.exe", L"http://example.test/a/x:y.exe",   L"http://example.test/a/x|y",
      L"http://example.test/a/nul.exe",   L"http://example.test/a/COM1",      L"http://example.test/a/setup.exe.",
      L"http://example.test/a/\"q\".exe",  L"",
  };
  for (const wchar_t* url : refused) {
    name = L"unchanged";
    EXPECT_FALSE(brindle::InstallerFileName(url, &name)) << url;
    EXPECT_EQ(name, L"unchanged");
  }
  EXPECT_TRUE(brindle::InstallerFileName(L"http://example.test/a/console.exe", &name));
}

TEST(UpdateRules, HeaderAndColourValues) {
  EXPECT_EQ(brindle::ParseContentLength(L"12345"), 12345u);
  EXPECT_EQ(brindle::ParseContentLength(L"  3000000000"), 3000000000u);
  EXPECT_EQ(brindle::ParseContentLength(L"abc"), 0u);
  EXPECT_EQ(brindle::ParseContentLength(L"-5"), 0u);
  EXPECT_EQ(brindle::ParseContentLength(L"99999999999999999999999"), 0u);
  EXPECT_EQ(brindle::ParseContentLength(static_cast<const wchar_t*>(nullptr)), 0u);

  uint32_t color = 7;
  EXPECT_TRUE(brindle::ParseColorText(L"0,0,255", &color));
  EXPECT_EQ(color, 0xFF0000u);  // COLORREF order: red in the low byte
  EXPECT_TRUE(brindle::ParseColorText(L" 200 , 1,2 ", &color));
  EXPECT_EQ(color, 0x0201C8u);
  for (const wchar_t* bad : {L"", L"1,2", L"1,2,3,4", L"256,0,0", L"a,b,c", L"1,,3"}) {
    EXPECT_FALSE(brindle::ParseColorText(bad, &color)) << bad;
  }
}

TEST(LocalFiles, FileVersions) {
  // The library carries the product's version resource; this test program carries none.
  EXPECT_EQ(brindle::FileVersionText(xtest::TestBinFolder() + L"\\Brindle.dll"), L"2.1.0.1");
  EXPECT_EQ(brindle::FileVersionText(xtest::TestBinFolder() + L"\\updater_rules_tests.exe"), L"");
  EXPECT_EQ(brindle::FileVersionText(xtest::TestBinFolder() + L"\\no such file.dll"), L"");
  EXPECT_EQ(brindle::RunningProgramVersion(), L"");
}

TEST(LocalFiles, TempFolderLongerThanItsBufferIsRefused) {
  wchar_t saved[MAX_PATH] = {0};
  GetEnvironmentVariableW(L"TEMP", saved, MAX_PATH);
  SetEnvironmentVariableW(L"TEMP", (L"C:\\" + std::wstring(300, L'x')).c_str());
  EXPECT_EQ(brindle::TempFolder(), L"");
  EXPECT_EQ(brindle::CreateUniqueFile(brindle::TempFolder(), L"brindle"), L"");
  SetEnvironmentVariableW(L"TEMP", saved);
}
