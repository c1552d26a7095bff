// The UI manager end to end: real skins packed by the skin packer run through CXUIMgr on
// its UI thread inside the test host (a copy of the program's folder layout per run), with
// every message box going to the host's log instead of the screen.
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "TestUtil.h"
#include "UiTestUtil.h"

namespace {

struct HostRun {
  DWORD exitCode = 0;
  bool finished = false;
  std::string folder;  // the program folder the host ran in
  std::vector<std::string> lines;

  bool Has(const std::string& line) const {
    for (const std::string& l : lines)
      if (l == line) return true;
    return false;
  }
  bool HasPrefix(const std::string& prefix) const {
    for (const std::string& l : lines)
      if (l.compare(0, prefix.size(), prefix) == 0) return true;
    return false;
  }
  int IndexOf(const std::string& line) const {
    for (size_t i = 0; i < lines.size(); ++i)
      if (lines[i] == line) return static_cast<int>(i);
    return -1;
  }
  std::string All() const {
    std::string all;
    for (const std::string& l : lines) all += l + "\n";
    return all;
  }
};

// Lays out a program folder (host, framework, libraries, skin folder choosing the packed
// test skin) and runs the host in it.
HostRun RunHost(const std::wstring& skin, const std::wstring& scenario) {
  HostRun run;
  xtest::TempDir dir;
  run.folder = xtest::Narrow(dir.Path());
  const std::wstring bin = xtest::TestBinFolder();
  for (const wchar_t* file : {L"uimgrhost.exe", L"Wendora.dll", L"Corvane.dll", L"Oskel.dll", L"lua51.dll",
                              L"libexpat.dll", L"libstdc++-6.dll", L"libgcc_s_dw2-1.dll", L"libwinpthread-1.dll"}) {
    if (!xtest::CopyInto(bin + L"\\" + file, dir.Path())) {
      ADD_FAILURE() << "cannot copy " << xtest::Narrow(file);
      return run;
    }
  }
  const std::wstring skinFolder = dir / L"skin";
  CreateDirectoryW(skinFolder.c_str(), nullptr);
  xtest::WriteBytes(skinFolder + L"\\config.ini", "[skin]\r\nskin=test.xui\r\n");
  if (!CopyFileW(uitest::TestSkin(skin).c_str(), (skinFolder + L"\\test.xui").c_str(), FALSE)) {
    ADD_FAILURE() << "no packed skin " << xtest::Narrow(skin);
    return run;
  }

  std::wstring command = L"\"" + (dir / L"uimgrhost.exe") + L"\" " + scenario;
  STARTUPINFOW si = {};
  si.cb = sizeof si;
  PROCESS_INFORMATION pi = {};
  if (!CreateProcessW(nullptr, &command[0], nullptr, nullptr, FALSE, 0, nullptr, dir.Path().c_str(), &si, &pi)) {
    ADD_FAILURE() << "cannot start the host";
    return run;
  }
  run.finished = WaitForSingleObject(pi.hProcess, 30000) == WAIT_OBJECT_0;
  if (!run.finished) TerminateProcess(pi.hProcess, 99);
  WaitForSingleObject(pi.hProcess, 5000);
  GetExitCodeProcess(pi.hProcess, &run.exitCode);
  CloseHandle(pi.hThread);
  CloseHandle(pi.hProcess);
  std::istringstream log(xtest::ReadBytes(dir / L"host.log"));
  for (std::string line; std::getline(log, line);) run.lines.push_back(line);
  return run;
}

TEST(UiMgr, ASkinWithoutInitPostsReadyAndRunsNoScript) {
  HostRun run = RunHost(L"noinit", L"noinit");
  ASSERT_TRUE(run.finished);
  EXPECT_EQ(run.exitCode, 0u) << run.All();
  EXPECT_TRUE(run.Has("994")) << run.All();
  EXPECT_FALSE(run.HasPrefix("box|")) << run.All();  // "loaded" never ran
  EXPECT_TRUE(run.Has("main window|none|hidden")) << run.All();
  // The translator consumed one of the host's messages; the other was dispatched.
  EXPECT_TRUE(run.Has("consumed|1"));
  EXPECT_TRUE(run.Has("dispatched|2"));
  EXPECT_FALSE(run.Has("dispatched|1"));
  EXPECT_TRUE(run.Has("loop ended"));
}

// The application's loop also ends when the UI thread ends without posting WM_QUIT (ended by
// force, before any window): a program without its UI never lingers.
TEST(UiMgr, TheApplicationLoopEndsWhenTheUiThreadIsLost) {
  HostRun run = RunHost(L"noinit", L"lost");
  ASSERT_TRUE(run.finished) << run.All();
  EXPECT_TRUE(run.Has("ended|yes")) << run.All();
  EXPECT_TRUE(run.Has("loop ended|lost")) << run.All();
}

TEST(UiMgr, AFailingStartupScriptShowsTheErrorAndEndsWithMinusOne) {
  HostRun run = RunHost(L"syntax", L"noinit");
  ASSERT_TRUE(run.finished);
  EXPECT_EQ(run.exitCode, 0xFFFFFFFFu) << run.All();
  EXPECT_TRUE(run.Has("box|loaded|ran")) << run.All();
  EXPECT_TRUE(run.HasPrefix("box|error|[string \"line\"]:2:")) << run.All();
  EXPECT_FALSE(run.Has("box|init|never"));
  EXPECT_FALSE(run.Has("994"));
  EXPECT_FALSE(run.Has("loop ended"));
}

TEST(UiMgr, TheAppSkinShowsItsWindowAndItsScriptsWork) {
  HostRun run = RunHost(L"app", L"app");
  ASSERT_TRUE(run.finished) << run.All();
  EXPECT_EQ(run.exitCode, 0u) << run.All();
  // Start-up: "loaded" before "init", the module found beside the program.
  EXPECT_TRUE(run.Has("box|5|1")) << run.All();  // MessageBox(true, 5)
  EXPECT_TRUE(run.Has("box|loaded first|1"));
  EXPECT_TRUE(run.Has("box|before engine registration|1"));
  EXPECT_TRUE(run.Has("box|require|1")) << run.All();
  EXPECT_TRUE(run.Has("box|cpath|1"));
  EXPECT_TRUE(run.Has("box|path|" + run.folder)) << run.All();  // the framework library's folder
  EXPECT_TRUE(run.Has("box||"));  // nil and a table show as empty texts
  EXPECT_TRUE(run.Has("box|download|1")) << run.All();
  EXPECT_TRUE(run.Has("box|unknown template|1"));
  EXPECT_TRUE(run.Has("box|no window|0"));
  EXPECT_TRUE(run.Has("box|not a window|0"));
  EXPECT_TRUE(run.Has("box|created|1"));
  EXPECT_TRUE(run.Has("box|visible|1"));
  EXPECT_TRUE(run.Has("box|caption|UiHostMain"));
  EXPECT_TRUE(run.Has("box|no child|1"));
  EXPECT_TRUE(run.Has("box|one value per object|1"));
  EXPECT_TRUE(run.Has("box|wrong object|1"));

  // The window was created from its template and shown.
  EXPECT_TRUE(run.Has("create|main"));
  EXPECT_TRUE(run.Has("994"));
  EXPECT_LT(run.IndexOf("create|main"), run.IndexOf("994"));
  EXPECT_TRUE(run.Has("main window|found|visible")) << run.All();
  EXPECT_TRUE(run.Has("main class|XEASYWND"));

  // SetText: mode 0 widens with the ANSI code page (two characters), mode 1 with UTF-8
  // (one character), mode 2 empties the text.
  EXPECT_TRUE(run.Has("text|label1|00e9 ")) << run.All();
  EXPECT_TRUE(run.HasPrefix("text|label0|00c3 ")) << run.All();
  EXPECT_TRUE(run.Has("text|label2|")) << run.All();

  // The dialog ran modally over the main window, returned its result and was destroyed.
  EXPECT_TRUE(run.Has("create|dlg"));
  EXPECT_TRUE(run.Has("box|no dialog|1"));
  EXPECT_TRUE(run.Has("box|dialog|5")) << run.All();
  EXPECT_TRUE(run.Has("dialog destroyed"));
  EXPECT_LT(run.IndexOf("dialog destroyed"), run.IndexOf("box|dialog|5"));
  EXPECT_TRUE(run.Has("box|dialog gone|1"));

  // Both timers ran the second one's callback; the first callback never ran.
  EXPECT_TRUE(run.Has("box|timers done|3")) << run.All();
  EXPECT_FALSE(run.Has("box|tick|first"));
  EXPECT_TRUE(run.Has("box|after engine registration|42"));

  // A bound event calls its function with the object and the message's parameters; one
  // bound to a missing function shows the engine's error with an empty caption.
  EXPECT_TRUE(run.Has("box|click owner|1"));
  EXPECT_TRUE(run.Has("box|click|7")) << run.All();
  int missing = 0;
  for (const std::string& l : run.lines) missing += l.compare(0, 5, "box||") == 0 && l.size() > 5;
  EXPECT_EQ(missing, 1) << run.All();
  EXPECT_TRUE(run.HasPrefix("box||attempt to call a nil value")) << run.All();

  // Closing the main window ended the UI thread and then the application's loop.
  EXPECT_TRUE(run.Has("closing")) << run.All();
  EXPECT_TRUE(run.Has("loop ended"));
}

TEST(UiMgr, StrictGlobalsInTheSkinNeverTakeTheProgramDown) {
  HostRun run = RunHost(L"strict", L"strict");
  ASSERT_TRUE(run.finished) << run.All();
  EXPECT_EQ(run.exitCode, 0u) << run.All();
  // The application's registration was refused by the globals' metatable; start-up went on.
  EXPECT_TRUE(run.Has("box|created|1")) << run.All();
  EXPECT_TRUE(run.Has("box|host function refused|1")) << run.All();
  // A missing event function and a missing timer callback are reported like any script
  // error, with the metatable's message.
  EXPECT_TRUE(run.Has("box||undeclared global Missing")) << run.All();
  EXPECT_TRUE(run.Has("box||undeclared global NoTick")) << run.All();
  EXPECT_TRUE(run.Has("closing")) << run.All();
  EXPECT_TRUE(run.Has("loop ended"));
}

}  // namespace
