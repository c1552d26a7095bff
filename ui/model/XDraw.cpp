// Text, fill and line drawing for the controls. Objects made here are released before return
// and the device context's selections are restored.
#include "XDraw.h"

void DrawSkinText(HDC dc, const CString& text, const RECT& rect, COLORREF color, UINT flags, DWORD style,
                  HFONT font) {
  if (!dc || text.IsEmpty()) return;
  LOGFONTW lf = {};
  if (!GetObjectW(font ? font : static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT)), sizeof lf, &lf))
    GetObjectW(GetStockObject(DEFAULT_GUI_FONT), sizeof lf, &lf);
  if (style & XTEXT_BOLD) lf.lfWeight = FW_BOLD;
  if (style & XTEXT_UNDERLINE) lf.lfUnderline = 1;
  if (style & XTEXT_ITALIC) lf.lfItalic = 1;
  if (style & XTEXT_STRIKEOUT) lf.lfStrikeOut = 1;
  CXGdiObject<HFONT> styled(CreateFontIndirectW(&lf));

  CXDCState state(dc);
  if (styled) SelectObject(dc, styled.Get());
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, color);
  SIZE extent = {};
  if (GetTextExtentPoint32W(dc, text, text.GetLength(), &extent) && extent.cx > rect.right - rect.left)
    flags |= DT_END_ELLIPSIS | DT_EDITCONTROL | DT_WORDBREAK;
  RECT r = rect;
  DrawTextW(dc, text, text.GetLength(), &r, flags);
}

void XFillSolidRect(HDC dc, const RECT& rect, COLORREF color) {
  if (!dc) return;
  COLORREF old = SetBkColor(dc, color);
  ExtTextOutW(dc, 0, 0, ETO_OPAQUE, &rect, nullptr, 0, nullptr);
  SetBkColor(dc, old);
}

void XDrawLine(HDC dc, int x1, int y1, int x2, int y2, COLORREF color) {
  if (!dc) return;
  CXGdiObject<HPEN> pen(CreatePen(PS_SOLID, 1, color));
  HGDIOBJ old = SelectObject(dc, pen.Get());
  MoveToEx(dc, x1, y1, nullptr);
  LineTo(dc, x2, y2);
  SelectObject(dc, old);
}

CXMemDC::CXMemDC(HDC reference, int width, int height, bool dib32) : m_width(width), m_height(height) {
  if (width <= 0 || height <= 0) return;
  m_dc = CreateCompatibleDC(reference);
  if (!m_dc) return;
  if (dib32) {
    m_bitmap = XCreateDib32(width, height, &m_bits, m_dc);
  } else {
    m_bitmap = CreateCompatibleBitmap(reference, width, height);
  }
  if (m_bitmap) m_old = SelectObject(m_dc, m_bitmap);
}

CXMemDC::~CXMemDC() {
  if (m_dc && m_old) SelectObject(m_dc, m_old);
  if (m_bitmap) DeleteObject(m_bitmap);
  if (m_dc) DeleteDC(m_dc);
}
