// The font file's grammar. Font 0 is the stock font and is never changed by the file.
#include "XFontTemplate.h"

#include "XSkinPackage.h"
#include "XSkinTables.h"
#include "XSkinText.h"
#include "XWin.h"

namespace {

LOGFONTW DefaultGuiFont() {
  LOGFONTW font = {};
  GetObjectW(GetStockObject(DEFAULT_GUI_FONT), sizeof font, &font);
  return font;
}

}  // namespace

CXFontTemplate* CXFontTemplate::s_pCurrent = nullptr;

CXFontTemplate::CXFontTemplate() { s_pCurrent = this; }

CXFontTemplate::~CXFontTemplate() {
  if (s_pCurrent == this) s_pCurrent = nullptr;
}

void CXFontTemplate::Callback(int action, const char* text, int length, const char** attrs) {
  CXFontTemplate* self = Current();
  if (!self) return;
  if (action == ParseStart && text)
    self->OnStart(text, attrs);
  else if (action == ParseText && text)
    self->OnText(text, length);
  else if (action == ParseDone)
    self->m_bFinished = 1;
}

void CXFontTemplate::OnStart(const char* name, const char** attrs) {
  m_element = name;
  if (lstrcmpiA(name, "color") == 0) {
    int id = XSkinParseInt(XSkinAttribute(attrs, "id"));
    COLORREF color = XSkinParseRgb(XSkinAttribute(attrs, "RGB"));
    m_colors[id] = color;
    CXColorTable::Instance().Set(id, color, XSkinAttribute(attrs, "class"));
  } else if (lstrcmpiA(name, "font") == 0) {
    bool hasId = false;
    CString id = XSkinAttribute(attrs, "id", &hasId);
    if (hasId) m_currentFont = XSkinParseInt(id);
    if (m_currentFont >= 0) m_fonts[m_currentFont] = DefaultGuiFont();
  } else if (lstrcmpiA(name, "xfont") == 0) {
    int id = XSkinParseInt(XSkinAttribute(attrs, "id"));
    int fontId = XSkinParseInt(XSkinAttribute(attrs, "fontid"));
    int colorId = XSkinParseInt(XSkinAttribute(attrs, "colorid"));
    auto color = m_colors.find(colorId);
    auto font = m_fonts.find(fontId);
    if (color != m_colors.end() && font != m_fonts.end())
      CXFontTable::Instance().Add(id, font->second, color->second);
  }
}

void CXFontTemplate::OnText(const char* text, int length) {
  if (m_currentFont <= 0) return;
  auto it = m_fonts.find(m_currentFont);
  if (it == m_fonts.end()) return;
  LOGFONTW& font = it->second;
  CString value = XSkinWidenUtf8(text, length);
  const char* e = m_element.c_str();
  if (lstrcmpiA(e, "fontname") == 0) {
    // At most 31 characters, so the face name stays terminated.
    XCopyBounded(font.lfFaceName, LF_FACESIZE, value.GetString());
    return;
  }
  int n = XSkinParseInt(value);
  if (lstrcmpiA(e, "height") == 0) {
    font.lfHeight = n;
  } else if (n != 0) {
    if (lstrcmpiA(e, "bold") == 0) font.lfWeight = FW_BOLD;
    else if (lstrcmpiA(e, "underline") == 0) font.lfUnderline = 1;
    else if (lstrcmpiA(e, "italic") == 0) font.lfItalic = 1;
    else if (lstrcmpiA(e, "strikeout") == 0) font.lfStrikeOut = 1;
  }
}

int CXFontTemplate::ReadFromPackage(const wchar_t* entry) {
  XBuffer<unsigned char> bytes;
  if (!XExtractSkinFile(bytes, entry)) return 0;
  s_pCurrent = this;
  return LoadFromBuffer(bytes, &CXFontTemplate::Callback);
}
