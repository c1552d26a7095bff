// The database faults' names, the unreadable copy's file name and the user's messages. The
// messages always carry the full path, so the user can find the file the program speaks of.
#include "DatabaseFault.h"

#include "ShellItem.h"

namespace {

// SQLite's primary result codes (the service library hands them through unchanged).
const int kSqliteError = 1, kSqlitePerm = 3, kSqliteBusy = 5, kSqliteLocked = 6, kSqliteReadOnly = 8,
          kSqliteIoErr = 10, kSqliteCorrupt = 11, kSqliteFull = 13, kSqliteCantOpen = 14, kSqliteNotADb = 26;

const wchar_t* FaultReason(DB_FAULT fault) {
  switch (fault) {
    case DB_FAULT::kInUse: return L"It is in use or locked by another program.";
    case DB_FAULT::kFolder: return L"A folder of that name is in its place.";
    case DB_FAULT::kCannotWrite: return L"It cannot be written.";
    case DB_FAULT::kNotADatabase: return L"It is damaged.";
    case DB_FAULT::kUnreadableKept: return L"It is not a readable database, and it could not be moved aside.";
    default: return L"It cannot be opened.";
  }
}

}  // namespace

const wchar_t kDatabaseReportCaption[] = L"Pinvale";

DB_FAULT FaultOfResult(int rc) {
  switch (rc) {
    case 0:
    case kSqliteError:
      return DB_FAULT::kNone;
    case kSqliteNotADb:
    case kSqliteCorrupt:
      return DB_FAULT::kNotADatabase;
    case kSqliteBusy:
    case kSqliteLocked:
    case kSqliteIoErr:  // reads of a region another program has locked
      return DB_FAULT::kInUse;
    case kSqliteReadOnly:
    case kSqlitePerm:
    case kSqliteFull:
      return DB_FAULT::kCannotWrite;
    case kSqliteCantOpen:
    default:
      return DB_FAULT::kCannotOpen;
  }
}

CString UnreadableCopyPath(const CString& database, const SYSTEMTIME& t, int attempt) {
  CString name;
  name.Format(L"\\favorite-unreadable-%04u%02u%02u-%02u%02u%02u", t.wYear, t.wMonth, t.wDay, t.wHour, t.wMinute,
              t.wSecond);
  if (attempt > 1) name.AppendFormat(L"-%d", attempt);
  return PathWithoutLastComponent(database) + name + L".db";
}

CString MovedAsideReport(const CString& database, const CString& keptAs) {
  CString text;
  text.Format(L"The favourites database could not be read:\n%s\n\nIt was kept as\n%s\nand a new, empty "
              L"favourites database was started in its place.",
              database.GetString(), keptAs.GetString());
  return text;
}

CString UnavailableReport(const CString& database, DB_FAULT fault) {
  CString text;
  text.Format(L"Favourites cannot be stored in\n%s\n%s\n\nFavourites added now are not stored yet. Pinvale "
              L"keeps them and stores them once the database can be used; it keeps trying, also at its "
              L"next start.",
              database.GetString(), FaultReason(fault));
  return text;
}
