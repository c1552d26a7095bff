// The global hotkey's registration and the dialog's field. Trial registrations use id 2 and
// are given back at once.
#include "GlobalHotKey.h"

#include "AppText.h"
#include "ControlMgr.h"
#include "XBaseUI.h"
#include "XHotKey.h"
#include "XString.h"

namespace {

const int kHotKeyId = 1, kTrialId = 2;

CXBaseUI* Find(IXUIObject* dialog, const wchar_t* id) {
  CControlMgr* mgr = dialog ? dialog->XUI_GetControlMgr() : nullptr;
  return mgr ? mgr->FindUI(id) : nullptr;
}

CXHotKey* Field(IXUIObject* dialog) {
  CXBaseUI* field = Find(dialog, L"hotkey");
  return field && lstrcmpiW(field->XUI_GetClassName(), L"XHOTKEY") == 0 ? static_cast<CXHotKey*>(field) : nullptr;
}

void SetLine(IXUIObject* dialog, const wchar_t* id, const std::wstring& text) {
  CXBaseUI* line = Find(dialog, id);
  if (!line) return;
  line->XUI_SetWindowText(text.c_str());
  line->XUI_SetVisible(!text.empty());
  CControlMgr::Invalidate(line, FALSE);
}

std::wstring Text(const HOTKEY_CHOICE& choice) {
  const std::wstring names[4] = {AppText(IDS_KEY_CTRL), AppText(IDS_KEY_ALT), AppText(IDS_KEY_SHIFT),
                                 AppText(IDS_KEY_WIN)};
  return HotKeyText(choice, names, AppText(IDS_HOTKEY_NONE));
}

}  // namespace

bool CGlobalHotKey::Register(HWND window, const HOTKEY_CHOICE& choice) {
  Unregister();
  m_window = window;
  m_choice = choice;
  m_held = window && !choice.IsNone() &&
           RegisterHotKey(window, kHotKeyId, choice.RegistrationModifiers(), choice.key) != FALSE;
  return m_held;
}

void CGlobalHotKey::Unregister() {
  if (m_held && m_window) UnregisterHotKey(m_window, kHotKeyId);
  m_held = false;
}

bool CGlobalHotKey::CanRegister(const HOTKEY_CHOICE& choice) const {
  if (choice.IsNone() || (m_held && choice == m_choice)) return true;
  if (!RegisterHotKey(m_window, kTrialId, choice.RegistrationModifiers(), choice.key)) return false;
  UnregisterHotKey(m_window, kTrialId);
  return true;
}

void CGlobalHotKey::FillDialog(IXUIObject* dialog, const HOTKEY_CHOICE& choice) {
  CXHotKey* field = Field(dialog);
  if (!field) return;
  field->SetHotKey(choice.ToControl());
  ShowStatus(dialog);
}

void CGlobalHotKey::ShowStatus(IXUIObject* dialog) {
  HOTKEY_CHOICE choice;
  if (!ChosenInDialog(dialog, &choice)) return;
  std::wstring error, note;
  if (!CanRegister(choice)) {
    CString text;
    text.Format(AppText(IDS_HOTKEY_TAKEN).c_str(), Text(choice).c_str());
    error = text.GetString();
  } else if (choice.SharesAltGr()) {
    note = AppText(IDS_HOTKEY_ALTGR);
  }
  SetLine(dialog, L"hotkey.error", error);
  SetLine(dialog, L"hotkey.note", note);
}

bool CGlobalHotKey::ChosenInDialog(IXUIObject* dialog, HOTKEY_CHOICE* choice) {
  CXHotKey* field = Field(dialog);
  if (!field) return false;
  *choice = HOTKEY_CHOICE::FromControl(field->GetHotKey());
  return true;
}
