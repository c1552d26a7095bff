// The UI template builder: the neutral grammar's requests carried out on a tree of objects
// from the class-name table; property text goes to the object first and then to the generic
// properties. Nothing is ever reached through a null insertion point.
#include "XSkinTemplate.h"

#include "ControlMgr.h"
#include "XBaseUI.h"
#include "XEvent.h"
#include "XSkinPackage.h"
#include "XSkinRegistry.h"
#include "XSkinStrings.h"
#include "XSkinText.h"
#include "XUIClassTable.h"

CXSkinTemplate* CXSkinTemplate::s_pCurrent = nullptr;

CXSkinTemplate::CXSkinTemplate() { s_pCurrent = this; }

CXSkinTemplate::~CXSkinTemplate() {
  if (s_pCurrent == this) s_pCurrent = nullptr;
  XDestroyUIObject(m_pRoot);
}

IXUIObject* CXSkinTemplate::DetachRoot() {
  IXUIObject* root = m_pRoot;
  m_pRoot = nullptr;
  m_pCurrent = nullptr;
  return root;
}

void CXSkinTemplate::Callback(int action, const char* text, int length, const char** attrs) {
  CXSkinTemplate* self = Current();
  if (!self) return;
  if (self->m_grammar.Feed(action, text, length, attrs)) self->m_bFinished = 1;
}

int CXSkinTemplate::LoadFromBuffer(XBuffer<unsigned char>& buffer, PFN_XParseCallback callback) {
  CXmlParser().DofileRaw(buffer, callback);
  return m_bFinished;
}

int CXSkinTemplate::ReadFromPackage(const wchar_t* entry) {
  XBuffer<unsigned char> bytes;
  if (!XExtractSkinFile(bytes, entry)) return 0;
  CXSkinTemplate* outer = s_pCurrent;
  s_pCurrent = this;
  int finished = LoadFromBuffer(bytes, &CXSkinTemplate::Callback);
  s_pCurrent = outer;
  return finished;
}

bool CXSkinTemplate::Attach(IXUIObject* object) {
  if (!m_pCurrent) {
    XDestroyUIObject(object);
    return false;
  }
  m_pCurrent->XUI_AddChild(object);
  object->XUI_SetParent(m_pCurrent);
  return true;
}

bool CXSkinTemplate::MakeView(const char* className, const char* id) {
  IXUIObject* object = CXUIClassTable::Create(XSkinWidenAnsi(className));
  if (!object) return false;
  object->XUI_SetID(XSkinWidenAnsi(id));
  if (!m_pRoot) {
    m_pRoot = m_pCurrent = object;
    return true;
  }
  if (!Attach(object)) return false;  // a second top-level tree after the root closed: not built
  m_pCurrent = object;
  return true;
}

void CXSkinTemplate::CloseView() {
  if (m_pCurrent) m_pCurrent = m_pCurrent->XUI_GetParent();
}

void CXSkinTemplate::MakeImage(const XImageSpec& spec) {
  if (!m_pCurrent) return;
  IXUIObject* image = CXUIClassTable::Create(L"image");
  if (!image) return;
  if (spec.kind != XImageSpec::Plain) image->XUI_SetVisible(FALSE);
  if (spec.kind == XImageSpec::Res) image->XUI_SetEnable(FALSE);
  if (spec.id) image->XUI_SetID(XSkinWidenAnsi(spec.id));
  if (spec.margin || spec.alignment) {
    if (CXRelayOut* rule = XGetRelayout(image)) {
      if (spec.margin) rule->SetMargin(XSkinParseMargin(XSkinWidenAnsi(spec.margin)));
      if (spec.alignment) rule->SetAlignment(XSkinWidenAnsi(spec.alignment));
      rule->SetEnable(1);
    }
  }
  // The picture's own properties belong to the image class.
  for (const auto& p : spec.properties) image->XUI_SetAttribute(XSkinWidenAnsi(p.first), XSkinWidenAnsi(p.second));
  CRect client = m_pCurrent->XUI_GetClientRect();
  if (Attach(image)) image->XUI_SetRect(client);
}

void CXSkinTemplate::AttachEvent(const char* name, const char* func) {
  if (!m_pCurrent) return;
  CXEvent* events = dynamic_cast<CXEvent*>(m_pCurrent);
  if (!events) return;
  CString id = m_pCurrent->XUI_GetParent() ? CString(m_pCurrent->XUI_GetID()) : CString();
  events->AttachEvent(id, XSkinWidenAnsi(name), XSkinWidenAnsi(func));
}

void CXSkinTemplate::Relayout(const XRelayoutSpec& spec) {
  if (!m_pCurrent) return;
  if (spec.hasRect)
    m_pCurrent->XUI_SetRect(CRect(spec.rect.left, spec.rect.top, spec.rect.right, spec.rect.bottom));
  if (CXRelayOut* rule = XGetRelayout(m_pCurrent)) {
    rule->SetAlignment(XSkinWidenAnsi(spec.alignment));
    rule->SetMargin(XSkinParseMargin(XSkinWidenAnsi(spec.margin)));
    rule->SetEnable(1);
  }
}

void CXSkinTemplate::ApplyProperty(const std::string& element, const std::string& text) {
  if (!m_pCurrent) return;
  CString name = XSkinWidenAnsi(element.c_str());
  CString written = XSkinWidenUtf8(text.data(), static_cast<int>(text.size()));
  if (name.IsEmpty() || written.IsEmpty()) return;
  const CString value = CXSkinStrings::Instance().Resolve(written);
  if (m_pCurrent->XUI_SetAttribute(name, value)) return;
  if (name.CompareNoCase(L"rect") == 0) {
    CRect r;
    XSkinParseRect(value, r);
    m_pCurrent->XUI_SetRect(r);
  } else if (name.CompareNoCase(L"text") == 0) {
    m_pCurrent->XUI_SetWindowText(value);
  } else if (name.CompareNoCase(L"visible") == 0) {
    m_pCurrent->XUI_SetVisible(XSkinParseInt(value));
  } else if (name.CompareNoCase(L"check") == 0) {
    m_pCurrent->XUI_SetCheck(XSkinParseInt(value));
  } else if (name.CompareNoCase(L"enable") == 0) {
    m_pCurrent->XUI_SetEnable(XSkinParseInt(value));
  }
}

IXUIObject* CXSkinTemplate::Build(const wchar_t* name) {
  const XSKIN_FILE* file = CXSkinRegistry::Instance().FindXml(CString(name));
  if (!file) return nullptr;
  CXSkinTemplate reader;
  if (!reader.ReadFromPackage(file->path)) return nullptr;  // the reader destroys a partial tree
  return reader.DetachRoot();
}

void CXSkinTemplate::ResolveIncludes(IXUIObject* object) {
  CControlMgr* mgr = object ? object->XUI_GetControlMgr() : nullptr;
  if (!mgr) return;
  for (int i = 0; i < mgr->GetCount(); ++i) {
    IXUIObject* child = mgr->GetObjectAt(i);
    if (!child) continue;
    if (lstrcmpW(child->XUI_GetClassName(), L"XTEMPUI") != 0) {
      ResolveIncludes(child);
      continue;
    }
    IXUIObject* included = Build(child->XUI_GetID());
    if (!included) continue;
    mgr->SetUI(i, included);
    included->XUI_SetParent(object);
    XDestroyUIObject(child);
  }
}
