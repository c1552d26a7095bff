// CXFontTemplate: reader of the skin's font file. "color" elements fill the colour table,
// "font" elements with their property elements describe fonts, and "xfont" elements pair a
// font with a colour under an id of the process's font table.
#pragma once

#include <windows.h>

#include <map>
#include <string>

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

  const std::map<int, COLORREF>& GetColors() const { return m_colors; }
  const std::map<int, LOGFONTW>& GetFonts() const { return m_fonts; }

 private:
  static CXFontTemplate* s_pCurrent;
  void OnStart(const char* name, const char** attrs);
  void OnText(const char* text, int length);

  std::map<int, COLORREF> m_colors;
  std::map<int, LOGFONTW> m_fonts;
  int m_currentFont = -1;
  std::string m_element;  // the element that most recently started
};
