// The setup tests' helpers. Every wait is bounded and every process started here belongs to
// the tests' job, so nothing outlives the test program.
#include "SetupUtil.h"

#include <shlobj.h>

#include <algorithm>

namespace setup {

const wchar_t kUninstallKey[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Pinvale";
const wchar_t kExtensionKey[] = L"Software\\Classes\\CLSID\\{EDE9C14E-B540-40BD-9592-1770FCDF08F4}\\InprocServer32";
const wchar_t kUserKey[] = L"Software\\Tarquon\\Pinvale";

namespace {

std::wstring HostPath(const char* path) {
  std::wstring p = xtest::Widen(path);
  std::replace(p.begin(), p.end(), L'/', L'\\');
  return L"Z:" + p;
}

struct WindowSearch {
  DWORD pid;
  std::wstring captionStart;
  HWND found;
};

BOOL CALLBACK FindCaption(HWND hwnd, LPARAM lParam) {
  auto* s = reinterpret_cast<WindowSearch*>(lParam);
  DWORD pid = 0;
  GetWindowThreadProcessId(hwnd, &pid);
  if (pid != s->pid || !IsWindowVisible(hwnd)) return TRUE;
  wchar_t caption[256] = {0};
  GetWindowTextW(hwnd, caption, 256);
  if (std::wstring(caption).rfind(s->captionStart, 0) != 0) return TRUE;
  s->found = hwnd;
  return FALSE;
}

std::wstring ValueText(DWORD type, const BYTE* data, DWORD size) {
  std::wstring text = std::to_wstring(type) + L":";
  if (type == REG_SZ || type == REG_EXPAND_SZ || type == REG_MULTI_SZ) {
    text.append(reinterpret_cast<const wchar_t*>(data), size / sizeof(wchar_t));
  } else {
    static const wchar_t hex[] = L"0123456789abcdef";
    for (DWORD i = 0; i < size; ++i) {
      text += hex[data[i] >> 4];
      text += hex[data[i] & 15];
    }
  }
  return text;
}

void SnapshotKey(HKEY root, const std::wstring& path, REGSAM view, const std::wstring& label, Snapshot& out) {
  HKEY key = nullptr;
  if (RegOpenKeyExW(root, path.c_str(), 0, KEY_READ | view, &key) != ERROR_SUCCESS) return;
  CXRegKey holder(key);
  out[label + L"\\"] = L"key";
  std::vector<wchar_t> name(16384);
  std::vector<BYTE> data(1 << 16);
  for (DWORD i = 0;; ++i) {
    DWORD nameLen = static_cast<DWORD>(name.size()), type = 0, size = static_cast<DWORD>(data.size());
    LONG rc = RegEnumValueW(key, i, name.data(), &nameLen, nullptr, &type, data.data(), &size);
    if (rc == ERROR_NO_MORE_ITEMS) break;
    if (rc != ERROR_SUCCESS) continue;
    out[label + L"\\" + std::wstring(name.data(), nameLen) + L"="] = ValueText(type, data.data(), size);
  }
  std::vector<std::wstring> children;
  for (DWORD i = 0;; ++i) {
    DWORD nameLen = static_cast<DWORD>(name.size());
    LONG rc = RegEnumKeyExW(key, i, name.data(), &nameLen, nullptr, nullptr, nullptr, nullptr);
    if (rc == ERROR_NO_MORE_ITEMS) break;
    if (rc == ERROR_SUCCESS) children.emplace_back(name.data(), nameLen);
  }
  for (const std::wstring& child : children)
    SnapshotKey(root, path + L"\\" + child, view, label + L"\\" + child, out);
}

void SnapshotFolder(const std::wstring& folder, Snapshot& out) {
  for (const xtest::FolderEntry& e : xtest::ListFolder(folder)) {
    std::wstring path = folder + L"\\" + e.name;
    if (e.isFolder) {
      out[path + L"\\"] = L"folder";
      SnapshotFolder(path, out);
    } else {
      out[path] = std::to_wstring(xtest::ReadBytes(path).size());
    }
  }
}

void CollectFiles(const std::wstring& folder, const std::wstring& prefix, std::vector<std::wstring>& out) {
  for (const xtest::FolderEntry& e : xtest::ListFolder(folder)) {
    if (e.isFolder) {
      CollectFiles(folder + L"\\" + e.name, prefix + e.name + L"\\", out);
    } else {
      out.push_back(prefix + e.name);
    }
  }
}

}  // namespace

std::wstring SetupExe() { return HostPath(PINVALE_SETUP_EXE); }
std::wstring NextSetupExe() { return HostPath(PINVALE_NEXT_SETUP_EXE); }
std::wstring Version() { return xtest::Widen(PINVALE_VERSION); }
std::wstring NextVersion() { return xtest::Widen(PINVALE_NEXT_VERSION); }

Sandbox::Sandbox() {
  m_appData = m_root / L"AppData";
  m_temp = m_root / L"Temp";
  CreateDirectoryW((m_root / L"Program Files").c_str(), nullptr);
  CreateDirectoryW(m_appData.c_str(), nullptr);
  CreateDirectoryW(m_temp.c_str(), nullptr);
}

std::map<std::wstring, std::wstring> Sandbox::Environment() const {
  return {{L"APPDATA", m_appData}, {L"TEMP", m_temp}, {L"TMP", m_temp}};
}

Process::Process(const std::wstring& exe, const std::wstring& arguments,
                 const std::map<std::wstring, std::wstring>& env) {
  std::wstring command = L"\"" + exe + L"\"";
  if (!arguments.empty()) command += L" " + arguments;
  m_process.Reset(e2e::StartInJob(command, env, nullptr, &m_pid));
}

DWORD Process::Wait(DWORD timeoutMs) {
  if (!m_process.Valid() || WaitForSingleObject(m_process.Get(), timeoutMs) != WAIT_OBJECT_0) return 0xFFFFFFFF;
  DWORD code = 0xFFFFFFFF;
  GetExitCodeProcess(m_process.Get(), &code);
  return code;
}

bool Process::Running() const { return m_process.Valid() && WaitForSingleObject(m_process.Get(), 0) == WAIT_TIMEOUT; }

HWND Process::WaitForWindow(const std::wstring& captionStart, DWORD timeoutMs) const {
  WindowSearch search = {m_pid, captionStart, nullptr};
  xtest::WaitFor([&] {
    EnumWindows(FindCaption, reinterpret_cast<LPARAM>(&search));
    return search.found != nullptr || !Running();
  }, timeoutMs);
  return search.found;
}

DWORD RunToEnd(const std::wstring& exe, const std::wstring& arguments, const std::map<std::wstring, std::wstring>& env) {
  Process p(exe, arguments, env);
  return p.Wait();
}

void PressButton(HWND dialog, int id) {
  PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(dialog, id)));
}

namespace {

// The value's bytes in the view, or false when the key or the value is missing.
bool ReadValue(HKEY root, const wchar_t* key, const wchar_t* name, REGSAM view, DWORD wantType, void* data,
               DWORD* size) {
  CXRegKey k;
  if (RegOpenKeyExW(root, key, 0, KEY_QUERY_VALUE | view, k.Out()) != ERROR_SUCCESS) return false;
  DWORD type = 0;
  return RegQueryValueExW(k.Get(), name, nullptr, &type, static_cast<BYTE*>(data), size) == ERROR_SUCCESS &&
         type == wantType;
}

}  // namespace

std::wstring ReadString(HKEY root, const wchar_t* key, const wchar_t* name, REGSAM view) {
  wchar_t text[1024] = {0};
  DWORD size = sizeof text - sizeof(wchar_t);  // room for the terminator a value may lack
  return ReadValue(root, key, name, view, REG_SZ, text, &size) ? text : L"";
}

bool ReadDword(HKEY root, const wchar_t* key, const wchar_t* name, DWORD* value, REGSAM view) {
  DWORD size = sizeof *value;
  return ReadValue(root, key, name, view, REG_DWORD, value, &size) && size == sizeof *value;
}

Snapshot RegistrySnapshot() {
  // All of the user's software keys; of the machine's (too large to walk whole under Wine)
  // every key where setup, the registration tool or the program could write.
  static const wchar_t* const machine[] = {
      L"Software\\Tarquon",
      L"Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall",
      L"Software\\Microsoft\\Windows\\CurrentVersion\\Run",
      L"Software\\Classes\\CLSID\\{EDE9C14E-B540-40BD-9592-1770FCDF08F4}",
      L"Software\\Classes\\AppID\\{6BB3D1B4-AFD0-4BBC-8267-8EF854D01B88}",
      L"Software\\Classes\\AppID\\Hollin.DLL",
      L"Software\\Classes\\*\\ShellEx",
      L"Software\\Classes\\Folder\\ShellEx",
      L"Software\\Classes\\Directory\\ShellEx",
      L"Software\\Classes\\Directory\\Background\\ShellEx",
  };
  Snapshot out;
  for (const wchar_t* key : machine) {
    SnapshotKey(HKEY_LOCAL_MACHINE, key, KEY_WOW64_32KEY, std::wstring(L"HKLM32\\") + key, out);
    SnapshotKey(HKEY_LOCAL_MACHINE, key, KEY_WOW64_64KEY, std::wstring(L"HKLM64\\") + key, out);
  }
  SnapshotKey(HKEY_CURRENT_USER, L"Software", 0, L"HKCU\\Software", out);
  return out;
}

Snapshot FileSnapshot(const std::vector<std::wstring>& folders) {
  Snapshot out;
  for (const std::wstring& f : folders) SnapshotFolder(f, out);
  return out;
}

std::vector<std::wstring> Differences(const Snapshot& before, const Snapshot& after) {
  std::vector<std::wstring> lines;
  for (const auto& a : after) {
    auto b = before.find(a.first);
    if (b == before.end()) {
      lines.push_back(L"+ " + a.first + L" " + a.second);
    } else if (b->second != a.second) {
      lines.push_back(L"~ " + a.first + L" " + b->second + L" -> " + a.second);
    }
  }
  for (const auto& b : before)
    if (!after.count(b.first)) lines.push_back(L"- " + b.first + L" " + b.second);
  return lines;
}

std::wstring ShellFolder(int csidl) {
  wchar_t path[MAX_PATH] = {0};
  return SHGetSpecialFolderPathW(nullptr, path, csidl, FALSE) ? path : L"";
}

std::wstring StartupShortcut() { return ShellFolder(CSIDL_STARTUP) + L"\\Pinvale.lnk"; }
std::wstring StartMenuShortcut() { return ShellFolder(CSIDL_COMMON_PROGRAMS) + L"\\Pinvale.lnk"; }

std::wstring ShortcutTarget(const std::wstring& lnk) {
  HRESULT init = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
  std::wstring target;
  {
    CXComPtr<IShellLinkW> link;
    CXComPtr<IPersistFile> file;
    wchar_t path[MAX_PATH] = {0};
    if (SUCCEEDED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW, link.OutVoid())) &&
        SUCCEEDED(link->QueryInterface(IID_IPersistFile, file.OutVoid())) &&
        SUCCEEDED(file->Load(lnk.c_str(), STGM_READ)) && SUCCEEDED(link->GetPath(path, MAX_PATH, nullptr, 0)))
      target = path;
  }
  if (SUCCEEDED(init)) CoUninitialize();
  return target;
}

std::vector<std::wstring> FilesBelow(const std::wstring& folder) {
  std::vector<std::wstring> out;
  CollectFiles(folder, L"", out);
  std::sort(out.begin(), out.end());
  return out;
}

bool SameFilesAsDist(const std::wstring& folder, std::vector<std::wstring>* wrong) {
  wrong->clear();
  for (const std::wstring& name : FilesBelow(e2e::DistFolder()))
    if (xtest::ReadBytes(e2e::DistFolder() + L"\\" + name) != xtest::ReadBytes(folder + L"\\" + name))
      wrong->push_back(name);
  return wrong->empty();
}

void RemoveLeftoverInstallation() {
  std::wstring location = ReadString(HKEY_LOCAL_MACHINE, kUninstallKey, L"InstallLocation", KEY_WOW64_32KEY);
  if (location.empty()) return;
  e2e::EndStrayInstances();
  RunToEnd(location + L"\\uninstall.exe", L"/S /REMOVEDATA _?=" + location, {});
  xtest::RemoveTree(location);
  RegDeleteKeyExW(HKEY_LOCAL_MACHINE, kUninstallKey, KEY_WOW64_32KEY, 0);
}

void SetupTest::SetUp() {
  ASSERT_TRUE(xtest::FileExists(SetupExe()) && xtest::FileExists(NextSetupExe()))
      << "no setup programs: scripts/build.sh builds them after both Windows trees";
  e2e::CleanStateTest::SetUp();
  RemoveLeftoverInstallation();
  // An empty maker key left by other tests would be taken for setup's own.
  RegDeleteKeyW(HKEY_CURRENT_USER, L"Software\\Tarquon");
}

void SetupTest::TearDown() {
  RemoveLeftoverInstallation();
  e2e::CleanStateTest::TearDown();
}

DWORD SetupTest::Install(const std::wstring& arguments) {
  return RunToEnd(SetupExe(), L"/S " + arguments + L" /D=" + Folder(), box.Environment());
}

DWORD SetupTest::Uninstall(const std::wstring& arguments) {
  DWORD code = RunToEnd(Folder() + L"\\uninstall.exe", L"/S " + arguments + L" _?=" + Folder(), box.Environment());
  EXPECT_EQ(FilesBelow(Folder()), std::vector<std::wstring>{L"uninstall.exe"});
  DeleteFileW((Folder() + L"\\uninstall.exe").c_str());
  RemoveDirectoryW(Folder().c_str());
  return code;
}

std::vector<std::wstring> SetupTest::WatchedFolders() const {
  return {box.InstallFolder() + L"\\..", box.AppData(), box.Temp(), ShellFolder(CSIDL_COMMON_PROGRAMS),
          ShellFolder(CSIDL_PROGRAMS), ShellFolder(CSIDL_STARTUP), ShellFolder(CSIDL_PROGRAM_FILESX86)};
}

void SetupTest::UseProgramOnce(const std::wstring& favourite) {
  e2e::Program program(Folder(), box.AppData());
  HWND window = program.WaitForWindow();
  ASSERT_TRUE(window);
  e2e::SendPath(window, favourite);
  EXPECT_EQ(program.Exit(), 0u);
}

std::string Narrow(const std::vector<std::wstring>& lines) {
  std::string out;
  for (const std::wstring& l : lines) out += xtest::Narrow(l) + "\n";
  return out;
}

}  // namespace setup
