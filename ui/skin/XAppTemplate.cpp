// The start file's grammar: only "XML" and "script" elements with attributes count.
#include "XAppTemplate.h"

#include "XSkinPackage.h"
#include "XSkinRegistry.h"
#include "XSkinText.h"

CXAppTemplate* CXAppTemplate::s_pCurrent = nullptr;

CXAppTemplate::CXAppTemplate() { s_pCurrent = this; }

CXAppTemplate::~CXAppTemplate() {
  if (s_pCurrent == this) s_pCurrent = nullptr;
}

void CXAppTemplate::Callback(int action, const char* text, int, const char** attrs) {
  CXAppTemplate* self = Current();
  if (!self) return;
  if (action == ParseDone) {
    self->m_bFinished = 1;
    return;
  }
  if (action != ParseStart || !text || !attrs || !attrs[0]) return;
  bool xml = lstrcmpiA(text, "XML") == 0;
  if (!xml && lstrcmpiA(text, "script") != 0) return;
  CString name = XSkinAttribute(attrs, "class");
  CString path = XSkinAttribute(attrs, "path");
  if (xml)
    CXSkinRegistry::Instance().SetXml(name, path);
  else
    CXSkinRegistry::Instance().SetScript(name, path);
}

int CXAppTemplate::ReadFromPackage(const wchar_t* entry) {
  XBuffer<unsigned char> bytes;
  if (!XExtractSkinFile(bytes, entry)) return 0;
  s_pCurrent = this;
  return LoadFromBuffer(bytes, &CXAppTemplate::Callback);
}
