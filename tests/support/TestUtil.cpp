// Test helpers: temp folders, file I/O and bounded waiting.
#include "TestUtil.h"

#include <shlwapi.h>

#include <map>
#include <vector>

#include "XProgram.h"
#include "XWin.h"

namespace xtest {

TempDir::TempDir() {
  wchar_t base[MAX_PATH] = {0};
  GetTempPathW(MAX_PATH, base);
  static LONG counter = 0;
  for (int attempt = 0; attempt < 1000; ++attempt) {
    wchar_t name[MAX_PATH];
    swprintf(name, MAX_PATH, L"%lspvtest_%lu_%ld_%d", base, GetCurrentProcessId(),
             InterlockedIncrement(&counter), attempt);
    if (CreateDirectoryW(name, nullptr)) {
      m_path = name;
      return;
    }
  }
}

TempDir::~TempDir() {
  if (!m_path.empty()) RemoveTree(m_path);
}

namespace {

// A directory listing, closed on destruction.
class CFind {
 public:
  CFind(const std::wstring& pattern, WIN32_FIND_DATAW* fd) : m_h(FindFirstFileW(pattern.c_str(), fd)) {}
  ~CFind() { if (Valid()) FindClose(m_h); }
  CFind(const CFind&) = delete;
  CFind& operator=(const CFind&) = delete;
  bool Valid() const { return m_h != INVALID_HANDLE_VALUE; }
  bool Next(WIN32_FIND_DATAW* fd) { return FindNextFileW(m_h, fd) != 0; }
 private:
  HANDLE m_h;
};

}  // namespace

std::vector<FolderEntry> ListFolder(const std::wstring& folder) {
  std::vector<FolderEntry> entries;
  WIN32_FIND_DATAW fd;
  CFind find(folder + L"\\*", &fd);
  if (!find.Valid()) return entries;
  do {
    std::wstring name = fd.cFileName;
    if (name != L"." && name != L"..") entries.push_back({name, (fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0});
  } while (find.Next(&fd));
  return entries;
}

std::vector<std::wstring> FilesIn(const std::wstring& folder) {
  std::vector<std::wstring> names;
  for (const FolderEntry& e : ListFolder(folder))
    if (!e.isFolder) names.push_back(e.name);
  return names;
}

void RemoveTree(const std::wstring& path) {
  for (const FolderEntry& e : ListFolder(path)) {
    std::wstring full = path + L"\\" + e.name;
    if (e.isFolder) {
      RemoveTree(full);
    } else {
      SetFileAttributesW(full.c_str(), FILE_ATTRIBUTE_NORMAL);
      DeleteFileW(full.c_str());
    }
  }
  RemoveDirectoryW(path.c_str());
}

std::wstring TestBinFolder() {
  std::wstring f = XModuleFolder();
  if (!f.empty()) f.pop_back();
  return f;
}

bool FileExists(const std::wstring& path) {
  return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

bool WriteBytes(const std::wstring& path, const std::string& bytes) {
  CXHandle f(CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!f.Valid()) return false;
  DWORD written = 0;
  return WriteFile(f.Get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) &&
         written == bytes.size();
}

std::string ReadBytes(const std::wstring& path) {
  CXHandle f(CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                         nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!f.Valid()) return std::string();
  std::string out;
  char buf[65536];
  DWORD got = 0;
  while (ReadFile(f.Get(), buf, sizeof buf, &got, nullptr) && got > 0) out.append(buf, got);
  return out;
}

bool CopyInto(const std::wstring& file, const std::wstring& folder) {
  const wchar_t* name = PathFindFileNameW(file.c_str());
  return CopyFileW(file.c_str(), (folder + L"\\" + name).c_str(), FALSE) != 0;
}

std::vector<MSG> TakePosted(HWND wnd) {
  std::vector<MSG> out;
  MSG msg;
  while (PeekMessageW(&msg, wnd, 0, 0, PM_REMOVE)) {
    if (msg.message == WM_PAINT) {
      ValidateRect(wnd, nullptr);
      continue;
    }
    out.push_back(msg);
  }
  return out;
}

void PumpFor(DWORD ms) {
  DWORD start = GetTickCount();
  do {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&msg);
      DispatchMessageW(&msg);
    }
    Sleep(5);
  } while (GetTickCount() - start < ms);
}

void SendMouseEvent(DWORD flags) {
  INPUT input = {};
  input.type = INPUT_MOUSE;
  input.mi.dwFlags = flags;
  SendInput(1, &input, sizeof input);
}

bool WaitFor(const std::function<bool()>& cond, DWORD timeoutMs) {
  DWORD start = GetTickCount();
  for (;;) {
    if (cond()) return true;
    if (GetTickCount() - start >= timeoutMs) return cond();
    PumpFor(10);
  }
}

std::vector<wchar_t> EnvironmentWith(const std::map<std::wstring, std::wstring>& changes) {
  std::map<std::wstring, std::wstring> vars;  // keys upper-cased: the block is sorted that way
  wchar_t* block = GetEnvironmentStringsW();
  for (const wchar_t* p = block; p && *p; p += wcslen(p) + 1) {
    std::wstring entry = p;
    size_t eq = entry.find(L'=', 1);
    if (eq == std::wstring::npos) continue;
    std::wstring key = entry.substr(0, eq);
    CharUpperBuffW(&key[0], static_cast<DWORD>(key.size()));
    vars[key] = entry;
  }
  if (block) FreeEnvironmentStringsW(block);
  for (const auto& c : changes) {
    std::wstring key = c.first;
    CharUpperBuffW(&key[0], static_cast<DWORD>(key.size()));
    vars[key] = c.first + L"=" + c.second;
  }
  std::vector<wchar_t> out;
  for (const auto& v : vars) {
    out.insert(out.end(), v.second.begin(), v.second.end());
    out.push_back(0);
  }
  out.push_back(0);
  return out;
}

std::string Narrow(const std::wstring& s) { return XNarrow(s.c_str(), static_cast<int>(s.size()), CP_UTF8); }
std::wstring Widen(const std::string& s) { return XWiden(s.c_str(), static_cast<int>(s.size()), CP_UTF8); }

std::wstring RecordArgsExe() { return TestBinFolder() + L"\\recordargs.exe"; }

std::wstring ReadRecordedLines(const std::wstring& recordFile) { return Widen(ReadBytes(recordFile)); }

}  // namespace xtest
