// CXFontTemplate: reader of the skin's font file (grammar in SkinReaderRules.h): "color"
// elements fill the colour table, and "xfont" elements pair a described font with a colour
// under an id of the process's font table.
#pragma once

#include <windows.h>

#include <map>
#include <string>

#include "SkinReaderRules.h"
#include "WendoraApi.h"
#include "XmlParser.h"

class WENDORA_API CXFontTemplate : public IXmlTemplate<CXFontTemplate> {
 public:
  CXFontTemplate();
  ~CXFontTemplate() override;
  // The reader the callback works on: the most recently made one, or the one reading now.
  static CXFontTemplate* Current() { return s_pCurrent; }
  static void Callback(int action, const char* text, int length, const char** attrs);
  int ReadFromPackage(const wchar_t* entry);

  // The colours and fonts read so far (fonts on top of the stock GUI font).
  const std::map<int, COLORREF>& GetColors() const;
  const std::map<int, LOGFONTW>& GetFonts() const;

  // The stock GUI font with what the file says of a font.
  static LOGFONTW FontOf(const XFontSpec& spec);

 private:
  static CXFontTemplate* s_pCurrent;

  XFontFileGrammar m_grammar;
  mutable std::map<int, COLORREF> m_colors;  // views of the grammar's tables
  mutable std::map<int, LOGFONTW> m_fonts;
};
