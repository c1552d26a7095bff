// Start-up of the real Pinvale.exe, timed from outside: a copy of the output folder started on
// prepared databases of 0, 1,000, 10,000 and 100,000 favourites (the store's own table
// statement, realistic paths of many types) and, in the same rounds, a bare window program.
// Each start is timed from CreateProcess to its window being visible; resident memory is read
// from /proc once the window has settled. Then, per database, what a running program costs:
// an add by copy-data, a wheel notch with its frame. Prints figures only.
//
// Usage: bench_start [runs per program] [cap in seconds] [favourite counts...]; the output
// folder may be named by PINVALE_BENCH_DIST.
#include <windows.h>
#include <psapi.h>
#include <sqlite3.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cwchar>
#include <map>
#include <string>
#include <vector>

#include "BenchTimer.h"
#include "TestUtil.h"
#include "XWin.h"

using xbench::Median;
using xbench::Now;

namespace {

const wchar_t kMainClass[] = L"XDROPEASYWND";
const wchar_t kMainCaption[] = L"Pinvale";
const wchar_t kBareClass[] = L"PinvaleBareWindow";
const wchar_t kBareCaption[] = L"Bare";
const DWORD kSettleMs = 1500;  // after the window shows, before memory is read
const int kAnswerSamples = 20;

// The build's output folder, or the one named by PINVALE_BENCH_DIST (an earlier build kept
// for a before-and-after comparison).
std::wstring DistFolder() {
  wchar_t other[MAX_PATH] = {0};
  const DWORD n = GetEnvironmentVariableW(L"PINVALE_BENCH_DIST", other, MAX_PATH);
  std::wstring path = n > 0 && n < MAX_PATH ? std::wstring(other) : xtest::Widen(PINVALE_BENCH_DIST);
  std::replace(path.begin(), path.end(), L'/', L'\\');
  return path.size() > 1 && path[1] == L':' ? path : L"Z:" + path;
}

void CopyFolder(const std::wstring& from, const std::wstring& to) {
  CreateDirectoryW(to.c_str(), nullptr);
  for (const xtest::FolderEntry& e : xtest::ListFolder(from)) {
    if (e.isFolder) CopyFolder(from + L"\\" + e.name, to + L"\\" + e.name);
    else CopyFileW((from + L"\\" + e.name).c_str(), (to + L"\\" + e.name).c_str(), FALSE);
  }
}

// ---------------------------------------------------------------------------------------
// Prepared favourites

// Real files and folders for a share of the rows (a user's favourites mostly exist).
std::vector<std::wstring> MakeRealItems(const std::wstring& root) {
  static const wchar_t* kinds[] = {L"txt", L"docx", L"xlsx", L"pdf", L"png", L"jpg", L"exe", L"lnk", L"zip",
                                   L"cpp", L"h", L"py", L"mp3", L"mp4", L"html", L"ini"};
  std::vector<std::wstring> items;
  CreateDirectoryW(root.c_str(), nullptr);
  for (int f = 0; f < 60; ++f) {
    wchar_t folder[MAX_PATH];
    swprintf(folder, MAX_PATH, L"%ls\\Project %02d", root.c_str(), f);
    CreateDirectoryW(folder, nullptr);
    items.push_back(folder);
    for (int k = 0; k < 16; ++k) {
      wchar_t file[MAX_PATH];
      swprintf(file, MAX_PATH, L"%ls\\notes %d.%ls", folder, k, kinds[(f + k) % 16]);
      xtest::WriteBytes(file, "x");
      items.push_back(file);
    }
  }
  return items;
}

// Row i's path: every tenth one of the real items, the others the shapes users keep.
std::string RowPath(int i, const std::vector<std::wstring>& real) {
  if (i % 10 == 0) return xtest::Narrow(real[static_cast<size_t>(i / 10) % real.size()]);
  static const char* shapes[] = {
      "C:\\Users\\bench\\Documents\\Clients\\Client %d\\Offer %d.docx",
      "C:\\Users\\bench\\Documents\\Budget %d\\Sheet %d.xlsx",
      "C:\\Users\\bench\\Pictures\\%d\\IMG_%05d.jpg",
      "C:\\Users\\bench\\Pictures\\Scans %d\\scan %d.png",
      "C:\\Users\\bench\\Music\\Album %d\\Track %02d.mp3",
      "C:\\Users\\bench\\Videos\\Trip %d\\clip %d.mp4",
      "C:\\Users\\bench\\Downloads\\setup-%d.%d.exe",
      "C:\\Users\\bench\\Desktop\\Shortcut %d-%d.lnk",
      "C:\\Program Files\\Vendor %d\\Tool %d\\tool.exe",
      "C:\\Users\\bench\\Projects\\repo%d\\src\\module%d.cpp",
      "C:\\Users\\bench\\Projects\\repo%d\\include\\module%d.h",
      "C:\\Users\\bench\\Projects\\scripts %d\\job%d.py",
      "D:\\Archive\\%d\\backup %d.zip",
      "D:\\Archive\\Mail %d\\export %d.pst",
      "C:\\Users\\bench\\Documents\\Papers %d\\paper %d.pdf",
      "C:\\Users\\bench\\Documents\\Site %d\\page %d.html",
      "C:\\Users\\bench\\AppData\\Roaming\\App %d\\config %d.ini",
      "C:\\Users\\bench\\Documents\\Notes %d\\note %d.txt",
      "C:\\Users\\bench\\Projects\\repo%d\\folder %d",
      "D:\\Shared\\Team %d\\Week %d",
  };
  char path[300];
  snprintf(path, sizeof path, shapes[i % 20], i / 200, i);
  return path;
}

bool MakeDatabase(const std::wstring& appData, int rows, const std::vector<std::wstring>& real) {
  std::wstring folder = appData + L"\\Tarquon";
  CreateDirectoryW(appData.c_str(), nullptr);
  CreateDirectoryW(folder.c_str(), nullptr);
  folder += L"\\Pinvale";
  CreateDirectoryW(folder.c_str(), nullptr);
  sqlite3* db = nullptr;
  if (sqlite3_open(xtest::Narrow(folder + L"\\favorite.db").c_str(), &db) != SQLITE_OK) return false;
  bool ok = sqlite3_exec(db,
                         "CREATE TABLE main(id INTEGER PRIMARY KEY AUTOINCREMENT, path varchar(260), color "
                         "varchar(6), addtime DATETIME, accesstime TIMESTAMP, count INTEGER);",
                         nullptr, nullptr, nullptr) == SQLITE_OK;
  sqlite3_exec(db, "BEGIN;", nullptr, nullptr, nullptr);
  sqlite3_stmt* insert = nullptr;
  ok = ok && sqlite3_prepare_v2(db,
                                "INSERT INTO main(path,color,addtime,accesstime,count) VALUES(?, 'ffffff', "
                                "datetime('now','localtime'), datetime('now','localtime'), ?);",
                                -1, &insert, nullptr) == SQLITE_OK;
  for (int i = 0; ok && i < rows; ++i) {
    const std::string path = RowPath(i, real);
    sqlite3_bind_text(insert, 1, path.c_str(), -1, SQLITE_TRANSIENT);
    sqlite3_bind_int(insert, 2, (i * 7919) % 50);
    ok = sqlite3_step(insert) == SQLITE_DONE;
    sqlite3_reset(insert);
  }
  sqlite3_finalize(insert);
  sqlite3_exec(db, "COMMIT;", nullptr, nullptr, nullptr);
  sqlite3_close(db);
  return ok;
}

// ---------------------------------------------------------------------------------------
// One started program, watched from outside

struct WINDOW_QUERY {
  DWORD pid;
  const wchar_t* className;
  const wchar_t* caption;
  HWND found;
};

BOOL CALLBACK MatchWindow(HWND hwnd, LPARAM lParam) {
  auto* q = reinterpret_cast<WINDOW_QUERY*>(lParam);
  DWORD pid = 0;
  GetWindowThreadProcessId(hwnd, &pid);
  if (pid != q->pid || !IsWindowVisible(hwnd)) return TRUE;
  wchar_t cls[64] = {0}, caption[64] = {0};
  GetClassNameW(hwnd, cls, 64);
  GetWindowTextW(hwnd, caption, 64);
  if (wcscmp(cls, q->className) || wcscmp(caption, q->caption)) return TRUE;
  q->found = hwnd;
  return FALSE;
}

// Resident memory of a Wine process in MB: its unix process is the one whose command line
// names the executable's unique path.
double ResidentMb(const std::wstring& exe) {
  const std::string wanted = xtest::Narrow(exe);
  for (const xtest::FolderEntry& e : xtest::ListFolder(L"Z:\\proc")) {
    if (!e.isFolder || e.name.empty() || !iswdigit(e.name[0])) continue;
    std::string cmdline = xtest::ReadBytes(L"Z:\\proc\\" + e.name + L"\\cmdline");
    std::replace(cmdline.begin(), cmdline.end(), '\0', ' ');
    if (cmdline.find(wanted) == std::string::npos) continue;
    const std::string status = xtest::ReadBytes(L"Z:\\proc\\" + e.name + L"\\status");
    const size_t at = status.find("VmRSS:");
    if (at != std::string::npos) return atof(status.c_str() + at + 6) / 1024.0;
  }
  return -1;
}

struct START {
  double seconds = -1;  // -1: not visible within the cap
  double rssMb = -1;
  DWORD gdi = 0, user = 0;
};

class Started {
 public:
  Started(const std::wstring& exe, const std::wstring& folder, const std::vector<wchar_t>& env,
          const wchar_t* arguments = nullptr)
      : m_exe(exe) {
    std::wstring command = L"\"" + exe + L"\"";
    if (arguments) command += std::wstring(L" ") + arguments;
    STARTUPINFOW si = {sizeof si};
    PROCESS_INFORMATION pi = {};
    std::vector<wchar_t> block = env;
    m_t0 = Now();
    if (!CreateProcessW(nullptr, &command[0], nullptr, nullptr, FALSE, CREATE_UNICODE_ENVIRONMENT, block.data(),
                        folder.c_str(), &si, &pi))
      return;
    CloseHandle(pi.hThread);
    m_thread = pi.dwThreadId;
    m_process.Reset(pi.hProcess);
    m_pid = pi.dwProcessId;
  }
  ~Started() {
    if (!m_process.Valid()) return;
    if (m_window) PostMessageW(m_window, WM_COMMAND, 1, 0);
    else PostThreadMessageW(m_thread, WM_QUIT, 0, 0);
    if (WaitForSingleObject(m_process.Get(), 20000) != WAIT_OBJECT_0) {
      TerminateProcess(m_process.Get(), 99);
      WaitForSingleObject(m_process.Get(), 10000);
    }
  }
  // Seconds from the start to the visible window, -1 past the cap.
  double WaitVisible(const wchar_t* cls, const wchar_t* caption, double capSeconds) {
    if (!m_process.Valid()) return -1;
    WINDOW_QUERY q = {m_pid, cls, caption, nullptr};
    for (;;) {
      HWND h = FindWindowW(cls, caption);
      if (h && IsWindowVisible(h)) {
        DWORD pid = 0;
        GetWindowThreadProcessId(h, &pid);
        if (pid == m_pid) m_window = h;
      }
      if (!m_window && h) {  // another program's window of that identity: look for ours
        EnumWindows(MatchWindow, reinterpret_cast<LPARAM>(&q));
        m_window = q.found;
      }
      const double t = Now() - m_t0;
      if (m_window) return t;
      if (t > capSeconds || WaitForSingleObject(m_process.Get(), 0) == WAIT_OBJECT_0) return -1;
      Sleep(1);
    }
  }
  START Measure(const wchar_t* cls, const wchar_t* caption, double capSeconds) {
    START s;
    s.seconds = WaitVisible(cls, caption, capSeconds);
    if (s.seconds < 0) return s;
    Sleep(kSettleMs);
    s.rssMb = ResidentMb(m_exe);
    s.gdi = GetGuiResources(m_process.Get(), GR_GDIOBJECTS);
    s.user = GetGuiResources(m_process.Get(), GR_USEROBJECTS);
    return s;
  }
  HWND Window() const { return m_window; }

 private:
  std::wstring m_exe;
  CXHandle m_process;
  DWORD m_pid = 0, m_thread = 0;
  HWND m_window = nullptr;
  double m_t0 = 0;
};

// Milliseconds of one sent message's round trip.
double SendMs(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  DWORD_PTR result = 0;
  const double t0 = Now();
  SendMessageTimeoutW(hwnd, msg, wParam, lParam, SMTO_NORMAL, 30000, &result);
  return (Now() - t0) * 1e3;
}

struct RUNNING {
  double answerMs = -1, addMs = -1, wheelMs = -1;
};

// A running program's costs: a message answered, a favourite added the way the shell
// extension adds it, a wheel notch over the list followed by a frame.
RUNNING MeasureRunning(HWND hwnd, const std::vector<std::wstring>& real) {
  RUNNING r;
  std::vector<double> answers, adds, wheels;
  for (int i = 0; i < kAnswerSamples; ++i) answers.push_back(SendMs(hwnd, WM_NULL, 0, 0));
  for (int i = 0; i < kAnswerSamples; ++i) {
    wchar_t path[260] = {0};
    lstrcpynW(path, real[static_cast<size_t>(i) % real.size()].c_str(), 260);
    COPYDATASTRUCT cds = {1, sizeof path, path};
    adds.push_back(SendMs(hwnd, WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&cds)));
  }
  RECT wr = {};
  GetWindowRect(hwnd, &wr);
  const LPARAM at = MAKELPARAM(wr.left + 150, wr.top + 300);
  for (int i = 0; i < kAnswerSamples; ++i) {
    const WPARAM delta = MAKEWPARAM(0, static_cast<WORD>(i < kAnswerSamples / 2 ? -120 : 120));
    wheels.push_back(SendMs(hwnd, WM_MOUSEWHEEL, delta, at) + SendMs(hwnd, WM_PAINT, 0, 0));
  }
  r.answerMs = Median(answers);
  r.addMs = Median(adds);
  r.wheelMs = Median(wheels);
  return r;
}

struct CONFIG {
  std::wstring name;
  int rows;  // -1: the bare window program
  std::wstring appData;
  std::vector<START> starts;
  RUNNING running;
};

double MedianOf(const std::vector<START>& starts, double START::*field, bool* censored) {
  std::vector<double> v;
  *censored = false;
  for (const START& s : starts) {
    if (s.seconds < 0) *censored = true;
    else v.push_back(s.*field);
  }
  return Median(v);
}

}  // namespace

int main(int argc, char** argv) {
  const int runs = argc > 1 ? std::max(1, atoi(argv[1])) : 5;
  const double cap = argc > 2 ? std::max(1.0, atof(argv[2])) : 60.0;
  std::vector<int> sizes;
  for (int i = 3; i < argc; ++i) sizes.push_back(atoi(argv[i]));
  if (sizes.empty()) sizes = {0, 1000, 10000, 100000};

  xtest::TempDir root;
  const std::wstring install = root / L"Pinvale";
  CopyFolder(DistFolder(), install);
  const std::vector<std::wstring> real = MakeRealItems(root / L"files");
  const std::wstring pinvale = install + L"\\Pinvale.exe";
  const std::wstring bare = root / L"barewindow.exe";
  CopyFileW((xtest::TestBinFolder() + L"\\barewindow.exe").c_str(), bare.c_str(), FALSE);
  if (!xtest::FileExists(pinvale) || !xtest::FileExists(bare)) {
    printf("missing %ls or barewindow.exe\n", pinvale.c_str());
    return 1;
  }

  std::vector<CONFIG> configs;
  configs.push_back({L"bare window program", -1, L"", {}, {}});
  for (int n : sizes) {
    wchar_t name[64];
    swprintf(name, 64, L"Pinvale, %d", n);
    CONFIG c{name, n, root / (L"data" + std::to_wstring(n)), {}, {}};
    const double t0 = Now();
    if (!MakeDatabase(c.appData, n, real)) {
      printf("cannot prepare a database of %d rows\n", n);
      return 1;
    }
    printf("prepared %d favourites in %.1f s\n", n, Now() - t0);
    configs.push_back(c);
  }
  // Pings and update checks go to a closed loopback port instead of the network.
  const std::map<std::wstring, std::wstring> quiet = {{L"PINVALE_TEST_PING_URL", L"http://127.0.0.1:9/stat.php"},
                                                      {L"PINVALE_TEST_UPDATE_URL", L"http://127.0.0.1:9/update.ini"}};
  printf("%d runs of each, interleaved; start = CreateProcess to visible window, cap %.0f s\n", runs, cap);
  fflush(stdout);

  // A hidden window for the whole run keeps Wine's desktop process up, so no start pays for
  // bringing it back.
  Started keeper(bare, root.Path(), xtest::EnvironmentWith({}), L"keep");
  Sleep(500);
  // Warm-up: the wine server, the disk cache and the libraries.
  {
    Started warm(pinvale, install, xtest::EnvironmentWith({{L"APPDATA", configs[1].appData}}));
    warm.WaitVisible(kMainClass, kMainCaption, cap);
    Started warmBare(bare, root.Path(), xtest::EnvironmentWith({}));
    warmBare.WaitVisible(kBareClass, kBareCaption, cap);
  }
  for (int r = 0; r < runs; ++r) {
    for (CONFIG& c : configs) {
      START s;
      if (c.rows < 0) {
        Started p(bare, root.Path(), xtest::EnvironmentWith({}));
        s = p.Measure(kBareClass, kBareCaption, cap);
      } else {
        std::map<std::wstring, std::wstring> env = quiet;
        env[L"APPDATA"] = c.appData;
        Started p(pinvale, install, xtest::EnvironmentWith(env));
        s = p.Measure(kMainClass, kMainCaption, cap);
      }
      c.starts.push_back(s);
      printf("  run %d  %-22ls %9s ms  %6.1f MB\n", r + 1, c.name.c_str(),
             s.seconds < 0 ? ">cap" : std::to_string(static_cast<int>(s.seconds * 1e3 + 0.5)).c_str(), s.rssMb);
      fflush(stdout);
    }
  }
  // The running program's costs, once per database (adds change it, so after the starts).
  for (CONFIG& c : configs) {
    if (c.rows < 0) continue;
    std::map<std::wstring, std::wstring> env = quiet;
    env[L"APPDATA"] = c.appData;
    Started p(pinvale, install, xtest::EnvironmentWith(env));
    if (p.WaitVisible(kMainClass, kMainCaption, cap) < 0) continue;
    Sleep(kSettleMs);
    c.running = MeasureRunning(p.Window(), real);
  }

  printf("\n| program | start to visible (median) | min .. max | resident memory | GDI / USER objects |\n");
  printf("|---|---|---|---|---|\n");
  std::map<int, double> start, rss;
  for (const CONFIG& c : configs) {
    bool censored = false;
    const double t = MedianOf(c.starts, &START::seconds, &censored);
    const double m = MedianOf(c.starts, &START::rssMb, &censored);
    double lo = 1e30, hi = 0;
    DWORD gdi = 0, user = 0;
    for (const START& s : c.starts) {
      if (s.seconds < 0) continue;
      lo = std::min(lo, s.seconds);
      hi = std::max(hi, s.seconds);
      gdi = s.gdi;
      user = s.user;
    }
    start[c.rows] = censored ? -1 : t;
    rss[c.rows] = m;
    if (censored && t == 0) {
      printf("| %ls | > %.0f s (no window within the cap) | | | |\n", c.name.c_str(), cap);
      continue;
    }
    printf("| %ls | %s%.0f ms | %.0f .. %.0f ms | %.1f MB | %lu / %lu |\n", c.name.c_str(), censored ? "> " : "",
           t * 1e3, lo * 1e3, hi * 1e3, m, static_cast<unsigned long>(gdi), static_cast<unsigned long>(user));
  }
  printf("(GDI and USER object counts read 0 under Wine, whose GetGuiResources does not count them.)\n");
  printf("\n| favourites | message answered | add one by copy-data | wheel notch + frame |\n|---|---|---|---|\n");
  for (const CONFIG& c : configs) {
    if (c.rows < 0 || c.running.answerMs < 0) continue;
    printf("| %d | %.2f ms | %.2f ms | %.2f ms |\n", c.rows, c.running.answerMs, c.running.addMs, c.running.wheelMs);
  }
  auto ratio = [&](int a, int b) { return start.count(a) && start.count(b) && start[a] > 0 && start[b] > 0 ? start[a] / start[b] : -1.0; };
  auto show = [](const char* what, double x, const char* goal) {
    if (x < 0) printf("  %-36s n/a (a start past the cap)\n", what);
    else printf("  %-36s %.2fx  %s\n", what, x, goal);
  };
  printf("\nratios (goal in brackets):\n");
  show("start 0 favourites / bare window:", ratio(0, -1), "(<= 2x)");
  show("start 10,000 / start 0:", ratio(10000, 0), "(<= 1.5x)");
  show("start 100,000 / start 0:", ratio(100000, 0), "");
  if (rss.count(10000) && rss.count(0))
    printf("  memory 10,000 - memory 0:          %+.1f MB  (<= +12 MB)\n", rss[10000] - rss[0]);
  if (rss.count(0) && rss.count(-1)) printf("  memory 0 - bare window:            %+.1f MB\n", rss[0] - rss[-1]);
  return 0;
}
