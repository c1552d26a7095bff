// CXSkinStrings: the skin's texts by name, one string table per language. The start file
// names the table "res.strings" (the texts every language falls back to) and, per language,
// "res.strings.<tag>" ("res.strings.zh"), read over it for a user of that UI language. A
// template property written "@name" takes the text of that name; a value that names no text
// stays as written, so skins without tables read as before.
#pragma once

#include <map>
#include <string>

#include "WendoraApi.h"
#include "XBuffer.h"
#include "XString.h"
#include "XUiLanguage.h"

class WENDORA_API CXSkinStrings {
 public:
  static CXSkinStrings& Instance();

  // Reads "res.strings" and then the language's table, when the start file names them.
  void LoadForLanguage(XUI_LANGUAGE language);
  // Reads one table (<strings><string id="name">text</string>...</strings>, UTF-8 element
  // text); its entries replace those of the same name. The finished flag.
  int ReadFromPackage(const wchar_t* entry);
  int ReadFromBuffer(XBuffer<unsigned char>& bytes);

  void Set(const CString& name, const CString& text);
  // Null when no text has that name (names compared without regard to case).
  const CString* Find(const CString& name) const;
  // The text a property value stands for: "@name" of a known name gives its text, any other
  // value itself.
  CString Resolve(const CString& value) const;
  int GetCount() const { return static_cast<int>(m_texts.size()); }
  void Clear() { m_texts.clear(); }

 private:
  static std::wstring Key(const CString& name);
  std::map<std::wstring, CString> m_texts;
};
