// CStatistic through the real Corvane.dll: the ping reaches a loopback server with the
// program's version and the machine identity, the object is never destroyed, and pings
// leave no threads or handles behind.
#include <regex>
#include <string>

#include "CorvaneLib.h"
#include "LoopbackHttpServer.h"
#include "TestUtil.h"

#include <tlhelp32.h>
#include <wininet.h>

namespace {

using xtest::LoopbackHttpServer;

const char kQueryStart[] = "src=pinvale&type=open&";

class Statistic : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(lib.Loaded()); }
  std::wstring Base(const LoopbackHttpServer& server) {
    return server.BaseUrlW() + L"/stat.php?" + xtest::Widen(kQueryStart);
  }
  CorvaneLib lib;
};

// Open handles of this process, found by probing handle values (the system's own count is
// not available everywhere).
int HandleCount() {
  int n = 0;
  for (UINT_PTR value = 4; value < 0x10000; value += 4) {
    DWORD flags = 0;
    if (GetHandleInformation(reinterpret_cast<HANDLE>(value), &flags)) ++n;
  }
  return n;
}

int ThreadCount() {
  CXHandle snap(CreateToolhelp32Snapshot(TH32CS_SNAPTHREAD, 0));
  THREADENTRY32 entry = {};
  entry.dwSize = sizeof entry;
  int n = 0;
  if (Thread32First(snap.Get(), &entry)) {
    do {
      if (entry.th32OwnerProcessID == GetCurrentProcessId()) ++n;
    } while (Thread32Next(snap.Get(), &entry));
  }
  return n;
}

TEST_F(Statistic, PingCarriesVersionAndTheSameIdentityEveryTime) {
  LoopbackHttpServer server([](const LoopbackHttpServer::Request&) { return LoopbackHttpServer::Response(200, "ok"); });
  ASSERT_NE(server.Port(), 0);
  std::wstring base = Base(server);

  IStatistic* first = lib.Create<IStatistic>(IID_IStatistic);
  ASSERT_NE(first, nullptr);
  EXPECT_EQ(first->Send(base.c_str()), 1);
  ASSERT_TRUE(server.WaitForRequests(1, 15000));
  EXPECT_EQ(first->Send(base.c_str()), 1);  // the same object again
  IStatistic* second = lib.Create<IStatistic>(IID_IStatistic);
  ASSERT_NE(second, nullptr);
  EXPECT_EQ(second->Send(base.c_str()), 1);
  ASSERT_TRUE(server.WaitForRequests(3, 15000));

  char machine[33] = {0};
  CXComPtr<IRegister> reg(lib.Create<IRegister>(IID_IRegister));
  reg->GetMachineId(machine);

  // The test program carries the product version, as the main program does.
  const std::regex shape("/stat\\.php\\?src=pinvale&type=open&ver=2\\.1\\.0\\.1&userid=[0-9a-f]{32}");
  auto requests = server.Requests();
  ASSERT_EQ(requests.size(), 3u);
  DWORD state = 0;
  InternetGetConnectedState(&state, 0);
  const bool proxied = (state & INTERNET_CONNECTION_PROXY) != 0;
  for (const auto& r : requests) {
    EXPECT_EQ(r.method, "GET");
    if (!proxied) {
      EXPECT_NE(r.raw.find("\r\nUser-Agent: Mircrosoft Internet Explorer\r\n"), std::string::npos) << r.raw;
    }
    EXPECT_TRUE(std::regex_match(r.target, shape)) << r.target;
    EXPECT_EQ(r.target, requests[0].target);
  }
  EXPECT_EQ(requests[0].target.substr(requests[0].target.size() - 32), machine);
  first->Release();
  second->Release();
}

TEST_F(Statistic, IsNeverDestroyed) {
  IStatistic* stat = lib.Create<IStatistic>(IID_IStatistic);
  ASSERT_NE(stat, nullptr);
  EXPECT_EQ(stat->AddRef(), 1);  // its lookups add no reference: the count started at 0
  EXPECT_EQ(stat->Release(), 0);
  EXPECT_EQ(stat->Release(), -1);
  void* out = nullptr;
  ASSERT_EQ(stat->QueryInterface(&IID_IXUnknown, &out), S_OK);  // still there
  EXPECT_EQ(out, static_cast<void*>(stat));
  EXPECT_EQ(stat->Release(), -2);
  out = reinterpret_cast<void*>(1);
  EXPECT_EQ(stat->QueryInterface(&IID_IVersion, &out), static_cast<HRESULT>(0x80004002));
  EXPECT_EQ(out, nullptr);
}

TEST_F(Statistic, RefusesAnAddressThatDoesNotFitOrDoesNotExist) {
  LoopbackHttpServer server([](const LoopbackHttpServer::Request&) { return LoopbackHttpServer::Response(200, "ok"); });
  IStatistic* stat = lib.Create<IStatistic>(IID_IStatistic);
  ASSERT_NE(stat, nullptr);
  std::wstring tooLong = Base(server) + L"pad=" + std::wstring(2100, L'x') + L"&";
  EXPECT_EQ(stat->Send(tooLong.c_str()), 0);
  EXPECT_EQ(stat->Send(nullptr), 0);
  EXPECT_EQ(stat->Send(MAKEINTRESOURCEW(999)), 0);  // no such string in the library
  xtest::PumpFor(300);
  EXPECT_EQ(server.RequestCount(), 0u);
}

TEST_F(Statistic, DefaultAddressIsAStringOfTheLibrary) {
  HMODULE corvane = GetModuleHandleW(L"Corvane.dll");
  ASSERT_NE(corvane, nullptr);
  wchar_t text[2100] = {0};
  ASSERT_GT(LoadStringW(corvane, XIDS_PING_ADDRESS, text, 2100), 0);
  EXPECT_STREQ(text, XPingBaseAddress);
  EXPECT_EQ(std::wstring(text).find(L"http://"), 0u);
  EXPECT_NE(std::wstring(text).find(L"/stat.php?src=pinvale&type=open&"), std::wstring::npos);
}

TEST_F(Statistic, PingsLeaveNoThreadsOrHandlesBehind) {
  LoopbackHttpServer server([](const LoopbackHttpServer::Request&) { return LoopbackHttpServer::Response(200, "ok"); });
  std::wstring base = Base(server);
  IStatistic* stat = lib.Create<IStatistic>(IID_IStatistic);
  ASSERT_NE(stat, nullptr);
  // Warm up: the internet library keeps a few threads and handles of its own.
  for (int i = 0; i < 3; ++i) ASSERT_EQ(stat->Send(base.c_str()), 1);
  ASSERT_TRUE(server.WaitForRequests(3, 15000));
  xtest::PumpFor(500);
  const int handlesBefore = HandleCount();
  const int threadsBefore = ThreadCount();
  ASSERT_GT(handlesBefore, 0);

  const size_t pings = 20;
  for (size_t i = 0; i < pings; ++i) ASSERT_EQ(stat->Send(base.c_str()), 1);
  ASSERT_TRUE(server.WaitForRequests(3 + pings, 30000));
  EXPECT_TRUE(xtest::WaitFor([&] { return ThreadCount() <= threadsBefore; }, 10000))
      << ThreadCount() << " threads, " << threadsBefore << " before";
  int handlesAfter = 0;
  xtest::WaitFor([&] { return (handlesAfter = HandleCount()) <= handlesBefore + 2; }, 5000);
  EXPECT_LE(handlesAfter, handlesBefore + 2) << "handles before " << handlesBefore;
}

}  // namespace
