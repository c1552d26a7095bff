// The end-to-end helpers. Every wait is bounded; every process this code starts is ended by it.
#include "E2eUtil.h"

#include <shlobj.h>
#include <sqlite3.h>

#include <algorithm>

#include "XWin.h"

namespace e2e {

namespace {

void CopyFolder(const std::wstring& from, const std::wstring& to, std::initializer_list<const wchar_t*> without) {
  CreateDirectoryW(to.c_str(), nullptr);
  for (const xtest::FolderEntry& e : xtest::ListFolder(from)) {
    bool skip = false;
    for (const wchar_t* w : without) skip = skip || lstrcmpiW(w, e.name.c_str()) == 0;
    if (skip) continue;
    if (e.isFolder) {
      CopyFolder(from + L"\\" + e.name, to + L"\\" + e.name, without);
    } else {
      CopyFileW((from + L"\\" + e.name).c_str(), (to + L"\\" + e.name).c_str(), FALSE);
    }
  }
}

struct FindContext {
  DWORD pid;
  const wchar_t* className;
  std::vector<HWND>* found;
};

BOOL CALLBACK CollectWindow(HWND hwnd, LPARAM lParam) {
  auto* ctx = reinterpret_cast<FindContext*>(lParam);
  DWORD pid = 0;
  GetWindowThreadProcessId(hwnd, &pid);
  if (pid != ctx->pid) return TRUE;
  if (ctx->className) {
    wchar_t cls[64] = {0};
    GetClassNameW(hwnd, cls, 64);
    if (lstrcmpiW(cls, ctx->className) != 0) return TRUE;
  }
  ctx->found->push_back(hwnd);
  return TRUE;
}

BOOL CALLBACK CollectStatic(HWND hwnd, LPARAM lParam) {
  wchar_t cls[32] = {0};
  GetClassNameW(hwnd, cls, 32);
  if (lstrcmpiW(cls, L"Static") == 0) {
    wchar_t text[1024] = {0};
    GetWindowTextW(hwnd, text, 1024);
    if (text[0]) {
      auto* out = reinterpret_cast<std::wstring*>(lParam);
      if (!out->empty()) *out += L"\n";
      *out += text;
    }
  }
  return TRUE;
}

int CollectRow(void* context, int columns, char** values, char**) {
  std::vector<std::string> row;
  for (int i = 0; i < columns; ++i) row.push_back(values[i] ? values[i] : "<null>");
  static_cast<Rows*>(context)->push_back(row);
  return 0;
}

// The job of every program started here: closed (and its processes ended) when the test
// process ends.
HANDLE TestJob() {
  static HANDLE job = [] {
    HANDLE j = CreateJobObjectW(nullptr, nullptr);
    JOBOBJECT_EXTENDED_LIMIT_INFORMATION limits = {};
    limits.BasicLimitInformation.LimitFlags = JOB_OBJECT_LIMIT_KILL_ON_JOB_CLOSE;
    if (j) SetInformationJobObject(j, JobObjectExtendedLimitInformation, &limits, sizeof limits);
    return j;
  }();
  return job;
}

}  // namespace

HANDLE StartInJob(const std::wstring& commandLine, const std::map<std::wstring, std::wstring>& environment,
                  const wchar_t* folder, DWORD* pid) {
  std::vector<wchar_t> block = xtest::EnvironmentWith(environment);
  std::wstring command = commandLine;
  // No standard handles: the program never holds the test's output open.
  STARTUPINFOW si = {sizeof si};
  si.dwFlags = STARTF_USESTDHANDLES;
  PROCESS_INFORMATION pi = {};
  if (!CreateProcessW(nullptr, &command[0], nullptr, nullptr, FALSE, CREATE_UNICODE_ENVIRONMENT | CREATE_SUSPENDED,
                      block.data(), folder, &si, &pi))
    return nullptr;
  AssignProcessToJobObject(TestJob(), pi.hProcess);
  ResumeThread(pi.hThread);
  CloseHandle(pi.hThread);
  *pid = pi.dwProcessId;
  return pi.hProcess;
}

std::wstring DistFolder() {
  std::wstring path = xtest::Widen(PINVALE_E2E_DIST);
  std::replace(path.begin(), path.end(), L'/', L'\\');
  return L"Z:" + path;
}

Install::Install(std::initializer_list<const wchar_t*> without) {
  m_folder = m_dir / L"Pinvale";
  m_appData = m_dir / L"AppData";
  CopyFolder(DistFolder(), m_folder, without);
  CreateDirectoryW(m_appData.c_str(), nullptr);
}

Program::Program(const Install& install, const std::wstring& arguments,
                 const std::map<std::wstring, std::wstring>& environment)
    : Program(install.Folder(), install.AppData(), arguments, environment) {}

Program::Program(const std::wstring& folder, const std::wstring& appData, const std::wstring& arguments,
                 const std::map<std::wstring, std::wstring>& environment) {
  std::map<std::wstring, std::wstring> env = environment;
  env[L"APPDATA"] = appData;
  std::wstring command = L"\"" + folder + L"\\Pinvale.exe\"";
  if (!arguments.empty()) command += L" " + arguments;
  m_process.Reset(StartInJob(command, env, folder.c_str(), &m_pid));
}

Program::~Program() {
  if (!m_process.Valid()) return;
  if (WaitForSingleObject(m_process.Get(), 0) == WAIT_TIMEOUT) {
    TerminateProcess(m_process.Get(), 99);
    WaitForSingleObject(m_process.Get(), 10000);
  }
}

HWND Program::WaitForWindow(DWORD timeoutMs) {
  HWND found = nullptr;
  xtest::WaitFor(
      [&] {
        found = Window(L"XDROPEASYWND", L"Pinvale");
        // The skin shows the window once it is placed: wait for that too.
        return (found && IsWindowVisible(found)) || WaitForSingleObject(m_process.Get(), 0) == WAIT_OBJECT_0;
      },
      timeoutMs);
  return found;
}

bool Program::WaitForExit(DWORD timeoutMs, DWORD* code) {
  if (!m_process.Valid()) return false;
  bool ended = xtest::WaitFor([&] { return WaitForSingleObject(m_process.Get(), 0) == WAIT_OBJECT_0; }, timeoutMs);
  if (ended && code) GetExitCodeProcess(m_process.Get(), code);
  return ended;
}

DWORD Program::Exit(DWORD timeoutMs) {
  HWND main = WaitForWindow(5000);
  if (main) PostMessageW(main, WM_COMMAND, 1, 0);
  DWORD code = 0xFFFFFFFF;
  if (!WaitForExit(timeoutMs, &code)) return 0xFFFFFFFE;
  return code;
}

std::vector<HWND> Program::Windows(const wchar_t* className) const {
  std::vector<HWND> found;
  FindContext ctx = {m_pid, className, &found};
  EnumWindows(CollectWindow, reinterpret_cast<LPARAM>(&ctx));
  return found;
}

HWND Program::WaitForFocusedWindow() {
  HWND main = WaitForWindow();
  if (!main) return nullptr;
  SetForegroundWindow(main);
  xtest::PumpFor(300);
  return main;
}

HWND Program::WaitForDialog(const wchar_t* text, bool caption, DWORD timeoutMs) const {
  HWND found = nullptr;
  xtest::WaitFor(
      [&] {
        for (HWND h : Windows(L"#32770")) {
          wchar_t title[128] = {0};
          GetWindowTextW(h, title, 128);
          const bool match = caption ? std::wstring(title) == text : StaticTexts(h).find(text) != std::wstring::npos;
          if (IsWindowVisible(h) && match) found = h;
        }
        return found != nullptr;
      },
      timeoutMs);
  return found;
}

HWND Program::WaitForMessageBox(const wchar_t* caption, DWORD timeoutMs) const {
  HWND box = nullptr;
  // A box has its caption before its texts: wait for those too.
  xtest::WaitFor([&] { return (box = Window(L"#32770", caption)) != nullptr && !StaticTexts(box).empty(); }, timeoutMs);
  return box;
}

HWND Program::Window(const wchar_t* className, const wchar_t* caption) const {
  HWND found = nullptr;
  for (HWND h : Windows(className)) {
    wchar_t text[64] = {0};
    GetWindowTextW(h, text, 64);
    if (wcscmp(text, caption) == 0) found = h;
  }
  return found;
}

void Program::Kill() {
  if (!m_process.Valid()) return;
  TerminateProcess(m_process.Get(), 97);
  WaitForSingleObject(m_process.Get(), 10000);
}

void EndStrayInstances() {
  for (int i = 0; i < 10; ++i) {
    HWND h = FindWindowW(L"XDROPEASYWND", L"Pinvale");
    if (!h) return;
    DWORD pid = 0;
    GetWindowThreadProcessId(h, &pid);
    CXHandle process(OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, pid));
    if (!process.Valid()) return;
    TerminateProcess(process.Get(), 98);
    WaitForSingleObject(process.Get(), 10000);
  }
}

std::wstring StaticTexts(HWND window) {
  std::wstring out;
  EnumChildWindows(window, CollectStatic, reinterpret_cast<LPARAM>(&out));
  return out;
}

Rows Query(const std::wstring& database, const char* sql) {
  Rows rows;
  sqlite3* db = nullptr;
  if (sqlite3_open_v2(xtest::Narrow(database).c_str(), &db, SQLITE_OPEN_READONLY, nullptr) == SQLITE_OK) {
    sqlite3_exec(db, sql, CollectRow, &rows, nullptr);
  }
  sqlite3_close(db);
  return rows;
}

bool MakeDatabase(const std::wstring& database, const std::vector<std::wstring>& paths) {
  sqlite3* db = nullptr;
  bool ok = sqlite3_open(xtest::Narrow(database).c_str(), &db) == SQLITE_OK;
  std::string sql =
      "CREATE TABLE main(id INTEGER PRIMARY KEY AUTOINCREMENT, path varchar(260), color varchar(6), addtime "
      "DATETIME, accesstime TIMESTAMP, count INTEGER);";
  for (const std::wstring& p : paths) {
    char* quoted = sqlite3_mprintf("%Q", xtest::Narrow(p).c_str());
    sql += std::string("INSERT INTO main(path,color,addtime,accesstime,count) VALUES(") + quoted +
           ", 'ffffff', datetime('now','localtime'), datetime('now','localtime'), 0);";
    sqlite3_free(quoted);
  }
  ok = ok && sqlite3_exec(db, sql.c_str(), nullptr, nullptr, nullptr) == SQLITE_OK;
  sqlite3_close(db);
  return ok;
}

std::vector<std::string> StoredPaths(const std::wstring& database) {
  std::vector<std::string> paths;
  for (const auto& row : Query(database, "SELECT path FROM main ORDER BY id")) paths.push_back(row[0]);
  return paths;
}

POINT ClientToScreenPoint(HWND window, int x, int y) {
  POINT p = {x, y};
  ClientToScreen(window, &p);
  return p;
}

void MoveTo(POINT screen) {
  SetCursorPos(screen.x, screen.y);
  xtest::SendMouseEvent(MOUSEEVENTF_MOVE);  // a real move event at the new place
  xtest::PumpFor(60);
}

void Click(POINT screen, bool right) {
  MoveTo(screen);
  xtest::SendMouseEvent(right ? MOUSEEVENTF_RIGHTDOWN : MOUSEEVENTF_LEFTDOWN);
  xtest::PumpFor(40);
  xtest::SendMouseEvent(right ? MOUSEEVENTF_RIGHTUP : MOUSEEVENTF_LEFTUP);
  xtest::PumpFor(120);
}

void DoubleClick(POINT screen) {
  MoveTo(screen);
  for (int i = 0; i < 2; ++i) {
    xtest::SendMouseEvent(MOUSEEVENTF_LEFTDOWN);
    xtest::SendMouseEvent(MOUSEEVENTF_LEFTUP);
  }
  xtest::PumpFor(150);
}

void PressKey(WORD virtualKey) { PressKeys({}, virtualKey); }

void PressKeys(std::initializer_list<WORD> modifiers, WORD key) {
  std::vector<INPUT> input;
  auto add = [&](WORD vk, bool up) {
    INPUT i = {};
    i.type = INPUT_KEYBOARD;
    i.ki.wVk = vk;
    // With its scan code, as a keyboard sends it: controls that read the scan code (the
    // hotkey control, a tree's type-ahead) see the key that was pressed.
    i.ki.wScan = static_cast<WORD>(MapVirtualKeyW(vk, MAPVK_VK_TO_VSC));
    i.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
    input.push_back(i);
  };
  for (WORD m : modifiers) add(m, false);
  add(key, false);
  add(key, true);
  for (auto m = modifiers.end(); m != modifiers.begin();) add(*--m, true);
  SendInput(static_cast<UINT>(input.size()), input.data(), sizeof(INPUT));
  xtest::PumpFor(120);
}

bool HotKeyIsFree() {
  if (!RegisterHotKey(nullptr, 7, MOD_CONTROL | MOD_ALT, 0)) return false;
  UnregisterHotKey(nullptr, 7);
  return true;
}

void ResetUserState() {
  RegDeleteTreeW(HKEY_CURRENT_USER, L"Software\\Tarquon\\pinvale");
  RegDeleteKeyW(HKEY_CURRENT_USER, L"Software\\Tarquon\\pinvale");
  wchar_t startup[MAX_PATH] = {0};
  if (SHGetSpecialFolderPathW(nullptr, startup, CSIDL_STARTUP, FALSE)) DeleteFileW((std::wstring(startup) + L"\\Pinvale.lnk").c_str());
}

bool SetOption(const wchar_t* name, DWORD value) {
  return RegSetKeyValueW(HKEY_CURRENT_USER, L"Software\\Tarquon\\pinvale", name, REG_DWORD, &value, sizeof value) ==
         ERROR_SUCCESS;
}

LRESULT SendPath(HWND window, const std::wstring& path) {
  wchar_t buffer[260] = {0};
  path.copy(buffer, 259);
  COPYDATASTRUCT data = {1, sizeof buffer, buffer};
  DWORD_PTR result = 0;
  SendMessageTimeoutW(window, WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&data), SMTO_ABORTIFHUNG, 10000, &result);
  return static_cast<LRESULT>(result);
}

}  // namespace e2e
