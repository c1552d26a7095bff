// CFavoriteStore: the favourites table `main` in favorite.db, reached through the service
// library's ISQLite object, plus the in-memory list that fills the list control at start-up.
// Every text crosses to SQLite in the ANSI code page; the file is opened by the first
// statement and stays open until CloseDatabase.
#pragma once

#include <windows.h>

#include <vector>

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

  // Start-up load: legacy import, Load, recent-folder seed of a new database, then the
  // pending command-line path.
  void StartupLoad(bool autoSort, const CString& pendingPath);

  // The steps of StartupLoad, each usable on its own.
  int ImportLegacyList();  // ImportPaths' result; 0 with no legacy file
  static std::vector<CString> RecentFolders(size_t limit);
  void AddPendingPath(const CString& path);

 private:
  int Exec(const std::string& sql, XSqliteCallback callback = nullptr, void* context = nullptr);

  std::vector<FAVORITE_DATA> m_list;
  CXComPtr<ISQLite> m_db;
};
