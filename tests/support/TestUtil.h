// Helpers shared by the Windows tests: throwaway folders, whole-file reads and writes,
// the test folder, and waiting for conditions with a bound.
#pragma once

#include <windows.h>

#include <functional>
#include <map>
#include <string>
#include <vector>

namespace xtest {

// A fresh folder under %TEMP%, removed with everything in it on destruction.
class TempDir {
 public:
  TempDir();
  ~TempDir();
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;
  const std::wstring& Path() const { return m_path; }
  std::wstring operator/(const std::wstring& name) const { return m_path + L"\\" + name; }

 private:
  std::wstring m_path;
};

// Folder of the running test executable, without a trailing backslash.
std::wstring TestBinFolder();

bool FileExists(const std::wstring& path);
bool WriteBytes(const std::wstring& path, const std::string& bytes);
std::string ReadBytes(const std::wstring& path);
bool CopyInto(const std::wstring& file, const std::wstring& folder);
void RemoveTree(const std::wstring& path);

// The entries of a folder in listing order, "." and ".." left out.
struct FolderEntry {
  std::wstring name;
  bool isFolder;
};
std::vector<FolderEntry> ListFolder(const std::wstring& folder);
// The names of the files (not the folders) in a folder.
std::vector<std::wstring> FilesIn(const std::wstring& folder);

// Polls cond every few milliseconds (pumping this thread's messages) until it holds or
// timeoutMs passes; returns the last value of cond.
bool WaitFor(const std::function<bool()>& cond, DWORD timeoutMs = 5000);

// Takes every message posted to the window so far, in order; pending paints are validated
// and left out.
std::vector<MSG> TakePosted(HWND wnd);

// Pumps this thread's messages for the given time.
void PumpFor(DWORD ms);

// One mouse event with the given MOUSEEVENTF_* flags, through the system's input queue.
void SendMouseEvent(DWORD flags);

// This process's environment with the given variables set (names compared without regard
// to case), as a sorted block for CreateProcessW with CREATE_UNICODE_ENVIRONMENT.
std::vector<wchar_t> EnvironmentWith(const std::map<std::wstring, std::wstring>& changes);

std::string Narrow(const std::wstring& s);           // UTF-8
std::wstring Widen(const std::string& s);           // from UTF-8

// Lines appended by the recordargs helper to the file named by PINVALE_RECORD.
std::wstring RecordArgsExe();                        // full path of recordargs.exe
std::wstring ReadRecordedLines(const std::wstring& recordFile);

}  // namespace xtest
