// Rich text: markup splitting, style reading, layout by measured segments and drawing per
// button state. Registers itself with CXBaseUI so captions with "{#" become rich text.
#include "XRichString.h"

#include <algorithm>
#include <new>

#include "XBaseUI.h"
#include "XDraw.h"
#include "XSkinTables.h"
#include "XSkinText.h"

namespace {

const wchar_t kOpen[] = L"{#";
const wchar_t kClose[] = L"{/}";
const int kOpenLen = 2;
const int kCloseLen = 3;

bool IsStyledPart(const CString& part) {
  return part.GetLength() >= kOpenLen + kCloseLen && part.Left(kOpenLen) == kOpen && part.Right(kCloseLen) == kClose;
}

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
  const int length = text.GetLength();
  int pos = 0;
  while (pos < length) {
    const int open = text.Find(kOpen, pos);
    // The closing mark is looked for after the opening one, so a stray "{/}" before it
    // stays in the plain text.
    const int close = open >= 0 ? text.Find(kClose, open + kOpenLen) : -1;
    if (open < 0 || close < 0) {
      parts.push_back(text.Mid(pos));
      break;
    }
    if (open > pos) parts.push_back(text.Mid(pos, open - pos));
    parts.push_back(text.Mid(open, close + kCloseLen - open));
    pos = close + kCloseLen;
  }
  return parts;
}

int CXString::ResolveFont(int id) { return CXFontTable::Instance().Has(id) ? id : 0; }

void CXString::SetString(const CString& text) {
  m_segments.clear();
  m_bAdjusted = false;
  try {
    m_source = text;
    for (const CString& part : SplitParts(text)) {
      XStringDataEx segment;
      if (IsStyledPart(part)) {
        ParseStyleStringEx(part, segment);
      } else {
        segment.text = part;
        for (int i = 0; i < 4; ++i) segment.fontIds[i] = m_pOwner ? m_pOwner->GetFontID(i) : 0;
      }
      m_segments.push_back(segment);
    }
  } catch (...) {
    // Out of memory: an exported call must not throw, and half a text is worse than none.
    m_segments.clear();
  }
}

void CXString::ParseStyleStringEx(const CString& part, XStringDataEx& segment) {
  for (int& id : segment.fontIds) id = 0;
  CString body = part.Mid(kOpenLen);
  const int close = body.Find(kClose);
  if (close >= 0) body = body.Left(close);
  CString style;
  const int brace = body.Find(L'}');
  if (brace >= 0) {
    style = body.Left(brace);
    segment.text = body.Mid(brace + 1);
  } else {
    segment.text = body;
  }
  style.Remove(L'"');
  for (const CString& piece : XSkinSplit(style, L';')) {
    std::vector<CString> fields = XSkinSplit(piece, L'=');
    if (fields.size() < 2) continue;
    CString key = fields[0];
    key.Trim();
    const int value = XSkinParseInt(fields[1]);
    if (key.CompareNoCase(L"fontid") == 0) segment.fontIds[0] = value;
    else if (key.CompareNoCase(L"hfontid") == 0) segment.fontIds[1] = value;
    else if (key.CompareNoCase(L"pfontid") == 0) segment.fontIds[2] = value;
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
