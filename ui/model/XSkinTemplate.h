// CXSkinTemplate: builds a tree of UI objects from a skin's UI template ("View", "Image",
// "event", "relayout" and property elements) and resolves "include" placeholders. The tree
// belongs to whoever asked for the build; the builder only holds it while it parses.
// Invariant: the insertion point is always the root or one of its descendants (or null
// before the first object and after the root has closed).
#pragma once

#include <string>

#include "TemplateGrammar.h"
#include "WendoraApi.h"
#include "XString.h"
#include "XUIObject.h"
#include "XmlParser.h"

class WENDORA_API CXSkinTemplate : public IXmlTemplate<CXSkinTemplate>, private IXTemplateSink {
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
  // The grammar's requests, carried out on the tree (TemplateGrammar.h).
  bool MakeView(const char* className, const char* id) override;
  void CloseView() override;
  void MakeImage(const XImageSpec& image) override;
  void AttachEvent(const char* name, const char* func) override;
  void Relayout(const XRelayoutSpec& rule) override;
  void ApplyProperty(const std::string& element, const std::string& value) override;
  // Attaches a new object below the insertion point; destroys it when there is none.
  bool Attach(IXUIObject* object);

  static CXSkinTemplate* s_pCurrent;
  IXUIObject* m_pCurrent = nullptr;
  IXUIObject* m_pRoot = nullptr;
  XTemplateGrammar m_grammar{*this};
};
