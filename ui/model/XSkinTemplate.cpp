// The UI template grammar. Elements are matched without regard to case; objects come from
// the class-name table; property text goes to the object first and then to the generic
// properties. Nothing is ever reached through a null insertion point.
#include "XSkinTemplate.h"

#include "ControlMgr.h"
#include "XBaseUI.h"
#include "XEvent.h"
#include "XSkinPackage.h"
#include "XSkinRegistry.h"
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
  switch (action) {
    case ParseStart:
      if (text) self->OnStart(text, attrs);
      break;
    case ParseEnd:
      if (text) self->OnEnd(text);
      break;
    case ParseText:
      if (text && length > 0) self->OnText(text, length);
      break;
    case ParseDone:
      self->FlushText();
      self->m_bFinished = 1;
      break;
    default:
      break;
  }
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

void CXSkinTemplate::OnStart(const char* name, const char** attrs) {
  FlushText();
  m_element = XSkinWidenAnsi(name);
  if (lstrcmpiA(name, "View") == 0) StartView(attrs);
  else if (lstrcmpiA(name, "Image") == 0) StartImage(attrs);
  else if (lstrcmpiA(name, "event") == 0) StartEvent(attrs);
  else if (lstrcmpiA(name, "relayout") == 0) StartRelayout(attrs);
}

void CXSkinTemplate::OnEnd(const char* name) {
  FlushText();
  if (lstrcmpiA(name, "View") != 0 || m_views.empty()) return;
  const bool made = m_views.back();
  m_views.pop_back();
  // Only a View that made an object moves the insertion point back up.
  if (made && m_pCurrent) m_pCurrent = m_pCurrent->XUI_GetParent();
}

void CXSkinTemplate::StartView(const char** attrs) {
  IXUIObject* object = CXUIClassTable::Create(XSkinAttribute(attrs, "class"));
  if (object) {
    object->XUI_SetID(XSkinAttribute(attrs, "id"));
    if (!m_pRoot) {
      m_pRoot = m_pCurrent = object;
    } else if (Attach(object)) {
      m_pCurrent = object;
    } else {
      object = nullptr;  // a second top-level tree after the root closed: not built
    }
  }
  m_views.push_back(object != nullptr);
}

void CXSkinTemplate::StartImage(const char** attrs) {
  if (!attrs || !m_pCurrent) return;
  IXUIObject* image = nullptr;
  for (int i = 0; attrs[i] && attrs[i + 1]; i += 2) {
    const char* key = attrs[i];
    CString value = XSkinWidenAnsi(attrs[i + 1]);
    if (!image) {
      if (lstrcmpiA(key, "class") != 0) continue;  // attributes before "class" are ignored
      image = CXUIClassTable::Create(L"image");
      if (!image) return;
      if (value.CompareNoCase(L"Check") == 0) {
        image->XUI_SetVisible(FALSE);
      } else if (value.CompareNoCase(L"res") == 0) {
        image->XUI_SetVisible(FALSE);
        image->XUI_SetEnable(FALSE);
      }
      continue;
    }
    if (lstrcmpiA(key, "id") == 0) {
      image->XUI_SetID(value);
    } else if (lstrcmpiA(key, "margin") == 0) {
      if (CXRelayOut* rule = XGetRelayout(image)) {
        rule->SetMargin(XSkinParseMargin(value));
        rule->SetEnable(1);
      }
    } else if (lstrcmpiA(key, "alignment") == 0) {
      if (CXRelayOut* rule = XGetRelayout(image)) {
        rule->SetAlignment(value);
        rule->SetEnable(1);
      }
    } else if (lstrcmpiA(key, "value") == 0 || lstrcmpiA(key, "block") == 0 || lstrcmpiA(key, "drawtype") == 0 ||
               lstrcmpiA(key, "alpha") == 0) {
      // The picture's own properties belong to the image class.
      image->XUI_SetAttribute(XSkinWidenAnsi(key), value);
    }
  }
  if (!image) return;
  CRect client = m_pCurrent->XUI_GetClientRect();
  if (Attach(image)) image->XUI_SetRect(client);
}

void CXSkinTemplate::StartEvent(const char** attrs) {
  if (!m_pCurrent) return;
  CString name = XSkinAttribute(attrs, "name");
  CString func = XSkinAttribute(attrs, "func");
  if (name.IsEmpty() || func.IsEmpty()) return;
  CXEvent* events = dynamic_cast<CXEvent*>(m_pCurrent);
  if (!events) return;
  CString id = m_pCurrent->XUI_GetParent() ? CString(m_pCurrent->XUI_GetID()) : CString();
  events->AttachEvent(id, name, func);
}

void CXSkinTemplate::StartRelayout(const char** attrs) {
  if (!m_pCurrent || !attrs) return;
  CString margin, alignment;
  for (int i = 0; attrs[i] && attrs[i + 1]; i += 2) {
    CString value = XSkinWidenAnsi(attrs[i + 1]);
    if (lstrcmpiA(attrs[i], "rect") == 0) {
      CRect r;
      XSkinParseRect(value, r);
      m_pCurrent->XUI_SetRect(r);
    } else if (lstrcmpiA(attrs[i], "margin") == 0) {
      margin = value;
    } else if (lstrcmpiA(attrs[i], "alignment") == 0) {
      alignment = value;
    }
  }
  if (CXRelayOut* rule = XGetRelayout(m_pCurrent)) {
    rule->SetAlignment(alignment);
    rule->SetMargin(XSkinParseMargin(margin));
    rule->SetEnable(1);
  }
}

void CXSkinTemplate::OnText(const char* text, int length) { m_text.append(text, static_cast<size_t>(length)); }

// Character data is applied once per run between tags, so text that the parser delivers in
// pieces (split at entity references and line breaks) is kept whole with the blanks between
// the pieces. Blanks and line breaks before the text are layout, as is a line break followed
// only by blanks at its end (the closing tag's indentation).
void CXSkinTemplate::FlushText() {
  if (m_text.empty()) return;
  size_t begin = 0, end = m_text.size();
  while (begin < end && (m_text[begin] == ' ' || m_text[begin] == '\t' || m_text[begin] == '\n')) ++begin;
  for (;;) {
    size_t last = end;
    while (last > begin && (m_text[last - 1] == ' ' || m_text[last - 1] == '\t')) --last;
    if (last == begin || m_text[last - 1] != '\n') break;
    end = last - 1;
  }
  CString value = XSkinWidenUtf8(m_text.data() + begin, static_cast<int>(end - begin));
  m_text.clear();
  ApplyProperty(m_element, value);
}

void CXSkinTemplate::ApplyProperty(const CString& name, const CString& value) {
  if (!m_pCurrent || name.IsEmpty() || value.IsEmpty()) return;
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
