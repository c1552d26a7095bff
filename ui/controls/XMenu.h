// CXMenu ("menu", window class "XMENU"): the skinned popup menu. A vertical list of text
// items and separators with a skinned hover picture and separator picture (the children
// "hover" and "Seperator"), reporting the chosen item as "MenuClick". Any closing event
// destroys the native window, which empties the item list; the object stays.
// Item rectangles are valid after every insertion (CalcMenuRect) and are client coordinates.
#pragma once

#include <windows.h>

#include <vector>

#include "WendoraApi.h"
#include "XWindow.h"

class CXBaseUI;

// One item; a separator carries MF_SEPARATOR in its flags, other flag bits are only kept.
struct XMENU_ITEM {
  UINT flags;
  UINT state;      // always 0x1000
  HBITMAP bitmap;  // kept, never drawn
  wchar_t text[128];
  RECT rect;
};

class WENDORA_API CXMenu : public CXWindow {
 public:
  CXMenu();
  ~CXMenu() override;

  // Builds the menu of the named skin template; null for an unknown template or one whose
  // root is not a menu. The caller owns the result.
  static CXMenu* CreateXMenu(const wchar_t* templateName);

  LRESULT MessageHandle(MESSAGE_EVENT* event) override;
  UINT GetClassStyle() override;
  DWORD GetWindowStyle() override;
  DWORD GetWindowExStyle() override;
  virtual const wchar_t* GetClassNameW();
  const wchar_t* XUI_GetClassName() override;
  // "fontid" (up to four ids, the rest unchanged) and "itemheight".
  BOOL XUI_SetAttribute(const wchar_t* name, const wchar_t* value) override;

  // Makes the popup window (no parent, default position and size); the handle or null.
  HWND CreateMenu();
  // Inserts before position (appends when position is past the end); the text is cut to 127
  // characters. The menu then takes the size of its items.
  BOOL InsertMenuW(UINT position, UINT flags, const wchar_t* text, HBITMAP bitmap);
  // Shows the menu with its top-left at the screen point and captures the mouse.
  BOOL TrackPopupMenu(int x, int y);
  // The item's text; empty out of range.
  CString GetMenuStringW(int index) const;

  int GetItemCount() const { return static_cast<int>(m_items.size()); }
  const XMENU_ITEM* GetItem(int index) const;
  int GetItemHeight() const { return m_itemHeight; }
  int GetHoverItem() const { return m_hoverItem; }
  int GetFontID(int index) const { return index >= 0 && index < 4 ? m_fontIds[index] : 0; }
  BOOL HasBitmap() const { return m_bHasBitmap; }

 protected:
  // Width: the widest item text; height: 3 per separator, the item height per item, plus 5.
  CSize GetMenuSize();
  void CalcMenuRect();
  // The item under a screen point, or -1.
  int HitTest(POINT screenPoint);
  void Close();

 private:
  void Paint(HDC dc);
  void FindPictures();
  void SetHoverItem(int index);
  void Choose(int index);

  std::vector<XMENU_ITEM> m_items;
  BOOL m_bHasBitmap = FALSE;
  int m_itemHeight = 20;
  int m_hoverItem = -1;
  int m_fontIds[4] = {0, 0, 0, 0};
  CXBaseUI* m_pHoverImage = nullptr;
  CXBaseUI* m_pSeparatorImage = nullptr;
  bool m_bClosing = false;  // DestroyWindow is under way: focus loss must not close again
};
