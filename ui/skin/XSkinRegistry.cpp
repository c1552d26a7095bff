// The skin's file and object tables; written on the UI thread during start-up and template
// building, unlocked.
#include "XSkinRegistry.h"

CXSkinRegistry& CXSkinRegistry::Instance() {
  static CXSkinRegistry registry;
  return registry;
}

std::wstring CXSkinRegistry::Key(const CString& name) {
  CString key(name);
  key.MakeLower();
  return key.Str();
}

void CXSkinRegistry::SetXml(const CString& name, const CString& path) { m_xml[Key(name)] = XSKIN_FILE{name, path}; }

void CXSkinRegistry::SetScript(const CString& name, const CString& path) {
  m_scripts[Key(name)] = XSKIN_FILE{name, path};
}

const XSKIN_FILE* CXSkinRegistry::FindXml(const CString& name) const {
  auto it = m_xml.find(Key(name));
  return it == m_xml.end() ? nullptr : &it->second;
}

const XSKIN_FILE* CXSkinRegistry::FindScript(const CString& name) const {
  auto it = m_scripts.find(Key(name));
  return it == m_scripts.end() ? nullptr : &it->second;
}

void CXSkinRegistry::SetCreated(const CString& name, IXUIObject* object) { m_created[Key(name)] = object; }

IXUIObject* CXSkinRegistry::GetCreated(const CString& name) const {
  auto it = m_created.find(Key(name));
  return it == m_created.end() ? nullptr : it->second;
}

void CXSkinRegistry::ForgetCreated(IXUIObject* object) {
  for (auto it = m_created.begin(); it != m_created.end();) {
    if (it->second == object) it = m_created.erase(it);
    else ++it;
  }
}

void CXSkinRegistry::Clear() {
  m_xml.clear();
  m_scripts.clear();
  m_created.clear();
}
