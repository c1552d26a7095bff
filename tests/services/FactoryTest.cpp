// The factory: which ids are served, interface lookup and reference counting.
#include <thread>
#include <vector>

#include "CorvaneLib.h"
#include "ITessaly.h"  // the image classes, which the service library must refuse

namespace {

class Factory : public ::testing::Test {
 protected:
  CorvaneLib lib;
};

TEST_F(Factory, ExportsOnlyUndecoratedCreateInstance) {
  ASSERT_TRUE(lib.Loaded());
  HMODULE m = GetModuleHandleW(L"Corvane.dll");
  ASSERT_NE(m, nullptr);
  auto* dos = reinterpret_cast<IMAGE_DOS_HEADER*>(m);
  auto* nt = reinterpret_cast<IMAGE_NT_HEADERS*>(reinterpret_cast<BYTE*>(m) + dos->e_lfanew);
  EXPECT_EQ(nt->FileHeader.Machine, IMAGE_FILE_MACHINE_I386);
  const auto& dir = nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_EXPORT];
  auto* exp = reinterpret_cast<IMAGE_EXPORT_DIRECTORY*>(reinterpret_cast<BYTE*>(m) + dir.VirtualAddress);
  ASSERT_EQ(exp->NumberOfNames, 1u);
  auto* names = reinterpret_cast<DWORD*>(reinterpret_cast<BYTE*>(m) + exp->AddressOfNames);
  EXPECT_STREQ(reinterpret_cast<const char*>(m) + names[0], "CreateInstance");
}

TEST_F(Factory, RefusesBaseUnservedAndUnknownIds) {
  ASSERT_TRUE(lib.Loaded());
  const GUID refused[] = {IID_IXUnknown, IID_XReserved1, IID_XReserved2, CLSID_TessalyPng,
                          CLSID_TessalyJpeg, CLSID_TessalyGifBmp,
                          {0x12345678, 0x1234, 0x1234, {1, 2, 3, 4, 5, 6, 7, 8}}};
  for (const GUID& id : refused) EXPECT_EQ(lib.Create<IXUnknown>(id), nullptr);
  // An id that differs from ISQLite's in its last byte only.
  GUID almost = IID_ISQLite;
  almost.Data4[7] ^= 1;
  EXPECT_EQ(lib.Create<IXUnknown>(almost), nullptr);
}

TEST_F(Factory, EveryServedIdGivesItsInterface) {
  ASSERT_TRUE(lib.Loaded());
  for (const GUID& id : {IID_ICPUInfo, IID_IDiskInfo, IID_IMD5, IID_IHash, IID_IRegister, IID_IStatistic,
                         IID_IVersion, IID_IXSocket, IID_ISQLite}) {
    IXUnknown* object = lib.Create<IXUnknown>(id);
    ASSERT_NE(object, nullptr);
    void* same = nullptr;
    EXPECT_EQ(object->QueryInterface(&id, &same), S_OK);
    EXPECT_EQ(same, static_cast<void*>(object));
    object->Release();
    object->Release();
  }
}

TEST_F(Factory, SqliteObjectAnswersItsIdsAndCountsReferences) {
  ISQLite* db = lib.Create<ISQLite>(IID_ISQLite);
  ASSERT_NE(db, nullptr);
  void* out = reinterpret_cast<void*>(1);
  EXPECT_EQ(db->QueryInterface(&IID_IMD5, &out), static_cast<HRESULT>(0x80004002));
  EXPECT_EQ(out, nullptr);

  void* base = nullptr;
  ASSERT_EQ(db->QueryInterface(&IID_IXUnknown, &base), S_OK);
  EXPECT_EQ(base, static_cast<void*>(db));  // IXUnknown yields the primary interface
  void* again = nullptr;
  ASSERT_EQ(db->QueryInterface(&IID_ISQLite, &again), S_OK);
  EXPECT_EQ(again, static_cast<void*>(db));
  // Fresh object had 1; two lookups make 3.
  EXPECT_EQ(db->AddRef(), 4);
  EXPECT_EQ(db->Release(), 3);
  EXPECT_EQ(db->Release(), 2);
  EXPECT_EQ(db->Release(), 1);
  EXPECT_EQ(db->Release(), 0);
}

TEST_F(Factory, EachCallMakesANewObject) {
  ISQLite* a = lib.Create<ISQLite>(IID_ISQLite);
  ISQLite* b = lib.Create<ISQLite>(IID_ISQLite);
  ASSERT_NE(a, nullptr);
  ASSERT_NE(b, nullptr);
  EXPECT_NE(a, b);
  EXPECT_EQ(a->Release(), 0);
  EXPECT_EQ(b->Release(), 0);
}

TEST_F(Factory, AtomicCountsSurviveManyThreads) {
  ISQLite* db = lib.Create<ISQLite>(IID_ISQLite);
  ASSERT_NE(db, nullptr);
  const int kThreads = 8, kRounds = 20000;
  std::vector<std::thread> threads;
  for (int t = 0; t < kThreads; ++t) {
    threads.emplace_back([db] {
      for (int i = 0; i < kRounds; ++i) db->AddRef();
      for (int i = 0; i < kRounds; ++i) db->Release();
    });
  }
  for (auto& t : threads) t.join();
  EXPECT_EQ(db->AddRef(), 2);
  EXPECT_EQ(db->Release(), 1);
  EXPECT_EQ(db->Release(), 0);
}

}  // namespace
