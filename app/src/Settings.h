// CSettings: the program's persisted options. Five are REG_DWORD values under
// HKCU\Software\Tarquon\pinvale; starting with the system is the shortcut "Pinvale.lnk" in the
// user's Startup folder. Nothing is cached except the shortcut's path. Also the toolbar rule
// that moves the list when the toolbar is hidden.
#pragma once

#include <windows.h>

#include "XString.h"

class CXWindow;

class CSettings {
 public:
  // Writes AutoHide = 1, AutoSort = 0, HideToolbar = 0 where they are missing.
  CSettings();
  CSettings(const CSettings&) = delete;
  CSettings& operator=(const CSettings&) = delete;

  // The stored value; 1 when it cannot be read.
  int GetAutoHide();
  int GetAutoSort();
  int GetHideToolbar();
  void SetAutoHide(int value);
  void SetAutoSort(int value);
  void SetHideToolbar(int value);

  // 1 when the Startup shortcut exists.
  int GetAutoRun();
  // Non-zero creates the shortcut to the running program (not when the shell cannot take the
  // program's path whole), zero deletes it.
  void SetAutoRun(int value);

  // "rightmenu"; when it cannot be read, 1 is written and returned.
  int GetRightMenu();
  // Writes "rightmenu", then runs the registration tool on the shell extension beside the
  // program: registers for non-zero, unregisters for zero. Returns 1; 0, with nothing written
  // or run, when the extension's path is too long for the shell to take whole.
  int SetRightMenu(int value);

  // "HotKey": the global hotkey, MAKELONG(virtual key, MOD_* modifiers), 0 for none; the
  // default (Ctrl+Alt without a key of its own) while the value is missing or unreadable.
  DWORD GetHotKey();
  void SetHotKey(DWORD value);

  static const wchar_t* KeyPath();  // "Software\\Tarquon\\pinvale"
  // "<Startup folder>\Pinvale.lnk", computed once (empty when the folder is unknown).
  static const CString& StartupShortcutPath();
  // "/s" or "/s /u", a blank and the quoted full path of Hollin.dll beside the program.
  static CString RegistrationParameters(int registerExtension);

 private:
  static int ReadValue(const wchar_t* name, bool writeOneWhenUnreadable);
  static void WriteValue(const wchar_t* name, int value);
};

// Shows or hides the toolbar "6000" of the window and moves the container "list.container"
// up under the header or down under the toolbar; redraws unless skipRedraw. Nothing when the
// window lacks either object.
void ApplyToolbarVisibility(int hide, CXWindow* window, bool skipRedraw);

// Writes the running program's full path as "installpath" (REG_SZ) under
// HKCU\Software\Tarquon\Pinvale, where the shell extension finds the program to start.
void WriteInstallPath();
