// CFavoriteStore against real database files through Corvane.dll. APPDATA points into a
// throwaway folder (with non-ASCII characters in its name) for the whole process; each test
// starts without the program's folders. Recent folders come from real shortcuts in the
// recent-documents folder with last-access times set far in the future, so they are the
// newest entries there whatever else the folder holds.
#include <gtest/gtest.h>

#include <shlobj.h>

#include <memory>
#include <string>
#include <vector>

#include "FavoriteStore.h"
#include "ModuleLoader.h"
#include "ProgramSeam.h"
#include "ShellItem.h"
#include "TestUtil.h"

namespace {

std::vector<std::wstring> g_messages;
bool RecordMessage(const XPROGRAM_CALL& call) {
  g_messages.push_back(call.file);
  return true;
}

std::wstring g_appData;

class AppDataEnvironment : public ::testing::Environment {
 public:
  void SetUp() override {
    m_dir.reset(new xtest::TempDir);
    g_appData = *m_dir / L"Profil \u00C4\u00DF \u6570\u636E";
    CreateDirectoryW(g_appData.c_str(), nullptr);
    SetEnvironmentVariableW(L"APPDATA", g_appData.c_str());
    SetProgramCallSink(RecordMessage);
  }
  void TearDown() override { m_dir.reset(); }

 private:
  std::unique_ptr<xtest::TempDir> m_dir;
};

::testing::Environment* const g_environment = ::testing::AddGlobalTestEnvironment(new AppDataEnvironment);

using Rows = std::vector<std::vector<std::string>>;

int CollectRow(void* context, int columns, char** values, char**) {
  std::vector<std::string> row;
  for (int i = 0; i < columns; ++i) row.push_back(values[i] ? values[i] : "<null>");
  static_cast<Rows*>(context)->push_back(row);
  return 0;
}

// Straight to the database file, beside the store under test.
Rows Query(const char* sql) {
  Rows rows;
  ISQLite* db = nullptr;
  if (CModuleLoader::GetModuleObject(0, &IID_ISQLite, reinterpret_cast<void**>(&db)) != 0) return rows;
  if (db->Open(XNarrow(CFavoriteStore::DatabasePath(), -1, CP_UTF8).c_str()) == 1) {
    db->Exec(sql, CollectRow, &rows);
    db->Close();
  }
  db->Release();
  return rows;
}

FILETIME FutureTime(int hours) {
  SYSTEMTIME st = {2090, 1, 0, 1, 0, 0, 0, 0};
  FILETIME ft;
  SystemTimeToFileTime(&st, &ft);
  ULARGE_INTEGER v;
  v.LowPart = ft.dwLowDateTime;
  v.HighPart = ft.dwHighDateTime;
  v.QuadPart += static_cast<ULONGLONG>(hours) * 36000000000ULL;
  ft.dwLowDateTime = v.LowPart;
  ft.dwHighDateTime = v.HighPart;
  return ft;
}

// Shortcuts in the recent-documents folder, removed again on destruction.
class RecentShortcuts {
 public:
  RecentShortcuts() { GetSpecialFolderPath(CSIDL_RECENT, m_recent); }
  ~RecentShortcuts() {
    for (const std::wstring& f : m_files) DeleteFileW(f.c_str());
  }
  void Add(const std::wstring& target, int hours) {
    std::wstring lnk = std::wstring(m_recent) + L"\\pvtest_" + std::to_wstring(m_files.size()) + L".lnk";
    CreateShortcut(target.c_str(), nullptr, lnk.c_str());
    CXHandle f(CreateFileW(lnk.c_str(), FILE_WRITE_ATTRIBUTES, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                           OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    FILETIME t = FutureTime(hours);
    EXPECT_TRUE(f.Valid() && SetFileTime(f.Get(), nullptr, &t, nullptr));
    m_files.push_back(lnk);
  }
  bool Ready() const { return !m_recent.IsEmpty(); }

 private:
  CString m_recent;
  std::vector<std::wstring> m_files;
};

class FavoriteStoreTest : public ::testing::Test {
 protected:
  void SetUp() override {
    CoInitialize(nullptr);
    g_messages.clear();
    xtest::RemoveTree(g_appData + L"\\Tarquon");
    xtest::RemoveTree(g_appData + L"\\Dorrik");
  }
  void TearDown() override {
    EXPECT_TRUE(g_messages.empty());
    CoUninitialize();
  }
  std::wstring MakeFolder(const std::wstring& name) {
    std::wstring path = dir / name;
    CreateDirectoryW(path.c_str(), nullptr);
    return path;
  }
  void WriteLegacy(const std::string& bytes) {
    CreateDirectoryW((g_appData + L"\\Dorrik").c_str(), nullptr);
    CreateDirectoryW((g_appData + L"\\Dorrik\\Pinvale").c_str(), nullptr);
    ASSERT_TRUE(xtest::WriteBytes(CFavoriteStore::LegacyListPath().GetString(), bytes));
  }
  std::vector<std::wstring> Paths(const CFavoriteStore& s) {
    std::vector<std::wstring> out;
    for (int i = 0; i < s.Count(); ++i) out.push_back(s.At(i)->path);
    return out;
  }
  // A store with a fresh table holding the given paths (ids 1, 2, ...).
  void Fill(CFavoriteStore& s, const std::vector<std::wstring>& paths) {
    ASSERT_EQ(s.Connect(), 1);
    s.CreateTable();
    for (const std::wstring& p : paths) ASSERT_EQ(s.Insert(p.c_str()), 0);
  }

  xtest::TempDir dir;
  CFavoriteStore store;
};

TEST_F(FavoriteStoreTest, PathsLiveUnderAppData) {
  EXPECT_EQ(std::wstring(CFavoriteStore::DatabasePath()), g_appData + L"\\Tarquon\\Pinvale\\favorite.db");
  EXPECT_EQ(std::wstring(CFavoriteStore::DatabaseFolder()), g_appData + L"\\Tarquon\\Pinvale");
  EXPECT_EQ(std::wstring(CFavoriteStore::LegacyListPath()), g_appData + L"\\Dorrik\\Pinvale\\favorite.pvl");
}

TEST_F(FavoriteStoreTest, FirstStartCreatesTheFolderAndSeedsTheFiveNewestRecentFolders) {
  RecentShortcuts recent;
  ASSERT_TRUE(recent.Ready());
  std::vector<std::wstring> folders;
  for (int i = 0; i < 7; ++i) {
    folders.push_back(MakeFolder(L"recent" + std::to_wstring(i)));
    recent.Add(folders.back(), 10 + i);  // recent6 is the newest folder
  }
  std::wstring file = dir / L"document.txt";
  ASSERT_TRUE(xtest::WriteBytes(file, "x"));
  recent.Add(file, 100);                        // newest of all, but a file
  recent.Add(dir / L"gone", 99);                // target missing
  recent.Add(folders[6], 20);                   // a second shortcut to one folder: kept twice

  store.StartupLoad(false, CString());
  EXPECT_TRUE(xtest::FileExists(CFavoriteStore::DatabasePath().GetString()));
  EXPECT_EQ(Paths(store), (std::vector<std::wstring>{folders[6], folders[6], folders[5], folders[4], folders[3]}));
  for (int i = 0; i < store.Count(); ++i) {
    EXPECT_EQ(store.At(i)->id, i + 1);
    EXPECT_EQ(store.At(i)->color, 0xFFFFFFu);
    EXPECT_EQ(store.At(i)->count, 0);
    EXPECT_EQ(store.At(i)->addtime, store.At(i)->accesstime);
    EXPECT_GT(store.At(i)->addtime, 1600000000);
  }
  Rows rows = Query("SELECT color, count, addtime = accesstime, length(addtime) FROM main");
  ASSERT_EQ(rows.size(), 5u);
  EXPECT_EQ(rows[0], (std::vector<std::string>{"ffffff", "0", "1", "19"}));
}

TEST_F(FavoriteStoreTest, LegacyListBecomesRowsOneToThreeAndIsDeleted) {
  RecentShortcuts recent;
  recent.Add(MakeFolder(L"would be seeded"), 1);
  WriteLegacy("C:\\first\r\n\r\nC:\\it's second\nC:\\third\n");
  store.StartupLoad(false, CString());
  EXPECT_FALSE(xtest::FileExists(CFavoriteStore::LegacyListPath().GetString()));
  EXPECT_EQ(Paths(store), (std::vector<std::wstring>{L"C:\\first", L"C:\\it's second", L"C:\\third"}));
  EXPECT_EQ(Query("SELECT id, path FROM main ORDER BY id"),
            (Rows{{"1", "C:\\first"}, {"2", "C:\\it's second"}, {"3", "C:\\third"}}));
}

TEST_F(FavoriteStoreTest, LegacyListIsImportedIntoAnExistingTableToo) {
  {
    CFavoriteStore first;
    Fill(first, {L"C:\\old"});
  }
  std::wstring longPath = L"C:\\" + std::wstring(300, L'x');
  WriteLegacy("C:\\new\n" + XNarrow(longPath.c_str()) + "\n");
  store.StartupLoad(false, CString());
  EXPECT_FALSE(xtest::FileExists(CFavoriteStore::LegacyListPath().GetString()));
  EXPECT_EQ(Query("SELECT id, length(path) FROM main ORDER BY id"), (Rows{{"1", "6"}, {"2", "6"}, {"3", "303"}}));
  ASSERT_EQ(store.Count(), 3);
  EXPECT_EQ(std::wstring(store.At(2)->path), longPath.substr(0, MAX_PATH - 1));
}

TEST_F(FavoriteStoreTest, LegacyListStaysWhenTheDatabaseCannotBeOpened) {
  // A folder where the database file should be: SQLite cannot open it.
  CreateDirectoryW((g_appData + L"\\Tarquon").c_str(), nullptr);
  CreateDirectoryW((g_appData + L"\\Tarquon\\Pinvale").c_str(), nullptr);
  ASSERT_TRUE(CreateDirectoryW(CFavoriteStore::DatabasePath(), nullptr));
  WriteLegacy("C:\\kept\n");
  store.StartupLoad(false, CString());
  EXPECT_TRUE(xtest::FileExists(CFavoriteStore::LegacyListPath().GetString()));
  EXPECT_EQ(store.Count(), 0);
  int id = 9;
  EXPECT_EQ(store.EnsureOpen(), 0);
  EXPECT_EQ(store.Insert(L"C:\\x"), -1);
  EXPECT_EQ(store.LastId(id), -1);
  EXPECT_EQ(store.TouchAccess(1), -1);
  EXPECT_EQ(store.Delete(1), -1);
  EXPECT_EQ(store.Load(true), -1);
  EXPECT_EQ(store.ImportPaths({L"C:\\y"}), -1);
  EXPECT_EQ(id, 9);
  // Every statement tries the open again.
  RemoveDirectoryW(CFavoriteStore::DatabasePath());
  EXPECT_EQ(store.CreateTable(), 0);
  EXPECT_EQ(store.Insert(L"C:\\x"), 0);
}

TEST_F(FavoriteStoreTest, SecondStartWithAnEmptyTableDoesNotSeed) {
  {
    CFavoriteStore first;
    Fill(first, {});
  }
  RecentShortcuts recent;
  recent.Add(MakeFolder(L"not seeded"), 1);
  store.StartupLoad(false, CString());
  EXPECT_EQ(store.Count(), 0);
  EXPECT_TRUE(Query("SELECT * FROM main").empty());
}

TEST_F(FavoriteStoreTest, AutoSortPutsTheMostOpenedFirst) {
  Fill(store, {L"C:\\a", L"C:\\b", L"C:\\c"});
  EXPECT_EQ(store.TouchAccess(2), 0);
  EXPECT_EQ(store.TouchAccess(2), 0);
  EXPECT_EQ(store.TouchAccess(3), 0);
  ASSERT_EQ(store.Load(true), 0);
  EXPECT_EQ(Paths(store), (std::vector<std::wstring>{L"C:\\b", L"C:\\c", L"C:\\a"}));
  EXPECT_EQ(store.At(0)->count, 2);
  EXPECT_EQ(store.At(0)->id, 2);
  ASSERT_EQ(store.Load(false), 0);
  EXPECT_EQ(Paths(store), (std::vector<std::wstring>{L"C:\\a", L"C:\\b", L"C:\\c"}));
  // Through the start-up load as well.
  store.CloseDatabase();
  CFavoriteStore next;
  next.StartupLoad(true, CString());
  EXPECT_EQ(Paths(next), (std::vector<std::wstring>{L"C:\\b", L"C:\\c", L"C:\\a"}));
}

// The table read in parts: the parts in a row are the rows of one Load, in its order, also
// when a listed row is opened between parts; rows added after the first part are never read again.
TEST_F(FavoriteStoreTest, PartsReadEveryRowOnceInTheirOrder) {
  Fill(store, {L"C:\\1", L"C:\\2", L"C:\\3", L"C:\\4", L"C:\\5", L"C:\\6", L"C:\\7"});
  for (int id : {6, 6, 6, 3, 3, 5}) ASSERT_EQ(store.TouchAccess(id), 0);
  // The first part, then every later part in a row.
  auto partsOf = [&](bool byCount) {
    std::vector<std::vector<std::wstring>> parts(2);
    EXPECT_EQ(store.LoadFirst(byCount, 3), 0);
    parts[0] = Paths(store);
    EXPECT_EQ(store.Insert(L"C:\\added"), 0);  // after the first part: listed by its add
    for (int guard = 0; store.HasMoreRows() && guard < 20; ++guard) {
      if (guard == 0) EXPECT_EQ(store.TouchAccess(store.At(2)->id), 0);  // the last row read
      EXPECT_EQ(store.LoadMore(2), 0);
      for (const std::wstring& p : Paths(store)) parts[1].push_back(p);
    }
    EXPECT_FALSE(store.HasMoreRows());
    return parts;
  };
  using Parts = std::vector<std::vector<std::wstring>>;
  EXPECT_EQ(partsOf(true), (Parts{{L"C:\\6", L"C:\\3", L"C:\\5"}, {L"C:\\1", L"C:\\2", L"C:\\4", L"C:\\7"}}));
  for (int id : {2, 2, 2, 2, 4, 4}) ASSERT_EQ(store.TouchAccess(id), 0);
  // Counts now 2:4 6:3 3:2 4:2 5:2, the others 0: in that order, ties by id; 3 is opened
  // after the first part and is not read again.
  const Parts byCount = partsOf(true);
  std::vector<std::wstring> all = byCount[0];
  all.insert(all.end(), byCount[1].begin(), byCount[1].end());
  EXPECT_EQ(all, (std::vector<std::wstring>{L"C:\\2", L"C:\\6", L"C:\\3", L"C:\\4", L"C:\\5", L"C:\\1", L"C:\\7",
                                            L"C:\\added"}));
  // Two "added" rows existed at this LoadFirst, the third did not.
  EXPECT_EQ(partsOf(false), (Parts{{L"C:\\1", L"C:\\2", L"C:\\3"},
                                   {L"C:\\4", L"C:\\5", L"C:\\6", L"C:\\7", L"C:\\added", L"C:\\added"}}));
}

TEST_F(FavoriteStoreTest, ApostrophesAndAnsiTextRoundTrip) {
  std::wstring quoted = L"C:\\Bob's 'files'\\it''s.txt";
  // A character of the ANSI code page beyond ASCII, when it has one.
  std::wstring accented = L"C:\\caf\u00E9";
  BOOL lossy = FALSE;
  WideCharToMultiByte(CP_ACP, 0, accented.c_str(), -1, nullptr, 0, nullptr, &lossy);
  if (lossy) accented = L"C:\\plain";
  Fill(store, {quoted, accented});
  ASSERT_EQ(store.Load(false), 0);
  EXPECT_EQ(Paths(store), (std::vector<std::wstring>{quoted, accented}));
  // The column holds the ANSI bytes, not UTF-8.
  Rows rows = Query("SELECT path FROM main WHERE id=2");
  ASSERT_EQ(rows.size(), 1u);
  EXPECT_EQ(rows[0][0], XNarrow(accented.c_str()));
}

TEST_F(FavoriteStoreTest, LongPathIsStoredWholeAndHeldCut) {
  std::wstring longPath = L"C:\\" + std::wstring(297, L'p');
  ASSERT_EQ(longPath.size(), 300u);
  Fill(store, {longPath});
  EXPECT_EQ(Query("SELECT length(path) FROM main"), (Rows{{"300"}}));
  ASSERT_EQ(store.Load(false), 0);
  ASSERT_EQ(store.Count(), 1);
  EXPECT_EQ(std::wstring(store.At(0)->path), longPath.substr(0, 259));
}

TEST_F(FavoriteStoreTest, LastIdFollowsTheSequenceAndIdsAreNeverReused) {
  ASSERT_EQ(store.Connect(), 1);
  EXPECT_EQ(store.Connect(), 0);  // already held
  store.CreateTable();
  int id = 77;
  store.LastId(id);  // no sequence row for `main` before the first insert
  EXPECT_EQ(id, 77);
  store.Insert(L"C:\\one");
  store.Insert(L"C:\\two");
  EXPECT_EQ(store.LastId(id), 0);
  EXPECT_EQ(id, 2);
  EXPECT_EQ(store.Delete(2), 0);
  store.Insert(L"C:\\three");
  EXPECT_EQ(store.LastId(id), 0);
  EXPECT_EQ(id, 3);
  EXPECT_EQ(Query("SELECT id FROM main ORDER BY id"), (Rows{{"1"}, {"3"}}));
  EXPECT_NE(store.CreateTable(), 0);  // the table exists: fails harmlessly
}

TEST_F(FavoriteStoreTest, NullColumnsReadAsEmpty) {
  Fill(store, {});
  Query("INSERT INTO main(path) VALUES(NULL); INSERT INTO main(path,color,count) VALUES('C:\\x', 'FFFFFF', 4);");
  ASSERT_EQ(store.Load(false), 0);
  ASSERT_EQ(store.Count(), 2);
  EXPECT_EQ(store.At(0)->id, 1);
  EXPECT_STREQ(store.At(0)->path, L"");
  EXPECT_EQ(store.At(0)->color, 0xFFFFFFu);
  EXPECT_EQ(store.At(0)->count, 0);
  EXPECT_EQ(store.At(1)->count, 4);
  EXPECT_EQ(store.At(1)->color, 0xFFFFFFu);
  EXPECT_EQ(store.At(2), nullptr);
  EXPECT_EQ(store.At(-1), nullptr);
}

TEST_F(FavoriteStoreTest, PendingPathIsAddedLastUnlessAlreadyListed) {
  std::wstring listed = MakeFolder(L"Listed Folder");
  std::wstring fresh = MakeFolder(L"Fresh Folder");
  {
    CFavoriteStore first;
    Fill(first, {listed});
  }
  // Same path in another letter case: nothing added.
  CString upper(listed.c_str());
  upper.MakeUpper();
  store.StartupLoad(false, upper);
  EXPECT_EQ(store.Count(), 1);
  store.CloseDatabase();

  CFavoriteStore second;
  second.StartupLoad(false, CString((dir / L"does not exist").c_str()));
  EXPECT_EQ(second.Count(), 1);
  second.AddPendingPath(CString());
  EXPECT_EQ(second.Count(), 1);
  second.AddPendingPath(fresh.c_str());
  ASSERT_EQ(second.Count(), 2);
  EXPECT_EQ(std::wstring(second.At(1)->path), fresh);
  EXPECT_EQ(second.At(1)->id, 2);
  EXPECT_EQ(second.At(1)->count, 0);
  EXPECT_EQ(Query("SELECT id, path FROM main ORDER BY id"),
            (Rows{{"1", XNarrow(listed.c_str())}, {"2", XNarrow(fresh.c_str())}}));
}

TEST_F(FavoriteStoreTest, WithoutOrAfterClosingTheDatabaseEveryOperationFails) {
  int id = 5;
  EXPECT_EQ(store.EnsureOpen(), -1);
  EXPECT_EQ(store.CreateTable(), -1);
  EXPECT_EQ(store.Insert(L"C:\\x"), -1);
  EXPECT_EQ(store.LastId(id), -1);
  EXPECT_EQ(store.ImportPaths({}), -1);
  Fill(store, {L"C:\\a"});
  EXPECT_EQ(store.ImportPaths({}), 0);
  store.Append(FAVORITE_DATA{});
  store.CloseDatabase();
  store.CloseDatabase();  // twice is harmless
  EXPECT_EQ(store.Insert(L"C:\\x"), -1);
  EXPECT_EQ(store.TouchAccess(1), -1);
  EXPECT_EQ(store.Load(false), -1);
  EXPECT_EQ(store.Count(), 0);  // Load empties the list first
  EXPECT_EQ(id, 5);
  EXPECT_EQ(Query("SELECT count(*) FROM main"), (Rows{{"1"}}));
}

TEST_F(FavoriteStoreTest, ImportPathsKeepsOrderInOneTransaction) {
  Fill(store, {});
  std::vector<CString> paths;
  for (int i = 0; i < 50; ++i) paths.push_back(CString((L"C:\\item" + std::to_wstring(i)).c_str()));
  EXPECT_EQ(store.ImportPaths(paths), 50);
  EXPECT_EQ(store.Count(), 0);  // the in-memory list is not touched
  Rows rows = Query("SELECT id, path FROM main ORDER BY id");
  ASSERT_EQ(rows.size(), 50u);
  EXPECT_EQ(rows[0], (std::vector<std::string>{"1", "C:\\item0"}));
  EXPECT_EQ(rows[49], (std::vector<std::string>{"50", "C:\\item49"}));
  // The connection is usable afterwards (no transaction left open).
  EXPECT_EQ(store.Insert(L"C:\\after"), 0);
  store.CloseDatabase();
  EXPECT_EQ(Query("SELECT count(*) FROM main"), (Rows{{"51"}}));
}

// Another handle of this process locks the whole file, as another program would.
class WholeFileLock {
 public:
  WholeFileLock()
      : m_file(CreateFileW(CFavoriteStore::DatabasePath(), GENERIC_READ | GENERIC_WRITE,
                           FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr)) {
    m_locked = m_file.Valid() &&
               LockFileEx(m_file.Get(), LOCKFILE_EXCLUSIVE_LOCK | LOCKFILE_FAIL_IMMEDIATELY, 0, MAXDWORD, MAXDWORD, &m_range);
  }
  ~WholeFileLock() { Release(); }
  bool Locked() const { return m_locked; }
  void Release() {
    if (m_locked) UnlockFileEx(m_file.Get(), 0, MAXDWORD, MAXDWORD, &m_range);
    m_locked = false;
    m_file.Reset();
  }

 private:
  CXHandle m_file;
  OVERLAPPED m_range = {};
  bool m_locked = false;
};

// Changes refused by a lock wait in order, a withdrawn add is dropped, and all are written
// when the lock goes; what still waits at the end of the run outlives it in the legacy list.
TEST_F(FavoriteStoreTest, ChangesWaitWhileLockedAndAreWrittenInOrder) {
  Fill(store, {L"C:\\a", L"C:\\b"});
  store.Load(false);
  int id = 9;
  {
    WholeFileLock lock;
    ASSERT_TRUE(lock.Locked());
    store.CountOpen(1);
    store.Remove(2, L"C:\\b");
    EXPECT_EQ(store.Add(L"C:\\c", id), 0);
    EXPECT_EQ(id, 0);
    store.Add(L"C:\\d", id);
    store.Remove(0, L"C:\\d");
    EXPECT_TRUE(store.Unavailable());
    EXPECT_EQ(store.WaitingChanges(), 3u);
    EXPECT_NE(std::wstring(store.TakeReport().GetString()).find(L"another program"), std::wstring::npos);
    EXPECT_FALSE(store.Retry());
    EXPECT_FALSE(store.HasReport());  // told once
  }
  EXPECT_TRUE(store.Retry());
  EXPECT_FALSE(store.Unavailable());
  EXPECT_EQ(store.WaitingChanges(), 0u);
  EXPECT_EQ(Paths(store), (std::vector<std::wstring>{L"C:\\a", L"C:\\c"}));
  EXPECT_EQ(Query("SELECT id, path, count FROM main ORDER BY id"),
            (Rows{{"1", "C:\\a", "1"}, {"3", "C:\\c", "0"}}));

  {
    WholeFileLock lock;
    ASSERT_TRUE(lock.Locked());
    store.Add(L"C:\\e", id);
    store.CloseDatabase();
  }
  CFavoriteStore next;
  next.StartupLoad(false, CString());
  EXPECT_EQ(Paths(next), (std::vector<std::wstring>{L"C:\\a", L"C:\\c", L"C:\\e"}));
  EXPECT_FALSE(xtest::FileExists(CFavoriteStore::LegacyListPath().GetString()));
}

// Waiting adds are journaled as they wait: a run that ends without CloseDatabase (a kill)
// loses none, a withdrawn one stays withdrawn, and opens of a waiting row are counted.
TEST_F(FavoriteStoreTest, WaitingAddsOutliveAKillAndKeepTheirOpens) {
  Fill(store, {L"C:\\a"});
  store.Load(false);
  int id = 9;
  {
    CFavoriteStore killed;
    killed.StartupLoad(false, CString());
    WholeFileLock lock;
    ASSERT_TRUE(lock.Locked());
    killed.Add(L"C:\\b", id);
    killed.Add(L"C:\\gone", id);
    killed.Add(L"C:\\c", id);
    killed.Remove(0, L"C:\\gone");
    killed.CountOpen(0, L"C:\\c");
    killed.TakeReport();
    EXPECT_TRUE(xtest::FileExists(CFavoriteStore::WaitingJournalPath().GetString()));
  }  // no CloseDatabase: nothing is written at the end
  CFavoriteStore next;
  next.StartupLoad(false, CString());
  EXPECT_EQ(Paths(next), (std::vector<std::wstring>{L"C:\\a", L"C:\\b", L"C:\\c"}));
  EXPECT_FALSE(xtest::FileExists(CFavoriteStore::WaitingJournalPath().GetString()));

  // Within a run: opens of a waiting add are counted once it is written.
  {
    WholeFileLock lock;
    ASSERT_TRUE(lock.Locked());
    next.Add(L"C:\\d", id);
    next.CountOpen(0, L"C:\\d");
    next.CountOpen(0, L"C:\\d");
    next.CountOpen(0, L"C:\\never added");
    next.TakeReport();
  }
  EXPECT_TRUE(next.Retry());
  EXPECT_FALSE(xtest::FileExists(CFavoriteStore::WaitingJournalPath().GetString()));
  next.CloseDatabase();
  EXPECT_EQ(Query("SELECT path, count FROM main ORDER BY id"),
            (Rows{{"C:\\a", "0"}, {"C:\\b", "0"}, {"C:\\c", "0"}, {"C:\\d", "2"}}));
}

TEST_F(FavoriteStoreTest, APendingPathThatWaitedIsNotAddedWhenTheListHasIt) {
  std::wstring folder = MakeFolder(L"Listed");
  {
    CFavoriteStore first;
    Fill(first, {folder});
    first.CloseDatabase();
  }
  std::wstring upper = folder;
  CharUpperBuffW(&upper[0], static_cast<DWORD>(upper.size()));
  {
    WholeFileLock lock;
    ASSERT_TRUE(lock.Locked());
    store.StartupLoad(false, upper.c_str());
    EXPECT_TRUE(store.Unavailable());
    EXPECT_EQ(store.WaitingChanges(), 1u);
    EXPECT_TRUE(store.HasReport());
    store.TakeReport();
  }
  EXPECT_TRUE(store.Retry());
  EXPECT_EQ(Paths(store), (std::vector<std::wstring>{folder}));
}

}  // namespace

// A removal taken back: the row returns with its id, colour, times and count; a removal still
// waiting for a held database is withdrawn, and one written before the hold returns once the
// database is let go.
TEST_F(FavoriteStoreTest, ARemovalIsUndoneAsItWasAlsoWhileTheDatabaseIsHeld) {
  Fill(store, {L"C:\\a", L"C:\\it's", L"C:\\c"});
  Query("UPDATE main SET color='abcdef', addtime='2020-01-02 03:04:05', accesstime=NULL, count=7 WHERE id=2;");
  const char* kAll = "SELECT id, path, color, addtime, accesstime, count FROM main ORDER BY id";
  const Rows before = Query(kAll);
  ASSERT_EQ(before.size(), 3u);
  REMOVED_FAVORITE removed = store.ReadForUndo(2, L"C:\\it's");
  EXPECT_TRUE(removed.stored);
  store.Remove(2, removed.path);
  ASSERT_EQ(Query(kAll).size(), 2u);
  EXPECT_EQ(store.Restore(removed), 2);
  EXPECT_EQ(Query(kAll), before);

  removed = store.ReadForUndo(2, L"C:\\it's");
  store.Remove(2, removed.path);
  {
    WholeFileLock lock;
    ASSERT_TRUE(lock.Locked());
    REMOVED_FAVORITE third = store.ReadForUndo(3, L"C:\\c");
    store.Remove(3, L"C:\\c");
    EXPECT_TRUE(store.Unavailable());
    EXPECT_EQ(store.Restore(third), 3);
    EXPECT_EQ(store.Restore(removed), 2);
    EXPECT_EQ(store.WaitingChanges(), 1u);
    store.TakeReport();
  }
  EXPECT_TRUE(store.Retry());
  EXPECT_EQ(store.WaitingChanges(), 0u);
  EXPECT_EQ(Query(kAll), before);

  // The list holds a long path cut; the row comes back with the whole one.
  const std::wstring longPath = L"C:\\" + std::wstring(297, L'p');
  ASSERT_EQ(store.Insert(longPath.c_str()), 0);
  const CString cut(longPath.substr(0, 259).c_str());
  removed = store.ReadForUndo(4, cut);
  store.Remove(4, cut);
  EXPECT_EQ(store.Restore(removed), 4);
  EXPECT_EQ(Query("SELECT length(path) FROM main WHERE id=4"), (Rows{{"300"}}));
}
