// The favourites under faults, as a user meets them: a database file that is not a database, a
// database held or locked by another program (this test process) while the program starts, a
// folder in the database's place, and the program killed in the middle of a burst of adds.
// Nothing acknowledged may be lost, and the user is told what happened, with the file's path.
#include <gtest/gtest.h>

#include <sqlite3.h>

#include <algorithm>
#include <atomic>
#include <string>
#include <thread>

#include "E2eUtil.h"

namespace {

enum class Hold { kNoSharing, kLocked };

class DataSafetyTest : public e2e::CleanStateTest {
 protected:
  void SetUp() override {
    e2e::CleanStateTest::SetUp();
    // The program's message boxes and the programs started here take the activation.
    ASSERT_TRUE(e2e::SetOption(L"AutoHide", 0));
  }
  std::wstring DatabaseFolder() const { return install.AppData() + L"\\Tarquon\\Pinvale"; }
  void MakeDatabaseFolder() {
    CreateDirectoryW((install.AppData() + L"\\Tarquon").c_str(), nullptr);
    CreateDirectoryW(DatabaseFolder().c_str(), nullptr);
  }
  std::wstring NewFile(const std::wstring& name) {
    std::wstring path = files / name;
    EXPECT_TRUE(xtest::WriteBytes(path, "x"));
    return path;
  }
  size_t CountStored(const std::wstring& path) {
    std::vector<std::string> paths = e2e::StoredPaths(install.DatabasePath());
    return static_cast<size_t>(std::count(paths.begin(), paths.end(), xtest::Narrow(path)));
  }
  // The box's text; the box is answered.
  std::wstring AnswerBox(const e2e::Program& program) {
    HWND box = program.WaitForMessageBox(L"Pinvale");
    EXPECT_NE(box, nullptr);
    if (!box) return L"";
    std::wstring text = e2e::StaticTexts(box);
    PostMessageW(box, WM_COMMAND, IDOK, 0);
    EXPECT_TRUE(xtest::WaitFor([&] { return !IsWindow(box); }));
    return text;
  }
  // Sends a path and expects the answer well within the seconds a stalled add would take.
  void SendPromptly(HWND main, const std::wstring& path) {
    DWORD start = GetTickCount();
    e2e::SendPath(main, path);
    EXPECT_LT(GetTickCount() - start, 1500u) << "adding " << xtest::Narrow(path);
  }

  void ExpectHeldDatabaseRecovers(Hold how);

  e2e::Install install;
  xtest::TempDir files;
};

bool Contains(const std::wstring& text, const std::wstring& part) { return text.find(part) != std::wstring::npos; }

std::string IntegrityOf(const std::wstring& database) {
  // Opened for writing, as the program's next start opens it: a journal left by the kill is
  // played back first.
  sqlite3* db = nullptr;
  std::string result = "<not opened>";
  if (sqlite3_open(xtest::Narrow(database).c_str(), &db) == SQLITE_OK) {
    sqlite3_exec(
        db, "PRAGMA integrity_check;",
        [](void* out, int, char** values, char**) {
          *static_cast<std::string*>(out) = values[0] ? values[0] : "<null>";
          return 0;
        },
        &result, nullptr);
  }
  sqlite3_close(db);
  return result;
}

TEST_F(DataSafetyTest, AnUnreadableDatabaseIsKeptAsideAndANewOneTakesTheAdds) {
  MakeDatabaseFolder();
  std::string garbage(5000, '\0');
  for (size_t i = 0; i < garbage.size(); ++i) garbage[i] = static_cast<char>((i * 131 + 7) % 251);
  ASSERT_TRUE(xtest::WriteBytes(install.DatabasePath(), garbage));
  std::wstring file = NewFile(L"after.txt");

  e2e::Program program(install);
  HWND main = program.WaitForWindow();
  ASSERT_NE(main, nullptr);
  std::wstring text = AnswerBox(program);
  EXPECT_TRUE(Contains(text, install.DatabasePath())) << xtest::Narrow(text);

  // The old bytes, whole, under a dated name beside the new database.
  std::vector<std::wstring> kept;
  for (const xtest::FolderEntry& e : xtest::ListFolder(DatabaseFolder()))
    if (e.name.rfind(L"favorite-unreadable-", 0) == 0) kept.push_back(e.name);
  ASSERT_EQ(kept.size(), 1u);
  EXPECT_EQ(kept[0].size(), std::wstring(L"favorite-unreadable-20261209-031500.db").size());
  EXPECT_TRUE(Contains(text, DatabaseFolder() + L"\\" + kept[0])) << xtest::Narrow(text);
  EXPECT_EQ(xtest::ReadBytes(DatabaseFolder() + L"\\" + kept[0]), garbage);

  SendPromptly(main, file);
  EXPECT_EQ(program.Exit(), 0u);
  EXPECT_EQ(CountStored(file), 1u);
}

// Another program has the database when the program starts: the user is told, adds answer at
// once, and when the other program lets go the stored favourites are listed and the adds of
// the meantime stored.
void DataSafetyTest::ExpectHeldDatabaseRecovers(Hold how) {
  MakeDatabaseFolder();
  std::wstring tool = files / L"tool.exe", record = files / L"opened.log";
  ASSERT_TRUE(CopyFileW(xtest::RecordArgsExe().c_str(), tool.c_str(), FALSE));
  std::vector<std::wstring> stored = {tool, files / L"stored-1", files / L"stored-2"};
  ASSERT_TRUE(e2e::MakeDatabase(install.DatabasePath(), stored));
  std::vector<std::wstring> added;
  for (int i = 0; i < 3; ++i) {
    added.push_back(files / (L"added-" + std::to_wstring(i) + L".txt"));
    ASSERT_TRUE(xtest::WriteBytes(added.back(), "x"));
  }

  CXHandle held(CreateFileW(install.DatabasePath().c_str(), GENERIC_READ | GENERIC_WRITE,
                            how == Hold::kNoSharing ? 0 : FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                            FILE_ATTRIBUTE_NORMAL, nullptr));
  ASSERT_TRUE(held.Valid());
  OVERLAPPED whole = {};
  if (how == Hold::kLocked) {
    ASSERT_TRUE(LockFileEx(held.Get(), LOCKFILE_EXCLUSIVE_LOCK | LOCKFILE_FAIL_IMMEDIATELY, 0, MAXDWORD, MAXDWORD, &whole));
  }

  e2e::Program program(install, L"", {{L"PINVALE_RECORD", record}});
  HWND main = program.WaitForWindow();
  ASSERT_NE(main, nullptr);
  std::wstring text = AnswerBox(program);
  EXPECT_TRUE(Contains(text, install.DatabasePath())) << xtest::Narrow(text);
  EXPECT_TRUE(Contains(text, L"another program")) << xtest::Narrow(text);
  for (const std::wstring& p : added) SendPromptly(main, p);
  xtest::PumpFor(500);

  if (how == Hold::kLocked) UnlockFileEx(held.Get(), 0, MAXDWORD, MAXDWORD, &whole);
  held.Reset();
  std::vector<std::string> expected;
  for (const std::wstring& p : stored) expected.push_back(xtest::Narrow(p));
  for (const std::wstring& p : added) expected.push_back(xtest::Narrow(p));
  EXPECT_TRUE(xtest::WaitFor([&] { return e2e::StoredPaths(install.DatabasePath()) == expected; }, 15000));

  // The stored favourites are in the list again: the first row opens the first of them.
  SetForegroundWindow(main);
  xtest::PumpFor(300);
  POINT row0 = e2e::ClientToScreenPoint(main, 150, 118);
  e2e::DoubleClick(row0);
  EXPECT_TRUE(xtest::WaitFor([&] { return !xtest::ReadRecordedLines(record).empty(); }, 15000));
  EXPECT_EQ(program.Exit(), 0u);
  EXPECT_EQ(e2e::StoredPaths(install.DatabasePath()), expected);
  e2e::Rows counts = e2e::Query(install.DatabasePath(), "SELECT count FROM main WHERE id = 1");
  ASSERT_EQ(counts.size(), 1u);
  EXPECT_EQ(counts[0][0], "1");
}

TEST_F(DataSafetyTest, ADatabaseHeldWithoutSharingAtStartLosesNoAdd) { ExpectHeldDatabaseRecovers(Hold::kNoSharing); }

TEST_F(DataSafetyTest, ADatabaseLockedAtStartLosesNoAdd) { ExpectHeldDatabaseRecovers(Hold::kLocked); }

// Nothing can be stored while a folder has the database's name: the user is told, and the
// adds of that run outlive it (the next start that can store them does).
TEST_F(DataSafetyTest, AFolderInTheDatabasesPlaceIsReportedAndTheAddsOutliveTheRun) {
  MakeDatabaseFolder();
  ASSERT_TRUE(CreateDirectoryW(install.DatabasePath().c_str(), nullptr));
  std::wstring first = NewFile(L"first.txt"), second = NewFile(L"second.txt");
  {
    e2e::Program program(install);
    HWND main = program.WaitForWindow();
    ASSERT_NE(main, nullptr);
    std::wstring text = AnswerBox(program);
    EXPECT_TRUE(Contains(text, install.DatabasePath())) << xtest::Narrow(text);
    EXPECT_TRUE(Contains(text, L"folder")) << xtest::Narrow(text);
    SendPromptly(main, first);
    SendPromptly(main, second);
    EXPECT_EQ(program.Exit(), 0u);
  }
  ASSERT_TRUE(RemoveDirectoryW(install.DatabasePath().c_str()));
  e2e::Program again(install);
  ASSERT_NE(again.WaitForWindow(), nullptr);
  EXPECT_EQ(again.Exit(), 0u);
  EXPECT_EQ(e2e::StoredPaths(install.DatabasePath()),
            (std::vector<std::string>{xtest::Narrow(first), xtest::Narrow(second)}));
  EXPECT_TRUE(again.Windows(L"#32770").empty());
}

// Every add the window answered is stored when the program is killed in the middle of a burst,
// and the database is whole.
TEST_F(DataSafetyTest, AKillInABurstOfAddsLosesNoAcknowledgedAdd) {
  std::vector<std::wstring> paths;
  for (int i = 0; i < 400; ++i) paths.push_back(NewFile(L"burst-" + std::to_wstring(i) + L".txt"));
  MakeDatabaseFolder();
  ASSERT_TRUE(e2e::MakeDatabase(install.DatabasePath(), {}));  // no seed of recent folders
  e2e::Program program(install);
  HWND main = program.WaitForWindow();
  ASSERT_NE(main, nullptr);

  std::atomic<int> acknowledged(0);
  std::thread sender([&] {
    for (const std::wstring& p : paths) {
      wchar_t buffer[260] = {0};
      p.copy(buffer, 259);
      COPYDATASTRUCT data = {1, sizeof buffer, buffer};
      DWORD_PTR result = 0;
      if (!SendMessageTimeoutW(main, WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&data), SMTO_ABORTIFHUNG, 5000,
                               &result))
        return;  // the window is gone: this one was never answered
      ++acknowledged;
    }
  });
  EXPECT_TRUE(xtest::WaitFor([&] { return acknowledged >= 60; }, 60000));
  program.Kill();
  sender.join();
  int answered = acknowledged;
  ASSERT_LT(answered, static_cast<int>(paths.size())) << "the burst ended before the kill";

  EXPECT_EQ(IntegrityOf(install.DatabasePath()), "ok");
  std::vector<std::string> stored = e2e::StoredPaths(install.DatabasePath());
  ASSERT_GE(stored.size(), static_cast<size_t>(answered));
  for (int i = 0; i < answered; ++i) EXPECT_EQ(stored[i], xtest::Narrow(paths[i]));
}

}  // namespace
