// The list control: rows, cells and columns, attributes, hit testing, hover and selection,
// wheel scrolling and painting. Rows outside the list's rectangle are found by binary search
// in the row layout and never drawn or measured; the image list is never destroyed here.
#include "XList.h"

#include <algorithm>
#include <climits>

#include "ControlMgr.h"
#include "ITessaly.h"
#include "ItemPathParts.h"
#include "XComCtl.h"
#include "XDraw.h"
#include "XMouseRoute.h"
#include "XScrollbar.h"
#include "XSkinTables.h"
#include "XSkinText.h"
#include "XUIClassTable.h"
#include "XWin.h"

XUI_REGISTER_CLASS(L"list", CXList)

namespace {

const int kWheelNotch = 120;
const int kIconGap = 5;     // between an icon and its text
const wchar_t kScrollbarId[] = L"list.scrollbar";

// Every pixel of a 32-bit DIB the colour, fully opaque.
void FillOpaque(DWORD* bits, size_t count, COLORREF color) {
  const DWORD pixel = 0xFF000000u | (GetRValue(color) << 16) | (GetGValue(color) << 8) | GetBValue(color);
  for (size_t i = 0; i < count; ++i) bits[i] = pixel;
}

// Premultiplied pixels as straight ones.
DWORD Unpremultiplied(DWORD p) {
  const DWORD a = p >> 24;
  if (a == 0 || a == 255) return p;
  auto channel = [a](DWORD c) { return std::min<DWORD>(255, (c * 255 + a / 2) / a); };
  return (a << 24) | (channel((p >> 16) & 0xFF) << 16) | (channel((p >> 8) & 0xFF) << 8) | channel(p & 0xFF);
}

// "a,b,c" split at its first two commas; the last part keeps any further commas.
void SplitThree(const CString& value, CString& a, CString& b, CString& rest) {
  const int first = value.Find(L',');
  if (first < 0) {
    a = value;
    return;
  }
  a = value.Left(first);
  const int second = value.Find(L',', first + 1);
  if (second < 0) {
    b = value.Mid(first + 1);
    return;
  }
  b = value.Mid(first + 1, second - first - 1);
  rest = value.Mid(second + 1);
}

const size_t kTextLimit = sizeof(tagITEM_DATA::text) / sizeof(wchar_t) - 1;  // 259 characters

void CopyText(tagITEM_DATA& cell, const wchar_t* text, size_t length) {
  XCopyBounded(cell.text, kTextLimit + 1, text, length);
}

// Room for one more element, growing geometrically.
template <class V>
void XReserveOneMore(V& v) {
  if (v.size() == v.capacity()) v.reserve(v.size() < 16 ? 16 : v.size() * 2);
}

}  // namespace

CXList::CXList() = default;

CXList::~CXList() = default;

const wchar_t* CXList::XUI_GetClassName() { return L"XLIST"; }

DWORD CXList::XUI_GetStyle() { return CXBaseUI::XUI_GetStyle() | XUI_STYLE_ALLMOVES; }

// ---------------------------------------------------------------------------------------
// Data

// Exported operations called by the program: nothing they might throw leaves the library.
void CXList::InsertColumn(int width, const CString& name) {
  try {
    m_columns.push_back(COLUMN_DATA{width, name});
  } catch (...) {
  }
}

COLUMN_DATA* CXList::GetColumn(int index) {
  return index >= 0 && index < GetColumnCount() ? &m_columns[static_cast<size_t>(index)] : nullptr;
}

int CXList::InsertItem(const CString& text, int) {
  if (m_columns.empty()) return -1;
  // Everything that may fail happens first, so a failure leaves rows, cells and layout as
  // they were; the appends below cannot throw.
  std::vector<CELL> cells;
  try {
    // Cells of the row beyond the first start empty and without an image.
    cells.resize(m_columns.size());
    cells[0].Set(text, -1);
    XReserveOneMore(m_cells);
    XReserveOneMore(m_rows);
    m_layout.ReserveOneMore();
  } catch (...) {
    return -1;
  }
  m_cells.push_back(std::move(cells));
  m_rows.push_back(ROW_DATA{m_itemHeight, ROW_NORMAL, 0});
  m_layout.Append(m_itemHeight);
  return GetRowCount() - 1;
}

ROW_DATA* CXList::GetRow(int index) {
  if (index < 0 || index >= GetRowCount()) return nullptr;
  m_bRowsExposed = true;
  return &m_rows[static_cast<size_t>(index)];
}

const CXRowLayout& CXList::Layout() {
  if (m_bRowsExposed) {
    m_layout.Rebuild(GetRowCount(), [this](int i) { return m_rows[static_cast<size_t>(i)].height; });
    m_bRowsExposed = false;
  }
  return m_layout;
}

void CXList::CELL::Set(const CString& value, int imageIndex) {
  const size_t length = std::min(static_cast<size_t>(value.GetLength()), kTextLimit);
  if (record) {
    CopyText(*record, value.GetString(), length);
    record->image = imageIndex;
  } else {
    text.assign(value.GetString(), length);
    image = imageIndex;
  }
}

const CXList::CELL* CXList::Cell(int row, int column) const {
  if (row < 0 || row >= GetRowCount()) return nullptr;
  const std::vector<CELL>& cells = m_cells[static_cast<size_t>(row)];
  if (column < 0 || column >= static_cast<int>(cells.size())) return nullptr;
  return &cells[static_cast<size_t>(column)];
}

tagITEM_DATA* CXList::GetItem(int row, int column) {
  CELL* cell = const_cast<CELL*>(Cell(row, column));
  if (!cell) return nullptr;
  if (!cell->record) {
    try {
      std::unique_ptr<tagITEM_DATA> record(new tagITEM_DATA());
      record->image = cell->image;
      CopyText(*record, cell->text.c_str(), cell->text.size());
      cell->record = std::move(record);
      std::wstring().swap(cell->text);  // the record holds the text now
    } catch (...) {
      return nullptr;  // out of memory
    }
  }
  return cell->record.get();
}

const wchar_t* CXList::GetItemText(int row, int column) const {
  const CELL* cell = Cell(row, column);
  return cell ? cell->Text() : nullptr;
}

int CXList::GetItemImage(int row, int column) const {
  const CELL* cell = Cell(row, column);
  return cell ? cell->Image() : -1;
}

void CXList::SetImageList(HIMAGELIST images) {
  if (images != m_hImageList) m_iconImages.clear();  // indices belong to one image list
  m_hImageList = images;
}

void CXList::SetItem(int row, int column, const CString& text, HICON icon) {
  CELL* cell = const_cast<CELL*>(Cell(row, column));
  if (!cell) return;
  try {
    cell->Set(text, icon && m_hImageList ? IconImage(icon) : -1);
  } catch (...) {
    // Out of memory for the text: the cell stays as it was.
  }
}

// Appending costs a copy of the icon's bitmaps per call, so rows of one type would cost
// time and memory per row: each handle is appended once. An index the image list no longer
// holds (its owner removed images) is appended again.
int CXList::IconImage(HICON icon) {
  const auto known = m_iconImages.find(icon);
  if (known != m_iconImages.end() && known->second < XImageList_GetImageCount(m_hImageList)) return known->second;
  const int index = XImageList_ReplaceIcon(m_hImageList, -1, icon);
  if (index >= 0) {
    try {
      m_iconImages[icon] = index;
    } catch (...) {
      // Out of memory for the table: the icon is simply appended again next time.
    }
  }
  return index;
}

void CXList::SetItem(int row, int column, const CString& text, ITessaly* image) {
  CELL* cell = const_cast<CELL*>(Cell(row, column));
  if (!cell) return;
  try {
    cell->Set(text, image && m_hImageList && image->HasBitmap() ? AppendImage(image->GetBitmap()) : -1);
  } catch (...) {
    // Out of memory for the text: the cell stays as it was.
  }
}

// Image objects hold premultiplied pixels of any size; an image list stores straight alpha
// and cuts a bitmap into as many images as its width holds. So the picture is drawn at
// exactly one image's size and handed over with its colours divided by their alpha, in a
// bitmap selected into no device context.
int CXList::AppendImage(HBITMAP bitmap) {
  BITMAP info = {};
  int width = 0, height = 0;
  if (!bitmap || !GetObjectW(bitmap, sizeof info, &info) || !XImageList_GetIconSize(m_hImageList, &width, &height))
    return -1;
  if (width <= 0 || height <= 0 || info.bmWidth <= 0 || info.bmHeight <= 0) return -1;
  CXMemDC scaled(nullptr, width, height, true);  // starts fully transparent
  if (!scaled.IsValid() || !scaled.Bits()) return -1;
  {
    CXBitmapDC source(bitmap);
    if (!source) return -1;
    BLENDFUNCTION blend = {AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
    if (!AlphaBlend(scaled, 0, 0, width, height, source.Get(), 0, 0, info.bmWidth, info.bmHeight, blend)) return -1;
  }
  DWORD* bits = nullptr;
  CXGdiObject<HBITMAP> straight(XCreateDib32(width, height, &bits));
  if (!straight) return -1;
  GdiFlush();
  const size_t count = static_cast<size_t>(width) * static_cast<size_t>(height);
  for (size_t i = 0; i < count; ++i) bits[i] = Unpremultiplied(scaled.Bits()[i]);
  return XImageList_Add(m_hImageList, straight.Get(), nullptr);
}

void CXList::SetItem(int row, int column, const CString& text) { SetItem(row, column, text, static_cast<HICON>(nullptr)); }

void CXList::SetItemData(int row, DWORD data) {
  if (row >= 0 && row < GetRowCount()) m_rows[static_cast<size_t>(row)].data = data;
}

DWORD CXList::GetItemData(int row) const {
  return row >= 0 && row < GetRowCount() ? m_rows[static_cast<size_t>(row)].data : 0;
}

void CXList::DeleteRow(int row) {
  if (row < 0 || row >= GetRowCount()) return;
  m_rows.erase(m_rows.begin() + row);
  m_cells.erase(m_cells.begin() + row);
  m_layout.Erase(row);
  // The hover index follows its row, so the row now under the mouse can light up again.
  if (m_hoverRow == row) m_hoverRow = -1;
  else if (m_hoverRow > row) --m_hoverRow;
  RecalcScrollbar();
  const int total = GetRealListHeight();
  const int height = XUI_GetRect().Height();
  const int bias = GetBias();
  if (static_cast<long long>(total) < static_cast<long long>(height) + bias) SetBias(total - height);
}

int CXList::GetSelectRow(int start) const {
  for (int i = start < 0 ? 0 : start; i < GetRowCount(); ++i)
    if (m_rows[static_cast<size_t>(i)].state == ROW_SELECTED) return i;
  return -1;
}

void CXList::SetColor(COLORREF normal, COLORREF hover, COLORREF selected) {
  m_colors[ROW_NORMAL] = normal;
  m_colors[ROW_HOVER] = hover;
  m_colors[ROW_SELECTED] = selected;
}

COLORREF CXList::GetStateColor(int state) const { return state >= 0 && state <= 3 ? m_colors[state] : 0xFFFFFF; }

void CXList::SetItemHeight(int height) { m_itemHeight = height < 0 ? 0 : height; }

// ---------------------------------------------------------------------------------------
// Attributes

BOOL CXList::XUI_SetAttribute(const wchar_t* name, const wchar_t* value) {
  if (!name) return 0;
  const CString text(value);
  if (lstrcmpiW(name, L"style") == 0) {
    SetListStyle(static_cast<DWORD>(XSkinParseInt(text)));
  } else if (lstrcmpiW(name, L"itemheight") == 0) {
    SetItemHeight(XSkinParseInt(text));
  } else if (lstrcmpiW(name, L"itemcolorid") == 0) {
    const std::vector<int> ids = XSkinParseIntList(text);
    for (size_t i = 0; i < ids.size() && i < 3; ++i) m_colors[i] = CXColorTable::Instance().GetColor(ids[i]);
  } else if (lstrcmpiW(name, L"column") == 0) {
    // name,width: the width follows the last comma, so a name may hold commas.
    const int comma = text.ReverseFind(L',');
    if (comma < 0) InsertColumn(0, text);
    else InsertColumn(XSkinParseInt(text.Mid(comma + 1)), text.Left(comma));
  } else if (lstrcmpiW(name, L"bkcolorid") == 0) {
    SetBackColor(CXColorTable::Instance().GetColor(XSkinParseInt(text)));
  } else if (lstrcmpiW(name, L"item") == 0) {
    CString row, column, cellText;
    SplitThree(text, row, column, cellText);
    const int col = XSkinParseInt(column);
    if (col == 0) InsertItem(cellText);
    else SetItem(XSkinParseInt(row), col, cellText);
  } else if (lstrcmpiW(name, L"wheelstep") == 0) {
    if (text.CompareNoCase(L"system") == 0) SetWheelStepFollowsSystem();
    else SetWheelStep(XSkinParseInt(text));
  } else if (lstrcmpiW(name, L"emptytext") == 0) {
    SetEmptyText(text);
  } else if (lstrcmpiW(name, L"twoline") == 0) {
    SetTwoLine(XSkinParseInt(text) != 0);
  } else if (lstrcmpiW(name, L"folderfontid") == 0) {
    SetFolderFontId(XSkinParseInt(text));
  } else if (lstrcmpiW(name, L"emptyfontid") == 0) {
    m_emptyFontId = XSkinParseInt(text);
  } else if (lstrcmpiW(name, L"bktransparent") == 0) {
    const int alpha = XSkinParseInt(text);
    SetBackAlpha(static_cast<BYTE>(alpha < 0 ? 0 : alpha > 255 ? 255 : alpha));
  } else {
    return CXBaseUI::XUI_SetAttribute(name, value);
  }
  return 1;
}

// ---------------------------------------------------------------------------------------
// Scrolling and geometry

CXScrollbar* CXList::GetScrollbar() { return dynamic_cast<CXScrollbar*>(XUI_GetControlMgr()->FindUI(kScrollbarId)); }

int CXList::GetRealListHeight() { return Layout().Total(); }

int CXList::HasScrollbar() { return GetRealListHeight() > XUI_GetRect().Height() ? 1 : 0; }

int CXList::GetBias() {
  CXScrollbar* bar = GetScrollbar();
  return bar && bar->XUI_IsVisible() ? bar->GetScrollPos() : 0;
}

void CXList::SetBias(int bias) {
  CXScrollbar* bar = GetScrollbar();
  if (!bar || !bar->XUI_IsVisible()) return;
  if (bias < 0 || bias > bar->GetRange() - bar->GetPage()) return;
  bar->SetScrollPos(bias);
}

void CXList::RecalcScrollbar() {
  CXScrollbar* bar = GetScrollbar();
  if (!bar) return;
  const int height = XUI_GetRect().Height();
  const int total = GetRealListHeight();
  if (height < total) {
    bar->XUI_SetVisible(TRUE);
    bar->SetScrollRange(height, total);
  } else {
    // The rows fit and show from the top: an offset kept from before would come back as a
    // jump the next time they overflow.
    bar->SetScrollPos(0);
    bar->XUI_SetVisible(FALSE);
  }
}

void CXList::Relayout() {
  CXBaseUI::Relayout();
  if (m_columns.empty()) return;
  long long others = 0;
  for (size_t i = 0; i + 1 < m_columns.size(); ++i) others += m_columns[i].width;
  const long long last = XUI_GetRect().Width() - others;
  m_columns.back().width = last < 0 ? 0 : static_cast<int>(last);
}

int CXList::HitTest(const CPoint* point, int& row, int) {
  row = -1;
  if (!point || !(m_listStyle & LIST_HITTEST)) return row;
  CRect rect = XUI_GetRect();
  const CXRowLayout& layout = Layout();
  if (layout.Total() > rect.Height()) {
    if (CXScrollbar* bar = GetScrollbar()) rect.right -= bar->XUI_GetRect().Width();
  }
  // Rows scrolled out of the rectangle cannot be hit.
  if (!rect.PtInRect(*point)) return row;
  row = layout.RowAt(static_cast<long long>(point->y) - rect.top + GetBias());
  return row;
}

// ---------------------------------------------------------------------------------------
// Mouse

LRESULT CXList::MessageHandle(MESSAGE_EVENT* event) {
  if (!event) return 0;
  DoEventStep(event);
  CControlMgr* children = XUI_GetControlMgr();
  if (children->GetCount() > 0) {
    children->DispatchMsg(event);
    if (event->bHandled) {
      // The mouse is over the scrollbar (or just left the list through it): no row is hovered.
      if (event->uMsg == WM_MOUSEMOVE || event->uMsg == WM_MOUSELEAVE) OnMouseLeave(0, 0);
      return 0;
    }
  }
  static const XMOUSE_ROUTE<CXList> kRoutes[] = {
      {WM_LBUTTONDOWN, &CXList::OnLButtonDown}, {WM_LBUTTONUP, &CXList::OnLButtonUp},
      {WM_RBUTTONUP, &CXList::OnRButtonUp},     {WM_MOUSEMOVE, &CXList::OnMouseMove},
      {WM_MOUSELEAVE, &CXList::OnMouseLeave},   {WM_MOUSEWHEEL, &CXList::OnMouseWheel},
  };
  XRouteMouse(this, event, kRoutes);
  return 0;
}

void CXList::OnMouseMove(WPARAM, LPARAM lParam) {
  const CPoint point(lParam);
  int row = -1;
  HitTest(&point, row);
  if (row == m_hoverRow) return;
  if (row >= 0 && m_rows[static_cast<size_t>(row)].state == ROW_NORMAL) m_rows[static_cast<size_t>(row)].state = ROW_HOVER;
  if (m_hoverRow >= 0 && m_hoverRow < GetRowCount() && m_rows[static_cast<size_t>(m_hoverRow)].state == ROW_HOVER)
    m_rows[static_cast<size_t>(m_hoverRow)].state = ROW_NORMAL;
  CControlMgr::Invalidate(this, FALSE);
  m_hoverRow = row;
}

void CXList::OnMouseLeave(WPARAM, LPARAM) {
  if (m_hoverRow < 0) return;
  if (m_hoverRow < GetRowCount() && m_rows[static_cast<size_t>(m_hoverRow)].state == ROW_HOVER) {
    m_rows[static_cast<size_t>(m_hoverRow)].state = ROW_NORMAL;
    CControlMgr::Invalidate(this, FALSE);
  }
  m_hoverRow = -1;
}

void CXList::OnLButtonDown(WPARAM, LPARAM lParam) {
  const CPoint point(lParam);
  int row = -1;
  if (HitTest(&point, row) < 0) return;
  if (m_listStyle & LIST_SELECT) {
    ROW_DATA& hit = m_rows[static_cast<size_t>(row)];
    if (hit.state == ROW_SELECTED) {
      hit.state = ROW_NORMAL;
    } else if (m_listStyle & LIST_MULTISELECT) {
      hit.state = ROW_SELECTED;
    } else {
      for (ROW_DATA& other : m_rows)
        if (other.state == ROW_SELECTED) other.state = ROW_NORMAL;
      hit.state = ROW_SELECTED;
    }
  }
  CControlMgr::Invalidate(this, FALSE);
}

void CXList::Click(WPARAM wParam, LPARAM lParam, BOOL left) {
  CControlMgr* mgr = XUI_GetControlMgr();
  // Without a window the click messages would become thread messages.
  if (mgr->GetWnd()) mgr->ClickEvent(XUI_GetID(), wParam, lParam, left);
}

void CXList::OnLButtonUp(WPARAM wParam, LPARAM lParam) { Click(wParam, lParam, TRUE); }

void CXList::OnRButtonUp(WPARAM wParam, LPARAM lParam) { Click(wParam, lParam, FALSE); }

void CXList::SetWheelStep(int pixels) {
  m_wheelStep = pixels < 0 ? 0 : pixels;
  m_bWheelFollowsSystem = false;
}

int CXList::GetWheelStep() {
  if (!m_bWheelFollowsSystem) return m_wheelStep;
  UINT lines = 3;
  if (!SystemParametersInfoW(SPI_GETWHEELSCROLLLINES, 0, &lines, 0)) lines = 3;
  if (lines == WHEEL_PAGESCROLL) return XUI_GetRect().Height();  // "one screen at a time"
  const long long step = static_cast<long long>(lines) * m_itemHeight;
  return step > INT_MAX ? INT_MAX : static_cast<int>(step);
}

void CXList::OnMouseWheel(WPARAM wParam, LPARAM) {
  CXScrollbar* bar = GetScrollbar();
  if (!HasScrollbar() || !bar || !bar->XUI_IsEnable()) return;
  const int notches = static_cast<short>(HIWORD(wParam)) / kWheelNotch;
  if (notches == 0) return;
  // Pulled back to the ends, so the last pixels are reachable whatever the range.
  const long long wanted = static_cast<long long>(bar->GetScrollPos()) - static_cast<long long>(notches) * GetWheelStep();
  const int position = XSCROLL_GEOMETRY::Clamp(
      wanted > INT_MAX ? INT_MAX : wanted < INT_MIN ? INT_MIN : static_cast<int>(wanted), bar->GetPage(),
      bar->GetRange());
  if (position == bar->GetScrollPos()) return;
  bar->SetScrollPos(position);
  CControlMgr::Invalidate(bar, FALSE);
  CControlMgr::Invalidate(this, FALSE);
}

// ---------------------------------------------------------------------------------------
// Painting

void CXList::PaintBackground(HDC dc, const CRect& rect) {
  if (m_backColor == kNoColor || rect.IsRectEmpty()) return;
  if (m_backAlpha == 255) {
    XFillSolidRect(dc, rect, m_backColor);
    return;
  }
  CXMemDC layer(dc, rect.Width(), rect.Height(), true);
  if (!layer.IsValid() || !layer.Bits()) return;
  FillOpaque(layer.Bits(), static_cast<size_t>(rect.Width()) * static_cast<size_t>(rect.Height()), m_backColor);
  BLENDFUNCTION blend = {AC_SRC_OVER, 0, m_backAlpha, AC_SRC_ALPHA};
  AlphaBlend(dc, rect.left, rect.top, rect.Width(), rect.Height(), layer, 0, 0, rect.Width(), rect.Height(), blend);
}

void CXList::DoPaint(HDC dc) {
  if (!dc) return;
  // The range first, so the rows and the thumb agree on the offset.
  RecalcScrollbar();
  const CRect rect = XUI_GetRect();
  PaintBackground(dc, rect);

  CRect content = rect;
  content.DeflateRect(1, 1);
  if (m_listStyle & LIST_BORDER) {
    XDrawLine(dc, content.left - 1, content.top - 1, content.right, content.top - 1, kLineColor);
    XDrawLine(dc, content.left - 1, content.top - 1, content.left - 1, content.bottom, kLineColor);
    XDrawLine(dc, content.right, content.top - 1, content.right, content.bottom + 1, kLineColor);
    XDrawLine(dc, content.left - 1, content.bottom, content.right + 1, content.bottom, kLineColor);
  }

  if (!content.IsRectEmpty() && !m_rows.empty()) {
    CXDCState state(dc);
    // Rows partly scrolled out stay inside the list whether or not the host clips.
    IntersectClipRect(dc, content.left, content.top, content.right, content.bottom);
    int iconWidth = 0, iconHeight = 0, imageCount = 0;
    if (m_hImageList && XImageList_GetIconSize(m_hImageList, &iconWidth, &iconHeight))
      imageCount = XImageList_GetImageCount(m_hImageList);
    const CXRowLayout& layout = Layout();
    const int bias = GetBias();
    for (int i = layout.FirstEndingAfter(bias); i < GetRowCount(); ++i) {
      const long long top = content.top + layout.Top(i) - bias;
      if (top >= content.bottom) break;
      const CRect rowRect(content.left, static_cast<int>(top), content.right,
                          static_cast<int>(top + layout.Height(i)));
      PaintRow(dc, i, rowRect, iconWidth, iconHeight, imageCount);
      if (m_listStyle & LIST_SEPARATOR) {
        if (i == 0) XDrawLine(dc, rowRect.left, rowRect.top, rowRect.right, rowRect.top, kLineColor);
        XDrawLine(dc, rowRect.left, rowRect.bottom - 1, rowRect.right, rowRect.bottom - 1, kLineColor);
      }
    }
  }

  if (m_rows.empty() && !content.IsRectEmpty()) PaintEmptyText(dc, content);

  XUI_GetControlMgr()->DoPaint(dc);
}

void CXList::PaintEmptyText(HDC dc, const CRect& content) {
  if (m_emptyText.IsEmpty()) return;
  const int fontId = m_emptyFontId >= 0 ? m_emptyFontId : GetFontID(0);
  const XFONT_ENTRY font = CXFontTable::Instance().Get(fontId);
  // Wrapped and centred in the upper middle of the list, clear of its edges.
  const int inset = content.Width() > 80 ? 24 : 0;
  const CRect box(content.left + inset, content.top + content.Height() / 3, content.right - inset, content.bottom);
  if (box.IsRectEmpty()) return;
  DrawSkinText(dc, m_emptyText, box, font.color, DT_CENTER | DT_WORDBREAK | DT_NOPREFIX, 0, font.hFont);
}

void CXList::PaintRow(HDC dc, int index, const CRect& rowRect, int iconWidth, int iconHeight, int imageCount) {
  const ROW_DATA& row = m_rows[static_cast<size_t>(index)];
  const int state = row.state;
  if (state >= ROW_HOVER && state <= ROW_FOURTH && (state != ROW_SELECTED || (m_listStyle & LIST_SELECT)))
    XFillSolidRect(dc, rowRect, m_colors[state]);
  const std::vector<CELL>& cells = m_cells[static_cast<size_t>(index)];
  int left = rowRect.left;
  for (size_t c = 0; c < cells.size() && c < m_columns.size(); ++c) {
    const int width = m_columns[c].width;
    PaintCell(dc, cells[c], CRect(left, rowRect.top, left + width, rowRect.bottom), state, iconWidth, iconHeight,
              imageCount, m_bTwoLine && c == 0);
    left += width;
  }
}

void CXList::PaintCell(HDC dc, const CELL& cell, CRect cellRect, int state, int iconWidth, int iconHeight,
                       int imageCount, bool pathLines) {
  const int image = cell.Image();
  if (image >= 0 && image < imageCount) {
    const int rowHeight = cellRect.Height();
    const int margin = iconHeight < rowHeight ? (rowHeight - iconHeight) / 2 : 0;
    XImageList_Draw(m_hImageList, image, dc, cellRect.left + margin, cellRect.top + margin, ILD_TRANSPARENT);
    cellRect.left += iconWidth + margin + kIconGap;
  }
  const wchar_t* text = cell.Text();
  if (!text[0]) return;
  if (pathLines) {
    PaintPathLines(dc, text, cellRect, state);
    return;
  }
  const XFONT_ENTRY font = CXFontTable::Instance().Get(GetFontID(state));
  DrawSkinText(dc, CString(text), cellRect, font.color, DT_SINGLELINE | DT_VCENTER, 0, font.hFont);
}

namespace {

// The height of a line of text in the font (the default GUI font when null).
int LineHeight(HDC dc, HFONT font) {
  CXDCState state(dc);
  SelectObject(dc, font ? font : static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT)));
  TEXTMETRICW metrics = {};
  return GetTextMetricsW(dc, &metrics) ? metrics.tmHeight : 0;
}

}  // namespace

void CXList::PaintPathLines(HDC dc, const wchar_t* path, const CRect& textRect, int state) {
  const ITEM_PATH_PARTS parts = SplitItemPath(XToU16(path, wcslen(path)));
  const CString name(XFromU16(parts.name).c_str());
  const XFONT_ENTRY nameFont = CXFontTable::Instance().Get(GetFontID(state));
  if (parts.folder.empty()) {
    DrawSkinText(dc, name, textRect, nameFont.color, DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX, 0, nameFont.hFont);
    return;
  }
  const XFONT_ENTRY folderFont = m_folderFontId >= 0 ? CXFontTable::Instance().Get(m_folderFontId) : nameFont;
  const int nameHeight = LineHeight(dc, nameFont.hFont), folderHeight = LineHeight(dc, folderFont.hFont);
  // The two lines as one block in the middle of the row.
  const int top = textRect.top + (textRect.Height() - nameHeight - folderHeight) / 2;
  const CRect nameRect(textRect.left, top, textRect.right, top + nameHeight);
  const CRect folderRect(textRect.left, nameRect.bottom, textRect.right, nameRect.bottom + folderHeight);
  DrawSkinText(dc, name, nameRect, nameFont.color, DT_SINGLELINE | DT_NOPREFIX, 0, nameFont.hFont);
  // A long folder keeps its start and its last part.
  DrawSkinText(dc, CString(XFromU16(parts.folder).c_str()), folderRect, folderFont.color,
               DT_SINGLELINE | DT_NOPREFIX | DT_PATH_ELLIPSIS, 0, folderFont.hFont);
}

CString CXList::GetTooltip() {
  if (m_bTwoLine && m_hoverRow >= 0 && m_hoverRow < GetRowCount()) {
    const wchar_t* text = GetItemText(m_hoverRow, 0);
    if (text && text[0]) return CString(text);
  }
  return CXBaseUI::GetTooltip();
}

CRect CXList::GetTooltipArea() {
  const CRect window = XUI_GetWindowRect();
  if (!m_bTwoLine || m_hoverRow < 0 || m_hoverRow >= GetRowCount()) return window;
  // The hovered row's band, inside the list, in screen pixels.
  const CRect rect = XUI_GetRect();
  const CXRowLayout& layout = Layout();
  const long long top = static_cast<long long>(rect.top) + 1 + layout.Top(m_hoverRow) - GetBias();
  const long long bottom = top + layout.Height(m_hoverRow);
  CRect band(window.left, static_cast<int>(std::max<long long>(top - rect.top + window.top, window.top)),
             window.right, static_cast<int>(std::min<long long>(bottom - rect.top + window.top, window.bottom)));
  if (band.IsRectEmpty()) return window;
  return band;
}
