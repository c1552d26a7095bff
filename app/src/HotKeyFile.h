// CHotKeyFileParser: the optional key table "HotKey.xml" of the program folder, read with the
// framework's XML reader. Letters pressed in the main window start the paths bound to them.
// The table keeps file order; the first entry for a key wins. Past kKeptEntries entries only
// the first entry of each letter A to Z (the keys the window reports) is still added, so a huge
// file never fills the memory and every letter still finds what it would have found.
#pragma once

#include <windows.h>

#include <vector>

#include "XString.h"
#include "XmlParser.h"

// One entry of the key table; path always NUL-terminated, longer values cut to 2099 characters.
struct HOTKEY_DATA {
  wchar_t key;
  wchar_t path[2100];
};

class CHotKeyFileParser : public IXmlTemplate<CHotKeyFileParser> {
 public:
  // Becomes the reader the parse callback works on.
  CHotKeyFileParser();
  ~CHotKeyFileParser() override;

  // Loads "HotKey.xml" from the folder when the file exists; the finished flag, 0 without it.
  int LoadFromFolder(const CString& folder);
  // The path of the first entry whose key equals the code exactly, or an empty string.
  CString FindHotKey(wchar_t key) const;
  // Whether an entry has the key (also one bound to an empty path, which starts nothing).
  bool HasKey(wchar_t key) const;

  const std::vector<HOTKEY_DATA>& Entries() const { return m_entries; }
  static const size_t kKeptEntries = 1024;

  // The parse callback (ParseAction protocol of the framework's XML reader).
  static void ParseCallback(int action, const char* text, int length, const char** attrs);

 private:
  void AddEntry(const char* key, const char* value);

  std::vector<HOTKEY_DATA> m_entries;
  unsigned m_letters = 0;  // bit n: the table has an entry for 'A' + n
  static CHotKeyFileParser* s_current;
};
