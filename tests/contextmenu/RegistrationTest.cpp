// Registration of Hollin.dll: every key and value of its two scripts per machine and per user
// (DllInstall "user"), what unregistration keeps, and the real 64-bit regsvr32 loading the
// library, after which COM creates the handler by its class id.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "HollinLib.h"
#include "RegProbe.h"
#include "TestUtil.h"

namespace {

const std::wstring kClassKey = std::wstring(L"CLSID\\") + kHollinClsidText;
const std::wstring kAppKey = std::wstring(L"AppID\\") + kHollinAppIdText;
const wchar_t* const kHandlerParents[] = {L"*\\ShellEx\\ContextMenuHandlers", L"Folder\\ShellEx\\ContextMenuHandlers",
                                          L"Directory\\Background\\ShellEx\\ContextMenuHandlers",
                                          L"Directory\\ShellEx\\ContextMenuHandlers"};

// Keys kept by unregistration: every level above the handler keys, AppID and CLSID.
std::vector<std::wstring> KeptKeys() {
  std::vector<std::wstring> keys = {L"AppID", L"CLSID"};
  for (const wchar_t* parent : kHandlerParents) {
    std::wstring p = parent;
    for (size_t at = p.find(L'\\'); at != std::wstring::npos; at = p.find(L'\\', at + 1)) keys.push_back(p.substr(0, at));
    keys.push_back(p);
  }
  return keys;
}

void ExpectRegistered(HKEY root, const std::wstring& module) {
  EXPECT_EQ(ValueText(root, kAppKey), L"Hollin");
  EXPECT_EQ(ValueText(root, L"AppID\\Hollin.DLL", L"AppID"), kHollinAppIdText);
  EXPECT_EQ(ValueText(root, kClassKey), L"HollinClass Class");
  EXPECT_EQ(lstrcmpiW(ValueText(root, kClassKey + L"\\InprocServer32").c_str(), module.c_str()), 0)
      << ValueText(root, kClassKey + L"\\InprocServer32").c_str();
  EXPECT_EQ(ValueText(root, kClassKey + L"\\InprocServer32", L"ThreadingModel"), L"Apartment");
  for (const wchar_t* parent : kHandlerParents)
    EXPECT_EQ(ValueText(root, std::wstring(parent) + L"\\SimpleShlExt"), kHollinClsidText) << parent;
}

void ExpectUnregistered(HKEY root) {
  EXPECT_FALSE(KeyExists(root, kAppKey));
  EXPECT_FALSE(KeyExists(root, L"AppID\\Hollin.DLL"));
  EXPECT_FALSE(KeyExists(root, kClassKey));
  for (const wchar_t* parent : kHandlerParents) EXPECT_FALSE(KeyExists(root, std::wstring(parent) + L"\\SimpleShlExt"));
}

HKEY Open(HKEY root, const wchar_t* path) {
  HKEY h = nullptr;
  RegCreateKeyExW(root, path, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &h, nullptr);
  return h;
}

class Registration : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(lib.Loaded());
    CoInitialize(nullptr);
    machine = Open(HKEY_LOCAL_MACHINE, L"Software\\Classes");
    user = Open(HKEY_CURRENT_USER, L"Software\\Classes");
    Clean();
  }
  void TearDown() override {
    Clean();
    RegCloseKey(machine);
    RegCloseKey(user);
    CoUninitialize();
  }
  void Clean() {
    lib.UnregisterServer();
    lib.Install(FALSE, L"user");
  }

  HollinLib lib;
  HKEY machine = nullptr;
  HKEY user = nullptr;
};

TEST_F(Registration, PerMachineWritesEveryEntryAndUnregisteringKeepsNoRemoveKeys) {
  MakeKey(machine, L"*\\ShellEx\\ContextMenuHandlers\\OtherExt", nullptr, L"{other}");
  LCID before = GetThreadLocale();
  SetThreadLocale(MAKELCID(MAKELANGID(LANG_GERMAN, SUBLANG_GERMAN), SORT_DEFAULT));
  ASSERT_EQ(lib.RegisterServer(), S_OK);
  EXPECT_EQ(GetThreadLocale(), MAKELCID(MAKELANGID(LANG_GERMAN, SUBLANG_GERMAN), SORT_DEFAULT));
  SetThreadLocale(before);
  ExpectRegistered(machine, lib.Path());
  ExpectRegistered(HKEY_CLASSES_ROOT, lib.Path());
  EXPECT_FALSE(KeyExists(user, kClassKey));

  ASSERT_EQ(lib.UnregisterServer(), S_OK);
  ExpectUnregistered(machine);
  for (const std::wstring& key : KeptKeys()) EXPECT_TRUE(KeyExists(machine, key)) << key.c_str();
  EXPECT_EQ(ValueText(machine, L"*\\ShellEx\\ContextMenuHandlers\\OtherExt"), L"{other}");
  EXPECT_EQ(lib.UnregisterServer(), S_OK);  // again: nothing left to remove, no failure
  RegDeleteKeyW(machine, L"*\\ShellEx\\ContextMenuHandlers\\OtherExt");
}

TEST_F(Registration, RegisteringReplacesStaleClassAndHandlerKeys) {
  MakeKey(machine, kClassKey + L"\\LocalServer32", nullptr, L"stale.exe");
  MakeKey(machine, L"Folder\\ShellEx\\ContextMenuHandlers\\SimpleShlExt\\Stale");
  MakeKey(machine, L"AppID\\Hollin.DLL", L"Extra", L"x");
  ASSERT_EQ(lib.RegisterServer(), S_OK);
  EXPECT_FALSE(KeyExists(machine, kClassKey + L"\\LocalServer32"));
  EXPECT_FALSE(KeyExists(machine, L"Folder\\ShellEx\\ContextMenuHandlers\\SimpleShlExt\\Stale"));
  ExpectRegistered(machine, lib.Path());
  ASSERT_EQ(lib.UnregisterServer(), S_OK);
  ExpectUnregistered(machine);
}

TEST_F(Registration, DllInstallUserRegistersPerUserOnly) {
  ASSERT_EQ(lib.Install(TRUE, L"USER"), S_OK);
  ExpectRegistered(user, lib.Path());
  EXPECT_FALSE(KeyExists(machine, kClassKey));
  EXPECT_FALSE(KeyExists(machine, kAppKey));
  ASSERT_EQ(lib.Install(FALSE, L"User"), S_OK);
  ExpectUnregistered(user);
  EXPECT_TRUE(KeyExists(user, L"Directory\\Background\\ShellEx\\ContextMenuHandlers"));

  // Any other command line means per machine.
  ASSERT_EQ(lib.Install(TRUE, L"users"), S_OK);
  ExpectRegistered(machine, lib.Path());
  EXPECT_FALSE(KeyExists(user, kClassKey));
  ASSERT_EQ(lib.Install(FALSE, nullptr), S_OK);
  ExpectUnregistered(machine);
}

// The registration tool of the system folder: 64-bit, or with wow64 the 32-bit one, which is
// what the 32-bit program starts.
DWORD RunRegsvr32(const std::wstring& args, bool wow64 = false) {
  wchar_t system[MAX_PATH] = {0};
  if (wow64) GetSystemWow64DirectoryW(system, MAX_PATH);
  else GetSystemDirectoryW(system, MAX_PATH);
  std::wstring cmd = L"\"" + std::wstring(system) + L"\\regsvr32.exe\" " + args;
  STARTUPINFOW si = {sizeof si};
  PROCESS_INFORMATION pi = {};
  // A loaded machine now and then refuses a start under Wine; a second try is honest here.
  bool started = false;
  for (int attempt = 0; attempt < 3 && !started; ++attempt) {
    started = CreateProcessW(nullptr, &cmd[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi) != 0;
    if (!started) {
      fprintf(stderr, "regsvr32 did not start (error %lu)\n", GetLastError());
      Sleep(500);
    }
  }
  if (!started) return 9999;
  CXHandle process(pi.hProcess), thread(pi.hThread);
  if (WaitForSingleObject(pi.hProcess, 60000) != WAIT_OBJECT_0) return 9998;
  DWORD code = 9997;
  GetExitCodeProcess(pi.hProcess, &code);
  return code;
}

TEST_F(Registration, Regsvr32RegistersAndComCreatesTheHandler) {
  const std::wstring quoted = L"\"" + lib.Path() + L"\"";
  ASSERT_EQ(RunRegsvr32(L"/s " + quoted), 0u);
  ExpectRegistered(machine, lib.Path());

  CXComPtr<IContextMenu> menu;
  ASSERT_EQ(CoCreateInstance(kHollinClsid, nullptr, CLSCTX_INPROC_SERVER, IID_IContextMenu, menu.OutVoid()), S_OK);
  HMENU popup = CreatePopupMenu();
  EXPECT_EQ(menu->QueryContextMenu(popup, 0, 1, 100, CMF_NORMAL), MAKE_HRESULT(SEVERITY_SUCCESS, 0, 2));
  EXPECT_EQ(GetMenuItemCount(popup), 2);
  DestroyMenu(popup);
  CXComPtr<IShellExtInit> init;
  EXPECT_EQ(menu->QueryInterface(IID_IShellExtInit, init.OutVoid()), S_OK);
  init.Reset();
  menu.Reset();

  ASSERT_EQ(RunRegsvr32(L"/u /s " + quoted), 0u);
  ExpectUnregistered(machine);
  EXPECT_EQ(CoCreateInstance(kHollinClsid, nullptr, CLSCTX_INPROC_SERVER, IID_IContextMenu, menu.OutVoid()),
            REGDB_E_CLASSNOTREG);

  ASSERT_EQ(RunRegsvr32(L"/s /n /i:user " + quoted), 0u);
  ExpectRegistered(user, lib.Path());
  EXPECT_FALSE(KeyExists(machine, kClassKey));
  ASSERT_EQ(RunRegsvr32(L"/s /u /n /i:user " + quoted), 0u);
  ExpectUnregistered(user);

  // The 32-bit tool hands the 64-bit library on to the 64-bit one.
  ASSERT_EQ(RunRegsvr32(L"/s " + quoted, true), 0u);
  ExpectRegistered(machine, lib.Path());
  ASSERT_EQ(RunRegsvr32(L"/s /u " + quoted, true), 0u);
  ExpectUnregistered(machine);
}

}  // namespace
