// Inputs far beyond any real list: a legacy list of a million lines is imported whole, each
// line once and in order, even across an end of the program in the middle, and the window
// shows and answers within a bound far above the time it takes, on every start.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "E2eUtil.h"

namespace {

const int kLines = 1000000;
// The window shows within about half a second of a start here; a start that waits for the import
// or the whole table takes many seconds, one that does anything slow per row minutes.
const DWORD kWindowBoundMs = 20000;
const DWORD kAnswerBoundMs = 2000;
// The import itself, after the window shows: some ten seconds here.
const DWORD kImportBoundMs = 300000;

class LargeInputTest : public e2e::CleanStateTest {};

std::string LegacyList(int lines) {
  std::string text;
  text.reserve(static_cast<size_t>(lines) * 64);
  char line[128];
  for (int i = 0; i < lines; ++i) {
    snprintf(line, sizeof line, "C:\\Users\\someone\\Documents\\Project %d\\notes %d.txt\r\n", i / 100, i);
    text += line;
  }
  return text;
}

// The window's thread answers a message within the bound.
bool Answers(HWND window) {
  DWORD_PTR result = 0;
  return SendMessageTimeoutW(window, WM_NULL, 0, 0, SMTO_NORMAL, kAnswerBoundMs, &result) != 0;
}

TEST_F(LargeInputTest, AMillionLineLegacyListShowsTheWindowInBoundedTime) {
  e2e::Install install;
  const std::wstring folder = install.AppData() + L"\\Dorrik";
  CreateDirectoryW(folder.c_str(), nullptr);
  CreateDirectoryW((folder + L"\\Pinvale").c_str(), nullptr);
  const std::wstring legacy = folder + L"\\Pinvale\\favorite.pvl";
  ASSERT_TRUE(xtest::WriteBytes(legacy, LegacyList(kLines)));
  xtest::TempDir files;
  const std::wstring note = files / L"added.txt";
  ASSERT_TRUE(xtest::WriteBytes(note, "x"));
  {
    // The window comes before the list is in; a favourite added meanwhile is stored, and
    // an end in the middle of the import loses nothing.
    e2e::Program program(install);
    HWND main = program.WaitForWindow(kWindowBoundMs);
    ASSERT_NE(main, nullptr);
    EXPECT_TRUE(Answers(main));
    e2e::SendPath(main, note);
    EXPECT_EQ(program.Exit(), 0u);
  }
  {
    // The next start goes on where the import stopped.
    e2e::Program program(install);
    HWND main = program.WaitForWindow(kWindowBoundMs);
    ASSERT_NE(main, nullptr);
    EXPECT_TRUE(Answers(main));
    EXPECT_TRUE(xtest::WaitFor([&] { return !xtest::FileExists(legacy); }, kImportBoundMs));
    EXPECT_TRUE(Answers(main));
    EXPECT_EQ(program.Exit(), 0u);
  }
  // Every line once, in file order, and the added favourite.
  const std::string all = std::to_string(kLines + 1);
  e2e::Rows counts = e2e::Query(install.DatabasePath(), "SELECT count(*), count(DISTINCT path) FROM main");
  ASSERT_EQ(counts.size(), 1u);
  EXPECT_EQ(counts[0], (std::vector<std::string>{all, all}));
  e2e::Rows disorder = e2e::Query(install.DatabasePath(),
                                  "SELECT count(*) FROM (SELECT n, lag(n) OVER (ORDER BY id) AS before FROM "
                                  "(SELECT id, CAST(substr(path, instr(path, 'notes ') + 6) AS INTEGER) AS n "
                                  "FROM main WHERE path LIKE '%notes %')) WHERE n <> before + 1");
  ASSERT_EQ(disorder.size(), 1u);
  EXPECT_EQ(disorder[0][0], "0");
  e2e::Rows added = e2e::Query(install.DatabasePath(),
                               ("SELECT count(*) FROM main WHERE path = '" + xtest::Narrow(note) + "'").c_str());
  ASSERT_EQ(added.size(), 1u);
  EXPECT_EQ(added[0][0], "1");
  e2e::Rows progress = e2e::Query(install.DatabasePath(), "PRAGMA user_version");
  ASSERT_EQ(progress.size(), 1u);
  EXPECT_EQ(progress[0][0], "0");

  // A start on the million-row table shows its window as soon as the first rows are in.
  e2e::Program again(install);
  HWND main = again.WaitForWindow(kWindowBoundMs);
  ASSERT_NE(main, nullptr);
  EXPECT_TRUE(Answers(main));
  EXPECT_EQ(again.Exit(), 0u);
}

}  // namespace
