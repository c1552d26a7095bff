// CXList: the windowless list of rows of cells (icon + one line of text) with hover and
// selection, separators, border, a translucent background and the child scrollbar
// "list.scrollbar". Invariant: every row has its ROW_DATA, its cells (one per column that
// existed at its insertion) and its place in the row layout; painting and hit testing touch
// only the rows inside the list's rectangle.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

#include "WendoraApi.h"
#include "XBaseUI.h"
#include "XRowLayout.h"
#include "XString.h"

class CXScrollbar;
struct ITessaly;

// One row. Callers may write state through GetRow (and then invalidate the list).
struct ROW_DATA {
  int height;  // pixels, the list's item height at insertion
  int state;   // 0 normal, 1 hover, 2 selected, 3 fourth state
  DWORD data;  // the caller's value
};

// One cell.
struct tagITEM_DATA {
  int image;           // index in the list's image list, -1 for none
  wchar_t text[260];   // always NUL-terminated
};
typedef tagITEM_DATA ITEM_DATA;

struct COLUMN_DATA {
  int width;
  CString name;
};

class WENDORA_API CXList : public CXBaseUI {
 public:
  // List style bits.
  enum : DWORD {
    LIST_HITTEST = 0x01,     // rows can be hit (hover and selection need it)
    LIST_SEPARATOR = 0x02,   // a line above the first row and below every row
    LIST_MULTISELECT = 0x04, // a click selects without clearing other selections
    LIST_BORDER = 0x08,      // a 1-pixel frame
    LIST_SELECT = 0x10,      // clicks select, and selected rows are filled
  };
  enum { ROW_NORMAL = 0, ROW_HOVER = 1, ROW_SELECTED = 2, ROW_FOURTH = 3 };
  enum : COLORREF {
    kLineColor = 0xEEEEEE,  // border and separators
    kNoColor = CLR_INVALID,  // background colour -1: none
  };

  CXList();
  ~CXList() override;

  // CXBaseUI
  LRESULT MessageHandle(MESSAGE_EVENT* event) override;
  void DoPaint(HDC dc) override;
  // The base layout, then the last column takes the width the others leave.
  void Relayout() override;
  DWORD XUI_GetStyle() override;  // the stored style with 0x10: every move counts
  const wchar_t* XUI_GetClassName() override;
  // "style", "itemheight", "itemcolorid", "column", "bkcolorid", "item", "bktransparent";
  // other names go to CXBaseUI.
  BOOL XUI_SetAttribute(const wchar_t* name, const wchar_t* value) override;

  // Columns.
  void InsertColumn(int width, const CString& name);
  int GetColumnCount() const { return static_cast<int>(m_columns.size()); }
  COLUMN_DATA* GetColumn(int index);

  // Rows and cells. InsertItem appends a row (nothing without a column) and gives its first
  // cell the text; the new row's index, or -1. Texts are cut to 259 characters.
  int InsertItem(const CString& text, int reserved = 0);
  int GetRowCount() const { return static_cast<int>(m_rows.size()); }
  ROW_DATA* GetRow(int index);
  // Replace a cell's text and image (-1 without an icon or image list). An icon gets one
  // image-list entry however many cells show it: the first SetItem with a handle appends it,
  // later ones reuse its index. An image object's bitmap is appended each time. Out of range
  // does nothing.
  void SetItem(int row, int column, const CString& text, HICON icon);
  void SetItem(int row, int column, const CString& text, ITessaly* image);
  void SetItem(int row, int column, const CString& text);  // no image
  // The cell's record, writable until its row is deleted (null when out of range or out of
  // memory). GetItemText reads a cell's text without it (null when out of range).
  tagITEM_DATA* GetItem(int row, int column);
  const wchar_t* GetItemText(int row, int column) const;
  int GetItemImage(int row, int column) const;  // -1 for none or out of range
  void SetItemData(int row, DWORD data);
  DWORD GetItemData(int row) const;
  // Removes the row; a view scrolled past the new end moves up to it.
  void DeleteRow(int row);
  // The first selected row at or after start, else -1.
  int GetSelectRow(int start = 0) const;
  // The row under a client point (-1 for none, and always -1 without LIST_HITTEST); also
  // stored in row. Allocates nothing.
  int HitTest(const CPoint* point, int& row, int reserved = 0);

  // Appearance.
  void SetImageList(HIMAGELIST images);  // never destroyed here
  HIMAGELIST GetImageList() const { return m_hImageList; }
  void SetColor(COLORREF normal, COLORREF hover, COLORREF selected);
  void SetFourthColor(COLORREF color) { m_colors[ROW_FOURTH] = color; }
  COLORREF GetStateColor(int state) const;  // 0xFFFFFF outside 0..3
  void SetItemHeight(int height);  // for rows inserted later; negative counts as 0
  int GetItemHeight() const { return m_itemHeight; }
  void SetListStyle(DWORD style) { m_listStyle = style; }
  DWORD GetListStyle() const { return m_listStyle; }
  void SetBackColor(COLORREF color) { m_backColor = color; }  // kNoColor: no background
  COLORREF GetBackColor() const { return m_backColor; }
  void SetBackAlpha(BYTE alpha) { m_backAlpha = alpha; }
  BYTE GetBackAlpha() const { return m_backAlpha; }
  int GetHoverRow() const { return m_hoverRow; }
  // Content pixels one wheel notch scrolls (attribute "wheelstep": pixels, or "system" for the
  // system's wheel lines times the item height, read at each notch; default 10).
  void SetWheelStep(int pixels);
  void SetWheelStepFollowsSystem() { m_bWheelFollowsSystem = true; }
  int GetWheelStep();
  // The hint drawn in the middle of a list without rows (attribute "emptytext"), in the font
  // and colour of font id "emptyfontid" (default: the font of state 0).
  void SetEmptyText(const CString& text) { m_emptyText = text; }
  const CString& GetEmptyText() const { return m_emptyText; }
  // Rows whose first cell holds a path show it as two lines (attribute "twoline"): the item's
  // name, and below it the folder it lies in, in the font of font id "folderfontid" (default:
  // the row's own); the full path is the row's tooltip. The cell's text stays the path. Off,
  // rows draw their text as one line.
  void SetTwoLine(bool on) { m_bTwoLine = on; }
  bool IsTwoLine() const { return m_bTwoLine; }
  void SetFolderFontId(int id) { m_folderFontId = id; }

  // CXBaseUI: with two-line rows, the hovered row's full path and that row's rectangle.
  CString GetTooltip() override;
  CRect GetTooltipArea() override;

  // Scrolling.
  int GetRealListHeight();  // sum of all row heights
  int HasScrollbar();       // 1 when the rows are taller than the list
  int GetBias();            // the scroll offset: the visible scrollbar's position, else 0
  void SetBias(int bias);   // refused outside 0 .. range - page or without a visible scrollbar
  // Shows the scrollbar with page = list height and range = row height when the rows do
  // not fit; hides it (and puts its position back to 0) otherwise.
  void RecalcScrollbar();
  CXScrollbar* GetScrollbar();

  // Mouse handlers, points in client coordinates of the host window.
  virtual void OnLButtonDown(WPARAM wParam, LPARAM lParam);
  virtual void OnLButtonUp(WPARAM wParam, LPARAM lParam);
  virtual void OnRButtonUp(WPARAM wParam, LPARAM lParam);
  virtual void OnMouseMove(WPARAM wParam, LPARAM lParam);
  virtual void OnMouseLeave(WPARAM wParam, LPARAM lParam);
  virtual void OnMouseWheel(WPARAM wParam, LPARAM lParam);

 private:
  const CXRowLayout& Layout();
  int IconImage(HICON icon);
  int AppendImage(HBITMAP bitmap);
  void PaintBackground(HDC dc, const CRect& rect);
  void PaintEmptyText(HDC dc, const CRect& content);
  void PaintRow(HDC dc, int index, const CRect& rowRect, int iconWidth, int iconHeight, int imageCount);
  // A cell as the list keeps it: its text at its own length, the fixed record of GetItem
  // made only for the cells a caller asks for (it then holds the cell's text and image).
  struct CELL {
    int image = -1;
    std::wstring text;
    std::unique_ptr<tagITEM_DATA> record;
    int Image() const { return record ? record->image : image; }
    const wchar_t* Text() const { return record ? record->text : text.c_str(); }
    void Set(const CString& value, int imageIndex);
  };
  const CELL* Cell(int row, int column) const;
  void PaintCell(HDC dc, const CELL& cell, CRect cellRect, int state, int iconWidth, int iconHeight,
                 int imageCount, bool pathLines);
  void PaintPathLines(HDC dc, const wchar_t* path, const CRect& textRect, int state);
  void Click(WPARAM wParam, LPARAM lParam, BOOL left);

  int m_itemHeight = 20;
  std::vector<COLUMN_DATA> m_columns;
  std::vector<ROW_DATA> m_rows;
  std::vector<std::vector<CELL>> m_cells;
  COLORREF m_colors[4] = {0xFFFFFF, 0xFFFFFF, 0xFFFFFF, 0xFFFFFF};
  DWORD m_listStyle = LIST_HITTEST;
  HIMAGELIST m_hImageList = nullptr;
  // The image-list index of every icon handle appended to m_hImageList.
  std::unordered_map<HICON, int> m_iconImages;
  int m_hoverRow = -1;
  COLORREF m_backColor = kNoColor;
  BYTE m_backAlpha = 255;
  int m_wheelStep = 10;
  bool m_bWheelFollowsSystem = false;
  CString m_emptyText;
  int m_emptyFontId = -1;  // -1: the font of state 0
  bool m_bTwoLine = false;
  int m_folderFontId = -1;  // -1: the row's own font

  CXRowLayout m_layout;
  // GetRow hands out writable rows (heights included): the layout is rebuilt before its next use.
  bool m_bRowsExposed = false;
};
