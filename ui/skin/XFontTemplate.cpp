// The font file's reader: the neutral grammar's steps applied to the colour and font tables.
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
  if (action == ParseDone) {
    self->m_bFinished = 1;
    return;
  }
  XFontFileStep step = self->m_grammar.Feed(action, text, length, attrs);
  if (step.kind == XFontFileStep::Color)
    CXColorTable::Instance().Set(step.id, static_cast<COLORREF>(step.rgb),
                                 XSkinWidenAnsi(step.colorClass ? step.colorClass : ""));
  else if (step.kind == XFontFileStep::Pair)
    CXFontTable::Instance().Add(step.id, FontOf(*step.font), static_cast<COLORREF>(step.rgb));
}

LOGFONTW CXFontTemplate::FontOf(const XFontSpec& spec) {
  LOGFONTW font = DefaultGuiFont();
  if (spec.hasFace) {
    // At most 31 characters, so the face name stays terminated.
    CString face = XSkinWidenUtf8(spec.face.data(), static_cast<int>(spec.face.size()));
    XCopyBounded(font.lfFaceName, LF_FACESIZE, face.GetString());
  }
  if (spec.hasHeight) font.lfHeight = spec.height;
  if (spec.bold) font.lfWeight = FW_BOLD;
  if (spec.underline) font.lfUnderline = 1;
  if (spec.italic) font.lfItalic = 1;
  if (spec.strikeOut) font.lfStrikeOut = 1;
  return font;
}

const std::map<int, COLORREF>& CXFontTemplate::GetColors() const {
  m_colors.clear();
  for (const auto& c : m_grammar.Colors()) m_colors[c.first] = static_cast<COLORREF>(c.second);
  return m_colors;
}

const std::map<int, LOGFONTW>& CXFontTemplate::GetFonts() const {
  m_fonts.clear();
  for (const auto& f : m_grammar.Fonts()) m_fonts[f.first] = FontOf(f.second);
  return m_fonts;
}

int CXFontTemplate::ReadFromPackage(const wchar_t* entry) {
  XBuffer<unsigned char> bytes;
  if (!XExtractSkinFile(bytes, entry)) return 0;
  s_pCurrent = this;
  return LoadFromBuffer(bytes, &CXFontTemplate::Callback);
}
