// CSqliteMgr: connection ownership and result conventions over sqlite3_open/exec/close.
#include "SqliteMgr.h"

#include <sqlite3.h>

HRESULT CSqliteMgr::QueryInterface(const GUID* id, void** out) {
  return QueryPrimary(id, out, IID_ISQLite);
}

int CSqliteMgr::Open(const char* file) {
  if (m_db) return 0;
  sqlite3* db = nullptr;
  if (sqlite3_open(file, &db) != SQLITE_OK) {
    sqlite3_close(db);  // sqlite3_open hands back a handle even on failure (or null)
    return 0;
  }
  // Windows' SQLite retries a read or write refused by another program's lock ten times over
  // about 1.4 s, and the caller's window stands still meanwhile. The favourites store keeps a
  // refused change and tries again itself, so a short wait is enough (the setting is global).
  int retry[2] = {3, 25};
  sqlite3_file_control(db, "main", SQLITE_FCNTL_WIN32_AV_RETRY, retry);
  m_db = db;
  return 1;
}

int CSqliteMgr::Close() {
  CXLock lock(m_lock);
  if (!m_db) return 0;
  int rc = sqlite3_close(m_db);
  m_db = nullptr;
  return rc;
}

int CSqliteMgr::IsOpen() { return m_db ? 1 : 0; }

int CSqliteMgr::Exec(const char* sql, XSqliteCallback callback, void* context) {
  if (!m_db) return -1;
  CXLock lock(m_lock);
  if (!m_db) return -1;  // closed by another thread while we waited
  char* error = nullptr;
  int rc = sqlite3_exec(m_db, sql, callback, context, &error);
  if (error) sqlite3_free(error);
  return rc;
}

CSqliteMgr::~CSqliteMgr() {
  CXLock lock(m_lock);
  if (m_db) {
    sqlite3_close(m_db);
    m_db = nullptr;
  }
}
