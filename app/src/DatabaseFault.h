// What can keep the favourites database from being used, and what the user is told about it.
// Plain text and rules only: the store decides when a fault happened, this file names it, says
// where an unreadable file is kept and words the one message for each kind.
#pragma once

#include <windows.h>

#include "XString.h"

enum class DB_FAULT {
  kNone,
  kNotADatabase,  // the file holds something that is not a database (or a damaged one)
  kInUse,         // held without sharing or locked by another program
  kFolder,        // a folder stands where the file belongs
  kCannotWrite,   // opened, but nothing can be written (read-only, disk full, no access)
  kCannotOpen,    // the file or its folder cannot be opened or created
  kUnreadableKept,  // not a database, and it could not be moved aside
};

// The fault a SQLite result code of a statement stands for; kNone for success and for
// SQLITE_ERROR (a statement's own error, such as creating a table that exists).
DB_FAULT FaultOfResult(int sqliteResult);

// Where an unreadable database is kept: beside it, "favorite-unreadable-YYYYMMDD-HHMMSS.db"
// for the local time given, with "-2", "-3", ... before ".db" for the attempt given (1 = none).
CString UnreadableCopyPath(const CString& database, const SYSTEMTIME& local, int attempt);

// The message for a database that was moved aside and replaced by a new one.
CString MovedAsideReport(const CString& database, const CString& keptAs);
// The message for a database that cannot be used now: favourites added now wait in memory
// (and, when the program ends first, in the legacy list that the next start imports).
CString UnavailableReport(const CString& database, DB_FAULT fault);

// The caption of both.
extern const wchar_t kDatabaseReportCaption[];
