// Rich text: the markup's runs (RichTextMarkup), layout by measured segments and drawing per
// button state. Registers itself with CXBaseUI so captions with "{#" become rich text.
#include "XRichString.h"

#include <algorithm>
#include <new>

#include "RichTextMarkup.h"
#include "XBaseUI.h"
#include "XDraw.h"
#include "XSkinTables.h"
#include "XWin.h"

namespace {

CXString* MakeRichText(CXBaseUI* owner, const CString& text) {
  CXString* made = new (std::nothrow) CXString(owner);
  if (made) made->SetString(text);
  return made;
}

void DestroyRichText(CXString* richText) { delete richText; }

[[maybe_unused]] const bool registered = (XRegisterRichText(XRICHTEXT_OPS{&MakeRichText, &DestroyRichText}), true);

}  // namespace

std::vector<CString> CXString::SplitParts(const CString& text) {
  std::vector<CString> parts;
  for (const std::u16string& part : XSplitRichParts(XToU16(text.GetString(), static_cast<size_t>(text.GetLength()))))
    parts.emplace_back(XFromU16(part));
  return parts;
}

int CXString::ResolveFont(int id) { return CXFontTable::Instance().Has(id) ? id : 0; }

void CXString::SetString(const CString& text) {
  m_segments.clear();
  m_bAdjusted = false;
  try {
    m_source = text;
    for (const XRichRun& run : XParseRichText(XToU16(text.GetString(), static_cast<size_t>(text.GetLength())))) {
      XStringDataEx segment;
      segment.text = CString(XFromU16(run.text));
      for (int i = 0; i < 4; ++i)
        segment.fontIds[i] = run.styled ? run.fontIds[i] : (m_pOwner ? m_pOwner->GetFontID(i) : 0);
      m_segments.push_back(segment);
    }
  } catch (...) {
    // Out of memory: an exported call must not throw, and half a text is worse than none.
    m_segments.clear();
  }
}

void CXString::AdjustRectEx(HDC dc, const CRect& box) {
  CXDCState state(dc);
  CRect text;
  int x = box.left;
  for (XStringDataEx& segment : m_segments) {
    SelectObject(dc, CXFontTable::Instance().Get(ResolveFont(segment.fontIds[0])).hFont);
    SIZE extent = {};
    if (!segment.text.IsEmpty()) GetTextExtentPoint32W(dc, segment.text, segment.text.GetLength(), &extent);
    segment.rect = CRect(x, box.top, std::max(x, static_cast<int>(box.right)), box.bottom);
    const CRect measured(x, box.top, x + extent.cx, box.top + extent.cy);
    UnionRect(&text, &text, &measured);
    x += extent.cx;
  }
  m_textRect = text;
  m_layoutBox = box;
  m_bAdjusted = true;
}

void CXString::Draw(HDC dc, UINT flags) {
  if (!dc || m_segments.empty()) return;
  const CRect box = m_pOwner ? m_pOwner->XUI_GetRect() : CRect();
  if (!m_bAdjusted || box != m_layoutBox) {
    AdjustRectEx(dc, box);
    // A text object always fits its text: it takes the text's box, and its segments end
    // there too, so none is cut short by the size it had before.
    if (m_pOwner && !m_textRect.IsRectEmpty() && lstrcmpiW(m_pOwner->XUI_GetClassName(), L"XSTRING") == 0) {
      for (XStringDataEx& segment : m_segments) {
        segment.rect.right = std::max(segment.rect.left, m_textRect.right);
        segment.rect.bottom = m_textRect.bottom;
      }
      m_pOwner->XUI_SetRect(m_textRect);
      m_layoutBox = m_textRect;
    }
  }
  Draw(dc, flags, m_layoutBox);
}

void CXString::Draw(HDC dc, UINT flags, const RECT& box) {
  if (!dc || m_segments.empty()) return;
  const CRect area(box);
  if (!m_bAdjusted || area != m_layoutBox) AdjustRectEx(dc, area);
  // Centred or right-aligned text moves as one row; each segment is then drawn left-aligned
  // from its place in the row, so the runs never overlap.
  int dx = 0;
  const int free = area.Width() - m_textRect.Width();
  if (free > 0 && (flags & DT_CENTER)) dx = free / 2;
  else if (free > 0 && (flags & DT_RIGHT)) dx = free;
  const UINT segmentFlags = flags & ~static_cast<UINT>(DT_CENTER | DT_RIGHT);
  for (const XStringDataEx& segment : m_segments) {
    const XFONT_ENTRY font = CXFontTable::Instance().Get(ResolveFont(segment.fontIds[m_state]));
    CRect r = segment.rect;
    r.left += dx;
    if (r.right < r.left) r.right = r.left;
    DrawSkinText(dc, segment.text, r, font.color, segmentFlags, 0, font.hFont);
  }
}

void CXString::SetButtonState(int state) {
  if (state >= 0 && state <= 3) m_state = state;
}

void CXString::SetButtonEffect(int effect) {
  m_bButtonEffect = effect;
  if (m_pOwner) m_pOwner->XUI_SetEnable(effect);
}

const XStringDataEx* CXString::GetSegment(int index) const {
  return index >= 0 && index < GetSegmentCount() ? &m_segments[static_cast<size_t>(index)] : nullptr;
}
