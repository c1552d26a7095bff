// Colour and font tables of the skin. Fonts are made once per id and live until exit.
#include "XSkinTables.h"

#include <set>
#include <string>

CXColorTable& CXColorTable::Instance() {
  static CXColorTable table;
  return table;
}

void CXColorTable::Set(int id, COLORREF color, const CString& className) { m_colors[id] = Entry{color, className}; }

COLORREF CXColorTable::GetColor(int id) const {
  auto it = m_colors.find(id);
  return it == m_colors.end() ? 0xFFFFFF : it->second.color;
}

CString CXColorTable::GetClass(int id) const {
  auto it = m_colors.find(id);
  return it == m_colors.end() ? CString() : it->second.className;
}

CXFontTable& CXFontTable::Instance() {
  static CXFontTable table;
  return table;
}

CXFontTable::CXFontTable() {
  m_fonts[0] = XFONT_ENTRY{static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT)), 0};
}

CXFontTable::~CXFontTable() {
  HGDIOBJ stock = GetStockObject(DEFAULT_GUI_FONT);
  for (auto& kv : m_fonts)
    if (kv.second.hFont && kv.second.hFont != stock) DeleteObject(kv.second.hFont);
}

XFONT_ENTRY CXFontTable::Get(int id) const {
  auto it = m_fonts.find(id);
  if (it == m_fonts.end()) it = m_fonts.find(0);
  return it->second;
}

namespace {

std::wstring Folded(const wchar_t* s) {
  std::wstring f(s ? s : L"");
  if (!f.empty()) CharLowerBuffW(&f[0], static_cast<DWORD>(f.size()));
  return f;
}

int CALLBACK CollectFamily(const LOGFONTW* font, const TEXTMETRICW*, DWORD, LPARAM context) {
  reinterpret_cast<std::set<std::wstring>*>(context)->insert(Folded(font->lfFaceName));
  return 1;
}

const std::set<std::wstring>& Families() {
  static const std::set<std::wstring> families = [] {
    std::set<std::wstring> found;
    HDC dc = CreateDCW(L"DISPLAY", nullptr, nullptr, nullptr);
    if (dc) {
      EnumFontFamiliesW(dc, nullptr, &CollectFamily, reinterpret_cast<LPARAM>(&found));
      DeleteDC(dc);
    }
    return found;
  }();
  return families;
}

}  // namespace

bool CXFontTable::IsFamilyInstalled(const wchar_t* face) { return Families().count(Folded(face)) != 0; }

const wchar_t* CXFontTable::FallbackFace() {
  OSVERSIONINFOW info = {};
  info.dwOSVersionInfoSize = sizeof info;
  GetVersionExW(&info);
  return info.dwMajorVersion > 5 ? L"\x5FAE\x8F6F\x96C5\x9ED1" : L"\x5B8B\x4F53";
}

int CXFontTable::Add(int id, const LOGFONTW& font, COLORREF color) {
  if (m_fonts.count(id)) return -1;
  LOGFONTW made = font;
  made.lfFaceName[LF_FACESIZE - 1] = 0;
  if (!IsFamilyInstalled(made.lfFaceName)) lstrcpynW(made.lfFaceName, FallbackFace(), LF_FACESIZE);
  m_fonts[id] = XFONT_ENTRY{CreateFontIndirectW(&made), color};
  return 0;
}
