// CSettings over the registry and the Startup folder; ApplyToolbarVisibility over the
// framework's object tree. Registry failures are silent by design: an unreadable value reads
// as 1.
#include "Settings.h"

#include <shellapi.h>
#include <shlobj.h>

#include "ControlMgr.h"
#include "HotKeyChoice.h"
#include "ProgramSeam.h"
#include "ShellItem.h"
#include "XBaseUI.h"
#include "XRelayOut.h"
#include "XWin.h"
#include "XWindow.h"

namespace {

const wchar_t kKey[] = L"Software\\Tarquon\\pinvale";

}  // namespace

CSettings::CSettings() {
  CXRegKey key;
  if (RegCreateKeyExW(HKEY_CURRENT_USER, kKey, 0, nullptr, 0, KEY_QUERY_VALUE | KEY_SET_VALUE, nullptr, key.Out(),
                      nullptr) != ERROR_SUCCESS)
    return;
  const struct {
    const wchar_t* name;
    DWORD value;
  } defaults[] = {{L"AutoHide", 1}, {L"AutoSort", 0}, {L"HideToolbar", 0}};
  for (const auto& d : defaults) {
    if (RegQueryValueExW(key.Get(), d.name, nullptr, nullptr, nullptr, nullptr) == ERROR_FILE_NOT_FOUND)
      RegSetValueExW(key.Get(), d.name, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&d.value), sizeof d.value);
  }
}

const wchar_t* CSettings::KeyPath() { return kKey; }

int CSettings::ReadValue(const wchar_t* name, bool writeOneWhenUnreadable) {
  DWORD value = 0, size = sizeof value, type = 0;
  CXRegKey key;
  bool ok = RegOpenKeyExW(HKEY_CURRENT_USER, kKey, 0, KEY_QUERY_VALUE, key.Out()) == ERROR_SUCCESS &&
            RegQueryValueExW(key.Get(), name, nullptr, &type, reinterpret_cast<BYTE*>(&value), &size) ==
                ERROR_SUCCESS &&
            type == REG_DWORD && size == sizeof value;
  if (ok) return static_cast<int>(value);
  if (writeOneWhenUnreadable) WriteValue(name, 1);
  return 1;
}

void CSettings::WriteValue(const wchar_t* name, int value) {
  CXRegKey key;
  if (RegCreateKeyExW(HKEY_CURRENT_USER, kKey, 0, nullptr, 0, KEY_SET_VALUE, nullptr, key.Out(), nullptr) !=
      ERROR_SUCCESS)
    return;
  DWORD v = static_cast<DWORD>(value);
  RegSetValueExW(key.Get(), name, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&v), sizeof v);
}

DWORD CSettings::GetHotKey() {
  DWORD value = 0, size = sizeof value, type = 0;
  CXRegKey key;
  if (RegOpenKeyExW(HKEY_CURRENT_USER, kKey, 0, KEY_QUERY_VALUE, key.Out()) == ERROR_SUCCESS &&
      RegQueryValueExW(key.Get(), L"HotKey", nullptr, &type, reinterpret_cast<BYTE*>(&value), &size) == ERROR_SUCCESS &&
      type == REG_DWORD && size == sizeof value)
    return value;
  return HOTKEY_CHOICE::Default().ToStored();
}

void CSettings::SetHotKey(DWORD value) { WriteValue(L"HotKey", static_cast<int>(value)); }

int CSettings::GetAutoHide() { return ReadValue(L"AutoHide", false); }
int CSettings::GetAutoSort() { return ReadValue(L"AutoSort", false); }
int CSettings::GetHideToolbar() { return ReadValue(L"HideToolbar", false); }
void CSettings::SetAutoHide(int value) { WriteValue(L"AutoHide", value); }
void CSettings::SetAutoSort(int value) { WriteValue(L"AutoSort", value); }
void CSettings::SetHideToolbar(int value) { WriteValue(L"HideToolbar", value); }

const CString& CSettings::StartupShortcutPath() {
  static const CString path = [] {
    CString folder;
    return GetSpecialFolderPath(CSIDL_STARTUP, folder) ? folder + L"\\Pinvale.lnk" : CString();
  }();
  return path;
}

int CSettings::GetAutoRun() {
  const CString& link = StartupShortcutPath();
  return !link.IsEmpty() && GetFileAttributesW(link) != INVALID_FILE_ATTRIBUTES ? 1 : 0;
}

void CSettings::SetAutoRun(int value) {
  const CString& link = StartupShortcutPath();
  if (link.IsEmpty()) return;
  if (value) {
    const CString program = ProgramPath();
    if (PathFitsShell(program)) CreateShortcut(program, nullptr, link);
  } else {
    DeleteFileW(link);
  }
}

int CSettings::GetRightMenu() { return ReadValue(L"rightmenu", true); }

CString CSettings::RegistrationParameters(int registerExtension) {
  return CString(registerExtension ? L"/s" : L"/s /u") + L" \"" + ProgramFolder() + L"Hollin.dll\"";
}

int CSettings::SetRightMenu(int value) {
  if (!PathFitsShell(ProgramFolder() + L"Hollin.dll")) return 0;
  WriteValue(L"rightmenu", value);
  CString parameters = RegistrationParameters(value);
  if (!ProgramCallTaken({L"ShellExecuteW", L"runas", L"regsvr32", parameters, 0}))
    ShellExecuteW(nullptr, L"runas", L"regsvr32", parameters, nullptr, SW_HIDE);
  return 1;
}

void ApplyToolbarVisibility(int hide, CXWindow* window, bool skipRedraw) {
  if (!window) return;
  CControlMgr* mgr = window->XUI_GetControlMgr();
  CXBaseUI* toolbar = mgr ? mgr->FindUI(L"6000") : nullptr;
  CXBaseUI* container = mgr ? mgr->FindUI(L"list.container") : nullptr;
  if (!toolbar || !container) return;
  toolbar->XUI_SetVisible(hide == 0);
  CRect bar = toolbar->XUI_GetRect();
  CXRelayOut* rule = container->GetRelayoutPtr();
  if (rule) {
    CRect margin = rule->GetMargin();
    margin.top = hide ? bar.top + 20 : bar.bottom + 1;
    rule->SetMargin(margin);
    rule->SetEnable(1);
  }
  container->NeedRelayout(1);
  if (!skipRedraw && window->GetHWND()) {
    CRect area = container->XUI_GetRect();
    area.top = bar.top;
    InvalidateRect(window->GetHWND(), &area, FALSE);
  }
}

void WriteInstallPath() {
  CString path = ProgramPath();
  if (path.IsEmpty()) return;
  CXRegKey key;
  if (RegCreateKeyExW(HKEY_CURRENT_USER, L"Software\\Tarquon\\Pinvale", 0, nullptr, 0, KEY_SET_VALUE, nullptr,
                      key.Out(), nullptr) != ERROR_SUCCESS)
    return;
  RegSetValueExW(key.Get(), L"installpath", 0, REG_SZ, reinterpret_cast<const BYTE*>(path.GetString()),
                 static_cast<DWORD>((path.GetLength() + 1) * sizeof(wchar_t)));
}
