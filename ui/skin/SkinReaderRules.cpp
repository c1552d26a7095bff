// Start-file and font-file grammars. Element names are compared without regard to ASCII
// letter case; a missing attribute reads as empty text (number 0).
#include "SkinReaderRules.h"

#include <cstring>

#include "SkinValueText.h"
#include "XmlStream.h"

namespace {

std::u16string AttributeUnits(const char** attrs, const char* name) {
  const char* v = XSkinAttributeBytes(attrs, name);
  return v ? XSkinByteUnits(v, strlen(v)) : std::u16string();
}

int AttributeInt(const char** attrs, const char* name) { return XSkinParseIntText(AttributeUnits(attrs, name)); }

}  // namespace

bool XStartFileEntryOf(const char* element, const char** attrs, XStartFileEntry* entry) {
  if (!element || !attrs || !attrs[0]) return false;
  const bool xml = XSkinSameName(element, "XML");
  if (!xml && !XSkinSameName(element, "script")) return false;
  const char* name = XSkinAttributeBytes(attrs, "class");
  const char* path = XSkinAttributeBytes(attrs, "path");
  entry->xml = xml;
  entry->name = name ? name : "";
  entry->path = path ? path : "";
  return true;
}

XFontFileStep XFontFileGrammar::Feed(int action, const char* text, int length, const char** attrs) {
  if (action == ParseStart && text) return Start(text, attrs);
  if (action == ParseText && text && length > 0) Text(text, length);
  return XFontFileStep();
}

XFontFileStep XFontFileGrammar::Start(const char* name, const char** attrs) {
  XFontFileStep step;
  m_element = name;
  if (XSkinSameName(name, "color")) {
    step.kind = XFontFileStep::Color;
    step.id = AttributeInt(attrs, "id");
    step.rgb = XSkinParseRgbText(AttributeUnits(attrs, "RGB"));
    step.colorClass = XSkinAttributeBytes(attrs, "class");
    m_colors[step.id] = step.rgb;
  } else if (XSkinSameName(name, "font")) {
    if (XSkinAttributeBytes(attrs, "id")) m_currentFont = AttributeInt(attrs, "id");
    if (m_currentFont >= 0) m_fonts[m_currentFont] = XFontSpec();
  } else if (XSkinSameName(name, "xfont")) {
    auto color = m_colors.find(AttributeInt(attrs, "colorid"));
    auto font = m_fonts.find(AttributeInt(attrs, "fontid"));
    if (color != m_colors.end() && font != m_fonts.end()) {
      step.kind = XFontFileStep::Pair;
      step.id = AttributeInt(attrs, "id");
      step.rgb = color->second;
      step.font = &font->second;
    }
  }
  return step;
}

void XFontFileGrammar::Text(const char* text, int length) {
  if (m_currentFont <= 0) return;
  auto it = m_fonts.find(m_currentFont);
  if (it == m_fonts.end()) return;
  XFontSpec& font = it->second;
  const char* e = m_element.c_str();
  if (XSkinSameName(e, "fontname")) {
    font.hasFace = true;
    font.face.assign(text, static_cast<size_t>(length));
    return;
  }
  const int n = XSkinParseIntText(XSkinByteUnits(text, static_cast<size_t>(length)));
  if (XSkinSameName(e, "height")) {
    font.hasHeight = true;
    font.height = n;
  } else if (n != 0) {
    if (XSkinSameName(e, "bold")) font.bold = true;
    else if (XSkinSameName(e, "underline")) font.underline = true;
    else if (XSkinSameName(e, "italic")) font.italic = true;
    else if (XSkinSameName(e, "strikeout")) font.strikeOut = true;
  }
}
