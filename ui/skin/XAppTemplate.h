// CXAppTemplate: reader of the skin's start file "oninit.x", whose "XML" and "script"
// elements (attributes "class" and "path") fill the registry's template and script tables.
#pragma once

#include "WendoraApi.h"
#include "XmlParser.h"

class WENDORA_API CXAppTemplate : public IXmlTemplate<CXAppTemplate> {
 public:
  CXAppTemplate();
  ~CXAppTemplate() override;
  // The reader the callback works on: the most recently made one, or the one reading now.
  static CXAppTemplate* Current() { return s_pCurrent; }
  static void Callback(int action, const char* text, int length, const char** attrs);
  // Extracts an entry of the process's package and reads it; the finished flag.
  int ReadFromPackage(const wchar_t* entry);

 private:
  static CXAppTemplate* s_pCurrent;
};
