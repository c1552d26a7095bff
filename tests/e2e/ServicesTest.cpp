// The start-up services seen from outside: the usage ping and the update check reach a
// loopback server of the test's own, and the tray icon is there, comes back when the taskbar
// is re-created, and its menu ends the program.
#include "LoopbackHttpServer.h"

#include <shellapi.h>

#include <gtest/gtest.h>

#include <cctype>
#include <string>

#include "E2eUtil.h"

namespace {

using Server = xtest::LoopbackHttpServer;

class ServicesTest : public e2e::CleanStateTest {
 protected:
  // Both services pointed at the server.
  std::map<std::wstring, std::wstring> Addresses(const Server& server) {
    return {{L"PINVALE_TEST_PING_URL", server.BaseUrlW() + L"/stat.php?src=pinvale&type=open&"},
            {L"PINVALE_TEST_UPDATE_URL", server.BaseUrlW() + L"/pinvale/update.ini"}};
  }
};

Server::Handler Answers() {
  return [](const Server::Request& r) {
    if (r.target == "/pinvale/update.ini") return Server::Response(200, "[Pinvale]\r\nversion=1.0.0.0\r\n");
    return Server::Response(200, "ok");
  };
}

size_t CountRequests(const Server& server, const std::string& prefix) {
  size_t n = 0;
  for (const auto& r : server.Requests()) n += r.target.rfind(prefix, 0) == 0;
  return n;
}

std::string PingUserId(const Server& server, size_t index) {
  size_t seen = 0;
  for (const auto& r : server.Requests()) {
    if (r.target.rfind("/stat.php", 0) != 0) continue;
    if (seen++ == index) {
      const std::string prefix = "/stat.php?src=pinvale&type=open&ver=2.1.0.1&userid=";
      return r.target.rfind(prefix, 0) == 0 ? r.target.substr(prefix.size()) : "bad target " + r.target;
    }
  }
  return "none";
}

bool IsLowerHex32(const std::string& s) {
  if (s.size() != 32) return false;
  for (char c : s)
    if (!std::isdigit(static_cast<unsigned char>(c)) && !(c >= 'a' && c <= 'f')) return false;
  return true;
}

TEST_F(ServicesTest, PingOncePerFirstInstanceStartWithTheSameIdentity) {
  Server server(Answers());
  ASSERT_NE(server.Port(), 0);
  e2e::Install install;
  {
    e2e::Program first(install, L"", Addresses(server));
    ASSERT_NE(first.WaitForWindow(), nullptr);
    ASSERT_TRUE(xtest::WaitFor([&] { return CountRequests(server, "/stat.php") == 1; }, 15000));
    e2e::Program second(install, L"", Addresses(server));
    DWORD code = 1;
    ASSERT_TRUE(second.WaitForExit(20000, &code));
    EXPECT_EQ(code, 0u);
    EXPECT_EQ(first.Exit(), 0u);
  }
  EXPECT_EQ(CountRequests(server, "/stat.php"), 1u);  // never from the second instance
  std::string id = PingUserId(server, 0);
  EXPECT_TRUE(IsLowerHex32(id)) << id;
  {
    e2e::Program again(install, L"", Addresses(server));
    ASSERT_NE(again.WaitForWindow(), nullptr);
    ASSERT_TRUE(xtest::WaitFor([&] { return CountRequests(server, "/stat.php") == 2; }, 15000));
    EXPECT_EQ(again.Exit(), 0u);
  }
  EXPECT_EQ(PingUserId(server, 1), id);
}

TEST_F(ServicesTest, UpdateCheckAsksForTheDescriptionAndOffersNothingOlder) {
  Server server(Answers());
  e2e::Install install;
  e2e::Program program(install, L"", Addresses(server));
  HWND main = program.WaitForWindow();
  ASSERT_NE(main, nullptr);
  EXPECT_TRUE(xtest::WaitFor([&] { return CountRequests(server, "/pinvale/update.ini") == 1; }, 20000));
  xtest::PumpFor(1000);
  EXPECT_EQ(program.Windows(L"#32770").size(), 0u);  // no dialog, no message
  EXPECT_EQ(program.Exit(), 0u);
}

TEST_F(ServicesTest, WithoutTheUpdaterTheProgramStartsAndShowsNothingElse) {
  Server server(Answers());
  e2e::Install install({L"Brindle.dll"});
  e2e::Program program(install, L"", Addresses(server));
  HWND main = program.WaitForWindow();
  ASSERT_NE(main, nullptr);
  ASSERT_TRUE(xtest::WaitFor([&] { return CountRequests(server, "/stat.php") == 1; }, 15000));
  xtest::PumpFor(1500);
  EXPECT_EQ(CountRequests(server, "/pinvale/update.ini"), 0u);
  EXPECT_EQ(program.Windows(L"#32770").size(), 0u);
  EXPECT_TRUE(IsWindowVisible(main));
  EXPECT_EQ(program.Exit(), 0u);
}

// Whether the shell knows the program's icon (window, id 0): modifying an unknown icon fails.
bool TrayIconPresent(HWND main) {
  NOTIFYICONDATAW data = {};
  data.cbSize = sizeof data;
  data.hWnd = main;
  data.uID = 0;
  data.uFlags = NIF_TIP;
  lstrcpynW(data.szTip, L"Pinvale", 128);
  return Shell_NotifyIconW(NIM_MODIFY, &data) != FALSE;
}

TEST_F(ServicesTest, TrayIconComesBackWithTheTaskbarAndItsMenuEndsTheProgram) {
  e2e::Install install;
  e2e::Program program(install);
  HWND main = program.WaitForWindow();
  ASSERT_NE(main, nullptr);
  ASSERT_TRUE(xtest::WaitFor([&] { return TrayIconPresent(main); }));

  // The shell forgets the icon (as when it restarts) and announces its new taskbar.
  NOTIFYICONDATAW data = {};
  data.cbSize = sizeof data;
  data.hWnd = main;
  ASSERT_TRUE(Shell_NotifyIconW(NIM_DELETE, &data));
  EXPECT_FALSE(TrayIconPresent(main));
  PostMessageW(main, RegisterWindowMessageW(L"TaskbarCreated"), 0, 0);
  EXPECT_TRUE(xtest::WaitFor([&] { return TrayIconPresent(main); }));

  // A left press on the icon brings a hidden window back.
  ShowWindow(main, SW_HIDE);
  ASSERT_TRUE(xtest::WaitFor([&] { return !IsWindowVisible(main); }));
  PostMessageW(main, WM_USER + 3, 0, WM_LBUTTONDOWN);
  EXPECT_TRUE(xtest::WaitFor([&] { return IsWindowVisible(main) != 0; }));

  // A right press opens the menu; its second item ends the program.
  PostMessageW(main, WM_USER + 3, 0, WM_RBUTTONDOWN);
  HWND menu = nullptr;
  ASSERT_TRUE(xtest::WaitFor([&] {
    std::vector<HWND> menus = program.Windows(L"#32768");
    for (HWND h : menus)
      if (IsWindowVisible(h)) menu = h;
    return menu != nullptr;
  }));
  // Two items one above the other (their texts and ids are checked in the tray test): the
  // second one fills the lower half of the menu.
  RECT box = {};
  ASSERT_TRUE(GetWindowRect(menu, &box));
  e2e::Click(POINT{(box.left + box.right) / 2, box.top + (box.bottom - box.top) * 3 / 4});
  DWORD code = 1;
  ASSERT_TRUE(program.WaitForExit(20000, &code));
  EXPECT_EQ(code, 0u);
  EXPECT_FALSE(xtest::FileExists(install.DatabasePath() + L"-journal"));
  EXPECT_TRUE(e2e::HotKeyIsFree());  // the destroy handling ran
}

}  // namespace
