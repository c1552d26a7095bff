// The skin package: the packer's output read back by the framework, the index rules, and
// packages that are truncated or hostile. Also where the skin is looked for.
#include <gtest/gtest.h>

#include <string>

#include "PackageWriter.h"
#include "UiTestUtil.h"
#include "XSkinConfig.h"
#include "XSkinPackage.h"

namespace {

using skinpack::Entry;

std::string Extracted(const CXSkinPackage& package, const wchar_t* name, bool* found = nullptr) {
  XBuffer<unsigned char> out;
  int ok = package.Extract(out, name);
  if (found) *found = ok != 0;
  return uitest::ToBytes(out.GetData(), out.GetSize());
}

class PackageFile : public ::testing::Test {
 protected:
  // Writes package bytes into the temp folder and loads them; Load's result.
  int LoadBytes(CXSkinPackage& package, const std::string& bytes) {
    std::wstring path = dir / L"test.xui";
    EXPECT_TRUE(xtest::WriteBytes(path, bytes));
    return package.Load(path.c_str());
  }
  xtest::TempDir dir;
};

TEST_F(PackageFile, PackerOutputRoundTrips) {
  CXSkinPackage package;
  ASSERT_EQ(package.Load(uitest::TestSkin(L"basic").c_str()), 1);
  std::string bytes = Extracted(package, L"data\\bytes.bin");
  ASSERT_EQ(bytes.size(), 768u);
  for (size_t i = 0; i < bytes.size(); ++i) ASSERT_EQ(static_cast<unsigned char>(bytes[i]), i % 256) << i;
  EXPECT_EQ(Extracted(package, L"Res\\Main.XML"), "<View class=\"nothing\"/>\n");
  EXPECT_NE(Extracted(package, L"oninit.x").find("<XML class=\"Main\""), std::string::npos);
  // The empty file is in the package but not in the index.
  EXPECT_EQ(package.GetEntryCount(), 4);
}

TEST_F(PackageFile, NamesIgnoreCaseAndLaterDuplicatesWin) {
  CXSkinPackage package;
  ASSERT_EQ(LoadBytes(package, skinpack::BuildPackage({Entry{"Res\\Main.XML", "first"},
                                                       Entry{"other", "x"},
                                                       Entry{"RES\\main.xml", "second"}})),
            1);
  EXPECT_EQ(Extracted(package, L"res\\main.xml"), "second");
  EXPECT_EQ(Extracted(package, L"RES\\MAIN.XML"), "second");
  EXPECT_EQ(package.GetEntryCount(), 2);
  EXPECT_EQ(Extracted(package, L"Other"), "x");
}

TEST_F(PackageFile, ZeroSizeEntriesAreNotIndexedAndMissingExtractLeavesTheBuffer) {
  CXSkinPackage package;
  ASSERT_EQ(LoadBytes(package, skinpack::BuildPackage({Entry{"empty", ""}, Entry{"dir\\", ""}, Entry{"full", "abc"}})), 1);
  EXPECT_EQ(package.GetEntryCount(), 1);
  XBuffer<unsigned char> out;
  ASSERT_TRUE(out.Resize(2));
  out.GetData()[0] = 'k';
  EXPECT_EQ(package.Extract(out, L"empty"), 0);
  EXPECT_EQ(package.Extract(out, L"nothing"), 0);
  EXPECT_EQ(out.GetSize(), 2);
  EXPECT_EQ(out.GetData()[0], 'k');
  EXPECT_EQ(package.Extract(out, L"FULL"), 1);
  EXPECT_EQ(uitest::ToBytes(out.GetData(), out.GetSize()), "abc");
}

TEST_F(PackageFile, ForeignFirstSignatureLoadsEmpty) {
  CXSkinPackage package;
  std::string body = "PK\x01\x02 not a local entry";
  body += std::string(40, 'z');
  EXPECT_EQ(LoadBytes(package, skinpack::PackBody(body, 0)), 1);
  EXPECT_EQ(package.GetEntryCount(), 0);
  // Enciphered with another key, a real package reads as a foreign signature too.
  EXPECT_EQ(LoadBytes(package, skinpack::BuildPackage({Entry{"a", "b"}}, "otherkey")), 1);
  EXPECT_EQ(package.GetEntryCount(), 0);
}

TEST_F(PackageFile, CompressedEntryStopsTheWalkButKeepsEarlierEntries) {
  std::string body;
  skinpack::AppendLocalEntry(body, "before", "kept");
  skinpack::AppendLocalEntry(body, "deflated", "zzzz", 8);
  skinpack::AppendLocalEntry(body, "after", "lost");
  CXSkinPackage package;
  EXPECT_EQ(LoadBytes(package, skinpack::PackBody(body, 3)), 0);
  EXPECT_EQ(Extracted(package, L"before"), "kept");
  bool found = true;
  Extracted(package, L"after", &found);
  EXPECT_FALSE(found);
}

TEST_F(PackageFile, MissingShortAndHeaderOnlyFiles) {
  CXSkinPackage package;
  EXPECT_EQ(package.Load((dir / L"absent.xui").c_str()), 0);
  EXPECT_EQ(package.Load(nullptr), 0);
  EXPECT_EQ(LoadBytes(package, std::string(20, 'h')), 1);
  EXPECT_EQ(package.GetBodySize(), 0);
  EXPECT_EQ(LoadBytes(package, "tiny"), 1);
  EXPECT_EQ(package.GetEntryCount(), 0);
}

TEST_F(PackageFile, EveryTruncationEndsSafelyWithIntactEntries) {
  // Cut a real package at every length: whatever is indexed must be complete and exact.
  std::string full = xtest::ReadBytes(uitest::TestSkin(L"basic"));
  ASSERT_GT(full.size(), 1000u);
  CXSkinPackage reference;
  ASSERT_EQ(reference.Load(uitest::TestSkin(L"basic").c_str()), 1);
  for (size_t cut = 20; cut < full.size(); cut += 7) {
    CXSkinPackage package;
    LoadBytes(package, full.substr(0, cut));
    ASSERT_LE(package.GetEntryCount(), reference.GetEntryCount());
    for (const auto& kv : package.GetIndex()) {
      ASSERT_LE(static_cast<long long>(kv.second.dwOffset) + kv.second.dwSize, package.GetBodySize()) << cut;
      ASSERT_EQ(Extracted(package, kv.first.c_str()), Extracted(reference, kv.first.c_str())) << cut;
    }
  }
}

TEST(PackageWalk, HostileHeadersNeverReachPastTheBody) {
  std::string entry;
  skinpack::AppendLocalEntry(entry, "name", "data");
  auto walk = [](const std::string& body, XPackageIndex& index) {
    return XIndexPackageBody(reinterpret_cast<const unsigned char*>(body.data()), static_cast<int>(body.size()), index);
  };
  XPackageIndex index;
  std::string hugeName = entry;
  hugeName[26] = '\xFF';
  hugeName[27] = '\xFF';
  EXPECT_EQ(walk(hugeName, index), 0);
  std::string hugeData = entry;
  hugeData.replace(18, 4, "\xFF\xFF\xFF\x7F");
  EXPECT_EQ(walk(hugeData, index), 0);
  std::string wrapData = entry;
  wrapData.replace(18, 4, "\xF0\xFF\xFF\xFF");  // would wrap a 32-bit offset
  EXPECT_EQ(walk(wrapData, index), 0);
  std::string hugeExtra = entry;
  hugeExtra[28] = '\x00';
  hugeExtra[29] = '\x80';
  EXPECT_EQ(walk(hugeExtra, index), 0);
  EXPECT_EQ(walk(entry.substr(0, 29), index), 0);  // header cut short
  EXPECT_EQ(walk(entry.substr(0, 3), index), 0);   // signature cut short
  EXPECT_TRUE(index.empty());
  // A good entry followed by a torn one keeps the good one.
  EXPECT_EQ(walk(entry + entry.substr(0, 33), index), 0);
  ASSERT_EQ(index.size(), 1u);
  EXPECT_EQ(index.begin()->second.dwOffset, 34u);
  EXPECT_EQ(index.begin()->second.dwSize, 4u);
}

TEST(PackageWalk, LongNamesAreIndexedByFullNameAndStoredCut) {
  std::string name(300, 'n');
  std::string body;
  skinpack::AppendLocalEntry(body, name, "v");
  XPackageIndex index;
  EXPECT_EQ(XIndexPackageBody(reinterpret_cast<const unsigned char*>(body.data()), static_cast<int>(body.size()), index), 1);
  ASSERT_EQ(index.size(), 1u);
  EXPECT_EQ(index.begin()->first.size(), 300u);
  EXPECT_EQ(strlen(index.begin()->second.szName), 259u);
}

TEST(SkinChoice, ConfigurationDecidesThePackageName) {
  xtest::TempDir dir;
  EXPECT_EQ(CXSkinConfig::ChooseSkinName(dir.Path().c_str()), L"DefaultSkin.xui");
  ASSERT_TRUE(xtest::WriteBytes(dir / L"config.ini", "[skin]\r\nskin=Blue.xui\r\n"));
  EXPECT_EQ(CXSkinConfig::ChooseSkinName(dir.Path().c_str()), L"Blue.xui");
  ASSERT_TRUE(xtest::WriteBytes(dir / L"config.ini", "[skin]\r\nother=Blue.xui\r\n"));
  EXPECT_EQ(CXSkinConfig::ChooseSkinName(dir.Path().c_str()), L"");
}

TEST(SkinChoice, TheDefaultSkinBesideTheProgramLoads) {
  EXPECT_EQ(CXSkinConfig::SkinFolder(), CString((xtest::TestBinFolder() + L"\\skin").c_str()));
  EXPECT_EQ(CXSkinConfig::PackagePath(), CString((xtest::TestBinFolder() + L"\\skin\\DefaultSkin.xui").c_str()));
  ASSERT_EQ(CXSkinConfig::LoadChosenSkin(), 1);
  XBuffer<unsigned char> start;
  EXPECT_EQ(XExtractSkinFile(start, L"ONINIT.X"), 1);
  EXPECT_NE(uitest::ToBytes(start.GetData(), start.GetSize()).find("res.font"), std::string::npos);
}

}  // namespace
