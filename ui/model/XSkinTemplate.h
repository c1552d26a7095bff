// CXSkinTemplate: builds a tree of UI objects from a skin's UI template ("View", "Image",
// "event", "relayout" and property elements) and resolves "include" placeholders. The tree
// belongs to whoever asked for the build; the builder only holds it while it parses.
// Invariant: the insertion point is always the root or one of its descendants (or null
// before the first object and after the root has closed).
#pragma once

#include <string>
#include <vector>

#include "WendoraApi.h"
#include "XString.h"
#include "XUIObject.h"
#include "XmlParser.h"

class WENDORA_API CXSkinTemplate : public IXmlTemplate<CXSkinTemplate> {
 public:
  CXSkinTemplate();
  ~CXSkinTemplate() override;  // destroys a root that was never taken

  static CXSkinTemplate* Current() { return s_pCurrent; }
  // Parses with the character data whole: a property's text is joined from its pieces.
  int LoadFromBuffer(XBuffer<unsigned char>& buffer, PFN_XParseCallback callback) override;
  static void Callback(int action, const char* text, int length, const char** attrs);
  // Extracts a package entry and parses it; the finished flag.
  int ReadFromPackage(const wchar_t* entry);

  IXUIObject* GetRoot() const { return m_pRoot; }
  IXUIObject* GetCurrent() const { return m_pCurrent; }
  // Hands the root to the caller.
  IXUIObject* DetachRoot();

  // Builds the template registered under name in the skin's XML table: the root, owned by
  // the caller, or null for an unknown name or a template that produced nothing complete.
  static IXUIObject* Build(const wchar_t* name);
  // Replaces every "include" placeholder below object (not inside included trees) by the
  // template its ID names; unresolvable placeholders stay.
  static void ResolveIncludes(IXUIObject* object);

 private:
  void OnStart(const char* name, const char** attrs);
  void OnEnd(const char* name);
  void OnText(const char* text, int length);
  void FlushText();
  void StartView(const char** attrs);
  void StartImage(const char** attrs);
  void StartEvent(const char** attrs);
  void StartRelayout(const char** attrs);
  void ApplyProperty(const CString& name, const CString& value);
  // Attaches a new object below the insertion point; destroys it when there is none.
  bool Attach(IXUIObject* object);

  static CXSkinTemplate* s_pCurrent;
  IXUIObject* m_pCurrent = nullptr;
  IXUIObject* m_pRoot = nullptr;
  std::vector<bool> m_views;  // per open "View": whether it made an object
  CString m_element;          // the element that most recently started
  std::string m_text;         // character data gathered since the last tag, blanks included
};
