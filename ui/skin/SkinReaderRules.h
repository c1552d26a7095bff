// The grammars of the skin's start file "oninit.x" and of its font file, over the XML layer's
// events. Platform-neutral: names and values stay the parser's 8-bit text, numbers and
// colours are read as in SkinValueText; the readers turn the results into table entries.
#pragma once

#include <cstdint>
#include <map>
#include <string>

// One entry of the start file: an "XML" (template) or "script" element with attributes.
struct XStartFileEntry {
  bool xml = false;
  const char* name = "";  // its "class" attribute, "" when absent
  const char* path = "";  // its "path" attribute
};
// True when the start tag is an entry.
bool XStartFileEntryOf(const char* element, const char** attrs, XStartFileEntry* entry);

// A font as the font file describes it, on top of the stock GUI font.
struct XFontSpec {
  bool hasFace = false;
  std::string face;  // UTF-8 text of "fontname"; the reader keeps its first 31 characters
  bool hasHeight = false;
  int height = 0;
  bool bold = false, underline = false, italic = false, strikeOut = false;
};

// What one event of the font file asks of the tables.
struct XFontFileStep {
  enum Kind { None, Color, Pair };
  Kind kind = None;
  int id = 0;
  uint32_t rgb = 0;                 // Color, Pair
  const char* colorClass = nullptr;  // Color: its "class" attribute (null when absent)
  const XFontSpec* font = nullptr;   // Pair: the font paired with the colour
};

// The font file: "color" elements (id, RGB, class), "font" elements (id) whose property
// elements (fontname, height, bold, underline, italic, strikeout) describe a font, and
// "xfont" elements (id, fontid, colorid) that pair a described font with a colour. Font 0
// is the stock font and is never changed by the file.
class XFontFileGrammar {
 public:
  XFontFileStep Feed(int action, const char* text, int length, const char** attrs);

  const std::map<int, uint32_t>& Colors() const { return m_colors; }
  const std::map<int, XFontSpec>& Fonts() const { return m_fonts; }

 private:
  XFontFileStep Start(const char* name, const char** attrs);
  void Text(const char* text, int length);

  std::map<int, uint32_t> m_colors;
  std::map<int, XFontSpec> m_fonts;
  int m_currentFont = -1;
  std::string m_element;  // the element that most recently started
};
