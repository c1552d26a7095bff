// CFavoriteStore: the favourites table `main` in favorite.db, reached through the service
// library's ISQLite object, plus the in-memory list that fills the list control at start-up.
// Every text crosses to SQLite in the ANSI code page; the file is opened by the first
// statement and stays open until CloseDatabase. Changes the database cannot take (in use,
// locked, a folder in its place) wait in memory, in order, until it can; none is dropped, and
// the waiting adds are also kept in a journal beside the database, so a killed run keeps them.
#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <unordered_set>
#include <vector>

#include "DatabaseFault.h"
#include "ServiceInterfaces.h"
#include "XString.h"
#include "XWin.h"

// One row of `main` in memory. Paths longer than MAX_PATH - 1 are held cut (the database
// keeps them whole).
struct FAVORITE_DATA {
  int id;
  wchar_t path[MAX_PATH];
  unsigned color;         // 0xRRGGBB
  long long addtime;      // seconds since 1970-01-01 00:00 UTC
  long long accesstime;
  int count;
};

// A removed favourite as the database held it, so that it can be put back as it was. The
// stored values are SQL literals read from its row (NULL kept as NULL).
struct REMOVED_FAVORITE {
  int id = 0;
  CString path;
  bool stored = false;  // the literals below were read from the row
  std::string storedPath, color, addtime, accesstime, count;  // the path whole, as stored
};

class CFavoriteStore {
 public:
  CFavoriteStore() = default;
  CFavoriteStore(const CFavoriteStore&) = delete;
  CFavoriteStore& operator=(const CFavoriteStore&) = delete;

  // "%appdata%\Tarquon\Pinvale\favorite.db", computed once per process.
  static const CString& DatabasePath();
  // Its folder (also the crash-dump folder).
  static CString DatabaseFolder();
  // "%appdata%\Dorrik\Pinvale\favorite.pvl", the one-time import of older versions.
  static CString LegacyListPath();
  // "favorite-waiting.pvl" beside the database: the adds that wait, one UTF-8 path per line,
  // in order. Gone once they are stored; read back by the next start.
  static CString WaitingJournalPath();

  // Database operations: -1 when no ISQLite object is held or the file cannot be opened,
  // otherwise SQLite's result code (0 on success) unless stated.
  int Connect();        // 1 when an object was obtained now, else 0
  int EnsureOpen();     // 1 when open (now or before), 0 when the open failed, -1 no object
  int CreateTable();
  int Insert(const CString& path);
  int TouchAccess(int id);
  int Delete(int id);
  int LastId(int& id);  // id untouched when the sequence has no row for `main`
  int Load(bool byCount);
  // Inserts all paths in order in one transaction: the number of paths, or -1 when no
  // database is available or the transaction could not be committed (nothing is kept then).
  int ImportPaths(const std::vector<CString>& paths);
  void CloseDatabase();

  // The in-memory list.
  void Append(const FAVORITE_DATA& record);
  int Count() const { return static_cast<int>(m_list.size()); }
  const FAVORITE_DATA* At(int index) const;  // null when out of range
  // Frees the in-memory list once the list control holds its rows.
  void ReleaseList();

  // The changes of the running program. Each is written at once while the database can be
  // used; otherwise it waits (and the database counts as unavailable until a Retry succeeds).
  // Add: 1 stored (id set), 0 waiting (id 0). An add that waits is also in the in-memory list.
  int Add(const CString& path, int& id);
  // A row of id 0 is one whose add waits: the open is counted when that add is written.
  void CountOpen(int id, const CString& path = CString());
  // A row of id 0 is one that waits: its add is withdrawn (matched by path).
  void Remove(int id, const CString& path);
  // What a removal would take away, read before it (stored stays false when the row cannot
  // be read now).
  REMOVED_FAVORITE ReadForUndo(int id, const CString& path);
  // Puts a removed favourite back: its row returns with its id, colour, times and count (a
  // removal still waiting is withdrawn instead; one that cannot be written now waits). The
  // id the favourite has now, 0 while its add waits.
  int Restore(const REMOVED_FAVORITE& removed);

  // While the database is unavailable: tries it again; true when it can be used now, every
  // waiting change was written and the in-memory list reloaded from it (show it anew).
  bool Retry();
  bool Unavailable() const { return m_fault != DB_FAULT::kNone; }
  size_t WaitingChanges() const { return m_waiting.size(); }
  // What the user should be told, once per kind of event; empty when nothing new happened.
  CString TakeReport();
  bool HasReport() const { return !m_report.IsEmpty(); }

  // Start-up load: the database brought into use (an unreadable file moved aside and
  // replaced), legacy import, the first rows (LoadFirst), recent-folder seed of a new
  // database, then the pending command-line path once every row has been read.
  void StartupLoad(bool autoSort, const CString& pendingPath);

  // Loading in parts, so that a table of any size shows its first rows at once. LoadFirst
  // reads at most `rows` rows as Load would order them (by count: the most used ones); each
  // LoadMore replaces the in-memory list with up to `rows` further rows in that order, so the
  // parts together are the rows of one Load, each once. The pending command-line path of
  // StartupLoad is appended after the last part. Exec results; -1 without a database.
  int LoadFirst(bool byCount, int rows);
  int LoadMore(int rows);
  bool HasMoreRows() const { return m_more || m_importing; }
  // A row the program added itself while parts are still to come (it is listed already).
  void NoteAdded(int id);

  // A legacy list too long to import before the window shows is imported afterwards, each
  // part in a transaction of its own that also records the lines done (the database's
  // user_version, 0 again once the list is gone), so an import cut short resumes where it
  // stopped. BeginLegacyImport imports a short list at once (false) or reads a long one for
  // ImportMore (true); ImportMore imports up to `lines` lines (0, or -1 when a part failed:
  // the list then waits for the next start). The imported rows come in later LoadMore parts.
  bool BeginLegacyImport();
  int ImportMore(int lines);
  bool IsImporting() const { return m_importing; }
  static const int kImportLines = 5000;  // per part
  static const int kFirstRows = 500;    // before the window shows: more than a screen holds
  static const int kMoreRows = 5000;    // per part afterwards

  // The steps of StartupLoad, each usable on its own.
  int ImportLegacyList();  // ImportPaths' result; 0 with no legacy file
  static std::vector<CString> RecentFolders(size_t limit);
  void AddPendingPath(const CString& path);

  // Row reading state shared with the row callback.
  struct LOAD_STATE {
    std::vector<FAVORITE_DATA>* list;
    const std::unordered_set<int>* skip;  // ids listed already, or null
    const wchar_t* pending;               // the pending path cut like a record, or null
    bool pendingSeen;
    int rows;                             // rows the statement returned
    int lastId;
    int lastCount;                        // of the row read last
  };

 private:
  int Exec(const std::string& sql, XSqliteCallback callback = nullptr, void* context = nullptr);
  // Opens the database and makes sure its table exists; what keeps it from use, if anything.
  DB_FAULT Prepare();
  // Prepare, with an unreadable file moved aside and a new database started; records the
  // outcome (fault and report). True when the database can be used.
  bool Settle();
  bool MoveAside(CString& keptAs);
  void MarkUnavailable(DB_FAULT fault);
  // Writes the waiting changes in one transaction; false (all still waiting) when it failed.
  bool WriteWaiting();
  void Wait(int kind, const CString& path, int id);
  // The journal of waiting adds: appended (and flushed) per add, rewritten when one is
  // withdrawn, removed once they are stored. False when the file could not be written.
  bool AppendJournal(const CString& path);
  void RewriteJournal();
  // A journal left by an earlier run: its adds wait first, before anything of this run.
  void TakeOverJournal();
  // At the end of the run: adds that still wait go to the legacy list, which the next start
  // imports, so they outlive this process.
  void KeepWaitingAddsForNextStart();
  // Whether the in-memory list holds the path (compared without regard to case, as held).
  bool Listed(const CString& path) const;

  struct WAITING_CHANGE {
    int kind;  // kWaitAdd, kWaitCount, kWaitDelete, kWaitRestore
    CString path;
    int id;
    bool journaled;  // an add or restore that is in the journal
    REMOVED_FAVORITE restore;  // kWaitRestore
  };
  int InsertRemoved(const REMOVED_FAVORITE& removed);

  std::vector<FAVORITE_DATA> m_list;
  CXComPtr<ISQLite> m_db;
  std::vector<WAITING_CHANGE> m_waiting;
  DB_FAULT m_fault = DB_FAULT::kNone;
  bool m_toldUnavailable = false;
  bool m_autoSort = false;
  CString m_report;
  // The command-line path while it waits: dropped at the first retry if the stored list has it.
  CString m_startupPath;

  int LoadRows(const std::string& sql, int rows);
  int FirstInt(const char* sql);  // the first column of the first row, 0 without one
  void EndImport();
  // Inserts the paths with as few statements as the text allows (inside a transaction).
  int InsertMany(const std::vector<CString>& paths);
  // One transaction around inserting the batches nextBatch fills (false when none is left):
  // the number of rows, or -1 with nothing kept.
  int Import(const std::function<bool(std::vector<CString>& batch)>& nextBatch);
  void FinishPendingPath();

  // Loading in parts.
  bool m_more = false;
  int m_lastId = 0;                  // the row read last: its id and count
  int m_lastCount = 0;
  bool m_byCount = false;
  int m_endId = 0;                   // the last id the parts read
  std::unordered_set<int> m_skipIds;  // listed already (by-count first part, added rows)
  bool m_importing = false;
  std::string m_importBytes;
  size_t m_importPosition = 0;
  int m_importDone = 0;
  std::wstring m_pending;  // cut to a record's length; empty when none is waiting
  bool m_pendingSeen = false;
};
