// CFavoriteStore over ISQLite. SQL texts are the table's contract with existing database
// files and stay exactly as written here; text columns are ANSI. Paths of any length are
// stored whole; only the in-memory record cuts them, with a bounded copy. A change is either
// in the database or in the waiting list, never neither; an unreadable file is moved, never
// deleted.
#include "FavoriteStore.h"

#include <shlobj.h>

#include <cstdio>
#include <cstdlib>
#include <algorithm>
#include <functional>
#include <map>
#include <string>

#include "FavoriteRules.h"
#include "LegacyList.h"
#include "ModuleLoader.h"
#include "ShellItem.h"

namespace {

const char kCreateSql[] =
    "CREATE TABLE main(id INTEGER PRIMARY KEY AUTOINCREMENT, path varchar(260), color varchar(6), "
    "addtime DATETIME, accesstime TIMESTAMP, count INTEGER);";
// The insert statement is kInsertHead, one kInsertRow and ";"; imports put many rows in one.
const char kInsertHead[] = "INSERT INTO main(path,color,addtime,accesstime,count) VALUES";
const char kInsertRow[] = "('%s', 'ffffff', datetime('now','localtime'), datetime('now','localtime'), 0)";
const size_t kImportBatch = 500;  // rows per import statement
// Many rows at once, in the order of the VALUES list (the one-row side is the outer loop).
const char kInsertManyHead[] =
    "INSERT INTO main(path,color,addtime,accesstime,count) SELECT v.column1, 'ffffff', n.t, n.t, 0 FROM "
    "(SELECT datetime('now','localtime') AS t) AS n CROSS JOIN (VALUES ";

const char kTouchSql[] =
    "UPDATE main SET accesstime=datetime('now','localtime'),count=count+1 where id=%d;";
const char kDeleteSql[] = "DELETE FROM main where id=%d;";
const char kLastIdSql[] = "SELECT * from sqlite_sequence where name='main'";
// Ties in table order, so that the parts below read the same order as one Load.
const char kLoadByCountSql[] = "SELECT * from main ORDER by count DESC, id";
const char kLoadSql[] = "SELECT * from main";
const char kLoadFirstSql[] = "SELECT * from main LIMIT %d";
const char kLoadFirstByCountSql[] = "SELECT * from main ORDER by count DESC, id LIMIT %d";
const char kLoadMoreSql[] = "SELECT * from main WHERE id > %d AND id <= %d ORDER BY id LIMIT %d";
// After the row (count, id) read last. Counts only grow, and only listed rows are opened: a
// row read once never sorts after that row again.
const char kLoadMoreByCountSql[] =
    "SELECT * from main WHERE (count < %d OR (count = %d AND id > %d)) AND id <= %d ORDER BY count DESC, id LIMIT %d";
const char kMaxIdSql[] = "SELECT max(id) from main";
const char kImportProgressSql[] = "PRAGMA user_version";
// A legacy list this long is imported before the window shows; a longer one after it, in parts.
const DWORD kImportNowBytes = 1 << 20;

const size_t kRecentSeedLimit = 5;

enum { kWaitAdd, kWaitCount, kWaitDelete, kWaitRestore };

const char kReadRowSql[] = "SELECT * from main where id=%d";

// A value as it goes back into a statement: NULL, or quoted with its quotes doubled.
std::string SqlLiteral(const char* value) {
  if (!value) return "NULL";
  std::string out("'");
  for (const char* c = value; *c; ++c) {
    out += *c;
    if (*c == '\'') out += '\'';
  }
  return out + "'";
}

int StoreRemovedRow(void* context, int columns, char** values, char**) {
  auto* removed = static_cast<REMOVED_FAVORITE*>(context);
  if (!values || columns < 6) return 0;
  try {
    removed->storedPath = SqlLiteral(values[1]);
    removed->color = SqlLiteral(values[2]);
    removed->addtime = SqlLiteral(values[3]);
    removed->accesstime = SqlLiteral(values[4]);
    removed->count = SqlLiteral(values[5]);
    removed->stored = true;
  } catch (...) {
    removed->stored = false;
    return 1;
  }
  return 0;
}

// A path as the in-memory list holds it (cut to a record's length): how rows and the
// changes waiting for them are matched.
std::wstring CutKey(const CString& path) { return path.Str().substr(0, MAX_PATH - 1); }

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
  auto* state = static_cast<CFavoriteStore::LOAD_STATE*>(context);
  try {
    FAVORITE_DATA d = {};
    d.id = atoi(orEmpty(0));
    ++state->rows;
    state->lastId = d.id;
    state->lastCount = atoi(orEmpty(5));
    if (state->skip && state->skip->count(d.id)) return 0;
    // Straight into the record; only a text longer than the record goes the long way round.
    if (!MultiByteToWideChar(CP_ACP, 0, orEmpty(1), -1, d.path, MAX_PATH)) CopyPathCut(d.path, XWiden(orEmpty(1)).c_str());
    if (state->pending && !state->pendingSeen) state->pendingSeen = lstrcmpiW(d.path, state->pending) == 0;
    d.color = ParseFavoriteColor(text(2));
    d.addtime = ParseFavoriteTime(orEmpty(3));
    d.accesstime = ParseFavoriteTime(orEmpty(4));
    d.count = atoi(orEmpty(5));
    state->list->push_back(d);
    return 0;
  } catch (...) {
    return 1;  // out of memory: stop reading rows
  }
}

std::string Formatted(const char* format, int a, int b = 0, int c = 0, int d = 0, int e = 0) {
  char sql[256];
  snprintf(sql, sizeof sql, format, a, b, c, d, e);
  return sql;
}

int StoreFirstInt(void* context, int columns, char** values, char**) {
  if (columns >= 1 && values) *static_cast<int*>(context) = atoi(values[0] ? values[0] : "");
  return 0;
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

int CFavoriteStore::Insert(const CString& path) { return InsertMany(std::vector<CString>(1, path)); }

int CFavoriteStore::InsertMany(const std::vector<CString>& paths) {
  if (paths.empty()) return 0;
  if (paths.size() > 1) {
    // The rows of one statement share 'now' anyway: it is turned into local time once, not
    // twice per row, which is most of what an imported row costs.
    std::string sql(kInsertManyHead);
    for (size_t i = 0; i < paths.size(); ++i) {
      sql += i > 0 ? ",('" : "('";
      sql += XNarrow(EscapeSqlQuotes(paths[i].Str()).c_str());
      sql += "')";
    }
    sql += ") AS v;";
    return Exec(sql);
  }
  const std::string row(kInsertRow);
  const size_t hole = row.find("%s");
  std::string sql(kInsertHead);
  for (size_t i = 0; i < paths.size(); ++i) {
    if (i > 0) sql += ',';
    sql.append(row, 0, hole);
    sql += XNarrow(EscapeSqlQuotes(paths[i].Str()).c_str());
    sql.append(row, hole + 2, std::string::npos);
  }
  sql += ';';
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
  LOAD_STATE state = {&m_list, nullptr, nullptr, false, 0, 0};
  return Exec(byCount ? kLoadByCountSql : kLoadSql, AppendRow, &state);
}

int CFavoriteStore::FirstInt(const char* sql) {
  int value = 0;
  Exec(sql, StoreFirstInt, &value);
  return value;
}

int CFavoriteStore::LoadRows(const std::string& sql, int rows) {
  m_list.clear();
  try {
    m_list.reserve(static_cast<size_t>(rows));
  } catch (...) {
    // Grown row by row instead.
  }
  LOAD_STATE state = {&m_list, m_skipIds.empty() ? nullptr : &m_skipIds, m_pending.empty() ? nullptr : m_pending.c_str(),
                      m_pendingSeen, 0, m_lastId, m_lastCount};
  const int result = Exec(sql, AppendRow, &state);
  m_pendingSeen = state.pendingSeen;
  m_lastId = state.lastId;
  m_lastCount = state.lastCount;
  return result == 0 ? state.rows : -1;
}

int CFavoriteStore::LoadFirst(bool byCount, int rows) {
  m_more = false;
  m_lastId = 0;
  m_skipIds.clear();
  m_pendingSeen = false;
  // Later parts end at the row that is last now: rows added from here on are listed by
  // whoever adds them.
  m_endId = FirstInt(kMaxIdSql);
  const int got = LoadRows(Formatted(byCount ? kLoadFirstByCountSql : kLoadFirstSql, rows), rows);
  if (got < 0) return got;
  m_more = got >= rows;
  m_byCount = byCount;
  return 0;
}

int CFavoriteStore::LoadMore(int rows) {
  m_list.clear();
  if (!m_more) return 0;
  const int got = LoadRows(m_byCount ? Formatted(kLoadMoreByCountSql, m_lastCount, m_lastCount, m_lastId, m_endId, rows)
                                     : Formatted(kLoadMoreSql, m_lastId, m_endId, rows),
                           rows);
  m_more = got >= rows;
  if (!m_more && !m_importing) {
    m_skipIds.clear();
    FinishPendingPath();
  }
  return got < 0 ? got : 0;
}

void CFavoriteStore::NoteAdded(int id) {
  if (!m_more && !m_importing) return;
  try {
    m_skipIds.insert(id);  // a later part must not list it a second time
  } catch (...) {
  }
}

bool CFavoriteStore::BeginLegacyImport() {
  m_importing = false;
  const CString file = LegacyListPath();
  WIN32_FILE_ATTRIBUTE_DATA info = {};
  if (!GetFileAttributesExW(file, GetFileExInfoStandard, &info)) return false;
  if (info.nFileSizeHigh == 0 && info.nFileSizeLow <= kImportNowBytes) {
    ImportLegacyList();
    return false;
  }
  if (!m_db || EnsureOpen() != 1) return false;  // without a database it stays for a later start
  try {
    m_importBytes = ReadWholeFile(file);
  } catch (...) {
    return false;
  }
  // An import cut short by the end of the program resumes after the lines it committed.
  m_importPosition = 0;
  m_importDone = FirstInt(kImportProgressSql);
  CString line;
  for (int i = 0; i < m_importDone && NextLegacyLine(m_importBytes, m_importPosition, line); ++i) {
  }
  m_importing = true;
  return true;
}

int CFavoriteStore::ImportMore(int lines) {
  if (!m_importing) return 0;
  // Each part commits its rows and the count of lines done in one transaction, so the next
  // start neither loses nor repeats a line.
  int taken = 0;
  bool failed = Exec("BEGIN TRANSACTION;") != 0;
  std::vector<CString> batch;
  while (!failed && taken < lines) {
    batch.clear();
    CString line;
    while (batch.size() < kImportBatch && taken + static_cast<int>(batch.size()) < lines &&
           NextLegacyLine(m_importBytes, m_importPosition, line))
      batch.push_back(line);
    if (batch.empty()) break;
    failed = InsertMany(batch) != 0;
    taken += static_cast<int>(batch.size());
  }
  if (!failed) failed = Exec(Formatted("PRAGMA user_version = %d;", m_importDone + taken)) != 0;
  if (failed || Exec("COMMIT;") != 0) {
    Exec("ROLLBACK;");
    EndImport();  // the rest waits for the next start
    return -1;
  }
  m_importDone += taken;
  if (taken < lines) {
    DeleteFileW(LegacyListPath());
    Exec("PRAGMA user_version = 0;");
    EndImport();
  }
  return 0;
}

void CFavoriteStore::EndImport() {
  m_importing = false;
  std::string().swap(m_importBytes);
  // The imported rows follow in the later parts.
  m_endId = FirstInt(kMaxIdSql);
  m_more = true;
}

void CFavoriteStore::ReleaseList() { std::vector<FAVORITE_DATA>().swap(m_list); }

void CFavoriteStore::FinishPendingPath() {
  if (m_pending.empty()) return;
  const std::wstring path = m_pending;
  const bool seen = m_pendingSeen;
  m_pending.clear();
  m_pendingSeen = false;
  if (seen) return;
  FAVORITE_DATA record = {};
  CopyPathCut(record.path, path.c_str());
  Add(CString(path), record.id);
  Append(record);
}

int CFavoriteStore::ImportPaths(const std::vector<CString>& paths) {
  size_t next = 0;
  return Import([&](std::vector<CString>& batch) {
    for (; next < paths.size() && batch.size() < kImportBatch; ++next) batch.push_back(paths[next]);
    return !batch.empty();
  });
}

int CFavoriteStore::Import(const std::function<bool(std::vector<CString>& batch)>& nextBatch) {
  if (!m_db || EnsureOpen() != 1) return -1;
  // One transaction: one disk sync for the whole list, and all rows or none. Many rows per
  // statement, so a long list costs SQLite's work, not a statement's text per row.
  bool begun = false;
  int count = 0;
  std::vector<CString> batch;
  while (nextBatch(batch)) {
    if (!begun) {
      if (Exec("BEGIN TRANSACTION;") != 0) return -1;
      begun = true;
    }
    if (InsertMany(batch) != 0) {
      Exec("ROLLBACK;");
      return -1;
    }
    count += static_cast<int>(batch.size());
    batch.clear();
  }
  if (begun && Exec("COMMIT;") != 0) {
    Exec("ROLLBACK;");
    return -1;
  }
  return count;
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

void CFavoriteStore::Wait(int kind, const CString& path, int id) {
  const bool journaled = kind == kWaitAdd && AppendJournal(path);
  m_waiting.push_back({kind, path, id, journaled, REMOVED_FAVORITE()});
}

CString CFavoriteStore::WaitingJournalPath() { return DatabaseFolder() + L"\\favorite-waiting.pvl"; }

bool CFavoriteStore::AppendJournal(const CString& path) {
  const CString file = WaitingJournalPath();
  CreateFolderChain(DatabaseFolder());
  CXHandle f(CreateFileW(file, FILE_APPEND_DATA, FILE_SHARE_READ, nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!f.Valid()) return false;
  const std::string line = XNarrow(path, -1, CP_UTF8) + "\r\n";
  DWORD written = 0;
  // Flushed like a committed row: an add the user saw listed survives a kill of the process.
  return WriteFile(f.Get(), line.data(), static_cast<DWORD>(line.size()), &written, nullptr) &&
         written == line.size() && FlushFileBuffers(f.Get());
}

void CFavoriteStore::RewriteJournal() {
  const CString file = WaitingJournalPath();
  std::string lines;
  for (const WAITING_CHANGE& c : m_waiting) {
    if ((c.kind == kWaitAdd || c.kind == kWaitRestore) && c.journaled) lines += XNarrow(c.path, -1, CP_UTF8) + "\r\n";
  }
  if (lines.empty()) {
    DeleteFileW(file);
    return;
  }
  // Written beside it and moved over it, so a kill in between leaves one whole journal.
  const CString next = file + L".new";
  {
    CXHandle f(CreateFileW(next, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    DWORD written = 0;
    if (!f.Valid() || !WriteFile(f.Get(), lines.data(), static_cast<DWORD>(lines.size()), &written, nullptr) ||
        written != lines.size() || !FlushFileBuffers(f.Get())) {
      f.Reset();
      DeleteFileW(next);
      return;  // the old journal stays: at worst a withdrawn add comes back at the next start
    }
  }
  if (!MoveFileExW(next, file, MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) DeleteFileW(next);
}

void CFavoriteStore::TakeOverJournal() {
  const CString file = WaitingJournalPath();
  if (!PathExistsAtAll(file)) return;
  std::vector<WAITING_CHANGE> earlier;
  for (const std::string& line : SplitLegacyLines(ReadWholeFile(file))) {
    CString path(XWiden(line.data(), static_cast<int>(line.size()), CP_UTF8));
    if (!path.IsEmpty()) earlier.push_back({kWaitAdd, path, 0, true, REMOVED_FAVORITE()});
  }
  m_waiting.insert(m_waiting.begin(), earlier.begin(), earlier.end());
  if (earlier.empty()) DeleteFileW(file);
}

bool CFavoriteStore::WriteWaiting() {
  if (m_waiting.empty()) return true;
  // Opens of a row whose add waited are counted on the row that add makes.
  std::map<std::wstring, int> addedIds;
  int rc = Exec("BEGIN TRANSACTION;");
  for (size_t i = 0; rc == 0 && i < m_waiting.size(); ++i) {
    const WAITING_CHANGE& c = m_waiting[i];
    if (c.kind == kWaitAdd) {
      rc = Insert(c.path);
      int id = 0;
      if (rc == 0) rc = LastId(id);
      addedIds[CutKey(c.path)] = id;
    } else if (c.kind == kWaitCount) {
      int id = c.id;
      if (id == 0) {
        auto added = addedIds.find(CutKey(c.path));
        id = added == addedIds.end() ? 0 : added->second;
      }
      if (id != 0) rc = TouchAccess(id);
    } else if (c.kind == kWaitRestore) {
      rc = InsertRemoved(c.restore);
    } else {
      rc = Delete(c.id);
    }
  }
  if (rc == 0) rc = Exec("COMMIT;");
  if (rc != 0) {
    Exec("ROLLBACK;");
    MarkUnavailable(WriteFault(rc));
    return false;
  }
  // A kill between the commit and this removal lists those adds twice at the next start;
  // the other order could lose them.
  DeleteFileW(WaitingJournalPath());
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

void CFavoriteStore::CountOpen(int id, const CString& path) {
  if (!m_db) return;
  if (id == 0) {
    // Counted only when its add is waiting (a row without a database keeps no count).
    const std::wstring key = CutKey(path);
    for (const WAITING_CHANGE& c : m_waiting) {
      if (c.kind == kWaitAdd && CutKey(c.path) == key) {
        Wait(kWaitCount, path, 0);
        return;
      }
    }
    return;
  }
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
      if (m_waiting[i].kind == kWaitAdd && CutKey(m_waiting[i].path) == CutKey(path)) {
        const bool journaled = m_waiting[i].journaled;
        m_waiting.erase(m_waiting.begin() + static_cast<std::ptrdiff_t>(i));
        // Its waiting opens go with it, unless another waiting add of the path takes them.
        bool another = false;
        for (size_t j = 0; j < i; ++j) another = another || (m_waiting[j].kind == kWaitAdd && CutKey(m_waiting[j].path) == CutKey(path));
        if (!another) {
          m_waiting.erase(std::remove_if(m_waiting.begin() + static_cast<std::ptrdiff_t>(i), m_waiting.end(),
                                         [&](const WAITING_CHANGE& c) {
                                           return c.kind == kWaitCount && c.id == 0 && CutKey(c.path) == CutKey(path);
                                         }),
                          m_waiting.end());
        }
        if (journaled) RewriteJournal();
        break;
      }
    }
    return;
  }
  // A row whose restore still waits: the restore is withdrawn instead.
  for (size_t i = m_waiting.size(); i-- > 0;) {
    if (m_waiting[i].kind == kWaitRestore && m_waiting[i].id == id) {
      const bool journaled = m_waiting[i].journaled;
      m_waiting.erase(m_waiting.begin() + static_cast<std::ptrdiff_t>(i));
      if (journaled) RewriteJournal();
      return;
    }
  }
  if (!Unavailable()) {
    int rc = Delete(id);
    if (rc == 0) return;
    MarkUnavailable(WriteFault(rc));
  }
  Wait(kWaitDelete, CString(), id);
}

REMOVED_FAVORITE CFavoriteStore::ReadForUndo(int id, const CString& path) {
  REMOVED_FAVORITE removed;
  removed.id = id;
  removed.path = path;
  if (id != 0 && m_db && !Unavailable()) {
    char sql[64];
    snprintf(sql, sizeof sql, kReadRowSql, id);
    if (Exec(sql, StoreRemovedRow, &removed) != 0) removed.stored = false;
  }
  return removed;
}

int CFavoriteStore::InsertRemoved(const REMOVED_FAVORITE& removed) {
  // The path as the row held it: the list's copy of a long one is cut.
  const std::string path = removed.storedPath.empty()
                               ? "'" + XNarrow(EscapeSqlQuotes(removed.path.Str()).c_str()) + "'"
                               : removed.storedPath;
  std::string sql = "INSERT INTO main(id,path,color,addtime,accesstime,count) VALUES(" + std::to_string(removed.id) +
                    "," + path + "," + removed.color + "," + removed.addtime + "," + removed.accesstime + "," +
                    removed.count + ");";
  return Exec(sql);
}

int CFavoriteStore::Restore(const REMOVED_FAVORITE& removed) {
  if (!m_db) return 0;
  if (removed.id != 0) {
    // Its removal never reached the file: the row is still there.
    for (size_t i = m_waiting.size(); i-- > 0;) {
      if (m_waiting[i].kind == kWaitDelete && m_waiting[i].id == removed.id) {
        m_waiting.erase(m_waiting.begin() + static_cast<std::ptrdiff_t>(i));
        return removed.id;
      }
    }
  }
  int id = 0;
  if (removed.id == 0 || !removed.stored) {
    // A waiting add, or a row that could not be read: added again like any path.
    Add(removed.path, id);
    return id;
  }
  if (!Unavailable()) {
    int rc = InsertRemoved(removed);
    if (rc == 0) return removed.id;
    MarkUnavailable(WriteFault(rc));
  }
  // Journaled as a plain add: a killed run still keeps the favourite (without its history).
  WAITING_CHANGE change{kWaitRestore, removed.path, removed.id, AppendJournal(removed.path), removed};
  m_waiting.push_back(change);
  return removed.id;
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
  // Journaled adds are read back from the journal; the legacy list takes the ones it refused.
  std::string lines;
  for (const WAITING_CHANGE& c : m_waiting) {
    if ((c.kind == kWaitAdd || c.kind == kWaitRestore) && !c.journaled) lines += XNarrow(c.path) + "\r\n";
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
  // Read line by line into batches, so a list of any length never becomes one vector of paths.
  const std::string bytes = ReadWholeFile(file);
  size_t position = 0;
  int result = Import([&](std::vector<CString>& batch) {
    CString line;
    while (batch.size() < kImportBatch && NextLegacyLine(bytes, position, line)) batch.push_back(line);
    return !batch.empty();
  });
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
    if (m_db) TakeOverJournal();
    // Adds an earlier run could not store are listed while they wait.
    auto listWaiting = [this]() {
      for (const WAITING_CHANGE& c : m_waiting) {
        if (c.kind != kWaitAdd) continue;
        FAVORITE_DATA record = {};
        CopyPathCut(record.path, c.path);
        Append(record);
      }
    };
    if (!Settle()) {
      // Nothing stored to show yet; the stored favourites come with the first successful Retry.
      listWaiting();
      AddPendingPath(pendingPath);
      if (m_db && !m_waiting.empty()) m_startupPath = pendingPath;
      return;
    }
    const bool importing = BeginLegacyImport();
    if (!m_waiting.empty() && !WriteWaiting()) listWaiting();
    // The pending path is compared with every row as it is read, and added after the last.
    m_pending.clear();
    if (!pendingPath.IsEmpty() && PathExistsAtAll(pendingPath)) {
      FAVORITE_DATA cut = {};
      CopyPathCut(cut.path, pendingPath);
      m_pending = cut.path;
    }
    int rc = LoadFirst(autoSort, kFirstRows);
    if (rc != 0 && m_db) MarkUnavailable(WriteFault(rc));
    if (isNew && m_list.empty() && !m_more && !importing && !Unavailable()) {
      for (const CString& folder : RecentFolders(kRecentSeedLimit)) Insert(folder);
      LoadFirst(autoSort, kFirstRows);
    }
    if (!m_more && !m_importing) FinishPendingPath();
  } catch (...) {
    // Out of memory at start-up: run with what was loaded.
  }
}
