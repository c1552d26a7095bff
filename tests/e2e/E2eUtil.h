// End-to-end helpers: a throwaway copy of the output folder with its own APPDATA, a started
// Pinvale.exe observed from outside (its window, its exit code, its message boxes), real
// mouse and key input, and straight reads of the favourites database with SQLite.
#pragma once

#include <windows.h>

#include <initializer_list>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "TestUtil.h"
#include "XWin.h"

namespace e2e {

// The build's output folder as Wine sees it.
std::wstring DistFolder();

// A copy of the output folder (less the named files, in whichever of its folders they are) and
// an APPDATA folder, both removed with the object.
class Install {
 public:
  explicit Install(std::initializer_list<const wchar_t*> without = {});
  const std::wstring& Folder() const { return m_folder; }
  std::wstring Exe() const { return m_folder + L"\\Pinvale.exe"; }
  const std::wstring& AppData() const { return m_appData; }
  std::wstring DatabasePath() const { return m_appData + L"\\Tarquon\\Pinvale\\favorite.db"; }

 private:
  xtest::TempDir m_dir;
  std::wstring m_folder, m_appData;
};

// Starts a command line with the test's environment plus the given variables, in the tests'
// job: it and whatever it starts end with the test process, whatever way that ends. The
// process handle (the caller's to close) and its id, or null.
HANDLE StartInJob(const std::wstring& commandLine, const std::map<std::wstring, std::wstring>& environment,
                  const wchar_t* folder, DWORD* pid);

// One started Pinvale.exe. The environment is the test's own with APPDATA moved to the
// install's folder, plus the given variables. Ended by force at destruction if still running.
class Program {
 public:
  Program(const Install& install, const std::wstring& arguments = L"",
          const std::map<std::wstring, std::wstring>& environment = {});
  // The same for the program in any folder (an installed one), with APPDATA as given.
  Program(const std::wstring& folder, const std::wstring& appData, const std::wstring& arguments = L"",
          const std::map<std::wstring, std::wstring>& environment = {});
  ~Program();
  Program(const Program&) = delete;
  Program& operator=(const Program&) = delete;

  bool Started() const { return m_process.Valid(); }
  DWORD Pid() const { return m_pid; }
  // The main window ("XDROPEASYWND", "Pinvale") of this process once it is shown, waiting up
  // to the bound.
  HWND WaitForWindow(DWORD timeoutMs = 30000);
  // True when the process ended within the bound; its exit code in *code.
  bool WaitForExit(DWORD timeoutMs, DWORD* code = nullptr);
  // Sends the exit command (command 1) to the main window and waits for the end; the code.
  DWORD Exit(DWORD timeoutMs = 20000);
  // Top-level windows of this process with the class (any class when null).
  std::vector<HWND> Windows(const wchar_t* className = nullptr) const;
  // The main window once shown, made the foreground window (null when it never came).
  HWND WaitForFocusedWindow();
  // A visible dialog ("#32770") of this process whose caption is the text (caption true) or
  // whose static texts hold it, waiting up to the bound; null when none came.
  HWND WaitForDialog(const wchar_t* text, bool caption, DWORD timeoutMs = 15000) const;
  // The last top-level window of this process with the class and caption, or null.
  HWND Window(const wchar_t* className, const wchar_t* caption) const;
  // The message box with the caption once this process shows it with its texts, waiting up to
  // the bound.
  HWND WaitForMessageBox(const wchar_t* caption, DWORD timeoutMs = 30000) const;
  // Ends the process at once, as a crash or the task manager would.
  void Kill();

 private:
  CXHandle m_process;
  DWORD m_pid = 0;
};

// Ends every process that owns a Pinvale main window (left over by a failed test).
void EndStrayInstances();

// The texts of a window's "Static" children, joined with line feeds.
std::wstring StaticTexts(HWND window);

// Rows of a query on a database file (every value as text, NULL as "<null>").
using Rows = std::vector<std::vector<std::string>>;
Rows Query(const std::wstring& database, const char* sql);
// A database as the program makes it, holding the paths in order (ids 1, 2, ...).
bool MakeDatabase(const std::wstring& database, const std::vector<std::wstring>& paths);
// The paths stored in table main, in id order.
std::vector<std::string> StoredPaths(const std::wstring& database);

// Input, as a user gives it: the cursor moved to the client point of the window, then clicks.
POINT ClientToScreenPoint(HWND window, int x, int y);
void MoveTo(POINT screen);
void Click(POINT screen, bool right = false);
void DoubleClick(POINT screen);
void PressKey(WORD virtualKey);
// The modifiers held while the key is pressed, all released again.
void PressKeys(std::initializer_list<WORD> modifiers, WORD key);

// Whether the program's global hotkey (Ctrl+Alt with virtual key 0) is free right now.
bool HotKeyIsFree();

// Per-user state the program keeps outside its folders: its registry key and the Startup
// shortcut. Removed by Reset.
void ResetUserState();
// Writes one of the program's options (a REG_DWORD under its per-user key).
bool SetOption(const wchar_t* name, DWORD value);

// Sends a path the way the shell extension does: tag 1, 520 bytes, NUL-padded. The window's
// answer, 0 when it did not answer within 10 s.
LRESULT SendPath(HWND window, const std::wstring& path);

// Every end-to-end test starts and ends with no program running and no per-user state.
class CleanStateTest : public ::testing::Test {
 protected:
  void SetUp() override {
    EndStrayInstances();
    ResetUserState();
  }
  void TearDown() override {
    EndStrayInstances();
    ResetUserState();
  }
};

}  // namespace e2e
