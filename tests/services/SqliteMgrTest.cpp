// CSqliteMgr against real database files, called through the interface table by slot.
#include <cstdlib>
#include <string>
#include <thread>
#include <vector>

#include "CorvaneLib.h"
#include "TestUtil.h"

namespace {

enum Slot { kOpen = 3, kClose = 4, kIsOpen = 5, kExec = 6 };

class SqliteMgr : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(lib.Loaded());
    db = lib.Create<ISQLite>(IID_ISQLite);
    ASSERT_NE(db, nullptr);
  }
  void TearDown() override {
    if (db) db->Release();
  }
  std::string File(const wchar_t* name) { return XNarrow((dir / name).c_str()); }

  int Open(const std::string& f) { return CallSlot<int>(db, kOpen, f.c_str()); }
  int Close() { return CallSlot<int>(db, kClose); }
  int IsOpen() { return CallSlot<int>(db, kIsOpen); }
  int Exec(const char* sql, XSqliteCallback cb = nullptr, void* ctx = nullptr) {
    return CallSlot<int>(db, kExec, sql, cb, ctx);
  }

  CorvaneLib lib;
  xtest::TempDir dir;
  ISQLite* db = nullptr;
};

int CollectRows(void* ctx, int n, char** values, char**) {
  auto* rows = static_cast<std::vector<std::string>*>(ctx);
  std::string row;
  for (int i = 0; i < n; ++i) row += (i ? "|" : "") + std::string(values[i] ? values[i] : "NULL");
  rows->push_back(row);
  return 0;
}

TEST_F(SqliteMgr, ExecBeforeOpenIsMinusOneAndCallsNothing) {
  bool called = false;
  auto cb = [](void* ctx, int, char**, char**) { *static_cast<bool*>(ctx) = true; return 0; };
  EXPECT_EQ(IsOpen(), 0);
  EXPECT_EQ(Exec("SELECT 1;", cb, &called), -1);
  EXPECT_FALSE(called);
  EXPECT_EQ(Close(), 0);
}

TEST_F(SqliteMgr, OpenCreatesFileAndRunsStatementsWithRowCallback) {
  ASSERT_EQ(Open(File(L"a.db")), 1);
  EXPECT_EQ(IsOpen(), 1);
  EXPECT_TRUE(xtest::FileExists(dir / L"a.db"));
  ASSERT_EQ(Exec("CREATE TABLE t(a, b); INSERT INTO t VALUES(1, 'x y'); INSERT INTO t VALUES(2, NULL);"), 0);
  std::vector<std::string> rows;
  ASSERT_EQ(Exec("SELECT a, b FROM t ORDER BY a;", CollectRows, &rows), 0);
  EXPECT_EQ(rows, (std::vector<std::string>{"1|x y", "2|NULL"}));
}

TEST_F(SqliteMgr, SecondOpenKeepsTheFirstConnection) {
  ASSERT_EQ(Open(File(L"first.db")), 1);
  ASSERT_EQ(Exec("CREATE TABLE marker(x);"), 0);
  EXPECT_EQ(Open(File(L"second.db")), 0);
  EXPECT_FALSE(xtest::FileExists(dir / L"second.db"));
  std::vector<std::string> rows;
  EXPECT_EQ(Exec("SELECT name FROM sqlite_master;", CollectRows, &rows), 0);
  EXPECT_EQ(rows, std::vector<std::string>{"marker"});
}

TEST_F(SqliteMgr, UnopenablePathFailsAndStaysClosed) {
  EXPECT_EQ(Open(File(L"no\\such\\folder\\x.db")), 0);
  EXPECT_EQ(IsOpen(), 0);
  EXPECT_EQ(Exec("SELECT 1;"), -1);
  // The object is still usable afterwards.
  EXPECT_EQ(Open(File(L"ok.db")), 1);
}

TEST_F(SqliteMgr, FailingStatementReturnsSqliteCodeAndKeepsConnection) {
  ASSERT_EQ(Open(File(L"f.db")), 1);
  EXPECT_EQ(Exec("SELECT * FROM missing_table;"), 1);  // SQLITE_ERROR
  EXPECT_EQ(Exec("THIS IS NOT SQL"), 1);
  EXPECT_EQ(IsOpen(), 1);
  EXPECT_EQ(Exec("CREATE TABLE t(x);"), 0);
  // A callback that asks to stop gives SQLITE_ABORT.
  auto stop = [](void*, int, char**, char**) { return 1; };
  EXPECT_EQ(Exec("INSERT INTO t VALUES(1); SELECT * FROM t;", stop, nullptr), 4);
}

TEST_F(SqliteMgr, CloseTwiceGivesResultThenZero) {
  ASSERT_EQ(Open(File(L"c.db")), 1);
  EXPECT_EQ(Close(), 0);  // SQLITE_OK
  EXPECT_EQ(Close(), 0);  // nothing held
  EXPECT_EQ(IsOpen(), 0);
  EXPECT_EQ(Exec("SELECT 1;"), -1);
  EXPECT_EQ(Open(File(L"c.db")), 1);  // reopen after close
}

// An open database file cannot be deleted (sharing); after the last Release it can.
TEST_F(SqliteMgr, LastReleaseClosesTheDatabase) {
  ASSERT_EQ(Open(File(L"r.db")), 1);
  ASSERT_EQ(Exec("CREATE TABLE t(x);"), 0);
  std::wstring path = dir / L"r.db";
  CXHandle exclusive(CreateFileW(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr));
  EXPECT_FALSE(exclusive.Valid());
  exclusive.Reset();
  db->AddRef();
  EXPECT_EQ(db->Release(), 1);  // still held: still open
  EXPECT_EQ(IsOpen(), 1);
  EXPECT_EQ(db->Release(), 0);
  db = nullptr;
  exclusive.Reset(CreateFileW(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr));
  EXPECT_TRUE(exclusive.Valid());
}

// Statements of two threads never interleave: each row callback of one statement runs while
// the other thread waits for the lock.
struct Trace {
  CRITICAL_SECTION cs;
  std::vector<int> events;  // +id on callback entry, -id on exit
  void Add(int e) { EnterCriticalSection(&cs); events.push_back(e); LeaveCriticalSection(&cs); }
};
struct Worker {
  ISQLite* db;
  Trace* trace;
  int id;
};

int SlowRow(void* ctx, int, char**, char**) {
  auto* w = static_cast<Worker*>(ctx);
  w->trace->Add(w->id);
  Sleep(2);
  w->trace->Add(-w->id);
  return 0;
}

TEST_F(SqliteMgr, TwoThreadsExecWithoutInterleaving) {
  ASSERT_EQ(Open(File(L"t.db")), 1);
  ASSERT_EQ(Exec("CREATE TABLE n(v); WITH RECURSIVE c(i) AS (SELECT 1 UNION ALL SELECT i+1 FROM c WHERE i<20) "
                 "INSERT INTO n SELECT i FROM c;"), 0);
  Trace trace;
  InitializeCriticalSection(&trace.cs);
  Worker a{db, &trace, 1}, b{db, &trace, 2};
  auto run = [](Worker* w) {
    for (int round = 0; round < 3; ++round) w->db->Exec("SELECT v FROM n;", SlowRow, w);
  };
  std::thread ta(run, &a), tb(run, &b);
  ta.join();
  tb.join();
  DeleteCriticalSection(&trace.cs);

  ASSERT_EQ(trace.events.size(), 2u * 2 * 3 * 20);
  // Split into statements of 20 rows (40 events): each must come from one thread only.
  for (size_t s = 0; s < trace.events.size(); s += 40) {
    int owner = trace.events[s];
    for (size_t i = s; i < s + 40; ++i) ASSERT_EQ(std::abs(trace.events[i]), owner) << "at event " << i;
  }
}

}  // namespace
