// The program's own texts follow the user's UI language, seen from outside: the settings
// dialog (the skin's tables), the folder picker's title (the program's table) and the update
// dialog (the updater's table). CMakeLists.txt runs these tests once with an English and once
// with a Chinese UI language (the locale of the Wine processes).
#include "LoopbackHttpServer.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "E2eUtil.h"
#include "XUiLanguage.h"

namespace {

using Server = xtest::LoopbackHttpServer;

struct TEXTS {
  const wchar_t *settingsCaption, *pickerTitle, *updateCaption, *updateQuestion, *upgrade, *notAnswering;
};
const TEXTS kEnglish = {L"Pinvale Settings", L"Choose a folder to add", L"Pinvale Update",
                        L"A new version of Pinvale is available: 9.0.0.0. Update now?", L"Update",
                        L"Pinvale is already running, but it does not respond"};
const TEXTS kChinese = {L"Pinvale \u8bbe\u7f6e", L"\u9009\u62e9\u8def\u5f84", L"Pinvale \u5347\u7ea7",
                        L"Pinvale\u6709\u65b0\u7248\u672c9.0.0.0\u4e86\uff0c\u662f\u5426\u66f4\u65b0\uff1f",
                        L"\u5347\u7ea7", L"Pinvale \u5df2\u5728\u8fd0\u884c\uff0c\u4f46\u6ca1\u6709\u54cd\u5e94"};

const POINT kSettingButton = {134, 74}, kAddButton = {62, 74};

class LanguageTest : public e2e::CleanStateTest {
 protected:
  void SetUp() override {
    e2e::CleanStateTest::SetUp();
    const char* wanted = getenv("PINVALE_TEST_LANGUAGE");
    ASSERT_NE(wanted, nullptr) << "the run names its UI language";
    chinese = std::string(wanted) == "zh";
    // The program started from here has this process's UI language.
    ASSERT_EQ(XUserLanguage(), chinese ? XLANG_CHINESE : XLANG_ENGLISH);
  }
  const TEXTS& Expected() const { return chinese ? kChinese : kEnglish; }
  bool chinese = false;
};

TEST_F(LanguageTest, SettingsAndFolderPickerSpeakTheUsersLanguage) {
  ASSERT_TRUE(e2e::SetOption(L"AutoHide", 0));
  e2e::Install install;
  e2e::Program program(install);
  HWND main = program.WaitForFocusedWindow();
  ASSERT_NE(main, nullptr);

  e2e::Click(e2e::ClientToScreenPoint(main, kSettingButton.x, kSettingButton.y));
  HWND settings = program.WaitForDialog(Expected().settingsCaption, true);
  ASSERT_NE(settings, nullptr);
  PostMessageW(settings, WM_COMMAND, 6, 0);
  ASSERT_TRUE(xtest::WaitFor([&] { return !IsWindow(settings); }));
  xtest::PumpFor(300);

  e2e::Click(e2e::ClientToScreenPoint(main, kAddButton.x, kAddButton.y));
  HWND picker = program.WaitForDialog(Expected().pickerTitle, false);
  ASSERT_NE(picker, nullptr);
  PostMessageW(picker, WM_COMMAND, IDCANCEL, 0);
  EXPECT_TRUE(xtest::WaitFor([&] { return !IsWindow(picker); }));
  EXPECT_EQ(program.Exit(), 0u);
}

TEST_F(LanguageTest, UpdateDialogSpeaksTheUsersLanguage) {
  Server server([](const Server::Request& r) {
    if (r.target == "/pinvale/update.ini")
      return Server::Response(200, "[Pinvale]\r\nversion=9.0.0.0\r\nurl=http://127.0.0.1:9/setup.exe\r\ninfo=x\r\n");
    return Server::Response(200, "ok");
  });
  ASSERT_NE(server.Port(), 0);
  e2e::Install install;
  e2e::Program program(install, L"",
                       {{L"PINVALE_TEST_PING_URL", server.BaseUrlW() + L"/stat.php?"},
                        {L"PINVALE_TEST_UPDATE_URL", server.BaseUrlW() + L"/pinvale/update.ini"}});
  ASSERT_NE(program.WaitForWindow(), nullptr);
  HWND dialog = program.WaitForDialog(Expected().updateCaption, true);
  ASSERT_NE(dialog, nullptr);
  EXPECT_NE(e2e::StaticTexts(dialog).find(Expected().updateQuestion), std::wstring::npos)
      << xtest::Narrow(e2e::StaticTexts(dialog));
  wchar_t upgrade[64] = {0};
  GetWindowTextW(GetDlgItem(dialog, IDOK), upgrade, 64);
  EXPECT_STREQ(upgrade, Expected().upgrade);
  PostMessageW(dialog, WM_COMMAND, IDCANCEL, 0);
  EXPECT_TRUE(xtest::WaitFor([&] { return !IsWindow(dialog); }));
  EXPECT_EQ(program.Exit(), 0u);
}

// A first instance whose UI thread stands still: a second start does not wait on it for good
// nor end without a word; it tells the user what is wrong and what to do. The first instance
// goes on once its thread does.
TEST_F(LanguageTest, SecondStartWhileTheFirstIsHungTellsTheUser) {
  e2e::Install install;
  e2e::Program first(install);
  HWND main = first.WaitForWindow();
  ASSERT_NE(main, nullptr);
  CXHandle uiThread(OpenThread(THREAD_SUSPEND_RESUME, FALSE, GetWindowThreadProcessId(main, nullptr)));
  ASSERT_TRUE(uiThread.Valid());
  ASSERT_NE(SuspendThread(uiThread.Get()), static_cast<DWORD>(-1));

  e2e::Program second(install);
  HWND box = second.WaitForMessageBox(L"Pinvale");
  EXPECT_NE(box, nullptr);
  if (box) {
    EXPECT_NE(e2e::StaticTexts(box).find(Expected().notAnswering), std::wstring::npos)
        << xtest::Narrow(e2e::StaticTexts(box));
    PostMessageW(box, WM_COMMAND, IDOK, 0);
  }
  DWORD code = 1;
  EXPECT_TRUE(second.WaitForExit(20000, &code));
  EXPECT_EQ(code, 0u);

  ResumeThread(uiThread.Get());
  EXPECT_EQ(first.Exit(), 0u);
}

}  // namespace
