// CGlobalHotKey: the program's one system-wide hotkey (id 1 on the main window) and the
// settings dialog's hotkey field ("hotkey") with its two status lines: "hotkey.error" names
// a combination that cannot be registered, "hotkey.note" warns of one that AltGr also sends.
// It knows which combination it holds, so a check of the held one never fails on itself.
#pragma once

#include <windows.h>

#include "HotKeyChoice.h"

class IXUIObject;

class CGlobalHotKey {
 public:
  // Registers the choice for the window as id 1 (nothing for no hotkey); true when held.
  bool Register(HWND window, const HOTKEY_CHOICE& choice);
  void Unregister();
  // Whether the choice could be registered now: the held one, no hotkey, or one the system
  // grants a trial registration of.
  bool CanRegister(const HOTKEY_CHOICE& choice) const;
  bool IsHeld() const { return m_held; }

  // The dialog's field set to the choice, and its status lines.
  void FillDialog(IXUIObject* dialog, const HOTKEY_CHOICE& choice);
  // The status lines for what the field shows now (after each change of the field).
  void ShowStatus(IXUIObject* dialog);
  // The field's combination; false when the dialog has no field.
  static bool ChosenInDialog(IXUIObject* dialog, HOTKEY_CHOICE* choice);

 private:
  HWND m_window = nullptr;
  HOTKEY_CHOICE m_choice;
  bool m_held = false;
};
