// The skinned popup menu: items, size and item rectangles, hit testing, painting with the
// hover and separator pictures, and every way it closes. Hit testing uses the very
// rectangles that are drawn, so the item that lights up is the item a click chooses.
#include "XMenu.h"

#include <algorithm>

#include "ControlMgr.h"
#include "XBaseUI.h"
#include "XDraw.h"
#include "XSkinTables.h"
#include "XSkinTemplate.h"
#include "XSkinText.h"
#include "XUIClassTable.h"
#include "XWin.h"

XUI_REGISTER_CLASS(L"menu", CXMenu)

namespace {

const int kSeparatorHeight = 3;
const int kTopGap = 2;
const int kBottomGap = 3;
const int kTextIndent = 3;
const wchar_t kHoverId[] = L"hover";
const wchar_t kSeparatorId[] = L"Seperator";

bool IsSeparator(const XMENU_ITEM& item) { return (item.flags & MF_SEPARATOR) != 0; }

}  // namespace

CXMenu::CXMenu() = default;

CXMenu::~CXMenu() {
  // The native window must not outlive the items and pictures it paints.
  if (GetHWND() && IsWindow(GetHWND())) DestroyWindow(GetHWND());
}

CXMenu* CXMenu::CreateXMenu(const wchar_t* templateName) {
  IXUIObject* root = CXSkinTemplate::Build(templateName);
  if (!root) return nullptr;
  CXMenu* menu = dynamic_cast<CXMenu*>(root);
  if (!menu) {
    XDestroyUIObject(root);
    return nullptr;
  }
  CXSkinTemplate::ResolveIncludes(menu);
  return menu;
}

UINT CXMenu::GetClassStyle() { return CS_DROPSHADOW | CS_SAVEBITS | CS_HREDRAW | CS_VREDRAW; }

DWORD CXMenu::GetWindowStyle() { return WS_POPUP | WS_BORDER | WS_SYSMENU; }

DWORD CXMenu::GetWindowExStyle() { return WS_EX_TOOLWINDOW; }

const wchar_t* CXMenu::GetClassNameW() { return L"XMenu"; }

const wchar_t* CXMenu::XUI_GetClassName() { return L"XMENU"; }

BOOL CXMenu::XUI_SetAttribute(const wchar_t* name, const wchar_t* value) {
  if (name && lstrcmpiW(name, L"fontid") == 0) {
    std::vector<int> ids = XSkinParseIntList(CString(value));
    for (size_t i = 0; i < ids.size() && i < 4; ++i) m_fontIds[i] = ids[i];
    return 1;
  }
  // Stored, yet answered as the base answers (0): callers rely on that answer, so it stays.
  if (name && lstrcmpiW(name, L"itemheight") == 0) m_itemHeight = XSkinParseInt(value);
  return CXWindow::XUI_SetAttribute(name, value);
}

HWND CXMenu::CreateMenu() {
  HWND wnd = Create(nullptr, nullptr, L"", 0, 0, nullptr);
  if (wnd) XUI_GetControlMgr()->SetAllWnd(wnd);
  return wnd;
}

BOOL CXMenu::InsertMenuW(UINT position, UINT flags, const wchar_t* text, HBITMAP bitmap) {
  XMENU_ITEM item = {};
  item.flags = flags;
  item.state = 0x1000;
  item.bitmap = bitmap;
  if (bitmap) m_bHasBitmap = TRUE;
  lstrcpynW(item.text, text ? text : L"", static_cast<int>(sizeof item.text / sizeof item.text[0]));
  const size_t at = std::min(static_cast<size_t>(position), m_items.size());
  try {
    m_items.insert(m_items.begin() + static_cast<std::ptrdiff_t>(at), item);
  } catch (...) {
    return FALSE;  // out of memory: the menu stays as it was
  }

  const CSize size = GetMenuSize();
  CRect r = XUI_GetRect();
  r.bottom = r.top + size.cy;
  r.right = r.left + size.cx + 2 * kTextIndent;
  XUI_SetRect(r);
  // A menu that is showing takes its new size at once.
  if (GetHWND() && IsWindowVisible(GetHWND())) XUI_MoveWindow(r);
  CalcMenuRect();
  return TRUE;
}

const XMENU_ITEM* CXMenu::GetItem(int index) const {
  return index >= 0 && index < GetItemCount() ? &m_items[static_cast<size_t>(index)] : nullptr;
}

CString CXMenu::GetMenuStringW(int index) const {
  const XMENU_ITEM* item = GetItem(index);
  return item ? CString(item->text) : CString();
}

CSize CXMenu::GetMenuSize() {
  CXWindowDC dc(GetHWND());
  int width = 0, height = 0;
  // Measured in the fonts the items are drawn in: the normal one and the hover one.
  const int fonts[2] = {m_fontIds[0], m_fontIds[1]};
  CXDCState state(dc.Get());
  for (const XMENU_ITEM& item : m_items) {
    height += IsSeparator(item) ? kSeparatorHeight : m_itemHeight;
    const int length = lstrlenW(item.text);
    if (!dc.Get() || length == 0) continue;
    for (int id : fonts) {
      SelectObject(dc.Get(), CXFontTable::Instance().Get(id).hFont);
      SIZE extent = {};
      if (GetTextExtentPoint32W(dc.Get(), item.text, length, &extent)) width = std::max(width, static_cast<int>(extent.cx));
    }
  }
  return CSize(width, height + kTopGap + kBottomGap);
}

void CXMenu::CalcMenuRect() {
  const int width = XUI_GetRect().Width();
  int top = kTopGap;
  for (XMENU_ITEM& item : m_items) {
    const int h = IsSeparator(item) ? kSeparatorHeight : m_itemHeight;
    item.rect = RECT{0, top, width, top + h};
    top += h;
  }
}

int CXMenu::HitTest(POINT screenPoint) {
  const CRect menu = XUI_GetRect();
  if (!menu.PtInRect(screenPoint)) return -1;
  const POINT client = {screenPoint.x - menu.left, screenPoint.y - menu.top};
  for (size_t i = 0; i < m_items.size(); ++i)
    if (CRect(m_items[i].rect).PtInRect(client)) return static_cast<int>(i);
  return -1;
}

BOOL CXMenu::TrackPopupMenu(int x, int y) {
  if (!GetHWND() && !CreateMenu()) return FALSE;
  m_bClosing = false;
  CRect r = XUI_GetRect();
  r.MoveToXY(x, y);
  XUI_SetRect(r);
  XUI_MoveWindow(r);
  CalcMenuRect();
  ShowWindow(SW_SHOW);
  UpdateWindow();
  SetCapture(GetHWND());
  FindPictures();
  return TRUE;
}

void CXMenu::FindPictures() {
  m_pHoverImage = dynamic_cast<CXBaseUI*>(XUI_GetChild(kHoverId));
  m_pSeparatorImage = dynamic_cast<CXBaseUI*>(XUI_GetChild(kSeparatorId));
}

void CXMenu::Close() {
  if (m_bClosing || !GetHWND()) return;
  m_bClosing = true;
  DestroyWindow(GetHWND());
}

void CXMenu::SetHoverItem(int index) {
  if (index == m_hoverItem) return;
  m_hoverItem = index;
  if (GetHWND()) InvalidateRect(GetHWND(), nullptr, FALSE);
}

void CXMenu::Choose(int index) {
  MESSAGE_EVENT event = {};
  event.wParam = static_cast<WPARAM>(index);
  FireNotify(this, &event, L"MenuClick");
  Close();
}

void CXMenu::Paint(HDC dc) {
  for (size_t i = 0; i < m_items.size(); ++i) {
    const XMENU_ITEM& item = m_items[i];
    if (IsSeparator(item)) {
      if (!m_pSeparatorImage) continue;
      CRect r = item.rect;
      r.left += 2;
      r.right -= 2;
      r.OffsetRect(0, 1);
      m_pSeparatorImage->XUI_SetRect(r);
      m_pSeparatorImage->DoPaint(dc);
      continue;
    }
    int font = m_fontIds[0];
    if (static_cast<int>(i) == m_hoverItem) {
      if (m_pHoverImage) {
        CRect r = item.rect;
        r.DeflateRect(2, 2);
        m_pHoverImage->XUI_SetRect(r);
        m_pHoverImage->DoPaint(dc);
      }
      font = m_fontIds[1];
    }
    if (!CXFontTable::Instance().Has(font)) continue;
    const XFONT_ENTRY entry = CXFontTable::Instance().Get(font);
    CRect text = item.rect;
    text.left += kTextIndent;
    DrawSkinText(dc, item.text, text, entry.color, DT_SINGLELINE | DT_VCENTER, 0, entry.hFont);
  }
}

LRESULT CXMenu::MessageHandle(MESSAGE_EVENT* e) {
  const HWND hwnd = e->hWnd;
  POINT cursor = {0, 0};
  switch (e->uMsg) {
    case WM_CREATE:
      e->bHandled = TRUE;
      return 0;
    case WM_PAINT: {
      e->bHandled = TRUE;
      FindPictures();
      // The two pictures are drawn per item only, never as ordinary children.
      CXBaseUI* pictures[2] = {m_pHoverImage, m_pSeparatorImage};
      bool hidden[2] = {false, false};
      for (int i = 0; i < 2; ++i) {
        if (!pictures[i] || !pictures[i]->XUI_IsVisible()) continue;
        pictures[i]->XUI_SetVisible(FALSE);
        hidden[i] = true;
      }
      PaintBuffered(hwnd, [this](HDC dc, const CRect&) { Paint(dc); });
      for (int i = 0; i < 2; ++i)
        if (hidden[i]) pictures[i]->XUI_SetVisible(TRUE);
      return 0;
    }
    case WM_KILLFOCUS:
      e->bHandled = TRUE;
      Close();
      return 0;
    case WM_MOUSEMOVE:
      e->bHandled = TRUE;
      GetCursorPos(&cursor);
      SetHoverItem(HitTest(cursor));
      return 0;
    case WM_LBUTTONDOWN: {
      e->bHandled = TRUE;
      GetCursorPos(&cursor);
      const int index = HitTest(cursor);
      if (index < 0) Close();
      else if (!IsSeparator(m_items[static_cast<size_t>(index)])) Choose(index);
      return 0;
    }
    case WM_RBUTTONDOWN:
      e->bHandled = TRUE;
      GetCursorPos(&cursor);
      if (!XUI_GetRect().PtInRect(cursor)) Close();
      return 0;
    case WM_KEYDOWN:
      // Real key presses report either Ctrl key as VK_CONTROL; the sided codes come from
      // synthesised input.
      if (e->wParam == VK_ESCAPE || e->wParam == VK_LWIN || e->wParam == VK_RWIN || e->wParam == VK_CONTROL ||
          e->wParam == VK_LCONTROL || e->wParam == VK_RCONTROL) {
        e->bHandled = TRUE;
        Close();
        return 0;
      }
      break;
    case WM_SYSKEYDOWN:
      if (e->wParam == VK_MENU || e->wParam == VK_RMENU) {
        e->bHandled = TRUE;
        Close();
        return 0;
      }
      break;
    case WM_DESTROY:
      e->bHandled = TRUE;
      if (GetCapture() == hwnd) ReleaseCapture();
      m_items.clear();
      m_hoverItem = -1;
      return 0;
    default:
      break;
  }
  return CXWindow::MessageHandle(e);
}
