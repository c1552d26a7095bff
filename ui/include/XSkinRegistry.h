// CXSkinRegistry: the process's tables of skin files named by the start file (XML templates
// and scripts, each name -> (name as written, path in the package)) and of the objects most
// recently built from each template. Keys are lower-cased, so lookups ignore case.
#pragma once

#include <map>
#include <string>

#include "WendoraApi.h"
#include "XString.h"

class IXUIObject;

struct XSKIN_FILE {
  CString name;  // as written in the start file
  CString path;  // entry name inside the package
};

class WENDORA_API CXSkinRegistry {
 public:
  static CXSkinRegistry& Instance();

  void SetXml(const CString& name, const CString& path);
  void SetScript(const CString& name, const CString& path);
  const XSKIN_FILE* FindXml(const CString& name) const;
  const XSKIN_FILE* FindScript(const CString& name) const;

  // The object is not owned; an earlier entry is replaced, not destroyed.
  void SetCreated(const CString& name, IXUIObject* object);
  IXUIObject* GetCreated(const CString& name) const;
  // Drops every entry naming the object (which is about to be destroyed).
  void ForgetCreated(IXUIObject* object);

  int GetXmlCount() const { return static_cast<int>(m_xml.size()); }
  int GetScriptCount() const { return static_cast<int>(m_scripts.size()); }
  void Clear();

 private:
  static std::wstring Key(const CString& name);
  std::map<std::wstring, XSKIN_FILE> m_xml;
  std::map<std::wstring, XSKIN_FILE> m_scripts;
  std::map<std::wstring, IXUIObject*> m_created;
};
