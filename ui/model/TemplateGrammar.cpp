// UI template grammar. Elements and attributes are matched without regard to ASCII letter
// case; every pending text is applied before the next tag is looked at.
#include "TemplateGrammar.h"

#include <cstring>

#include "XmlStream.h"

bool XTemplateGrammar::Feed(int action, const char* text, int length, const char** attrs) {
  switch (action) {
    case ParseStart:
      if (text) Start(text, attrs);
      break;
    case ParseEnd:
      if (text) End(text);
      break;
    case ParseText:
      if (text && length > 0) m_text.append(text, static_cast<size_t>(length));
      break;
    case ParseDone:
      Flush();
      return true;
    default:
      break;
  }
  return false;
}

void XTemplateGrammar::Start(const char* name, const char** attrs) {
  Flush();
  m_element = name;
  if (XSkinSameName(name, "View")) {
    const char* cls = XSkinAttributeBytes(attrs, "class");
    const char* id = XSkinAttributeBytes(attrs, "id");
    m_views.push_back(m_sink.MakeView(cls ? cls : "", id ? id : ""));
  } else if (XSkinSameName(name, "Image")) {
    StartImage(attrs);
  } else if (XSkinSameName(name, "event")) {
    StartEvent(attrs);
  } else if (XSkinSameName(name, "relayout")) {
    StartRelayout(attrs);
  }
}

void XTemplateGrammar::End(const char* name) {
  Flush();
  if (!XSkinSameName(name, "View") || m_views.empty()) return;
  const bool made = m_views.back();
  m_views.pop_back();
  // Only a View that made an object moves the insertion point back up.
  if (made) m_sink.CloseView();
}

void XTemplateGrammar::StartImage(const char** attrs) {
  if (!attrs) return;
  XImageSpec image;
  bool classSeen = false;
  for (int i = 0; attrs[i] && attrs[i + 1]; i += 2) {
    const char* key = attrs[i];
    const char* value = attrs[i + 1];
    if (!classSeen) {
      if (!XSkinSameName(key, "class")) continue;
      classSeen = true;
      if (XSkinSameName(value, "Check")) image.kind = XImageSpec::Check;
      else if (XSkinSameName(value, "res")) image.kind = XImageSpec::Res;
      continue;
    }
    if (XSkinSameName(key, "id")) image.id = value;
    else if (XSkinSameName(key, "margin")) image.margin = value;
    else if (XSkinSameName(key, "alignment")) image.alignment = value;
    else if (XSkinSameName(key, "value") || XSkinSameName(key, "block") || XSkinSameName(key, "drawtype") ||
             XSkinSameName(key, "alpha"))
      image.properties.emplace_back(key, value);
  }
  if (classSeen) m_sink.MakeImage(image);
}

void XTemplateGrammar::StartEvent(const char** attrs) {
  const char* name = XSkinAttributeBytes(attrs, "name");
  const char* func = XSkinAttributeBytes(attrs, "func");
  if (name && *name && func && *func) m_sink.AttachEvent(name, func);
}

void XTemplateGrammar::StartRelayout(const char** attrs) {
  if (!attrs) return;
  XRelayoutSpec rule;
  for (int i = 0; attrs[i] && attrs[i + 1]; i += 2) {
    const char* value = attrs[i + 1];
    if (XSkinSameName(attrs[i], "rect")) {
      rule.hasRect = true;
      XSkinParseRectText(XSkinByteUnits(value, strlen(value)), &rule.rect);
    } else if (XSkinSameName(attrs[i], "margin")) {
      rule.margin = value;
    } else if (XSkinSameName(attrs[i], "alignment")) {
      rule.alignment = value;
    }
  }
  m_sink.Relayout(rule);
}

std::string XTemplateGrammar::JoinedText(const std::string& pieces) {
  size_t begin = 0, end = pieces.size();
  while (begin < end && (pieces[begin] == ' ' || pieces[begin] == '\t' || pieces[begin] == '\n')) ++begin;
  for (;;) {
    size_t last = end;
    while (last > begin && (pieces[last - 1] == ' ' || pieces[last - 1] == '\t')) --last;
    if (last == begin || pieces[last - 1] != '\n') break;
    end = last - 1;
  }
  return pieces.substr(begin, end - begin);
}

void XTemplateGrammar::Flush() {
  if (m_text.empty()) return;
  std::string value = JoinedText(m_text);
  m_text.clear();
  if (!m_element.empty() && !value.empty()) m_sink.ApplyProperty(m_element, value);
}
