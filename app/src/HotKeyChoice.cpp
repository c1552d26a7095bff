// The hotkey's forms. The two modifier encodings differ only in the places of Alt and Shift.
#include "HotKeyChoice.h"

#include <commctrl.h>

namespace {

const UINT kModifiers = MOD_ALT | MOD_CONTROL | MOD_SHIFT | MOD_WIN;

}  // namespace

HOTKEY_CHOICE HOTKEY_CHOICE::FromStored(DWORD value) {
  return HOTKEY_CHOICE{HIWORD(value) & kModifiers, LOWORD(value) & 0xFFu};
}

DWORD HOTKEY_CHOICE::ToStored() const { return MAKELONG(key & 0xFFu, modifiers & kModifiers); }

HOTKEY_CHOICE HOTKEY_CHOICE::FromControl(WORD value) {
  const BYTE flags = HIBYTE(value);
  UINT mods = 0;
  if (flags & HOTKEYF_CONTROL) mods |= MOD_CONTROL;
  if (flags & HOTKEYF_ALT) mods |= MOD_ALT;
  if (flags & HOTKEYF_SHIFT) mods |= MOD_SHIFT;
  if (flags & HOTKEYF_EXT) mods |= MOD_WIN;
  return HOTKEY_CHOICE{mods, LOBYTE(value)};
}

WORD HOTKEY_CHOICE::ToControl() const {
  BYTE flags = 0;
  if (modifiers & MOD_CONTROL) flags |= HOTKEYF_CONTROL;
  if (modifiers & MOD_ALT) flags |= HOTKEYF_ALT;
  if (modifiers & MOD_SHIFT) flags |= HOTKEYF_SHIFT;
  if (modifiers & MOD_WIN) flags |= HOTKEYF_EXT;
  return MAKEWORD(key & 0xFFu, flags);
}

bool HOTKEY_CHOICE::SharesAltGr() const {
  return (modifiers & (MOD_CONTROL | MOD_ALT)) == (MOD_CONTROL | MOD_ALT);
}

UINT HOTKEY_CHOICE::RegistrationModifiers() const { return key ? modifiers | MOD_NOREPEAT : modifiers; }

std::wstring HotKeyText(const HOTKEY_CHOICE& choice, const std::wstring names[4], const std::wstring& none) {
  if (choice.IsNone()) return none;
  std::wstring text;
  const UINT order[4] = {MOD_CONTROL, MOD_ALT, MOD_SHIFT, MOD_WIN};
  for (int i = 0; i < 4; ++i) {
    if (!(choice.modifiers & order[i])) continue;
    if (!text.empty()) text += L'+';
    text += names[i];
  }
  if (choice.key) {
    UINT scan = MapVirtualKeyW(choice.key, MAPVK_VK_TO_VSC);
    // Keys of the extended block (arrows, Insert, Delete, ...) need the extended bit for their name.
    const bool extended = (choice.key >= VK_PRIOR && choice.key <= VK_HELP) || choice.key == VK_DIVIDE;
    wchar_t name[64] = {0};
    int length = GetKeyNameTextW(static_cast<LONG>((scan << 16) | (extended ? 1u << 24 : 0u)), name, 64);
    std::wstring keyName = length > 0 ? std::wstring(name, static_cast<size_t>(length)) : std::wstring();
    if (keyName.empty()) {
      wchar_t code[16];
      wsprintfW(code, L"0x%02X", choice.key);
      keyName = code;
    }
    if (!text.empty()) text += L'+';
    text += keyName;
  }
  return text;
}
