// CSystemInfo and CRegister through the real Corvane.dll under Wine: processor id format,
// drive letters and kinds, the disk model through the management service, and the machine
// identity that falls back to the processor id alone when the disk serial cannot be read.
#include <cpuid.h>
#include <objbase.h>

#include <cctype>
#include <cstdio>
#include <string>
#include <thread>

#include "CorvaneLib.h"

namespace {

bool UnderWine() { return GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "wine_get_version") != nullptr; }

bool IsLowerHex(const std::string& s) {
  for (char c : s)
    if (!isdigit(static_cast<unsigned char>(c)) && !(c >= 'a' && c <= 'f')) {
      return false;
    }
  return true;
}

class SystemInfo : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(lib.Loaded());
    cpu = lib.Create<ICPUInfo>(IID_ICPUInfo);
    ASSERT_NE(cpu, nullptr);
    void* out = nullptr;
    ASSERT_EQ(cpu->QueryInterface(&IID_IDiskInfo, &out), S_OK);
    disk = static_cast<IDiskInfo*>(out);
  }
  void TearDown() override {
    if (disk) disk->Release();
    if (cpu) {
      EXPECT_EQ(cpu->Release(), 0);
    }
  }
  std::string Md5(const std::string& text) {
    CXComPtr<IMD5> md5(lib.Create<IMD5>(IID_IMD5));
    char out[33] = {0};
    if (md5) md5->MD5String(text.c_str(), out);
    return out;
  }
  CorvaneLib lib;
  ICPUInfo* cpu = nullptr;
  IDiskInfo* disk = nullptr;
};

TEST_F(SystemInfo, BothInterfacesAreOneObject) {
  IDiskInfo* second = lib.Create<IDiskInfo>(IID_IDiskInfo);
  ASSERT_NE(second, nullptr);
  void* primary = nullptr;
  ASSERT_EQ(second->QueryInterface(&IID_ICPUInfo, &primary), S_OK);
  EXPECT_NE(primary, static_cast<void*>(second));
  void* back = nullptr;
  ASSERT_EQ(static_cast<ICPUInfo*>(primary)->QueryInterface(&IID_IDiskInfo, &back), S_OK);
  EXPECT_EQ(back, static_cast<void*>(second));
  EXPECT_EQ(second->AddRef(), 4);
  EXPECT_EQ(static_cast<ICPUInfo*>(primary)->Release(), 3);
  EXPECT_EQ(second->Release(), 2);
  EXPECT_EQ(second->Release(), 1);
  EXPECT_EQ(second->Release(), 0);
}

TEST_F(SystemInfo, ProcessorIdIsFlagsThenSignatureInUpperHex) {
  unsigned eax = 0, ebx = 0, ecx = 0, edx = 0;
  __cpuid(1, eax, ebx, ecx, edx);
  char expected[17];
  snprintf(expected, sizeof expected, "%08X%08X", edx, eax);
  char out[32];
  memset(out, '#', sizeof out);
  ASSERT_EQ(cpu->GetCPUID(out, sizeof out), 1);
  EXPECT_STREQ(out, expected);

  memset(out, '#', sizeof out);
  ASSERT_EQ(cpu->GetCPUID(out, 5), 1);
  EXPECT_EQ(std::string(out), std::string(expected, 4));
  EXPECT_EQ(out[5], '#');
  EXPECT_EQ(cpu->GetCPUID(nullptr, 20), 0);
}

TEST_F(SystemInfo, DriveLettersStopAtTheCapacityWithoutATerminator) {
  DWORD mask = GetLogicalDrives();
  std::wstring all;
  for (int bit = 0; bit < 26; ++bit)
    if (mask & (1u << bit)) all.push_back(static_cast<wchar_t>(L'A' + bit));
  ASSERT_GE(all.size(), 2u) << "the test prefix has C: and Z:";

  wchar_t out[8];
  wmemset(out, L'#', 8);
  ASSERT_EQ(disk->GetDriveLetters(out, 2), 1);
  EXPECT_EQ(std::wstring(out, 2), all.substr(0, 2));
  EXPECT_EQ(out[2], L'#');

  wchar_t many[40];
  wmemset(many, L'#', 40);
  ASSERT_EQ(disk->GetDriveLetters(many, 40), 1);
  EXPECT_EQ(std::wstring(many, all.size()), all);
  EXPECT_EQ(many[all.size()], L'#');

  EXPECT_EQ(disk->GetDriveLetters(out, 0), 1);
  EXPECT_EQ(out[0], all[0]);
}

TEST_F(SystemInfo, DriveKindOfALetterWithoutAVolumeIsZero) {
  DWORD mask = GetLogicalDrives();
  int tried = 0;
  for (int bit = 25; bit >= 0 && tried < 3; --bit) {
    if (mask & (1u << bit)) continue;
    ++tried;
    EXPECT_EQ(disk->GetDriveKind(static_cast<wchar_t>(L'A' + bit)), 0) << char('A' + bit);
  }
  EXPECT_GT(tried, 0);
  EXPECT_EQ(disk->GetDriveKind(L'?'), 0);
  int kind = disk->GetDriveKind(L'C');
  EXPECT_TRUE(kind >= 0 && kind <= 4);
}

TEST_F(SystemInfo, DiskModelNeedsTheComponentLayerAndStaysValid) {
  // Without COM on the calling thread there is no model.
  const char* withoutCom = reinterpret_cast<const char*>(1);
  std::thread([&] { withoutCom = disk->GetDiskModel(); }).join();
  EXPECT_EQ(withoutCom, nullptr);

  ASSERT_TRUE(SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)));
  const char* model = disk->GetDiskModel();
  if (UnderWine()) {
    ASSERT_NE(model, nullptr) << "the management service lists a disk drive";
  }
  if (model) {
    std::string copy = model;
    EXPECT_FALSE(copy.empty());
    EXPECT_LE(copy.size(), 259u);
    EXPECT_EQ(disk->GetDiskModel(), model);  // same storage, still valid after the call
    EXPECT_EQ(std::string(model), copy);
  }
  CoUninitialize();
}

TEST_F(SystemInfo, MachineIdIsTheDigestOfProcessorIdAndSerial) {
  char cpuId[20] = {0};
  ASSERT_EQ(cpu->GetCPUID(cpuId, sizeof cpuId), 1);
  char serial[20] = {0};
  int haveSerial = disk->GetDiskSerial(serial, sizeof serial);
  EXPECT_EQ(serial[19], 0);
  // Under Wine the device requests for disk identity fail: only the processor id counts.
  if (UnderWine()) {
    EXPECT_EQ(haveSerial, 0);
  }

  CXComPtr<IRegister> reg(lib.Create<IRegister>(IID_IRegister));
  ASSERT_TRUE(reg);
  char id[40];
  memset(id, 0, 33);
  memset(id + 33, '#', 7);
  reg->GetMachineId(id);
  EXPECT_EQ(strlen(id), 32u);
  EXPECT_TRUE(IsLowerHex(id)) << id;
  EXPECT_EQ(id[33], '#');
  std::string text = std::string(cpuId, 16) + (haveSerial ? std::string(serial).substr(0, 16) : std::string());
  EXPECT_EQ(std::string(id), Md5(text));
  if (!haveSerial) {
    EXPECT_EQ(std::string(id), Md5(cpuId));
  }

  // Same machine, same identity, from a fresh object as well.
  CXComPtr<IRegister> again(lib.Create<IRegister>(IID_IRegister));
  char id2[33] = {0};
  again->GetMachineId(id2);
  EXPECT_STREQ(id2, id);
  reg->GetMachineId(nullptr);  // ignored
}

}  // namespace
