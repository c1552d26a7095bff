// Helpers of the setup tests: the built setup programs, running them (silently or not) with a
// throwaway APPDATA and TEMP, reading what they wrote, and snapshots of the registry and of
// folders that tell exactly what an install and uninstall left behind.
#pragma once

#include <windows.h>

#include <map>
#include <string>
#include <vector>

#include "E2eUtil.h"
#include "XWin.h"

namespace setup {

extern const wchar_t kUninstallKey[];   // HKLM, 32-bit view
extern const wchar_t kExtensionKey[];   // HKLM, the extension's InprocServer32 key
extern const wchar_t kUserKey[];        // HKCU, the program's options and installpath

std::wstring SetupExe();       // the setup program of this version
std::wstring NextSetupExe();   // the same setup, of the next version
std::wstring Version();
std::wstring NextVersion();

// A folder for one test: the install folder, APPDATA and TEMP of the processes it starts.
class Sandbox {
 public:
  Sandbox();
  std::wstring InstallFolder() const { return m_root / L"Program Files\\Pinvale"; }
  const std::wstring& AppData() const { return m_appData; }
  const std::wstring& Temp() const { return m_temp; }
  std::wstring Database() const { return m_appData + L"\\Tarquon\\Pinvale\\favorite.db"; }
  std::map<std::wstring, std::wstring> Environment() const;

 private:
  xtest::TempDir m_root;
  std::wstring m_appData, m_temp;
};

// One started process of the tests' job, with the sandbox's environment.
class Process {
 public:
  Process(const std::wstring& exe, const std::wstring& arguments, const std::map<std::wstring, std::wstring>& env);
  bool Started() const { return m_process.Valid(); }
  DWORD Pid() const { return m_pid; }
  // The exit code once the process ended within the bound, else 0xFFFFFFFF.
  DWORD Wait(DWORD timeoutMs = 120000);
  bool Running() const;
  // Its visible top-level window whose caption starts with the text, waiting up to the bound.
  HWND WaitForWindow(const std::wstring& captionStart, DWORD timeoutMs = 30000) const;

 private:
  CXHandle m_process;
  DWORD m_pid = 0;
};

// Runs a program to its end: the exit code, or 0xFFFFFFFF when it did not end in time.
DWORD RunToEnd(const std::wstring& exe, const std::wstring& arguments, const std::map<std::wstring, std::wstring>& env);

// Clicks a dialog's button as a user would, by its command.
void PressButton(HWND dialog, int id);

// Registry reads; view is 0, KEY_WOW64_32KEY or KEY_WOW64_64KEY. Absent values read as empty
// (strings) or as false.
std::wstring ReadString(HKEY root, const wchar_t* key, const wchar_t* name, REGSAM view = 0);
bool ReadDword(HKEY root, const wchar_t* key, const wchar_t* name, DWORD* value, REGSAM view = 0);

// Everything under HKCU\Software and under the machine's keys that setup may touch (both
// views): one entry per key and per value, mapped to the value's type and data.
using Snapshot = std::map<std::wstring, std::wstring>;
Snapshot RegistrySnapshot();
// Every file and folder below the folders, by full path, mapped to the file's size.
Snapshot FileSnapshot(const std::vector<std::wstring>& folders);
// Lines "+ entry = data", "- entry = data" for what after adds to or drops from before.
std::vector<std::wstring> Differences(const Snapshot& before, const Snapshot& after);

std::wstring ShellFolder(int csidl);
std::wstring StartupShortcut();     // the user's Startup folder's Pinvale.lnk
std::wstring StartMenuShortcut();   // the common Programs folder's Pinvale.lnk
std::wstring ShortcutTarget(const std::wstring& lnk);

// The files below a folder by path relative to it, in sorted order.
std::vector<std::wstring> FilesBelow(const std::wstring& folder);
// Whether every file of the output folder is in the folder with the same bytes; the names of
// the others in *wrong.
bool SameFilesAsDist(const std::wstring& folder, std::vector<std::wstring>* wrong);

// Uninstalls whatever installation the uninstall entry names (left over by a failed test).
void RemoveLeftoverInstallation();

std::string Narrow(const std::vector<std::wstring>& lines);

// Every setup test starts and ends with no program running, no per-user state and no
// installation; setup and uninstaller run in the test's sandbox.
class SetupTest : public e2e::CleanStateTest {
 protected:
  void SetUp() override;
  void TearDown() override;
  std::wstring Folder() const { return box.InstallFolder(); }
  // Silent setup of this version into the sandbox's install folder, with extra arguments.
  DWORD Install(const std::wstring& arguments);
  // The silent uninstaller run in place, then what it cannot do there itself: removing its
  // own file and the folder. Fails the test if anything else is left in the folder.
  DWORD Uninstall(const std::wstring& arguments);
  // The folders setup may write to.
  std::vector<std::wstring> WatchedFolders() const;
  // Starts the installed program, adds the path as a favourite and ends it again.
  void UseProgramOnce(const std::wstring& favourite);

  Sandbox box;
};

}  // namespace setup
