// The ping and the update check against a loopback server, with the real Corvane.dll and
// Brindle.dll beside the test; the addresses as built and as overridden for tests.
#include <gtest/gtest.h>

#include <string>

#include "BackgroundServices.h"
#include "LoopbackHttpServer.h"
#include "TestUtil.h"

namespace {

using Server = xtest::LoopbackHttpServer;

class EnvironmentValue {
 public:
  EnvironmentValue(const wchar_t* name, const std::wstring& value) : m_name(name) {
    SetEnvironmentVariableW(name, value.c_str());
  }
  ~EnvironmentValue() { SetEnvironmentVariableW(m_name, nullptr); }

 private:
  const wchar_t* m_name;
};

TEST(BackgroundServices, AddressesAsBuiltAndLoopbackOverridesOnly) {
  EXPECT_EQ(PingAddress(), CString(L"http://" PINVALE_TEST_PING_HOST L"/stat.php?src=pinvale&type=open&"));
  EXPECT_EQ(UpdateAddress(), CString(L"http://" PINVALE_TEST_UPDATE_HOST L"/pinvale/update.ini"));
  {
    EnvironmentValue v(L"PINVALE_TEST_PING_URL", L"http://127.0.0.1:8/stat.php?src=pinvale&type=open&");
    EXPECT_EQ(PingAddress(), CString(L"http://127.0.0.1:8/stat.php?src=pinvale&type=open&"));
  }
  {
    EnvironmentValue v(L"PINVALE_TEST_UPDATE_URL", L"http://example.org/pinvale/update.ini");
    EXPECT_EQ(UpdateAddress(), CString(L"http://" PINVALE_TEST_UPDATE_HOST L"/pinvale/update.ini"));
  }
  EXPECT_EQ(CBackgroundServices::UpdaterPath(), CString(xtest::TestBinFolder() + L"\\Brindle.dll"));
}

TEST(BackgroundServices, PingGoesOutOnceAndTheObjectIsKeptUntilReleased) {
  Server server([](const Server::Request&) { return Server::Response(200, "ok"); });
  ASSERT_NE(server.Port(), 0);
  EnvironmentValue v(L"PINVALE_TEST_PING_URL", server.BaseUrlW() + L"/stat.php?src=pinvale&type=open&");
  CBackgroundServices::SendPing();
  EXPECT_TRUE(CBackgroundServices::HasPingObject());
  CBackgroundServices::SendPing();  // one object, one ping per run
  ASSERT_TRUE(server.WaitForRequests(1, 10000));
  xtest::PumpFor(300);
  ASSERT_EQ(server.RequestCount(), 1u);
  EXPECT_EQ(server.Requests()[0].target.rfind("/stat.php?src=pinvale&type=open&", 0), 0u) << server.Requests()[0].target;
  CBackgroundServices::ReleasePing();
  EXPECT_FALSE(CBackgroundServices::HasPingObject());
  CBackgroundServices::ReleasePing();  // nothing held: nothing released
}

TEST(BackgroundServices, UpdateThreadAsksForTheUpdateDescription) {
  Server server([](const Server::Request&) {
    return Server::Response(200, "[Pinvale]\r\nversion=1.0.0.0\r\n");  // older: nothing offered
  });
  ASSERT_NE(server.Port(), 0);
  EnvironmentValue v(L"PINVALE_TEST_UPDATE_URL", server.BaseUrlW() + L"/pinvale/update.ini");
  CBackgroundServices::StartUpdateCheck(nullptr);
  ASSERT_TRUE(server.WaitForRequests(1, 15000));
  EXPECT_EQ(server.Requests()[0].target, "/pinvale/update.ini");
}

}  // namespace
