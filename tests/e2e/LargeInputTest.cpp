// Inputs far beyond any real list: a legacy list of a million lines is imported whole, and the
// window shows and answers within a bound far above the time it takes, on that first start and
// on the next one over the million-row table; the rows the window reads later are all there.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "E2eUtil.h"

namespace {

const int kLines = 1000000;
// Both starts take a few seconds here; a start that waits for the whole table, or for
// anything per row, takes minutes.
const DWORD kWindowBoundMs = 90000;
const DWORD kAnswerBoundMs = 5000;

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
  {
    e2e::Program program(install);
    HWND main = program.WaitForWindow(kWindowBoundMs);
    ASSERT_NE(main, nullptr);
    EXPECT_TRUE(Answers(main));
    EXPECT_FALSE(xtest::FileExists(legacy));
    // A favourite added while the rest of the table is still being read is kept too.
    xtest::TempDir files;
    const std::wstring note = files / L"added.txt";
    ASSERT_TRUE(xtest::WriteBytes(note, "x"));
    e2e::SendPath(main, note);
    EXPECT_EQ(program.Exit(), 0u);
    e2e::Rows rows = e2e::Query(install.DatabasePath(), "SELECT count(*), min(id), max(id) FROM main");
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(rows[0], (std::vector<std::string>{std::to_string(kLines + 1), "1", std::to_string(kLines + 1)}));
    e2e::Rows last = e2e::Query(install.DatabasePath(), "SELECT path FROM main WHERE id = 1000000");
    ASSERT_EQ(last.size(), 1u);
    EXPECT_EQ(last[0][0], "C:\\Users\\someone\\Documents\\Project 9999\\notes 999999.txt");
    e2e::Rows added = e2e::Query(install.DatabasePath(), "SELECT path FROM main WHERE id = 1000001");
    ASSERT_EQ(added.size(), 1u);
    EXPECT_EQ(added[0][0], xtest::Narrow(note));
  }
  // The next start reads a million rows: the window comes as soon as the first of them are in.
  e2e::Program again(install);
  HWND main = again.WaitForWindow(kWindowBoundMs);
  ASSERT_NE(main, nullptr);
  EXPECT_TRUE(Answers(main));
  EXPECT_EQ(again.Exit(), 0u);
}

}  // namespace
