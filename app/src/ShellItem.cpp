// Shell item utilities over the platform shell: IShellLinkW for shortcut files,
// SHGetFileInfoW for type icons, ShellExecute(Ex)W and WinExec for starts. No buffer is
// filled beyond MAX_PATH; longer paths are passed as strings, never copied into one.
#include "ShellItem.h"

#include <shellapi.h>
#include <shlobj.h>

#include <string>

#include "ProgramSeam.h"
#include "ShellHandles.h"
#include "XProgram.h"
#include "XWin.h"

namespace {

// Offers a start of OpenItem to the program's test seam; true when a test stood in for it.
bool StartTaken(const wchar_t* api, const wchar_t* verb, const wchar_t* what) {
  return ProgramCallTaken({api, verb, what, nullptr, 0});
}

// COM for the current thread for the lifetime of the scope. A thread already in another
// apartment can still use COM, so RPC_E_CHANGED_MODE counts as usable (and is not undone).
class CComScope {
 public:
  CComScope() : m_hr(CoInitialize(nullptr)) {}
  ~CComScope() { if (SUCCEEDED(m_hr)) CoUninitialize(); }
  bool Usable() const { return SUCCEEDED(m_hr) || m_hr == RPC_E_CHANGED_MODE; }
 private:
  HRESULT m_hr;
};

// A shell link object and its file interface.
bool NewShellLink(CXComPtr<IShellLinkW>& link, CXComPtr<IPersistFile>& file) {
  return SUCCEEDED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW,
                                    link.OutVoid())) &&
         SUCCEEDED(link->QueryInterface(IID_IPersistFile, file.OutVoid()));
}

bool HasExtension(const CString& path, const wchar_t* ext) {
  int dot = path.ReverseFind(L'.');
  int slash = path.ReverseFind(L'\\');
  if (dot < 0 || dot < slash) return false;
  return path.Mid(dot).CompareNoCase(ext) == 0;
}

// A name with the path's extension that fits SHGetFileInfoW's fixed buffers.
CString ShortNameWithExtension(const CString& path) {
  if (path.GetLength() < MAX_PATH) return path;
  int dot = path.ReverseFind(L'.');
  int slash = path.ReverseFind(L'\\');
  CString name(L"file");
  if (dot > slash && path.GetLength() - dot < MAX_PATH - 8) name += path.Mid(dot);
  return name;
}

}  // namespace

CString ProgramPath() { return CString(XModulePath()); }

CString ProgramFolder() { return CString(XModuleFolder()); }

bool PathIsExistingFolder(const CString& path) {
  DWORD a = GetFileAttributesW(path);
  return a != INVALID_FILE_ATTRIBUTES && (a & FILE_ATTRIBUTE_DIRECTORY);
}

bool PathExistsAtAll(const CString& path) {
  return !path.IsEmpty() && GetFileAttributesW(path) != INVALID_FILE_ATTRIBUTES;
}

CString PathWithoutLastComponent(const CString& path) {
  int slash = path.ReverseFind(L'\\');
  if (slash < 0) return CString();
  // Keep the root's backslash ("C:\x" -> "C:\").
  if (slash == 2 && path.GetAt(1) == L':') return path.Left(3);
  return path.Left(slash);
}

CString PathWithoutTrailingBackslash(const CString& path) {
  int length = path.GetLength();
  while (length > 1 && path.GetAt(length - 1) == L'\\' && !(length == 3 && path.GetAt(1) == L':')) --length;
  return path.Left(length);
}

int GetSpecialFolderPath(int csidl, CString& path) {
  path.Empty();
  LPITEMIDLIST handedOut = nullptr;
  HRESULT hr = SHGetSpecialFolderLocation(nullptr, csidl, &handedOut);
  CXItemIdList list(handedOut);
  if (FAILED(hr) || !list) return 0;
  wchar_t buf[MAX_PATH] = {0};
  if (!SHGetPathFromIDListW(list.Get(), buf)) return 0;
  buf[MAX_PATH - 1] = 0;
  path = buf;
  return 1;
}

HICON GetFolderTypeIcon() {
  SHFILEINFOW info = {};
  return SHGetFileInfoW(L"folder", FILE_ATTRIBUTE_DIRECTORY, &info, sizeof info, SHGFI_ICON | SHGFI_USEFILEATTRIBUTES)
             ? info.hIcon
             : nullptr;
}

HICON GetFileExtensionIcon(const CString& path) {
  SHFILEINFOW info = {};
  return SHGetFileInfoW(ShortNameWithExtension(path), FILE_ATTRIBUTE_NORMAL, &info, sizeof info,
                        SHGFI_ICON | SHGFI_USEFILEATTRIBUTES)
             ? info.hIcon
             : nullptr;
}

const wchar_t kFolderKey[] = L"\\";

std::wstring ExtensionKey(const CString& path) {
  const int dot = path.ReverseFind(L'.'), slash = path.ReverseFind(L'\\');
  return dot > slash ? path.Mid(dot).MakeLower().Str() : std::wstring();
}

std::wstring GuessedTypeKey(const CString& path) {
  std::wstring key = ExtensionKey(path);
  return key.empty() ? kFolderKey : key;
}

std::wstring ExactTypeKey(const CString& path) {
  if (!IsOnLocalFixedDrive(path.Str())) return GuessedTypeKey(path);
  return PathIsExistingFolder(path) ? std::wstring(kFolderKey) : ExtensionKey(path);
}

bool IsOnLocalFixedDrive(const std::wstring& path) {
  if (path.size() < 3 || path[1] != L':' || (path[2] != L'\\' && path[2] != L'/')) return false;
  const wchar_t letter = path[0];
  if (!((letter >= L'A' && letter <= L'Z') || (letter >= L'a' && letter <= L'z'))) return false;
  const wchar_t root[4] = {letter, L':', L'\\', 0};
  const UINT type = ProgramDriveType(root);
  return type == DRIVE_FIXED || type == DRIVE_RAMDISK;
}

HICON GetFileTypeIcon(const CString& path) {
  return PathIsExistingFolder(path) ? GetFolderTypeIcon() : GetFileExtensionIcon(path);
}

int ResolveShortcut(const CString& shortcut, CString& target) {
  target.Empty();
  CComScope com;
  CXComPtr<IShellLinkW> link;
  CXComPtr<IPersistFile> file;
  if (!com.Usable() || !NewShellLink(link, file) || FAILED(file->Load(shortcut, STGM_READ))) return 0;
  wchar_t buf[MAX_PATH] = {0};
  if (SUCCEEDED(link->GetPath(buf, MAX_PATH, nullptr, SLGP_UNCPRIORITY))) {
    buf[MAX_PATH - 1] = 0;
    target = buf;
  }
  return 1;
}

int CreateShortcut(const CString& target, const wchar_t* description, const CString& shortcut) {
  CComScope com;
  CXComPtr<IShellLinkW> link;
  CXComPtr<IPersistFile> file;
  if (!com.Usable() || !NewShellLink(link, file)) return 0;
  link->SetPath(target);
  if (description) link->SetDescription(description);
  link->SetWorkingDirectory(PathWithoutLastComponent(target));
  link->SetShowCmd(SW_SHOW);
  file->Save(shortcut, TRUE);
  return 0;
}

int Is64BitSystem() {
  static int cached = -1;
  if (cached >= 0) return cached;
  cached = 0;
  OSVERSIONINFOEXW ex = {};
  ex.dwOSVersionInfoSize = sizeof ex;
  if (!GetVersionExW(reinterpret_cast<OSVERSIONINFOW*>(&ex))) {
    OSVERSIONINFOW basic = {};
    basic.dwOSVersionInfoSize = sizeof basic;
    if (!GetVersionExW(&basic)) return 0;
  }
  typedef void(WINAPI * PFN_GetNativeSystemInfo)(SYSTEM_INFO*);
  HMODULE kernel = GetModuleHandleW(L"kernel32.dll");
  auto getNative = kernel ? reinterpret_cast<PFN_GetNativeSystemInfo>(reinterpret_cast<void*>(
                                GetProcAddress(kernel, "GetNativeSystemInfo")))
                          : nullptr;
  if (!getNative) return 0;
  SYSTEM_INFO si = {};
  getNative(&si);
  if (si.wProcessorArchitecture == PROCESSOR_ARCHITECTURE_AMD64 ||
      si.wProcessorArchitecture == PROCESSOR_ARCHITECTURE_IA64) {
    cached = 1;
  }
  return cached;
}

bool PathFitsShell(const CString& path) { return path.GetLength() < MAX_PATH; }

int OpenItem(const CString& path) {
  if (!PathFitsShell(path)) return 0;
  if (PathIsExistingFolder(path)) {
    if (!StartTaken(L"ShellExecuteW", L"open", path)) ShellExecuteW(nullptr, L"open", path, nullptr, nullptr, SW_SHOW);
    return 1;
  }
  if (!PathExistsAtAll(path)) return 0;

  CString target = path;
  if (HasExtension(path, L".lnk")) {
    CString resolved;
    if (!ResolveShortcut(path, resolved)) {
      if (!StartTaken(L"ShellExecuteW", L"open", path)) ShellExecuteW(nullptr, L"open", path, nullptr, nullptr, SW_SHOW);
      return 1;
    }
    target = resolved;
  }
  // A 32-bit process reads shortcuts into the 64-bit program folder as the 32-bit one.
  if (!PathExistsAtAll(target)) {
    int at = target.Find(L" (x86)");
    if (at >= 0 && Is64BitSystem()) target.Delete(at, 6);
  }
  if (!PathExistsAtAll(target)) return 0;

  SHELLEXECUTEINFOW sei = {};
  sei.cbSize = sizeof sei;
  sei.fMask = SEE_MASK_NOCLOSEPROCESS | SEE_MASK_FLAG_NO_UI;
  sei.lpFile = target;
  sei.lpDirectory = L"";
  sei.nShow = SW_SHOWNORMAL;
  if (StartTaken(L"ShellExecuteExW", L"open", target)) return 1;
  if (ShellExecuteExW(&sei)) {
    CXHandle process(sei.hProcess);  // handed back by the mask; nothing waits on it
    return 1;
  }
  if (GetLastError() == ERROR_CANCELLED) return 0;

  // The open-with chooser for the item itself (not the resolved target).
  wchar_t rundll[MAX_PATH] = {0};
  DWORD n = ExpandEnvironmentStringsW(L"%windir%\\system32\\rundll32.exe", rundll, MAX_PATH);
  if (n == 0 || n > MAX_PATH) return 0;
  CString command = CString(rundll) + L" shell32, OpenAs_RunDLL " + path;
  if (StartTaken(L"WinExec", nullptr, command)) return 1;
  std::string ansi = XNarrow(command);
  return WinExec(ansi.c_str(), SW_SHOWNORMAL) > 31 ? 1 : 0;
}
