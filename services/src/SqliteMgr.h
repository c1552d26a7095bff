// CSqliteMgr: one SQLite connection behind ISQLite. Close, Exec and destruction are
// serialised by the object's lock; Open and IsOpen read and set the handle without it.
#pragma once

#include "ServiceInterfaces.h"
#include "XObject.h"
#include "XWin.h"

struct sqlite3;

class CSqliteMgr : public CXObject<ISQLite> {
 public:
  CSqliteMgr() = default;

  HRESULT __stdcall QueryInterface(const GUID* id, void** out) override;
  int __stdcall Open(const char* file) override;
  int __stdcall Close() override;
  int __stdcall IsOpen() override;
  int __stdcall Exec(const char* sql, XSqliteCallback callback, void* context) override;

 private:
  ~CSqliteMgr() override;

  sqlite3* volatile m_db = nullptr;
  CXCritSec m_lock;
};
