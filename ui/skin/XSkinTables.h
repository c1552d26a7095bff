// The process's colour and font tables, filled from the skin's font file. An absent colour
// is white; an absent font is font 0, the stock default GUI font with colour 0, which is
// always present. The font table owns every font it made and deletes them at exit.
#pragma once

#include <windows.h>

#include <map>

#include "WendoraApi.h"
#include "XString.h"

class WENDORA_API CXColorTable {
 public:
  static CXColorTable& Instance();
  void Set(int id, COLORREF color, const CString& className);
  COLORREF GetColor(int id) const;  // 0xFFFFFF when absent
  bool Has(int id) const { return m_colors.count(id) != 0; }
  CString GetClass(int id) const;

 private:
  struct Entry {
    COLORREF color;
    CString className;
  };
  std::map<int, Entry> m_colors;
};

struct XFONT_ENTRY {
  HFONT hFont;
  COLORREF color;
};

class WENDORA_API CXFontTable {
 public:
  static CXFontTable& Instance();
  ~CXFontTable();
  CXFontTable(const CXFontTable&) = delete;
  CXFontTable& operator=(const CXFontTable&) = delete;

  XFONT_ENTRY Get(int id) const;  // entry 0 when absent
  bool Has(int id) const { return m_fonts.count(id) != 0; }
  // 0 when added, -1 when the id is taken (nothing changes). A face name that is no installed
  // family is replaced by the system's standard UI face before the font is made.
  int Add(int id, const LOGFONTW& font, COLORREF color);

  // Installed font families, enumerated once per process; compared without regard to case.
  static bool IsFamilyInstalled(const wchar_t* face);
  static const wchar_t* FallbackFace();

 private:
  CXFontTable();
  std::map<int, XFONT_ENTRY> m_fonts;
};
