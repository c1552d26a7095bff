// The start file's reader: the neutral grammar's entries go to the skin registry.
#include "XAppTemplate.h"

#include "SkinReaderRules.h"
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
  XStartFileEntry entry;
  if (action != ParseStart || !XStartFileEntryOf(text, attrs, &entry)) return;
  CString name = XSkinWidenAnsi(entry.name);
  CString path = XSkinWidenAnsi(entry.path);
  if (entry.xml)
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
