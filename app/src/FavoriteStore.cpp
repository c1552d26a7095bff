// CFavoriteStore over ISQLite. SQL texts are the table's contract with existing database
// files and stay exactly as written here; text columns are ANSI. Paths of any length are
// stored whole; only the in-memory record cuts them, with a bounded copy. A change is either
// in the database or in the waiting list, never neither; an unreadable file is moved, never
// deleted.
#include "FavoriteStore.h"

#include <shlobj.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "FavoriteRules.h"
#include "ModuleLoader.h"
#include "ShellItem.h"

namespace {

const char kCreateSql[] =
    "CREATE TABLE main(id INTEGER PRIMARY KEY AUTOINCREMENT, path varchar(260), color varchar(6), "
    "addtime DATETIME, accesstime TIMESTAMP, count INTEGER);";
const char kInsertSql[] =
    "INSERT INTO main(path,color,addtime,accesstime,count) VALUES('%s', 'ffffff', "
    "datetime('now','localtime'), datetime('now','localtime'), 0);";
const char kTouchSql[] =
    "UPDATE main SET accesstime=datetime('now','localtime'),count=count+1 where id=%d;";
const char kDeleteSql[] = "DELETE FROM main where id=%d;";
const char kLastIdSql[] = "SELECT * from sqlite_sequence where name='main'";
const char kLoadByCountSql[] = "SELECT * from main ORDER by count DESC";
const char kLoadSql[] = "SELECT * from main";

const size_t kRecentSeedLimit = 5;

enum { kWaitAdd, kWaitCount, kWaitDelete };

// Caught before SQLite sees the file: SQLite retries a file held without sharing for seconds
// before it gives up, and the window would stand still all that time on every attempt.
DB_FAULT ProbeFile(const CString& path) {
  DWORD attributes = GetFileAttributesW(path);
  if (attributes == INVALID_FILE_ATTRIBUTES) return DB_FAULT::kNone;  // SQLite creates it
  if (attributes & FILE_ATTRIBUTE_DIRECTORY) return DB_FAULT::kFolder;
  CXHandle f(CreateFileW(path, GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                         nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!f.Valid() && GetLastError() == ERROR_SHARING_VIOLATION) return DB_FAULT::kInUse;
  return DB_FAULT::kNone;  // anything else is SQLite's to find (a read-only file still reads)
}

// A statement that failed without a fault of the file (no table, say) still stored nothing.
DB_FAULT WriteFault(int rc) {
  DB_FAULT fault = FaultOfResult(rc);
  return fault == DB_FAULT::kNone ? DB_FAULT::kCannotWrite : fault;
}

// "%appdata%" joined with a relative path; the shell's folder when the variable is unset.
CString AppDataPath(const wchar_t* relative) {
  std::wstring base(MAX_PATH, L'\0');
  for (;;) {
    DWORD n = ExpandEnvironmentStringsW(L"%appdata%", &base[0], static_cast<DWORD>(base.size()));
    if (n == 0) {
      base.clear();
      break;
    }
    if (n <= base.size()) {
      base.resize(n - 1);
      break;
    }
    base.resize(n);
  }
  if (base.empty() || base[0] == L'%') {
    wchar_t shell[MAX_PATH] = {0};
    base = SUCCEEDED(SHGetFolderPathW(nullptr, CSIDL_APPDATA, nullptr, 0, shell)) ? shell : L"";
  }
  if (!base.empty() && base.back() != L'\\') base += L'\\';
  return CString(base + relative);
}

// Creates a folder and any missing parents.
void CreateFolderChain(const CString& folder) {
  if (folder.IsEmpty() || PathExistsAtAll(folder)) return;
  CString parent = PathWithoutLastComponent(folder);
  if (!parent.IsEmpty() && parent != folder) CreateFolderChain(parent);
  CreateDirectoryW(folder, nullptr);
}

std::string ReadWholeFile(const CString& path) {
  CXHandle f(CreateFileW(path, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                         FILE_ATTRIBUTE_NORMAL, nullptr));
  std::string out;
  if (!f.Valid()) return out;
  char buf[65536];
  DWORD got = 0;
  while (ReadFile(f.Get(), buf, sizeof buf, &got, nullptr) && got > 0) out.append(buf, got);
  return out;
}

class CFindHandle {
 public:
  explicit CFindHandle(HANDLE h) : m_h(h) {}
  ~CFindHandle() { if (m_h != INVALID_HANDLE_VALUE) FindClose(m_h); }
  CFindHandle(const CFindHandle&) = delete;
  CFindHandle& operator=(const CFindHandle&) = delete;
  bool Valid() const { return m_h != INVALID_HANDLE_VALUE; }
  HANDLE Get() const { return m_h; }
 private:
  HANDLE m_h;
};

void CopyPathCut(wchar_t (&dst)[MAX_PATH], const wchar_t* src) { XCopyBounded(dst, MAX_PATH, src); }

// Row callbacks run inside the service library: nothing may be thrown back through it.
int StoreLastId(void* context, int columns, char** values, char**) {
  if (columns >= 2 && values) *static_cast<int*>(context) = atoi(values[1] ? values[1] : "");
  return 0;
}

int AppendRow(void* context, int columns, char** values, char**) {
  auto text = [&](int i) -> const char* { return (i < columns && values && values[i]) ? values[i] : nullptr; };
  auto orEmpty = [&](int i) -> const char* { const char* s = text(i); return s ? s : ""; };
  try {
    FAVORITE_DATA d = {};
    d.id = atoi(orEmpty(0));
    CopyPathCut(d.path, XWiden(orEmpty(1)).c_str());
    d.color = ParseFavoriteColor(text(2));
    d.addtime = ParseFavoriteTime(orEmpty(3));
    d.accesstime = ParseFavoriteTime(orEmpty(4));
    d.count = atoi(orEmpty(5));
    static_cast<std::vector<FAVORITE_DATA>*>(context)->push_back(d);
    return 0;
  } catch (...) {
    return 1;  // out of memory: stop reading rows
  }
}

}  // namespace

const CString& CFavoriteStore::DatabasePath() {
  static const CString path = AppDataPath(L"Tarquon\\Pinvale\\favorite.db");
  return path;
}

CString CFavoriteStore::DatabaseFolder() { return PathWithoutLastComponent(DatabasePath()); }

CString CFavoriteStore::LegacyListPath() { return AppDataPath(L"Dorrik\\Pinvale\\favorite.pvl"); }

int CFavoriteStore::Connect() {
  if (m_db) return 0;
  ISQLite* db = nullptr;
  if (CModuleLoader::GetModuleObject(CModuleLoader::kServices, &IID_ISQLite,
                                     reinterpret_cast<void**>(&db)) != 0 || !db)
    return 0;
  m_db.Reset(db);
  return 1;
}

int CFavoriteStore::EnsureOpen() {
  if (!m_db) return -1;
  if (m_db->IsOpen()) return 1;
  // A new user's folder does not exist yet; without it nothing would ever be saved.
  CreateFolderChain(DatabaseFolder());
  // SQLite takes file names in UTF-8 (the same bytes as ANSI for plain ASCII paths).
  return m_db->Open(XNarrow(DatabasePath(), -1, CP_UTF8).c_str());
}

int CFavoriteStore::Exec(const std::string& sql, XSqliteCallback callback, void* context) {
  if (!m_db || EnsureOpen() != 1) return -1;
  return m_db->Exec(sql.c_str(), callback, context);
}

int CFavoriteStore::CreateTable() { return Exec(kCreateSql); }

int CFavoriteStore::Insert(const CString& path) {
  std::string sql(kInsertSql);
  sql.replace(sql.find("%s"), 2, XNarrow(EscapeSqlQuotes(path.Str()).c_str()));
  return Exec(sql);
}

int CFavoriteStore::TouchAccess(int id) {
  char sql[260];
  snprintf(sql, sizeof sql, kTouchSql, id);
  return Exec(sql);
}

int CFavoriteStore::Delete(int id) {
  char sql[260];
  snprintf(sql, sizeof sql, kDeleteSql, id);
  return Exec(sql);
}

int CFavoriteStore::LastId(int& id) { return Exec(kLastIdSql, StoreLastId, &id); }

int CFavoriteStore::Load(bool byCount) {
  m_list.clear();
  return Exec(byCount ? kLoadByCountSql : kLoadSql, AppendRow, &m_list);
}

int CFavoriteStore::ImportPaths(const std::vector<CString>& paths) {
  if (!m_db || EnsureOpen() != 1) return -1;
  if (paths.empty()) return 0;
  // One transaction: one disk sync for the whole list, and all rows or none.
  if (Exec("BEGIN TRANSACTION;") != 0) return -1;
  for (const CString& p : paths) {
    if (Insert(p) != 0) {
      Exec("ROLLBACK;");
      return -1;
    }
  }
  if (Exec("COMMIT;") != 0) {
    Exec("ROLLBACK;");
    return -1;
  }
  return static_cast<int>(paths.size());
}

void CFavoriteStore::CloseDatabase() {
  if (!m_db) return;
  if (Unavailable()) Retry();  // a last chance for what waits
  KeepWaitingAddsForNextStart();
  if (m_db->IsOpen()) m_db->Close();
  m_db.Reset();
}

DB_FAULT CFavoriteStore::Prepare() {
  if (!m_db) return DB_FAULT::kNone;  // no service library: its loader has said so
  if (!m_db->IsOpen()) {
    DB_FAULT probe = ProbeFile(DatabasePath());
    if (probe != DB_FAULT::kNone) return probe;
    if (EnsureOpen() != 1) return DB_FAULT::kCannotOpen;
  }
  // Also the first read of the file: it fails harmlessly on an existing table.
  return FaultOfResult(CreateTable());
}

bool CFavoriteStore::Settle() {
  DB_FAULT fault = Prepare();
  if (fault == DB_FAULT::kNotADatabase) {
    m_db->Close();
    CString keptAs;
    if (MoveAside(keptAs)) {
      fault = Prepare();
      if (fault == DB_FAULT::kNone) m_report = MovedAsideReport(DatabasePath(), keptAs);
    } else {
      fault = DB_FAULT::kUnreadableKept;
    }
  }
  if (fault == DB_FAULT::kNone) {
    m_fault = DB_FAULT::kNone;
    return true;
  }
  MarkUnavailable(fault);
  return false;
}

bool CFavoriteStore::MoveAside(CString& keptAs) {
  const CString& database = DatabasePath();
  SYSTEMTIME now;
  GetLocalTime(&now);
  for (int attempt = 1; attempt < 100; ++attempt) {
    keptAs = UnreadableCopyPath(database, now, attempt);
    if (PathExistsAtAll(keptAs)) continue;
    if (!MoveFileExW(database, keptAs, 0)) return false;
    // A journal belongs to the file it was written for; SQLite would discard it beside the
    // new, empty database.
    CString journal = database + L"-journal";
    if (PathExistsAtAll(journal)) MoveFileExW(journal, keptAs + L"-journal", 0);
    return true;
  }
  return false;
}

void CFavoriteStore::MarkUnavailable(DB_FAULT fault) {
  m_fault = fault;
  if (m_toldUnavailable) return;
  m_toldUnavailable = true;
  m_report = UnavailableReport(DatabasePath(), fault);
}

CString CFavoriteStore::TakeReport() {
  CString report = m_report;
  m_report = CString();
  return report;
}

void CFavoriteStore::Wait(int kind, const CString& path, int id) { m_waiting.push_back({kind, path, id}); }

bool CFavoriteStore::WriteWaiting() {
  if (m_waiting.empty()) return true;
  int rc = Exec("BEGIN TRANSACTION;");
  for (size_t i = 0; rc == 0 && i < m_waiting.size(); ++i) {
    const WAITING_CHANGE& c = m_waiting[i];
    rc = c.kind == kWaitAdd ? Insert(c.path) : c.kind == kWaitCount ? TouchAccess(c.id) : Delete(c.id);
  }
  if (rc == 0) rc = Exec("COMMIT;");
  if (rc != 0) {
    Exec("ROLLBACK;");
    MarkUnavailable(WriteFault(rc));
    return false;
  }
  m_waiting.clear();
  return true;
}

int CFavoriteStore::Add(const CString& path, int& id) {
  id = 0;
  if (!m_db) return 0;
  if (!Unavailable()) {
    int rc = Insert(path);
    if (rc == 0) {
      LastId(id);
      return 1;
    }
    MarkUnavailable(WriteFault(rc));
  }
  Wait(kWaitAdd, path, 0);
  return 0;
}

void CFavoriteStore::CountOpen(int id) {
  if (!m_db || id == 0) return;  // a waiting add is stored with its count 0
  if (!Unavailable()) {
    int rc = TouchAccess(id);
    if (rc == 0) return;
    MarkUnavailable(WriteFault(rc));
  }
  Wait(kWaitCount, CString(), id);
}

void CFavoriteStore::Remove(int id, const CString& path) {
  if (!m_db) return;
  if (id == 0) {
    for (size_t i = m_waiting.size(); i-- > 0;) {
      // The list holds paths cut to MAX_PATH - 1 characters, the waiting add the whole one.
      if (m_waiting[i].kind == kWaitAdd && m_waiting[i].path.Str().compare(0, MAX_PATH - 1, path.Str(), 0, MAX_PATH - 1) == 0) {
        m_waiting.erase(m_waiting.begin() + static_cast<std::ptrdiff_t>(i));
        break;
      }
    }
    return;
  }
  if (!Unavailable()) {
    int rc = Delete(id);
    if (rc == 0) return;
    MarkUnavailable(WriteFault(rc));
  }
  Wait(kWaitDelete, CString(), id);
}

bool CFavoriteStore::Retry() {
  if (!Unavailable() || !m_db) return false;
  if (!Settle()) return false;
  ImportLegacyList();
  if (!m_startupPath.IsEmpty()) {
    // The command-line path is added only when it is not listed yet, as at any start.
    int rc = Load(m_autoSort);
    if (rc != 0) {
      MarkUnavailable(WriteFault(rc));
      return false;
    }
    if (Listed(m_startupPath)) Remove(0, m_startupPath);
    m_startupPath = CString();
  }
  if (!WriteWaiting()) return false;
  int rc = Load(m_autoSort);
  if (rc != 0) {
    MarkUnavailable(WriteFault(rc));
    return false;
  }
  return true;
}

void CFavoriteStore::KeepWaitingAddsForNextStart() {
  std::string lines;
  for (const WAITING_CHANGE& c : m_waiting) {
    if (c.kind == kWaitAdd) lines += XNarrow(c.path) + "\r\n";
  }
  m_waiting.clear();  // counts and deletes of rows the database never let us touch are gone
  if (lines.empty()) return;
  CString file = LegacyListPath();
  CreateFolderChain(PathWithoutLastComponent(file));
  CXHandle f(CreateFileW(file, FILE_APPEND_DATA, FILE_SHARE_READ, nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!f.Valid()) return;
  // An older list may end without a line break.
  LARGE_INTEGER size = {};
  if (GetFileSizeEx(f.Get(), &size) && size.QuadPart > 0) lines.insert(0, "\r\n");
  DWORD written = 0;
  WriteFile(f.Get(), lines.data(), static_cast<DWORD>(lines.size()), &written, nullptr);
}

void CFavoriteStore::Append(const FAVORITE_DATA& record) { m_list.push_back(record); }

const FAVORITE_DATA* CFavoriteStore::At(int index) const {
  return (index >= 0 && index < Count()) ? &m_list[static_cast<size_t>(index)] : nullptr;
}

int CFavoriteStore::ImportLegacyList() {
  CString file = LegacyListPath();
  if (!PathExistsAtAll(file)) return 0;
  int result = ImportPaths(SplitLegacyList(ReadWholeFile(file)));
  if (result != -1) DeleteFileW(file);  // without a database it stays for a later start
  return result;
}

std::vector<CString> CFavoriteStore::RecentFolders(size_t limit) {
  CString recent;
  if (!GetSpecialFolderPath(CSIDL_RECENT, recent)) return {};
  std::vector<RECENT_FOLDER> kept;
  WIN32_FIND_DATAW fd;
  CFindHandle find(FindFirstFileW(recent + L"\\*", &fd));
  if (!find.Valid()) return {};
  do {
    if (lstrcmpiW(fd.cFileName, L".") == 0 || lstrcmpiW(fd.cFileName, L"..") == 0) continue;
    CString target;
    if (ResolveShortcut(recent + L"\\" + fd.cFileName, target) && PathIsExistingFolder(target)) {
      unsigned long long access =
          (static_cast<unsigned long long>(fd.ftLastAccessTime.dwHighDateTime) << 32) |
          fd.ftLastAccessTime.dwLowDateTime;
      kept.push_back({target, access});
    }
  } while (FindNextFileW(find.Get(), &fd));
  return NewestRecentFolders(std::move(kept), limit);
}

void CFavoriteStore::AddPendingPath(const CString& path) {
  if (path.IsEmpty() || !PathExistsAtAll(path)) return;
  if (Listed(path)) return;
  FAVORITE_DATA record = {};
  CopyPathCut(record.path, path);
  Add(path, record.id);
  Append(record);
}

bool CFavoriteStore::Listed(const CString& path) const {
  wchar_t cut[MAX_PATH];
  CopyPathCut(cut, path);
  for (const FAVORITE_DATA& d : m_list) {
    if (lstrcmpiW(d.path, cut) == 0) return true;
  }
  return false;
}

void CFavoriteStore::StartupLoad(bool autoSort, const CString& pendingPath) {
  try {
    m_autoSort = autoSort;
    bool isNew = !PathExistsAtAll(DatabasePath());
    Connect();
    if (!Settle()) {
      // Nothing to show yet; the stored favourites come with the first successful Retry.
      AddPendingPath(pendingPath);
      if (m_db && !m_waiting.empty()) m_startupPath = pendingPath;
      return;
    }
    ImportLegacyList();
    int rc = Load(autoSort);
    if (rc != 0 && m_db) MarkUnavailable(WriteFault(rc));
    if (isNew && m_list.empty() && !Unavailable()) {
      for (const CString& folder : RecentFolders(kRecentSeedLimit)) Insert(folder);
      Load(autoSort);
    }
    AddPendingPath(pendingPath);
  } catch (...) {
    // Out of memory at start-up: run with what was loaded.
  }
}
