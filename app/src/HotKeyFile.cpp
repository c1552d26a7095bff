// Reading HotKey.xml: every element named HK_ITEM (any letter case) with attributes adds one
// entry from its "key" and "value" attributes (names in any letter case, a later attribute of
// the same name wins). Attribute values are the parser's UTF-8 text.
#include "HotKeyFile.h"

#include "HotKeyRules.h"
#include "XWin.h"

CHotKeyFileParser* CHotKeyFileParser::s_current = nullptr;

CHotKeyFileParser::CHotKeyFileParser() { s_current = this; }

CHotKeyFileParser::~CHotKeyFileParser() {
  if (s_current == this) s_current = nullptr;
}

int CHotKeyFileParser::LoadFromFolder(const CString& folder) {
  CString file = folder;
  if (!file.IsEmpty() && file.GetAt(file.GetLength() - 1) != L'\\') file += L'\\';
  file += L"HotKey.xml";
  if (GetFileAttributesW(file) == INVALID_FILE_ATTRIBUTES) return 0;
  s_current = this;
  return LoadFromFile(file.GetString(), &CHotKeyFileParser::ParseCallback);
}

CString CHotKeyFileParser::FindHotKey(wchar_t key) const {
  for (const HOTKEY_DATA& e : m_entries) {
    if (e.key == key) return CString(e.path);
  }
  return CString();
}

bool CHotKeyFileParser::HasKey(wchar_t key) const {
  for (const HOTKEY_DATA& e : m_entries) {
    if (e.key == key) return true;
  }
  return false;
}

void CHotKeyFileParser::AddEntry(const char* key, const char* value) {
  HOTKEY_DATA entry = {};
  std::wstring k = XWiden(key, -1, CP_UTF8);
  entry.key = k.empty() ? 0 : k[0];
  const bool letter = entry.key >= L'A' && entry.key <= L'Z';
  const unsigned bit = letter ? 1u << (entry.key - L'A') : 0;
  if (m_entries.size() >= kKeptEntries && (!letter || (m_letters & bit))) return;  // never found
  std::wstring v = XWiden(value, -1, CP_UTF8);
  XCopyBounded(entry.path, sizeof entry.path / sizeof entry.path[0], v.c_str(), v.size());
  m_entries.push_back(entry);
  m_letters |= bit;
}

void CHotKeyFileParser::ParseCallback(int action, const char* text, int length, const char** attrs) {
  CHotKeyFileParser* self = s_current;
  if (!self) return;
  try {
    if (action == ParseStart) {
      const char* key = "";
      const char* value = "";
      if (XHotKeyItem(text, length, attrs, &key, &value)) self->AddEntry(key, value);
    } else if (action == ParseDone) {
      self->m_bFinished = 1;
    }
  } catch (...) {
    // Out of memory: the entries read so far stay.
  }
}
