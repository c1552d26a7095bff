// The icon thread: COM in a single-threaded apartment of its own for the shell's link
// object, one item at a time from the queue, each icon as pixels (IconPixels.h). Every read
// of a file is preceded by the drive test and offered to the program's seam.
#include "IconFetcher.h"

#include <process.h>
#include <shellapi.h>
#include <shlobj.h>

#include <condition_variable>
#include <deque>
#include <mutex>

#include "IconPixels.h"
#include "ProgramSeam.h"
#include "ShellHandles.h"
#include "ShellItem.h"
#include "XWin.h"

struct CIconFetcher::SHARED {
  std::mutex lock;
  std::condition_variable changed;
  std::deque<ICON_REQUEST> requests;
  std::vector<ICON_RESULT> results;
  bool stop = false;
  bool busy = false;  // a request is being read
  bool announced = false;
  HWND window = nullptr;
  UINT message = 0;
};

namespace {

std::wstring LowerExtension(const std::wstring& path) {
  const size_t dot = path.find_last_of(L'.'), slash = path.find_last_of(L"\\/");
  if (dot == std::wstring::npos || (slash != std::wstring::npos && dot < slash)) return std::wstring();
  std::wstring ext = path.substr(dot);
  for (wchar_t& c : ext)
    if (c >= L'A' && c <= L'Z') c = static_cast<wchar_t>(c - L'A' + L'a');
  return ext;
}

// Files whose icons are resources inside them (or the file itself, for .ico).
bool IsIconFile(const std::wstring& ext) {
  return ext == L".exe" || ext == L".ico" || ext == L".cpl" || ext == L".dll";
}

uint64_t Ticks(const FILETIME& t) { return (static_cast<uint64_t>(t.dwHighDateTime) << 32) | t.dwLowDateTime; }

// Offered to the seam before every read: true when the read may go ahead.
bool MayRead(const std::wstring& file) {
  return IsOnLocalFixedDrive(file) && !ProgramCallTaken({L"ReadItemIcon", nullptr, file.c_str(), nullptr, 0});
}

HICON IconOfFile(const std::wstring& file, int index) {
  HICON large = nullptr;
  if (ExtractIconExW(file.c_str(), index, &large, nullptr, 1) == 0) return nullptr;
  return large;
}

// The icon of a file a shortcut names (an icon location with its index, or the target),
// read only under the same rule as any item; null when it gives none.
HICON IconNamedByShortcut(const wchar_t* named, int index) {
  if (!named[0]) return nullptr;
  // Either may name environment variables ("%SystemRoot%\...").
  wchar_t expanded[MAX_PATH] = {0};
  const DWORD n = ExpandEnvironmentStringsW(named, expanded, MAX_PATH);
  const std::wstring source = n > 0 && n <= MAX_PATH ? expanded : named;
  if (!MayRead(source)) return nullptr;
  const DWORD attributes = GetFileAttributesW(source.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES) return nullptr;
  SHFILEINFOW info = {};
  if (attributes & FILE_ATTRIBUTE_DIRECTORY) {
    return SHGetFileInfoW(L"folder", FILE_ATTRIBUTE_DIRECTORY, &info, sizeof info, SHGFI_ICON | SHGFI_USEFILEATTRIBUTES)
               ? info.hIcon
               : nullptr;
  }
  if (IsIconFile(LowerExtension(source))) return IconOfFile(source, index);
  // Any other target: the icon of its type.
  return SHGetFileInfoW(source.c_str(), FILE_ATTRIBUTE_NORMAL, &info, sizeof info, SHGFI_ICON | SHGFI_USEFILEATTRIBUTES)
             ? info.hIcon
             : nullptr;
}

// The icon a shortcut shows: its own icon location, else (or when that gives none) its
// target's icon. Loading the link file reads only the link; nothing is resolved.
HICON IconOfShortcut(const std::wstring& shortcut) {
  CXComPtr<IShellLinkW> link;
  CXComPtr<IPersistFile> file;
  if (FAILED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW, link.OutVoid())) ||
      FAILED(link->QueryInterface(IID_IPersistFile, file.OutVoid())) || FAILED(file->Load(shortcut.c_str(), STGM_READ)))
    return nullptr;
  wchar_t location[MAX_PATH] = {0};
  int index = 0;
  if (SUCCEEDED(link->GetIconLocation(location, MAX_PATH, &index))) {
    location[MAX_PATH - 1] = 0;
    if (HICON icon = IconNamedByShortcut(location, index)) return icon;
  }
  wchar_t target[MAX_PATH] = {0};
  if (FAILED(link->GetPath(target, MAX_PATH, nullptr, SLGP_RAWPATH))) return nullptr;
  target[MAX_PATH - 1] = 0;
  return IconNamedByShortcut(target, 0);
}

// The item read for its icon, or false when nothing needs reporting.
bool Fetch(const ICON_REQUEST& request, ICON_RESULT& result) {
  if (!MayRead(request.path)) return false;
  result.entry.path.assign(request.path.begin(), request.path.end());
  WIN32_FILE_ATTRIBUTE_DATA data = {};
  if (!GetFileAttributesExW(request.path.c_str(), GetFileExInfoStandard, &data) ||
      (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) {
    result.gone = true;
    return request.known;
  }
  result.entry.writeTime = Ticks(data.ftLastWriteTime);
  result.entry.size = (static_cast<uint64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
  if (request.known && request.writeTime == result.entry.writeTime && request.size == result.entry.size) return false;
  const std::wstring ext = LowerExtension(request.path);
  CXIcon icon(ext == L".lnk" ? IconOfShortcut(request.path) : IconOfFile(request.path, 0));
  if (icon && IconToPixels(icon.Get(), result.entry.pixels)) {
    result.entry.width = kIconSide;
    result.entry.height = kIconSide;
  } else {
    result.entry.pixels.clear();
  }
  return true;
}

// COM for the thread's life.
class CComApartment {
 public:
  CComApartment() : m_hr(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)) {}
  ~CComApartment() {
    if (SUCCEEDED(m_hr)) CoUninitialize();
  }
  CComApartment(const CComApartment&) = delete;
  CComApartment& operator=(const CComApartment&) = delete;

 private:
  HRESULT m_hr;
};

unsigned __stdcall FetchThread(void* argument) {
  std::unique_ptr<std::shared_ptr<CIconFetcher::SHARED>> handed(static_cast<std::shared_ptr<CIconFetcher::SHARED>*>(argument));
  std::shared_ptr<CIconFetcher::SHARED> shared = *handed;
  CComApartment com;
  std::unique_lock<std::mutex> hold(shared->lock);
  for (;;) {
    shared->changed.wait(hold, [&] { return shared->stop || !shared->requests.empty(); });
    if (shared->stop) break;
    ICON_REQUEST request = std::move(shared->requests.front());
    shared->requests.pop_front();
    shared->busy = true;
    hold.unlock();
    ICON_RESULT result;
    bool found = false;
    try {
      found = Fetch(request, result);
    } catch (...) {
      found = false;  // out of memory: this item keeps the icon of its type
    }
    hold.lock();
    shared->busy = false;
    if (found) {
      try {
        shared->results.push_back(std::move(result));
      } catch (...) {
      }
      if (!shared->announced && shared->window)
        shared->announced = PostMessageW(shared->window, shared->message, 0, 0) != FALSE;
    }
    shared->changed.notify_all();
  }
  shared->busy = false;
  shared->changed.notify_all();
  return 0;
}

}  // namespace

bool HasOwnIcon(const std::wstring& path) {
  const std::wstring ext = LowerExtension(path);
  return ext == L".exe" || ext == L".lnk" || ext == L".ico" || ext == L".cpl";
}


CIconFetcher::CIconFetcher() : m_shared(std::make_shared<SHARED>()) {}

CIconFetcher::~CIconFetcher() { Stop(0); }

void CIconFetcher::SetNotify(HWND window, UINT message) {
  std::lock_guard<std::mutex> hold(m_shared->lock);
  m_shared->window = window;
  m_shared->message = message;
}

void CIconFetcher::Request(const ICON_REQUEST& request) {
  {
    std::lock_guard<std::mutex> hold(m_shared->lock);
    if (m_shared->stop) return;
    m_shared->requests.push_back(request);
  }
  if (!m_thread) {
    // The thread's own reference to the queue, taken over by the thread once it runs.
    std::unique_ptr<std::shared_ptr<SHARED>> handed(new std::shared_ptr<SHARED>(m_shared));
    const uintptr_t thread = _beginthreadex(nullptr, 0, FetchThread, handed.get(), 0, nullptr);
    if (thread) {
      handed.release();
      m_thread.Reset(reinterpret_cast<HANDLE>(thread));
    } else {
      std::lock_guard<std::mutex> hold(m_shared->lock);
      m_shared->requests.clear();  // no thread: the rows keep their type icons
    }
  }
  m_shared->changed.notify_all();
}

std::vector<ICON_RESULT> CIconFetcher::TakeResults() {
  std::lock_guard<std::mutex> hold(m_shared->lock);
  m_shared->announced = false;
  std::vector<ICON_RESULT> taken;
  taken.swap(m_shared->results);
  return taken;
}

bool CIconFetcher::WaitIdle(DWORD timeoutMs) {
  std::unique_lock<std::mutex> hold(m_shared->lock);
  return m_shared->changed.wait_for(hold, std::chrono::milliseconds(timeoutMs), [&] {
    return m_shared->requests.empty() && !m_shared->busy;
  });
}

void CIconFetcher::Stop(DWORD timeoutMs) {
  {
    std::lock_guard<std::mutex> hold(m_shared->lock);
    m_shared->stop = true;
    m_shared->requests.clear();
    m_shared->window = nullptr;
  }
  m_shared->changed.notify_all();
  if (!m_thread) return;
  WaitForSingleObject(m_thread.Get(), timeoutMs);
  m_thread.Reset();
}
