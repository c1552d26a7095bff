// HOTKEY_CHOICE: the global hotkey the user chose, in the three forms it takes: as stored
// ("HotKey", MAKELONG(virtual key, MOD_* modifiers)), as the hotkey control keeps it
// (MAKEWORD(virtual key, HOTKEYF_* flags)) and as RegisterHotKey takes it. Key 0 is the
// modifiers alone (the default, Ctrl+Alt); modifiers and key both 0 mean no hotkey.
#pragma once

#include <windows.h>

#include <string>

struct HOTKEY_CHOICE {
  UINT modifiers = 0;  // MOD_ALT | MOD_CONTROL | MOD_SHIFT | MOD_WIN
  UINT key = 0;        // virtual key, 0 for none

  bool IsNone() const { return modifiers == 0 && key == 0; }
  bool operator==(const HOTKEY_CHOICE& o) const { return modifiers == o.modifiers && key == o.key; }
  bool operator!=(const HOTKEY_CHOICE& o) const { return !(*this == o); }

  static HOTKEY_CHOICE Default() { return HOTKEY_CHOICE{MOD_CONTROL | MOD_ALT, 0}; }
  // Unknown modifier bits and keys above 0xFF are dropped.
  static HOTKEY_CHOICE FromStored(DWORD value);
  DWORD ToStored() const;
  static HOTKEY_CHOICE FromControl(WORD value);
  WORD ToControl() const;

  // Ctrl and Alt together: what AltGr sends on many keyboards, so typing with AltGr also
  // presses this hotkey.
  bool SharesAltGr() const;
  // The modifiers for RegisterHotKey. A combination with a key of its own is registered
  // without auto-repeat (one toggle per press); the default goes exactly as it is.
  UINT RegistrationModifiers() const;
};

// "Ctrl+Alt+K": the modifier names given (in the order Ctrl, Alt, Shift, Win) and the key's
// name from the keyboard layout; the text for no hotkey when there is none.
std::wstring HotKeyText(const HOTKEY_CHOICE& choice, const std::wstring names[4], const std::wstring& none);
