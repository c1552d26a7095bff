// CheckForNewVersion through the real Brindle.dll under Wine. The update description and the
// installer come from a loopback server; %TEMP% is a throwaway folder; the installer is a copy
// of recordargs.exe; the "main program" is a window of this thread that counts WM_CLOSE. The
// check runs on its own thread, as in the program, and this thread drives the dialog.
#include <windows.h>

#include <commctrl.h>
#include <gtest/gtest.h>

#include <atomic>
#include <mutex>
#include <string>
#include <vector>

#include "Brindle.h"
#include "LoopbackHttpServer.h"
#include "TestUtil.h"
#include "XUiLanguage.h"

namespace {

using Server = xtest::LoopbackHttpServer;

// The dialog's texts in the language of this process's UI (the Chinese ones are run with a
// Chinese UI language: see check.cmake).
struct DIALOG_TEXTS {
  const wchar_t *caption, *upgrade, *cancel, *waiting, *downloaded, *question;
};
const DIALOG_TEXTS kEnglish = {L"Pinvale Update", L"Update", L"Cancel", L"Waiting to download", L"Downloaded ",
                               L"A new version of Pinvale is available: 9.1.0.0. Update now?"};
const DIALOG_TEXTS kChinese = {L"Pinvale \u5347\u7EA7", L"\u5347\u7EA7", L"\u53D6\u6D88", L"\u7B49\u5F85\u4E0B\u8F7D",
                               L"\u5DF2\u4E0B\u8F7D ",
                               L"Pinvale\u6709\u65B0\u7248\u672C9.1.0.0\u4E86\uFF0C\u662F\u5426\u66F4\u65B0\uFF1F"};
const DIALOG_TEXTS& kTexts = XUserLanguage() == XLANG_CHINESE ? kChinese : kEnglish;
const wchar_t* const kCaption = kTexts.caption;
const wchar_t* const kUpgrade = kTexts.upgrade;
const wchar_t* const kCancel = kTexts.cancel;
const wchar_t* const kWaiting = kTexts.waiting;
const wchar_t* const kDownloaded = kTexts.downloaded;

// The run's language is the one its test entry asked for, so neither language goes untested.
TEST(CheckLanguage, TheRunHasTheLanguageItsEntryAskedFor) {
  const char* wanted = getenv("PINVALE_TEST_LANGUAGE");
  ASSERT_NE(wanted, nullptr);
  EXPECT_STREQ(wanted, XUserLanguage() == XLANG_CHINESE ? "zh" : "en");
}

std::atomic<int> g_parentCloses{0};

LRESULT CALLBACK ParentProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (msg == WM_CLOSE) {
    ++g_parentCloses;
    return 0;  // the test keeps its window
  }
  return DefWindowProcW(hwnd, msg, wParam, lParam);
}

std::wstring Text(HWND hwnd) {
  wchar_t text[512] = {0};
  GetWindowTextW(hwnd, text, 512);
  return text;
}

std::wstring Lower(std::wstring s) {
  for (wchar_t& c : s) c = static_cast<wchar_t>(towlower(c));
  return s;
}

// Whether the control's own font (not counting font linking) has a glyph for each character
// of its text: the Chinese texts must not show as boxes.
bool FontShowsText(HWND control) {
  std::wstring text = Text(control);
  HDC dc = GetDC(control);
  HGDIOBJ old = SelectObject(dc, reinterpret_cast<HFONT>(SendMessageW(control, WM_GETFONT, 0, 0)));
  std::vector<WORD> glyphs(text.size() + 1);
  DWORD n = GetGlyphIndicesW(dc, text.c_str(), static_cast<int>(text.size()), glyphs.data(),
                             GGI_MARK_NONEXISTING_GLYPHS);
  SelectObject(dc, old);
  ReleaseDC(control, dc);
  if (n == GDI_ERROR || text.empty()) return false;
  for (size_t i = 0; i < text.size(); ++i)
    if (glyphs[i] == 0xFFFF) return false;
  return true;
}

// Runs CheckForNewVersion on a thread of its own.
class CheckThread {
 public:
  CheckThread(PFN_CHECKFORNEWVERSION check, const std::wstring& iniUrl, const wchar_t* current, HWND parent)
      : m_check(check), m_url(iniUrl), m_hasCurrent(current != nullptr), m_current(current ? current : L""),
        m_parent(parent) {
    m_thread = CreateThread(nullptr, 0, &CheckThread::Main, this, 0, &m_id);
  }
  ~CheckThread() {
    if (m_thread) {
      WaitForSingleObject(m_thread, 30000);
      CloseHandle(m_thread);
    }
  }
  DWORD Id() const { return m_id; }
  bool Done() const { return !m_thread || WaitForSingleObject(m_thread, 0) == WAIT_OBJECT_0; }
  // Waits, pumping this thread's messages, until the check has returned.
  bool Finish(DWORD timeoutMs) { return xtest::WaitFor([this] { return Done(); }, timeoutMs); }
  BOOL Result() const { return m_result; }

  // The visible dialog of the check's thread.
  HWND WaitForDialog(DWORD timeoutMs = 15000) const {
    HWND found = nullptr;
    xtest::WaitFor([&] {
      EnumThreadWindows(m_id, &CheckThread::FindDialog, reinterpret_cast<LPARAM>(&found));
      return found != nullptr || Done();
    }, timeoutMs);
    return found;
  }

 private:
  static BOOL CALLBACK FindDialog(HWND hwnd, LPARAM out) {
    wchar_t cls[32] = {0};
    GetClassNameW(hwnd, cls, 32);
    if (wcscmp(cls, L"#32770") == 0 && IsWindowVisible(hwnd)) {
      *reinterpret_cast<HWND*>(out) = hwnd;
      return FALSE;
    }
    return TRUE;
  }
  static DWORD WINAPI Main(void* param) {
    CheckThread* self = static_cast<CheckThread*>(param);
    self->m_result = self->m_check(self->m_url.c_str(), L"Pinvale",
                                   self->m_hasCurrent ? self->m_current.c_str() : nullptr, self->m_parent);
    return 0;
  }

  PFN_CHECKFORNEWVERSION m_check;
  std::wstring m_url;
  bool m_hasCurrent;
  std::wstring m_current;
  HWND m_parent;
  HANDLE m_thread = nullptr;
  DWORD m_id = 0;
  BOOL m_result = -1;
};

// Windows created on the calling thread while it lives.
class WindowCreations {
 public:
  WindowCreations() { m_hook = SetWindowsHookExW(WH_CBT, &Hook, nullptr, GetCurrentThreadId()); s_count = 0; }
  ~WindowCreations() { UnhookWindowsHookEx(m_hook); }
  bool Active() const { return m_hook != nullptr; }
  int Count() const { return s_count; }

 private:
  static LRESULT CALLBACK Hook(int code, WPARAM wParam, LPARAM lParam) {
    if (code == HCBT_CREATEWND) ++s_count;
    return CallNextHookEx(nullptr, code, wParam, lParam);
  }
  static int s_count;
  HHOOK m_hook;
};
int WindowCreations::s_count = 0;

void Click(HWND dialog, int id) {
  PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(dialog, id)));
}

// Pixels of exactly this colour in what the control paints.
int PixelsOfColor(HWND control, COLORREF color) {
  RECT rc;
  GetClientRect(control, &rc);
  BITMAPINFO bi = {};
  bi.bmiHeader.biSize = sizeof bi.bmiHeader;
  bi.bmiHeader.biWidth = rc.right;
  bi.bmiHeader.biHeight = -rc.bottom;
  bi.bmiHeader.biPlanes = 1;
  bi.bmiHeader.biBitCount = 32;
  void* bits = nullptr;
  HDC dc = CreateCompatibleDC(nullptr);
  HBITMAP bmp = CreateDIBSection(dc, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
  HGDIOBJ old = SelectObject(dc, bmp);
  SendMessageW(control, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(dc), PRF_CLIENT);
  GdiFlush();
  DWORD want = (GetRValue(color) << 16) | (GetGValue(color) << 8) | GetBValue(color);
  int count = 0;
  const DWORD* px = static_cast<const DWORD*>(bits);
  for (int i = 0; bits && i < rc.right * rc.bottom; ++i) count += (px[i] & 0xFFFFFF) == want;
  SelectObject(dc, old);
  DeleteObject(bmp);
  DeleteDC(dc);
  return count;
}

class Check : public ::testing::Test {
 protected:
  void SetUp() override {
    GetEnvironmentVariableW(L"TEMP", m_savedTemp, MAX_PATH);
    GetEnvironmentVariableW(L"TMP", m_savedTmp, MAX_PATH);
    SetEnvironmentVariableW(L"TEMP", temp.Path().c_str());
    SetEnvironmentVariableW(L"TMP", temp.Path().c_str());
    SetEnvironmentVariableW(L"PINVALE_RECORD", record.c_str());
    module = LoadLibraryW((xtest::TestBinFolder() + L"\\Brindle.dll").c_str());
    ASSERT_TRUE(module);
    check = reinterpret_cast<PFN_CHECKFORNEWVERSION>(
        reinterpret_cast<void*>(GetProcAddress(module, BRINDLE_CHECK_EXPORT)));
    ASSERT_TRUE(check);
    WNDCLASSW wc = {};
    wc.lpfnWndProc = &ParentProc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = L"BrindleTestParent";
    RegisterClassW(&wc);
    parent = CreateWindowW(L"BrindleTestParent", L"parent", WS_OVERLAPPED, 0, 0, 100, 100, nullptr, nullptr,
                           wc.hInstance, nullptr);
    g_parentCloses = 0;
  }
  void TearDown() override {
    if (parent) DestroyWindow(parent);
    if (module) FreeLibrary(module);
    SetEnvironmentVariableW(L"PINVALE_RECORD", nullptr);
    SetEnvironmentVariableW(L"TEMP", m_savedTemp);
    SetEnvironmentVariableW(L"TMP", m_savedTmp);
  }

  void ServeIni(const std::string& text, bool withLength = true) {
    std::lock_guard<std::mutex> lock(m_mutex);
    m_ini = text;
    m_iniLength = withLength;
  }
  void ServeInstaller(const std::string& bytes) {
    std::lock_guard<std::mutex> lock(m_mutex);
    m_installer = bytes;
  }
  // An update description for section Pinvale announcing version, with the installer at path.
  void Announce(const std::string& version, const std::string& path, const std::string& info = "") {
    ServeIni("[Pinvale]\r\nversion=" + version + "\r\nurl=" + (path.empty() ? "" : server.BaseUrl() + path) +
             "\r\ninfo=" + info + "\r\n");
  }
  std::wstring IniUrl() const { return server.BaseUrlW() + L"/pinvale/update.ini"; }
  bool Requested(const std::string& target) const {
    for (const Server::Request& r : server.Requests())
      if (r.target == target) return true;
    return false;
  }
  std::wstring Recorded() const { return xtest::ReadRecordedLines(record); }

  xtest::TempDir temp;  // %TEMP% of the code under test
  xtest::TempDir work;
  std::wstring record = work / L"record.log";
  HMODULE module = nullptr;
  PFN_CHECKFORNEWVERSION check = nullptr;
  HWND parent = nullptr;

 private:
  std::mutex m_mutex;
  std::string m_ini;
  bool m_iniLength = true;
  std::string m_installer;
  wchar_t m_savedTemp[MAX_PATH] = {0};
  wchar_t m_savedTmp[MAX_PATH] = {0};

 protected:
  Server server{[this](const Server::Request& r) {
    std::lock_guard<std::mutex> lock(m_mutex);
    if (r.target == "/pinvale/update.ini") return Server::Response(200, m_ini, m_iniLength);
    if (r.target == "/dl/setup.exe" && !m_installer.empty()) return Server::Response(200, m_installer);
    return Server::Response(404, "<html>not found</html>");
  }};
};

}  // namespace

TEST_F(Check, VersionRuleDecidesWithoutDialogWhenNoUrl) {
  struct Case {
    std::string ini;
    const wchar_t* current;
    BOOL expected;
  } cases[] = {
      {"[Pinvale]\r\nversion=1.2.3.4\r\n", L"1.2.3.4", FALSE},
      {"[Pinvale]\r\nversion=1.2.3.10\r\n", L"1.2.3.4", TRUE},
      {"[Pinvale]\r\nversion=1.2.3.4\r\n", L"1.2.3.10", FALSE},
      {"[Pinvale]\r\nversion=2\r\n", L"1.9.9.9", TRUE},
      {"[Pinvale]\r\nversion=0.0.0.1\r\n", L"", TRUE},          // no current version: 0
      {"[Pinvale]\r\ninfo=no version key\r\n", L"0.9", TRUE},   // default 1.0.0.0
      {"[Pinvale]\r\ninfo=no version key\r\n", L"1.0.0.0", FALSE},
      {"[Other]\r\nversion=9.0.0.0\r\n", L"0.9.9.9", TRUE},      // no section: default 1.0.0.0
      {"[Other]\r\nversion=9.0.0.0\r\n", L"2.1.0.1", FALSE},
  };
  WindowCreations windows;
  ASSERT_TRUE(windows.Active());
  for (const Case& c : cases) {
    ServeIni(c.ini);
    EXPECT_EQ(check(IniUrl().c_str(), L"Pinvale", c.current, parent), c.expected) << c.ini << " vs " << xtest::Narrow(c.current);
  }
  EXPECT_EQ(windows.Count(), 0);  // an offered update without url shows no dialog
  EXPECT_TRUE(xtest::FilesIn(temp.Path()).empty());  // the temporary copies are gone
  EXPECT_EQ(server.RequestCount(), sizeof cases / sizeof cases[0]);
}

TEST_F(Check, ProgramWithoutVersionResourceIsVersionZero) {
  // This test program carries no version resource, so with no current version any announced
  // version above 0 is offered.
  ServeIni("[Pinvale]\r\nversion=0.0.0.1\r\n");
  EXPECT_TRUE(check(IniUrl().c_str(), L"Pinvale", nullptr, parent));
  ServeIni("[Pinvale]\r\nversion=0\r\n");
  EXPECT_FALSE(check(IniUrl().c_str(), L"Pinvale", nullptr, parent));
}

TEST_F(Check, UnusableDescriptionsAreSilentFailures) {
  ServeIni("[Pinvale]\r\nversion=9.0.0.0\r\n", false);  // no Content-Length
  EXPECT_FALSE(check(IniUrl().c_str(), L"Pinvale", L"1.0.0.0", parent));
  EXPECT_TRUE(Requested("/pinvale/update.ini"));
  // A 404 page is not a description (which would count as "no section", version 1.0.0.0).
  EXPECT_FALSE(check((server.BaseUrlW() + L"/nothing.ini").c_str(), L"Pinvale", L"0.5", parent));
  std::wstring gone;
  {
    Server other([](const Server::Request&) { return Server::Response(200, "[Pinvale]\r\nversion=9\r\n"); });
    gone = other.BaseUrlW() + L"/pinvale/update.ini";
  }
  EXPECT_FALSE(check(gone.c_str(), L"Pinvale", L"1.0", parent));
  EXPECT_FALSE(check(nullptr, L"Pinvale", L"1.0", parent));
  EXPECT_FALSE(check(IniUrl().c_str(), nullptr, L"1.0", parent));
  EXPECT_TRUE(xtest::FilesIn(temp.Path()).empty());
  EXPECT_EQ(g_parentCloses, 0);
}

TEST_F(Check, DialogShowsTheOfferAndCancelChangesNothing) {
  Announce("9.1.0.0", "/dl/setup.exe", "First line\\nSecond line");
  CheckThread run(check, IniUrl(), L"2.1.0.1", parent);
  HWND dlg = run.WaitForDialog();
  ASSERT_TRUE(dlg);
  EXPECT_EQ(Text(dlg), kCaption);
  EXPECT_EQ(GetWindow(dlg, GW_OWNER), nullptr);

  HWND question = nullptr;
  for (HWND child = GetWindow(dlg, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
    int id = GetDlgCtrlID(child);
    if (id == -1 || id == 0xFFFF) question = child;
  }
  ASSERT_TRUE(question);
  EXPECT_EQ(Text(question), kTexts.question);
  EXPECT_TRUE(FontShowsText(question));
  EXPECT_TRUE(FontShowsText(GetDlgItem(dlg, IDCANCEL)));

  HWND info = GetDlgItem(dlg, 1004);
  EXPECT_EQ(Text(info), L"First line\r\nSecond line");
  EXPECT_EQ(SendMessageW(info, EM_GETLINECOUNT, 0, 0), 2);
  EXPECT_EQ(Text(GetDlgItem(dlg, IDOK)), kUpgrade);
  EXPECT_TRUE(IsWindowEnabled(GetDlgItem(dlg, IDOK)));
  EXPECT_EQ(Text(GetDlgItem(dlg, IDCANCEL)), kCancel);
  EXPECT_FALSE(IsWindowVisible(GetDlgItem(dlg, 1002)));
  EXPECT_FALSE(IsWindowVisible(GetDlgItem(dlg, 1003)));
  EXPECT_EQ(Text(GetDlgItem(dlg, 1003)), kWaiting);
  EXPECT_EQ(Text(GetDlgItem(dlg, 1001)), L"www.tarquon.com");
  EXPECT_GT(PixelsOfColor(GetDlgItem(dlg, 1001), RGB(0, 0, 255)), 20);  // the browser's default link blue

  // Centred in the work area of its monitor.
  RECT rc;
  GetWindowRect(dlg, &rc);
  MONITORINFO mi = {};
  mi.cbSize = sizeof mi;
  GetMonitorInfoW(MonitorFromWindow(dlg, MONITOR_DEFAULTTONEAREST), &mi);
  EXPECT_NEAR((rc.left + rc.right) / 2, (mi.rcWork.left + mi.rcWork.right) / 2, 1);
  EXPECT_NEAR((rc.top + rc.bottom) / 2, (mi.rcWork.top + mi.rcWork.bottom) / 2, 1);

  Click(dlg, IDCANCEL);
  ASSERT_TRUE(run.Finish(10000));
  EXPECT_TRUE(run.Result());
  EXPECT_FALSE(IsWindow(dlg));
  EXPECT_FALSE(Requested("/dl/setup.exe"));
  xtest::PumpFor(200);
  EXPECT_EQ(g_parentCloses, 0);
  EXPECT_TRUE(Recorded().empty());
}

// The dialog's common controls stay in the process after the library is freed: a window of
// their classes that another thread made without a reference of its own goes on working.
TEST_F(Check, CommonControlsOutliveTheLibraryThatShowedTheDialog) {
  Announce("9.1.0.0", "/dl/setup.exe");
  {
    CheckThread run(check, IniUrl(), L"2.1.0.1", parent);
    HWND dlg = run.WaitForDialog();
    ASSERT_TRUE(dlg);
    Click(dlg, IDCANCEL);
    ASSERT_TRUE(run.Finish(10000));
  }
  HWND bar = CreateWindowW(PROGRESS_CLASSW, L"", WS_CHILD, 0, 0, 50, 10, parent, nullptr, nullptr, nullptr);
  ASSERT_TRUE(bar);
  FreeLibrary(module);
  module = nullptr;
  ASSERT_TRUE(xtest::WaitFor([] { return GetModuleHandleW(L"Brindle.dll") == nullptr; }, 30000));
  SendMessageW(bar, PBM_SETPOS, 7, 0);
  EXPECT_EQ(SendMessageW(bar, PBM_GETPOS, 0, 0), 7);
  EXPECT_TRUE(DestroyWindow(bar));
}

TEST_F(Check, LinkColourFollowsBrowserSettings) {
  const wchar_t* key = L"Software\\Microsoft\\Internet Explorer\\Settings";
  HKEY settings = nullptr;
  ASSERT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, key, 0, nullptr, 0, KEY_SET_VALUE, nullptr, &settings, nullptr),
            ERROR_SUCCESS);
  const wchar_t red[] = L"200,0,0";
  RegSetValueExW(settings, L"Anchor Color", 0, REG_SZ, reinterpret_cast<const BYTE*>(red), sizeof red);
  Announce("9.1.0.0", "/dl/setup.exe");
  {
    CheckThread run(check, IniUrl(), L"2.1.0.1", parent);
    HWND dlg = run.WaitForDialog();
    ASSERT_TRUE(dlg);
    EXPECT_GT(PixelsOfColor(GetDlgItem(dlg, 1001), RGB(200, 0, 0)), 20);
    EXPECT_EQ(PixelsOfColor(GetDlgItem(dlg, 1001), RGB(0, 0, 255)), 0);
    PostMessageW(dlg, WM_CLOSE, 0, 0);  // closing the window is cancelling
    EXPECT_TRUE(run.Finish(10000));
  }
  RegDeleteValueW(settings, L"Anchor Color");
  RegCloseKey(settings);
}

TEST_F(Check, FinishedDownloadStartsInstallerAndClosesProgram) {
  const std::string installer = xtest::ReadBytes(xtest::RecordArgsExe());
  ASSERT_GT(installer.size(), 50000u);
  ServeInstaller(installer);
  Announce("9.1.0.0", "/dl/setup.exe");
  CheckThread run(check, IniUrl(), L"2.1.0.1", parent);
  HWND dlg = run.WaitForDialog();
  ASSERT_TRUE(dlg);

  server.SetPacing(4096, 25);  // slow enough to watch the download
  Click(dlg, IDOK);
  HWND progress = GetDlgItem(dlg, 1002);
  HWND status = GetDlgItem(dlg, 1003);
  EXPECT_TRUE(xtest::WaitFor([&] {
    return IsWindowVisible(progress) && IsWindowVisible(status) && !IsWindowEnabled(GetDlgItem(dlg, IDOK)) &&
           SendMessageW(progress, PBM_GETPOS, 0, 0) > 0 && Text(status).find(kDownloaded) == 0;
  }, 10000));
  EXPECT_EQ(SendMessageW(progress, PBM_GETRANGE, TRUE, 0), 0);
  EXPECT_EQ(SendMessageW(progress, PBM_GETRANGE, FALSE, 0), 100);

  ASSERT_TRUE(run.Finish(30000));
  EXPECT_TRUE(run.Result());
  EXPECT_FALSE(IsWindow(dlg));
  std::wstring local = temp / L"setup.exe";
  EXPECT_EQ(xtest::ReadBytes(local), installer);
  ASSERT_TRUE(xtest::WaitFor([&] { return !Recorded().empty(); }, 15000));
  EXPECT_NE(Lower(Recorded()).find(Lower(local)), std::wstring::npos) << xtest::Narrow(Recorded());
  EXPECT_TRUE(xtest::WaitFor([&] { return g_parentCloses == 1; }, 5000));
  EXPECT_EQ(xtest::FilesIn(temp.Path()), std::vector<std::wstring>{L"setup.exe"});  // no stray temporary files
}

TEST_F(Check, FailedDownloadClosesDialogAndStartsNothing) {
  // A missing installer, and an address whose last segment is no file name.
  for (const char* path : {"/dl/missing.exe", "/dl/"}) {
    Announce("9.1.0.0", path);
    CheckThread run(check, IniUrl(), L"2.1.0.1", parent);
    HWND dlg = run.WaitForDialog();
    ASSERT_TRUE(dlg) << path;
    Click(dlg, IDOK);
    ASSERT_TRUE(run.Finish(15000)) << path;  // the dialog closes by itself
    EXPECT_TRUE(run.Result());
    EXPECT_FALSE(IsWindow(dlg));
  }
  EXPECT_TRUE(Requested("/dl/missing.exe"));
  EXPECT_FALSE(Requested("/dl/"));  // refused before any request
  xtest::PumpFor(300);
  EXPECT_EQ(g_parentCloses, 0);
  EXPECT_TRUE(Recorded().empty());
  EXPECT_TRUE(xtest::FilesIn(temp.Path()).empty());
}

TEST_F(Check, CancelDuringDownloadIsSafeWhenLibraryIsFreedAtOnce) {
  // Each piece of the installer comes after a pause longer than the dialog waits for its
  // worker, so the call returns while the worker still waits on the network.
  ServeInstaller(std::string(40 * 1024, 'i'));
  Announce("9.1.0.0", "/dl/setup.exe");
  CheckThread run(check, IniUrl(), L"2.1.0.1", parent);
  HWND dlg = run.WaitForDialog();
  ASSERT_TRUE(dlg);
  // The pause is far longer than the dialog's wait, so even a loaded machine returns from the
  // call while the worker is still blocked on the network.
  server.SetPacing(4096, 10000);
  Click(dlg, IDOK);
  ASSERT_TRUE(xtest::WaitFor([&] { return SendMessageW(GetDlgItem(dlg, 1002), PBM_GETPOS, 0, 0) > 0; }, 15000));
  DWORD start = GetTickCount();
  Click(dlg, IDCANCEL);
  ASSERT_TRUE(run.Finish(10000));
  EXPECT_LT(GetTickCount() - start, 8000u);  // the call does not wait for the next piece
  EXPECT_TRUE(run.Result());
  EXPECT_FALSE(IsWindow(dlg));

  // The program frees the library as soon as the call returns; the worker keeps it loaded
  // until it has wound down, then lets it go and leaves no partial installer behind.
  FreeLibrary(module);
  module = nullptr;
  EXPECT_NE(GetModuleHandleW(L"Brindle.dll"), nullptr);
  EXPECT_TRUE(xtest::WaitFor([] { return GetModuleHandleW(L"Brindle.dll") == nullptr; }, 30000));
  EXPECT_TRUE(xtest::FilesIn(temp.Path()).empty());
  xtest::PumpFor(200);
  EXPECT_EQ(g_parentCloses, 0);
  EXPECT_TRUE(Recorded().empty());
}
