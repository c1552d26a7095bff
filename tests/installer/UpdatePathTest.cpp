// The update path end to end: the installed program's update check, pointed at a loopback
// server, is offered a newer version whose address serves the setup program of that version.
// Confirmed, the installer lands in %TEMP%, starts, and the program closes; the setup's pages
// are then clicked through as a user would, and the newer installation starts the program.
#include <gtest/gtest.h>

#include "LoopbackHttpServer.h"
#include "SetupUtil.h"

namespace {

using namespace setup;
using Server = xtest::LoopbackHttpServer;

// A visible dialog whose caption starts with "Pinvale " (setup's, in whichever language).
BOOL CALLBACK FindSetupWindow(HWND hwnd, LPARAM lParam) {
  wchar_t caption[128] = {0}, cls[32] = {0};
  GetWindowTextW(hwnd, caption, 128);
  GetClassNameW(hwnd, cls, 32);
  if (!IsWindowVisible(hwnd) || wcscmp(cls, L"#32770") != 0 || wcsncmp(caption, L"Pinvale ", 8) != 0) return TRUE;
  *reinterpret_cast<HWND*>(lParam) = hwnd;
  return FALSE;
}

HWND SetupWindow() {
  HWND found = nullptr;
  EnumWindows(FindSetupWindow, reinterpret_cast<LPARAM>(&found));
  return found;
}

TEST_F(SetupTest, UpdaterDownloadsStartsAndCompletesTheNewerSetup) {
  ASSERT_EQ(Install(L"/CONTEXTMENU=0 /AUTOSTART=0"), 0u);
  const std::string newer = xtest::ReadBytes(NextSetupExe());
  ASSERT_GT(newer.size(), 100000u);
  const std::string name = "Pinvale-" + xtest::Narrow(NextVersion()) + "-setup.exe";
  Server server([&](const Server::Request& r) {
    if (r.target == "/pinvale/update.ini")
      return Server::Response(200, "[Pinvale]\r\nversion=" + xtest::Narrow(NextVersion()) + "\r\nurl=" +
                                       server.BaseUrl() + "/dl/" + name + "\r\ninfo=Newer\r\n");
    if (r.target == "/dl/" + name) return Server::Response(200, newer);
    return Server::Response(200, "ok");
  });
  std::map<std::wstring, std::wstring> env = box.Environment();
  env[L"PINVALE_TEST_UPDATE_URL"] = server.BaseUrlW() + L"/pinvale/update.ini";
  env[L"PINVALE_TEST_PING_URL"] = server.BaseUrlW() + L"/stat.php?";

  e2e::Program program(Folder(), box.AppData(), L"", env);
  HWND window = program.WaitForWindow();
  ASSERT_TRUE(window);
  e2e::SendPath(window, L"C:\\windows");
  ASSERT_TRUE(xtest::WaitFor([&] { return e2e::StoredPaths(box.Database()).size() == 1; }, 10000));

  HWND offer = nullptr;
  ASSERT_TRUE(xtest::WaitFor([&] {
    for (HWND h : program.Windows(L"#32770"))
      if (IsWindowVisible(h)) offer = h;
    return offer != nullptr;
  }, 30000));
  PressButton(offer, IDOK);

  // Downloaded into %TEMP% under the address's last segment, started, and the program closed.
  ASSERT_TRUE(program.WaitForExit(60000));
  EXPECT_EQ(xtest::ReadBytes(box.Temp() + L"\\" + xtest::Widen(name)), newer);
  HWND setupWindow = nullptr;
  ASSERT_TRUE(xtest::WaitFor([&] { return (setupWindow = SetupWindow()) != nullptr; }, 30000));
  DWORD pid = 0;
  GetWindowThreadProcessId(setupWindow, &pid);
  CXHandle setupProcess(OpenProcess(SYNCHRONIZE | PROCESS_QUERY_LIMITED_INFORMATION, FALSE, pid));
  ASSERT_TRUE(setupProcess.Valid());

  // Welcome, components, (no folder page on an upgrade), progress, finish: "Next" until done.
  int presses = 0;
  xtest::WaitFor([&] {
    if (WaitForSingleObject(setupProcess.Get(), 0) == WAIT_OBJECT_0) return true;
    HWND next = GetDlgItem(setupWindow, IDOK);
    if (next && IsWindowVisible(next) && IsWindowEnabled(next)) {
      PressButton(setupWindow, IDOK);
      ++presses;
      xtest::PumpFor(700);
    }
    return false;
  }, 120000);
  DWORD code = 0xFFFF;
  ASSERT_EQ(WaitForSingleObject(setupProcess.Get(), 0), WAIT_OBJECT_0);
  GetExitCodeProcess(setupProcess.Get(), &code);
  EXPECT_EQ(code, 0u);
  EXPECT_GE(presses, 3);

  EXPECT_EQ(ReadString(HKEY_LOCAL_MACHINE, kUninstallKey, L"DisplayVersion", KEY_WOW64_32KEY), NextVersion());
  std::vector<std::wstring> wrong;
  EXPECT_TRUE(SameFilesAsDist(Folder(), &wrong)) << Narrow(wrong);
  EXPECT_EQ(e2e::StoredPaths(box.Database()), std::vector<std::string>{"C:\\windows"});
  // The finish starts the program again (its choice is on by default when setup is shown).
  EXPECT_TRUE(xtest::WaitFor([] { return FindWindowW(L"XDROPEASYWND", L"Pinvale") != nullptr; }, 30000));
  e2e::EndStrayInstances();
}

}  // namespace
