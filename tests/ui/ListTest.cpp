// The list's data and behaviour: rows, cells and columns, attributes (directly and from a
// template), the last column's width, hit testing, hover, selection, click messages, wheel
// scrolling and the offset correction of DeleteRow, all through the real Wendora.dll, and a
// list inside a real skinned window.
#include <gtest/gtest.h>

#include <string>

#include "CanvasTestUtil.h"
#include "ListTestUtil.h"
#include "PictureBytes.h"
#include "TessalyTestUtil.h"
#include "XContainer.h"
#include "XEasyWnd.h"
#include "XSkinTables.h"
#include "XSkinTemplate.h"
#include "XUIClassTable.h"

using uitest::HostedList;

namespace {

TEST(ListData, RowsCellsAndColumns) {
  CXList list;
  // No column, no rows.
  EXPECT_EQ(list.InsertItem(L"lost"), -1);
  EXPECT_EQ(list.GetRowCount(), 0);

  list.InsertColumn(120, L"path");
  list.InsertColumn(40, L"size");
  EXPECT_EQ(list.GetColumnCount(), 2);
  ASSERT_NE(list.GetColumn(1), nullptr);
  EXPECT_EQ(list.GetColumn(1)->width, 40);
  EXPECT_EQ(list.GetColumn(1)->name, L"size");
  EXPECT_EQ(list.GetColumn(2), nullptr);
  EXPECT_EQ(list.GetColumn(-1), nullptr);

  EXPECT_EQ(list.InsertItem(L"first", 99), 0);
  list.SetItemHeight(32);
  EXPECT_EQ(list.InsertItem(L"second"), 1);
  ROW_DATA* row = list.GetRow(0);
  ASSERT_NE(row, nullptr);
  EXPECT_EQ(row->height, 20);
  EXPECT_EQ(row->state, 0);
  EXPECT_EQ(row->data, 0u);
  EXPECT_EQ(list.GetRow(1)->height, 32);  // the height at insertion
  EXPECT_EQ(list.GetRow(2), nullptr);
  EXPECT_EQ(list.GetRealListHeight(), 52);

  tagITEM_DATA* cell = list.GetItem(0, 0);
  ASSERT_NE(cell, nullptr);
  EXPECT_STREQ(cell->text, L"first");
  EXPECT_EQ(cell->image, -1);
  ASSERT_NE(list.GetItem(0, 1), nullptr);
  EXPECT_STREQ(list.GetItem(0, 1)->text, L"");
  EXPECT_EQ(list.GetItem(0, 1)->image, -1);  // an empty cell draws no icon
  EXPECT_EQ(list.GetItem(0, 2), nullptr);
  EXPECT_EQ(list.GetItem(-1, 0), nullptr);

  // A later column does not reach rows that exist already.
  list.InsertColumn(10, L"late");
  EXPECT_EQ(list.GetItem(1, 2), nullptr);
  list.InsertItem(L"third");
  EXPECT_NE(list.GetItem(2, 2), nullptr);

  // Texts are cut to 259 characters and terminated.
  list.SetItem(0, 1, CString(L'x', 400));
  EXPECT_EQ(wcslen(list.GetItem(0, 1)->text), 259u);
  list.InsertItem(CString(L'y', 300));
  EXPECT_EQ(wcslen(list.GetItem(3, 0)->text), 259u);

  // Out of range: setters do nothing, getters answer 0.
  list.SetItem(9, 0, L"nowhere");
  list.SetItem(0, 7, L"nowhere");
  list.SetItemData(1, 0xDEADBEEF);
  list.SetItemData(9, 5);
  EXPECT_EQ(list.GetItemData(1), 0xDEADBEEFu);
  EXPECT_EQ(list.GetItemData(9), 0u);
  EXPECT_EQ(list.GetItemData(-1), 0u);

  // Selection lookup and deletion keep rows and cells together.
  list.GetRow(1)->state = CXList::ROW_SELECTED;
  list.GetRow(3)->state = CXList::ROW_SELECTED;
  EXPECT_EQ(list.GetSelectRow(), 1);
  EXPECT_EQ(list.GetSelectRow(2), 3);
  EXPECT_EQ(list.GetSelectRow(4), -1);
  list.DeleteRow(-1);
  list.DeleteRow(4);
  EXPECT_EQ(list.GetRowCount(), 4);
  list.DeleteRow(0);
  EXPECT_EQ(list.GetRowCount(), 3);
  EXPECT_STREQ(list.GetItem(0, 0)->text, L"second");
  EXPECT_EQ(list.GetItemData(0), 0xDEADBEEFu);
  EXPECT_EQ(list.GetRealListHeight(), 32 + 32 + 32);
}

TEST(ListData, IconsGoToTheCallersImageListOncePerIconWhichOutlivesTheList) {
  HIMAGELIST images = ImageList_Create(16, 16, ILC_COLOR32 | ILC_MASK, 4, 4);
  HIMAGELIST other = ImageList_Create(16, 16, ILC_COLOR32 | ILC_MASK, 4, 4);
  ASSERT_NE(images, nullptr);
  ASSERT_NE(other, nullptr);
  xtest::SolidIcon red(16, RGB(255, 0, 0)), blue(16, RGB(0, 0, 255));
  HICON icon = red.Get();
  {
    CXList list;
    list.InsertColumn(100, L"c");
    for (int i = 0; i < 4; ++i) list.InsertItem(L"row");
    list.SetItem(0, 0, L"no list yet", icon);
    EXPECT_EQ(list.GetItem(0, 0)->image, -1);
    list.SetImageList(images);
    list.SetItem(0, 0, L"with icon", icon);
    list.SetItem(1, 0, L"with icon too", icon);
    list.SetItem(2, 0, L"another icon", blue.Get());
    list.SetItem(3, 0, L"the first again", icon);
    // One entry per icon, shared by the rows that show it.
    EXPECT_EQ(list.GetItem(0, 0)->image, 0);
    EXPECT_EQ(list.GetItem(1, 0)->image, 0);
    EXPECT_EQ(list.GetItem(2, 0)->image, 1);
    EXPECT_EQ(list.GetItem(3, 0)->image, 0);
    EXPECT_STREQ(list.GetItem(1, 0)->text, L"with icon too");
    EXPECT_EQ(ImageList_GetImageCount(images), 2);
    list.SetItem(1, 0, L"no icon", static_cast<HICON>(nullptr));
    EXPECT_EQ(list.GetItem(1, 0)->image, -1);

    // Entries the owner removed are appended again rather than named by a stale index.
    ASSERT_TRUE(ImageList_Remove(images, -1));
    list.SetItem(2, 0, L"blue again", blue.Get());
    EXPECT_EQ(list.GetItem(2, 0)->image, 0);
    EXPECT_EQ(ImageList_GetImageCount(images), 1);
    // Another image list starts its own entries.
    list.SetImageList(other);
    list.SetItem(0, 0, L"other list", blue.Get());
    EXPECT_EQ(list.GetItem(0, 0)->image, 0);
    EXPECT_EQ(ImageList_GetImageCount(other), 1);
  }
  // Icons are appended and stay; the list destroyed nothing of the caller's.
  EXPECT_EQ(ImageList_GetImageCount(images), 1);
  EXPECT_TRUE(ImageList_Destroy(images));
  EXPECT_TRUE(ImageList_Destroy(other));
}

TEST(ListData, ImageObjectsGiveTheirBitmapScaledToOneImage) {
  tessalytest::TessalyLib lib;
  ASSERT_NE(lib.Factory(), nullptr);
  // 16 x 16: opaque green with a half-transparent red bottom half; 32 x 32: opaque blue.
  std::vector<uint32_t> small(16 * 16, 0xFF00C000u), large(32 * 32, 0xFF0000FFu);
  for (size_t i = 8 * 16; i < small.size(); ++i) small[i] = 0x80FF0000u;
  CXComPtr<ITessaly> fits = lib.Image(xtest::MakePng(16, 16, small));
  CXComPtr<ITessaly> larger = lib.Image(xtest::MakePng(32, 32, large));
  CXComPtr<ITessaly> empty = lib.Image(std::string("not a picture"));
  ASSERT_TRUE(fits && larger && empty);
  ASSERT_EQ(empty->HasBitmap(), 0);

  HIMAGELIST images = ImageList_Create(16, 16, ILC_COLOR32, 4, 4);
  {
    CXList list;
    list.XUI_SetRect(CRect(0, 0, 100, 62));
    list.InsertColumn(100, L"c");
    for (int i = 0; i < 3; ++i) list.InsertItem(L"");
    list.SetItem(0, 0, L"before the image list", fits.Get());
    EXPECT_EQ(list.GetItem(0, 0)->image, -1);
    list.SetImageList(images);
    list.SetItem(0, 0, L"", fits.Get());
    list.SetItem(1, 0, L"", larger.Get());
    list.SetItem(2, 0, L"nothing", empty.Get());
    EXPECT_EQ(list.GetItem(0, 0)->image, 0);
    EXPECT_EQ(list.GetItem(1, 0)->image, 1);
    EXPECT_EQ(list.GetItem(2, 0)->image, -1);
    EXPECT_STREQ(list.GetItem(2, 0)->text, L"nothing");
    list.SetItem(2, 0, L"", static_cast<ITessaly*>(nullptr));
    EXPECT_EQ(list.GetItem(2, 0)->image, -1);
    EXPECT_EQ(ImageList_GetImageCount(images), 2);

    uitest::Canvas canvas(100, 62);
    list.DoPaint(canvas.Dc());
    // Icons at (3, 3) and (3, 23), 16 x 16; the translucent half is blended over white.
    EXPECT_EQ(canvas.CountNot(0x00C000, RECT{3, 3, 19, 11}), 0);
    const DWORD blended = canvas.At(10, 15);
    EXPECT_EQ(blended >> 16, 0xFFu);
    EXPECT_NEAR(static_cast<int>((blended >> 8) & 0xFF), 127, 3);
    EXPECT_EQ(canvas.CountNot(blended, RECT{3, 11, 19, 19}), 0);
    EXPECT_EQ(canvas.CountNot(0x0000FF, RECT{3, 23, 19, 39}), 0);
    EXPECT_EQ(canvas.CountNot(0xFFFFFF, RECT{19, 21, 100, 41}), 0);
  }
  ImageList_Destroy(images);
}

TEST(ListData, AttributesAndClassNames) {
  CXColorTable::Instance().Set(7001, RGB(1, 2, 3), L"");
  CXColorTable::Instance().Set(7002, RGB(4, 5, 6), L"");
  CXColorTable::Instance().Set(7003, RGB(7, 8, 9), L"");
  CXList list;
  EXPECT_STREQ(list.XUI_GetClassName(), L"XLIST");
  EXPECT_EQ(list.GetListStyle(), 1u);
  EXPECT_EQ(list.XUI_GetStyle() & 0x10, 0x10u);
  list.XUI_SetVisible(FALSE);
  EXPECT_EQ(list.XUI_GetStyle(), 0x12u);

  EXPECT_TRUE(list.XUI_SetAttribute(L"Style", L"27"));
  EXPECT_EQ(list.GetListStyle(), 27u);
  EXPECT_TRUE(list.XUI_SetAttribute(L"itemheight", L" 24"));
  EXPECT_EQ(list.GetItemHeight(), 24);
  EXPECT_TRUE(list.XUI_SetAttribute(L"itemcolorid", L"7001, 7002,7003,7002"));
  EXPECT_EQ(list.GetStateColor(0), RGB(1, 2, 3));
  EXPECT_EQ(list.GetStateColor(1), RGB(4, 5, 6));
  EXPECT_EQ(list.GetStateColor(2), RGB(7, 8, 9));
  EXPECT_EQ(list.GetStateColor(3), 0xFFFFFFu);  // further ids are ignored
  EXPECT_TRUE(list.XUI_SetAttribute(L"itemcolorid", L"7003,424242"));
  EXPECT_EQ(list.GetStateColor(0), RGB(7, 8, 9));
  EXPECT_EQ(list.GetStateColor(1), 0xFFFFFFu);  // not in the colour table
  EXPECT_EQ(list.GetStateColor(2), RGB(7, 8, 9));
  EXPECT_EQ(list.GetBackColor(), CXList::kNoColor);
  EXPECT_TRUE(list.XUI_SetAttribute(L"bkcolorid", L"7002"));
  EXPECT_EQ(list.GetBackColor(), RGB(4, 5, 6));
  EXPECT_TRUE(list.XUI_SetAttribute(L"bkcolorid", L"424242"));
  EXPECT_EQ(list.GetBackColor(), 0xFFFFFFu);
  EXPECT_TRUE(list.XUI_SetAttribute(L"bktransparent", L"128"));
  EXPECT_EQ(list.GetBackAlpha(), 128);
  EXPECT_TRUE(list.XUI_SetAttribute(L"bktransparent", L"300"));
  EXPECT_EQ(list.GetBackAlpha(), 255);

  // "column" is name,width; "item" with column 0 appends, with another column sets a cell.
  EXPECT_TRUE(list.XUI_SetAttribute(L"column", L"Path,120"));
  EXPECT_TRUE(list.XUI_SetAttribute(L"column", L"Size, bytes,60"));
  EXPECT_EQ(list.GetColumn(0)->width, 120);
  EXPECT_EQ(list.GetColumn(1)->name, L"Size, bytes");
  EXPECT_EQ(list.GetColumn(1)->width, 60);
  EXPECT_TRUE(list.XUI_SetAttribute(L"item", L"0,0,abc"));
  EXPECT_TRUE(list.XUI_SetAttribute(L"item", L"5,0,def"));  // the row is ignored
  EXPECT_EQ(list.GetRowCount(), 2);
  EXPECT_STREQ(list.GetItem(1, 0)->text, L"def");
  EXPECT_EQ(list.GetRow(1)->height, 24);
  EXPECT_TRUE(list.XUI_SetAttribute(L"ITEM", L"0,1,x, y"));
  EXPECT_EQ(list.GetRowCount(), 2);
  EXPECT_STREQ(list.GetItem(0, 1)->text, L"x, y");
  EXPECT_EQ(list.GetItem(0, 1)->image, -1);
  EXPECT_TRUE(list.XUI_SetAttribute(L"item", L"9,1,nowhere"));
  EXPECT_EQ(list.GetRowCount(), 2);

  // The base attributes still apply; unknown names are refused.
  EXPECT_TRUE(list.XUI_SetAttribute(L"fontid", L"1,2,3,4"));
  EXPECT_EQ(list.GetFontID(2), 3);
  EXPECT_FALSE(list.XUI_SetAttribute(L"rect", L"1,2,3,4"));

  struct {
    const wchar_t* name;
    const wchar_t* className;
  } classes[] = {{L"List", L"XLIST"},
                 {L"scrollbar", L"XBASEUI"},
                 {L"container", L"XCONTAINER"},
                 {L"SCROLLCONTAINER", L"XSCROLLCONTAINER"}};
  for (const auto& c : classes) {
    IXUIObject* made = CXUIClassTable::Create(c.name);
    SCOPED_TRACE(std::string(c.className, c.className + wcslen(c.className)));
    ASSERT_NE(made, nullptr);
    EXPECT_STREQ(made->XUI_GetClassName(), c.className);
    EXPECT_EQ(made->XUI_GetStyle() & 0x10, 0x10u);
    XDestroyUIObject(made);
  }
  IXUIObject* bar = CXUIClassTable::Create(L"scrollbar");
  EXPECT_NE(dynamic_cast<CXScrollbar*>(bar), nullptr);
  XDestroyUIObject(bar);
}

TEST(ListData, TemplateBuildsAListWithItsScrollbarInAContainer) {
  const std::string xml =
      "<View class=\"container\" id=\"list.container\">"
      "  <rect>0,0,200,100</rect>"
      "  <View class=\"list\" id=\"list\">"
      "    <rect>5,5,150,40</rect>"
      "    <style>17</style>"
      "    <column>Path,100</column>"
      "    <column>Count,30</column>"
      "    <item>0,0,C:\\Windows</item>"
      "    <item>0,1,seven</item>"
      "    <item>0,0,D:\\data, old</item>"
      "    <View class=\"scrollbar\" id=\"list.scrollbar\">"
      "      <relayout rect=\"0,0,8,40\" margin=\"0,0,0,0\" alignment=\"SR\"/>"
      "    </View>"
      "  </View>"
      "</View>";
  IXUIObject* root = uitest::BuildTemplate(xml);
  ASSERT_NE(root, nullptr);  // a complete template
  ASSERT_NE(dynamic_cast<CXContainer*>(root), nullptr);
  auto* list = dynamic_cast<CXList*>(root->XUI_GetChild(L"list"));
  ASSERT_NE(list, nullptr);
  EXPECT_EQ(list->GetListStyle(), 17u);
  EXPECT_EQ(list->XUI_GetRect(), CRect(5, 5, 155, 45));
  ASSERT_EQ(list->GetRowCount(), 2);
  EXPECT_STREQ(list->GetItem(0, 0)->text, L"C:\\Windows");
  EXPECT_STREQ(list->GetItem(0, 1)->text, L"seven");
  EXPECT_STREQ(list->GetItem(1, 0)->text, L"D:\\data, old");
  ASSERT_NE(list->GetScrollbar(), nullptr);

  // The first paint lays the scrollbar out along the list's right edge and shows it.
  uitest::Canvas canvas(200, 100);
  dynamic_cast<CXContainer*>(root)->DoPaint(canvas.Dc());
  EXPECT_EQ(list->GetScrollbar()->XUI_GetRect(), CRect(147, 5, 155, 45));
  EXPECT_EQ(list->GetColumn(1)->width, 150 - 100);  // the last column fills the width
  EXPECT_FALSE(list->GetScrollbar()->XUI_IsVisible());  // 40 px of rows in 40 px
  list->InsertItem(L"third");
  list->DoPaint(canvas.Dc());
  EXPECT_TRUE(list->GetScrollbar()->XUI_IsVisible());
  XDestroyUIObject(root);
}

TEST(ListData, TheLastColumnFillsTheWidthTheOthersLeave) {
  CXList list;
  list.XUI_SetRect(CRect(0, 0, 300, 100));
  list.Relayout();  // no columns: nothing to do
  list.InsertColumn(50, L"a");
  list.Relayout();
  EXPECT_EQ(list.GetColumn(0)->width, 300);
  list.InsertColumn(60, L"b");
  list.InsertColumn(10, L"c");
  list.Relayout();
  EXPECT_EQ(list.GetColumn(0)->width, 300);
  EXPECT_EQ(list.GetColumn(1)->width, 60);
  EXPECT_EQ(list.GetColumn(2)->width, 0);  // the others take more than the width

  // With a layout rule the width is the laid-out one, whenever Relayout runs.
  uitest::WindowProbe parent(L"wnd");
  parent.XUI_SetRect(CRect(0, 0, 500, 400));
  list.XUI_SetParent(&parent);
  list.GetColumn(0)->width = 100;
  CXRelayOut* rule = list.GetRelayoutPtr();
  rule->SetAlignment(L"SS");
  rule->SetMargin(CRect(10, 10, 10, 10));
  rule->SetEnable(1);
  list.NeedRelayout(TRUE);
  list.Relayout();
  EXPECT_EQ(list.XUI_GetRect(), CRect(10, 10, 490, 390));
  EXPECT_EQ(list.GetColumn(2)->width, 480 - 100 - 60);
  list.XUI_SetRect(CRect(0, 0, 200, 50));
  list.Relayout();  // the rule is not applied again, the columns are
  EXPECT_EQ(list.GetColumn(2)->width, 200 - 160);
  list.XUI_SetParent(nullptr);
}

TEST(ListMouse, WithoutStyle01NoRowIsEverHitHoveredOrSelected) {
  HostedList h(CRect(10, 10, 210, 110));
  h.Fill(3);
  h.list->SetListStyle(0x10 | 0x04);
  CPoint p(50, 15);
  int row = 7;
  EXPECT_EQ(h.list->HitTest(&p, row), -1);
  EXPECT_EQ(row, -1);
  h.Mouse(WM_MOUSEMOVE, 50, 15);
  h.Mouse(WM_LBUTTONDOWN, 50, 15);
  h.Mouse(WM_MOUSEMOVE, 50, 35);
  for (int i = 0; i < 3; ++i) EXPECT_EQ(h.State(i), 0);
  EXPECT_EQ(h.list->GetHoverRow(), -1);
}

TEST(ListMouse, HitTestFindsTheRowBandsInsideTheListOnly) {
  HostedList h(CRect(10, 10, 210, 50));  // 40 px high, scrollbar at x 200..209
  h.Fill(2);
  int row = 0;
  CPoint p(50, 10);
  EXPECT_EQ(h.list->HitTest(&p, row), 0);
  p = CPoint(50, 29);
  EXPECT_EQ(h.list->HitTest(&p, row), 0);
  p = CPoint(50, 30);
  EXPECT_EQ(h.list->HitTest(&p, row), 1);
  EXPECT_EQ(row, 1);
  p = CPoint(205, 30);  // rows fit: the scrollbar's column counts
  EXPECT_EQ(h.list->HitTest(&p, row), 1);
  p = CPoint(5, 30);
  EXPECT_EQ(h.list->HitTest(&p, row), -1);
  EXPECT_EQ(h.list->HitTest(nullptr, row), -1);

  // Taller rows: the scrollbar's column is cut off, and the bias moves the bands up.
  h.Fill(2);
  h.list->RecalcScrollbar();
  p = CPoint(205, 30);
  EXPECT_EQ(h.list->HitTest(&p, row), -1);
  p = CPoint(199, 30);
  EXPECT_EQ(h.list->HitTest(&p, row), 1);
  h.list->SetBias(15);
  EXPECT_EQ(h.list->GetBias(), 15);
  p = CPoint(50, 10);
  EXPECT_EQ(h.list->HitTest(&p, row), 0);
  p = CPoint(50, 15);
  EXPECT_EQ(h.list->HitTest(&p, row), 1);
  p = CPoint(50, 49);
  EXPECT_EQ(h.list->HitTest(&p, row), 2);
  p = CPoint(50, 50);  // row 2 goes on below the list, but cannot be hit there
  EXPECT_EQ(h.list->HitTest(&p, row), -1);

  // A height written through GetRow is seen by the next hit test.
  h.list->GetRow(0)->height = 40;
  p = CPoint(50, 30);  // offset 35 is now inside row 0
  EXPECT_EQ(h.list->HitTest(&p, row), 0);
}

TEST(ListMouse, HoverFollowsTheMouseAndLeavesSelectedRowsAlone) {
  HostedList h(CRect(10, 10, 210, 110));
  h.Fill(3);
  h.list->GetRow(2)->state = CXList::ROW_SELECTED;
  h.Mouse(WM_MOUSEMOVE, 50, 15);
  EXPECT_EQ(h.State(0), 1);
  EXPECT_EQ(h.list->GetHoverRow(), 0);
  h.Mouse(WM_MOUSEMOVE, 60, 16);  // the same row: nothing changes
  EXPECT_EQ(h.State(0), 1);
  h.Mouse(WM_MOUSEMOVE, 50, 35);
  EXPECT_EQ(h.State(0), 0);
  EXPECT_EQ(h.State(1), 1);
  h.Mouse(WM_MOUSEMOVE, 50, 55);
  EXPECT_EQ(h.State(1), 0);
  EXPECT_EQ(h.State(2), 2);
  EXPECT_EQ(h.list->GetHoverRow(), 2);
  h.Mouse(WM_MOUSEMOVE, 50, 35);
  EXPECT_EQ(h.State(2), 2);
  EXPECT_EQ(h.State(1), 1);
  h.Mouse(WM_MOUSEMOVE, 50, 95);  // below the rows
  EXPECT_EQ(h.State(1), 0);
  EXPECT_EQ(h.list->GetHoverRow(), -1);
  h.Mouse(WM_MOUSEMOVE, 50, 15);
  EXPECT_EQ(h.State(0), 1);
  // Leaving the list (the window's child list reports it) clears the hover.
  h.Mouse(WM_MOUSEMOVE, 250, 150);
  EXPECT_EQ(h.State(0), 0);
  EXPECT_EQ(h.list->GetHoverRow(), -1);

  // Deleting the hovered row forgets it; a row above it shifts the index.
  h.Mouse(WM_MOUSEMOVE, 50, 35);
  EXPECT_EQ(h.list->GetHoverRow(), 1);
  h.list->DeleteRow(0);
  EXPECT_EQ(h.list->GetHoverRow(), 0);
  h.list->DeleteRow(0);
  EXPECT_EQ(h.list->GetHoverRow(), -1);
}

// The text of a tooltip window's tool (the list's manager keeps one), empty when it has none.
std::wstring TooltipText(HWND tip) {
  TOOLINFOW info = {};
  info.cbSize = sizeof info;
  wchar_t text[MAX_PATH] = {0};
  info.lpszText = text;
  if (!tip || (!SendMessageW(tip, TTM_GETCURRENTTOOLW, 0, reinterpret_cast<LPARAM>(&info)) &&
               !SendMessageW(tip, TTM_ENUMTOOLSW, 0, reinterpret_cast<LPARAM>(&info))))
    return std::wstring();
  return text;
}

TEST(ListMouse, TwoLineRowsShowTheHoveredRowsPathAsTheTooltipUntilTheMouseLeavesThatRow) {
  HostedList h(CRect(10, 10, 210, 110));
  h.list->InsertColumn(200, L"path");
  h.list->InsertItem(L"C:\\Tools\\editor.exe");
  h.list->InsertItem(L"C:\\Links\\Notes.lnk");
  ShowWindow(h.host.Get(), SW_SHOWNOACTIVATE);
  CControlMgr* mgr = h.owner.XUI_GetControlMgr();
  // One-line rows carry no tooltip of their own.
  h.Mouse(WM_MOUSEMOVE, 50, 15);
  h.Mouse(WM_MOUSEHOVER, 50, 15);
  EXPECT_EQ(mgr->GetTooltipWnd(), nullptr);

  ASSERT_TRUE(h.list->XUI_SetAttribute(L"twoline", L"1"));
  h.Mouse(WM_MOUSEHOVER, 50, 15);
  HWND tip = mgr->GetTooltipWnd();
  ASSERT_NE(tip, nullptr);
  EXPECT_EQ(TooltipText(tip), L"C:\\Tools\\editor.exe");
  EXPECT_TRUE(IsWindowVisible(tip));
  // The host is at screen (100, 100); rows of 20 pixels start one pixel inside the list.
  EXPECT_EQ(h.list->GetTooltipArea(), CRect(110, 111, 310, 131));
  // The next row: the tooltip goes, and the next hover shows that row's path.
  h.Mouse(WM_MOUSEMOVE, 50, 35);
  EXPECT_FALSE(IsWindowVisible(tip));
  h.Mouse(WM_MOUSEHOVER, 50, 35);
  EXPECT_EQ(TooltipText(tip), L"C:\\Links\\Notes.lnk");
  EXPECT_TRUE(IsWindowVisible(tip));
  EXPECT_EQ(h.list->GetTooltipArea(), CRect(110, 131, 310, 151));
  // Below the rows there is nothing to tell.
  h.Mouse(WM_MOUSEMOVE, 50, 80);
  EXPECT_FALSE(IsWindowVisible(tip));
  EXPECT_TRUE(h.list->GetTooltip().IsEmpty());
}

TEST(ListMouse, SelectionRules) {
  HostedList h(CRect(10, 10, 210, 110));
  h.Fill(3);
  // Without 0x10 a click changes nothing.
  h.list->SetListStyle(0x01);
  h.Mouse(WM_LBUTTONDOWN, 50, 15);
  EXPECT_EQ(h.State(0), 0);

  // 0x11: one selection; a click on the selected row deselects it.
  h.list->SetListStyle(0x11);
  h.Mouse(WM_LBUTTONDOWN, 50, 15);
  EXPECT_EQ(h.State(0), 2);
  h.Mouse(WM_LBUTTONDOWN, 50, 35);
  EXPECT_EQ(h.State(0), 0);
  EXPECT_EQ(h.State(1), 2);
  h.list->GetRow(2)->state = 2;  // a caller's selection is cleared too
  h.Mouse(WM_LBUTTONDOWN, 50, 15);
  EXPECT_EQ(h.State(0), 2);
  EXPECT_EQ(h.State(1), 0);
  EXPECT_EQ(h.State(2), 0);
  h.Mouse(WM_LBUTTONDOWN, 50, 15);
  EXPECT_EQ(h.State(0), 0);
  EXPECT_EQ(h.list->GetSelectRow(), -1);

  // 0x15: several selections.
  h.list->SetListStyle(0x15);
  h.Mouse(WM_LBUTTONDOWN, 50, 15);
  h.Mouse(WM_LBUTTONDOWN, 50, 55);
  EXPECT_EQ(h.State(0), 2);
  EXPECT_EQ(h.State(2), 2);
  h.Mouse(WM_LBUTTONDOWN, 50, 55);
  EXPECT_EQ(h.State(2), 0);
  EXPECT_EQ(h.State(0), 2);
  h.Mouse(WM_LBUTTONDOWN, 50, 95);  // no row: nothing
  EXPECT_EQ(h.State(0), 2);
}

TEST(ListMouse, ReleasesPostTheClickMessagesToTheWindow) {
  HostedList h(CRect(10, 10, 210, 110));
  h.Fill(2);
  h.Mouse(WM_LBUTTONUP, 50, 15, MK_SHIFT);
  std::vector<MSG> posted = h.host.TakePosted();
  ASSERT_EQ(posted.size(), 1u);
  EXPECT_EQ(posted[0].message, 494u);
  EXPECT_EQ(posted[0].wParam, static_cast<WPARAM>(MK_SHIFT));
  EXPECT_EQ(posted[0].lParam, MAKELPARAM(50, 15));

  h.list->SetID(L"7");
  h.Mouse(WM_RBUTTONUP, 60, 95);  // below the rows still counts
  posted = h.host.TakePosted();
  ASSERT_EQ(posted.size(), 2u);
  EXPECT_EQ(posted[0].message, static_cast<UINT>(WM_COMMAND));
  EXPECT_EQ(posted[0].wParam, 7u);
  EXPECT_EQ(posted[1].message, 495u);
  EXPECT_EQ(posted[1].lParam, MAKELPARAM(60, 95));
}

TEST(ListScroll, ThreeRowsInFortyPixels) {
  HostedList h(CRect(10, 10, 210, 50));
  h.Fill(3);
  EXPECT_EQ(h.list->HasScrollbar(), 1);
  h.list->RecalcScrollbar();
  ASSERT_TRUE(h.bar->XUI_IsVisible());
  EXPECT_EQ(h.bar->GetPage(), 40);
  EXPECT_EQ(h.bar->GetRange(), 60);
  EXPECT_EQ(h.bar->GetScrollbarRect(), CRect(200, 10, 210, 10 + 40 * 2 / 3));

  h.Wheel(-120, 50, 20);  // one notch toward the user
  EXPECT_EQ(h.list->GetBias(), 10);
  EXPECT_EQ(h.bar->GetScrollbarRect().top, 10 + 10 * 14 / 20);
  h.Wheel(-60, 50, 20);  // less than a notch: nothing
  EXPECT_EQ(h.list->GetBias(), 10);
  h.Wheel(-120, 205, 20);  // over the scrollbar the list still scrolls
  EXPECT_EQ(h.list->GetBias(), 20);
  EXPECT_EQ(h.bar->GetScrollbarRect().bottom, 50);
  h.Wheel(-120, 50, 20);
  EXPECT_EQ(h.list->GetBias(), 20);
  h.Wheel(120, 50, 20);
  EXPECT_EQ(h.list->GetBias(), 10);
  h.Wheel(360, 50, 20);
  EXPECT_EQ(h.list->GetBias(), 0);

  // A range that is no multiple of ten is still reached at both ends.
  h.list->GetRow(2)->height = 25;
  h.list->RecalcScrollbar();
  EXPECT_EQ(h.bar->GetRange(), 65);
  h.Wheel(-360, 50, 20);
  EXPECT_EQ(h.list->GetBias(), 25);

  // Bias: refused outside 0 .. range - page; a disabled scrollbar takes no wheel.
  h.list->SetBias(26);
  EXPECT_EQ(h.list->GetBias(), 25);
  h.list->SetBias(-1);
  EXPECT_EQ(h.list->GetBias(), 25);
  h.list->SetBias(3);
  EXPECT_EQ(h.list->GetBias(), 3);
  h.bar->XUI_SetEnable(FALSE);
  h.Wheel(-120, 50, 20);
  EXPECT_EQ(h.list->GetBias(), 3);
}

// The wheel step: 10 pixels by default, the skin's pixels, or the system's wheel lines of
// rows (read at each notch; "one screen at a time" is a page).
TEST(ListScroll, WheelStepFromTheSkinOrTheSystem) {
  UINT savedLines = 3;
  ASSERT_TRUE(SystemParametersInfoW(SPI_GETWHEELSCROLLLINES, 0, &savedLines, 0));
  HostedList h(CRect(10, 10, 210, 50));
  h.Fill(30);  // 600 px in 40
  h.list->RecalcScrollbar();
  EXPECT_EQ(h.list->GetWheelStep(), 10);
  ASSERT_EQ(h.list->XUI_SetAttribute(L"wheelstep", L"25"), 1);
  h.Wheel(-120, 50, 20);
  EXPECT_EQ(h.list->GetBias(), 25);

  ASSERT_EQ(h.list->XUI_SetAttribute(L"WheelStep", L"System"), 1);
  ASSERT_TRUE(SystemParametersInfoW(SPI_SETWHEELSCROLLLINES, 4, nullptr, 0));
  EXPECT_EQ(h.list->GetWheelStep(), 4 * 20);
  h.Wheel(-240, 50, 20);  // two notches of four rows of 20 px
  EXPECT_EQ(h.list->GetBias(), 25 + 160);
  ASSERT_TRUE(SystemParametersInfoW(SPI_SETWHEELSCROLLLINES, WHEEL_PAGESCROLL, nullptr, 0));
  EXPECT_EQ(h.list->GetWheelStep(), 40);
  h.Wheel(120, 50, 20);
  EXPECT_EQ(h.list->GetBias(), 145);
  SystemParametersInfoW(SPI_SETWHEELSCROLLLINES, savedLines, nullptr, 0);

  h.list->XUI_SetAttribute(L"wheelstep", L"-5");  // nothing below 0: the wheel stands still
  EXPECT_EQ(h.list->GetWheelStep(), 0);
  h.Wheel(-120, 50, 20);
  EXPECT_EQ(h.list->GetBias(), 145);
}

TEST(ListScroll, DeletingTheLastRowAtTheBottomMovesTheViewUp) {
  HostedList h(CRect(10, 10, 210, 50));
  h.Fill(5);  // 100 px in 40
  h.list->RecalcScrollbar();
  h.list->SetBias(60);
  ASSERT_EQ(h.list->GetBias(), 60);
  h.list->DeleteRow(4);
  EXPECT_EQ(h.list->GetBias(), 40);
  EXPECT_EQ(h.list->GetRealListHeight() - h.list->GetBias(), 40);  // the rows end at the bottom
  EXPECT_EQ(h.bar->GetRange(), 80);
  // Not at the bottom: the view stays.
  h.list->SetBias(10);
  h.list->DeleteRow(3);
  EXPECT_EQ(h.list->GetBias(), 10);
  // Rows that fit: no scrollbar, no offset.
  h.list->DeleteRow(0);
  EXPECT_FALSE(h.bar->XUI_IsVisible());
  EXPECT_EQ(h.list->GetBias(), 0);
  EXPECT_EQ(h.list->HasScrollbar(), 0);
  // Rows added again start from the top the user sees, not from the offset the list had
  // before its rows fitted.
  h.Fill(3);
  h.list->RecalcScrollbar();
  EXPECT_TRUE(h.bar->XUI_IsVisible());
  EXPECT_EQ(h.list->GetBias(), 0);
  // A list without a scrollbar has no offset at all.
  HostedList bare(CRect(10, 10, 210, 50), false);
  bare.Fill(5);
  bare.list->RecalcScrollbar();
  bare.list->SetBias(20);
  EXPECT_EQ(bare.list->GetBias(), 0);
  bare.list->DeleteRow(4);
  EXPECT_EQ(bare.list->GetBias(), 0);
}

TEST(ListScroll, DraggingTheThumbWithTheMouseCaptured) {
  HostedList h(CRect(10, 10, 210, 50));
  h.Fill(3);
  h.list->RecalcScrollbar();  // thumb 200,10 - 210,36; track 14 px for 20 content px
  h.Mouse(WM_MOUSEMOVE, 205, 40);
  EXPECT_EQ(h.bar->GetState(), CXScrollbar::STATE_HOVER);
  // A press on the track below the thumb does not page.
  h.Mouse(WM_LBUTTONDOWN, 205, 40);
  EXPECT_FALSE(h.bar->IsDragging());
  EXPECT_EQ(h.list->GetBias(), 0);
  h.Mouse(WM_LBUTTONUP, 205, 40);
  EXPECT_EQ(h.bar->GetState(), CXScrollbar::STATE_NORMAL);

  h.Mouse(WM_MOUSEMOVE, 205, 15);
  h.Mouse(WM_LBUTTONDOWN, 205, 15);
  EXPECT_TRUE(h.bar->IsDragging());
  EXPECT_EQ(h.bar->GetState(), CXScrollbar::STATE_PUSHED);
  EXPECT_TRUE(h.bar->XUI_IsCaptured());
  EXPECT_EQ(CXBaseUI::GetCapturedUI(), h.bar);
  // Seven track pixels are ten content pixels: the thumb stays under the mouse.
  h.Mouse(WM_MOUSEMOVE, 205, 22);
  EXPECT_EQ(h.list->GetBias(), 10);
  EXPECT_EQ(h.bar->GetScrollbarRect().top, 17);
  // Outside the list (and the window) the captured scrollbar still follows, up to the end.
  h.Mouse(WM_MOUSEMOVE, 400, 300);
  EXPECT_EQ(h.list->GetBias(), 20);
  h.Mouse(WM_MOUSEMOVE, 400, 18);
  EXPECT_EQ(h.list->GetBias(), 4);
  h.Mouse(WM_MOUSEMOVE, 205, -50);
  EXPECT_EQ(h.list->GetBias(), 0);
  EXPECT_EQ(h.State(0), 0);  // the list saw none of these moves
  h.Mouse(WM_LBUTTONUP, 400, 300);
  EXPECT_FALSE(h.bar->IsDragging());
  EXPECT_FALSE(h.bar->XUI_IsCaptured());
  EXPECT_EQ(CXBaseUI::GetCapturedUI(), nullptr);
  EXPECT_EQ(h.bar->GetState(), CXScrollbar::STATE_NORMAL);
  EXPECT_EQ(GetCapture(), nullptr);

  // The mouse going from the rows onto the scrollbar takes the hover off the rows.
  h.Mouse(WM_MOUSEMOVE, 50, 15);
  EXPECT_EQ(h.State(0), 1);
  h.Mouse(WM_MOUSEMOVE, 205, 15);
  EXPECT_EQ(h.State(0), 0);
  EXPECT_EQ(h.bar->GetState(), CXScrollbar::STATE_HOVER);
  h.Mouse(WM_MOUSEMOVE, 50, 15);
  EXPECT_EQ(h.bar->GetState(), CXScrollbar::STATE_NORMAL);
  EXPECT_EQ(h.State(0), 1);
}

TEST(ListScroll, ScrollbarRangeAndPosition) {
  CXScrollbar bar;
  bar.XUI_SetRect(CRect(0, 0, 10, 100));
  bar.SetScrollRange(50, 0);
  bar.SetScrollRange(50, 40);
  EXPECT_EQ(bar.GetRange(), 0);
  bar.SetScrollRange(50, 200);
  EXPECT_TRUE(bar.XUI_IsVisible());
  EXPECT_EQ(bar.GetScrollbarRect(), CRect(0, 0, 10, 25));
  bar.SetScrollPos(151);
  EXPECT_EQ(bar.GetScrollPos(), 0);
  bar.SetScrollPos(150);
  EXPECT_EQ(bar.GetScrollbarRect(), CRect(0, 75, 10, 100));
  bar.SetScrollPos(-1);
  EXPECT_EQ(bar.GetScrollPos(), 150);
  // A shorter content pulls the position back to its new end.
  bar.SetScrollRange(50, 120);
  EXPECT_EQ(bar.GetScrollPos(), 70);
  // A page as long as the content hides the scrollbar and resets the position.
  bar.SetScrollRange(120, 120);
  EXPECT_FALSE(bar.XUI_IsVisible());
  EXPECT_EQ(bar.GetScrollPos(), 0);

  EXPECT_EQ(XSCROLL_GEOMETRY::ThumbHeight(40, 60, 40), 26);
  EXPECT_EQ(XSCROLL_GEOMETRY::ThumbHeight(400, 200000, 400), 8);  // still visible and grabbable
  EXPECT_EQ(XSCROLL_GEOMETRY::ThumbHeight(1, 200000, 5), 5);
  EXPECT_EQ(XSCROLL_GEOMETRY::ThumbHeight(2000000000, 2000000001, 2000), 1999);  // no overflow
  EXPECT_EQ(XSCROLL_GEOMETRY::ThumbOffset(20, 40, 60, 40, 26), 14);
  EXPECT_EQ(XSCROLL_GEOMETRY::ThumbOffset(199600, 400, 200000, 400, 0), 400);
  EXPECT_EQ(XSCROLL_GEOMETRY::ThumbOffset(5, 40, 60, 40, 40), 0);  // no track
  EXPECT_EQ(XSCROLL_GEOMETRY::ContentDelta(-7, 40, 60, 40, 26), -10);
  EXPECT_EQ(XSCROLL_GEOMETRY::ContentDelta(1, 400, 200000, 400, 0), 499);
  EXPECT_EQ(XSCROLL_GEOMETRY::ContentDelta(3, 10, 10, 40, 40), 0);
  EXPECT_EQ(XSCROLL_GEOMETRY::Clamp(25, 40, 60), 20);
  EXPECT_EQ(XSCROLL_GEOMETRY::Clamp(-3, 40, 60), 0);
}

TEST(RowLayout, BandsByBinarySearch) {
  CXRowLayout layout;
  EXPECT_EQ(layout.RowAt(0), -1);
  EXPECT_EQ(layout.FirstEndingAfter(0), 0);
  layout.Append(20);
  layout.Append(0);
  layout.Append(30);
  layout.Append(-5);  // counts as 0
  layout.Append(10);
  EXPECT_EQ(layout.Count(), 5);
  EXPECT_EQ(layout.Total(), 60);
  EXPECT_EQ(layout.RowAt(-1), -1);
  EXPECT_EQ(layout.RowAt(0), 0);
  EXPECT_EQ(layout.RowAt(19), 0);
  EXPECT_EQ(layout.RowAt(20), 2);  // the empty row is never hit
  EXPECT_EQ(layout.RowAt(49), 2);
  EXPECT_EQ(layout.RowAt(50), 4);
  EXPECT_EQ(layout.RowAt(60), -1);
  EXPECT_EQ(layout.FirstEndingAfter(0), 0);
  EXPECT_EQ(layout.FirstEndingAfter(20), 2);
  EXPECT_EQ(layout.FirstEndingAfter(55), 4);
  EXPECT_EQ(layout.FirstEndingAfter(60), 5);
  EXPECT_EQ(layout.Top(2), 20);
  EXPECT_EQ(layout.Height(2), 30);
  layout.Erase(2);
  EXPECT_EQ(layout.Total(), 30);
  EXPECT_EQ(layout.RowAt(25), 3);
  layout.Erase(9);
  EXPECT_EQ(layout.Count(), 4);
  layout.Rebuild(3, [](int i) { return 100 * (i + 1); });
  EXPECT_EQ(layout.Total(), 600);
  EXPECT_EQ(layout.RowAt(299), 1);
  // Sums beyond the int range saturate the total and keep the order.
  layout.Rebuild(3, [](int) { return 2000000000; });
  EXPECT_EQ(layout.Total(), INT_MAX);
  EXPECT_EQ(layout.RowAt(4100000000LL), 2);
}

}  // namespace

namespace {

// The list inside a real skinned window: the window's procedure routes the mouse (by the
// cursor's screen position) to the list, which hovers, selects, repaints and reports clicks.
TEST(ListInWindow, TheWindowRoutesTheMouseToTheRows) {
  CXEasyWnd wnd;
  auto* list = new CXList();
  list->SetID(L"list");
  list->XUI_SetRect(CRect(10, 10, 190, 90));
  list->SetListStyle(CXList::LIST_HITTEST | CXList::LIST_SELECT);
  list->InsertColumn(180, L"path");
  for (const wchar_t* text : {L"one", L"two", L"three"}) list->InsertItem(text);
  list->XUI_SetParent(&wnd);
  wnd.XUI_AddChild(list);
  wnd.GetRelayoutPtr()->SetEnable(0);
  wnd.XUI_SetAttribute(L"visible", L"1");
  RECT r = {300, 300, 500, 400};
  HWND hwnd = wnd.Create(nullptr, &r, L"List window", WS_POPUP, 0, nullptr);
  ASSERT_NE(hwnd, nullptr);
  wnd.RelocateWnd();
  ASSERT_TRUE(IsWindowVisible(hwnd));
  UpdateWindow(hwnd);

  auto mouse = [&](UINT msg, int x, int y) {
    SetCursorPos(300 + x, 300 + y);
    SendMessageW(hwnd, msg, 0, MAKELPARAM(x, y));
  };
  ValidateRect(hwnd, nullptr);
  mouse(WM_MOUSEMOVE, 50, 35);
  EXPECT_EQ(list->GetRow(1)->state, CXList::ROW_HOVER);
  RECT dirty = {};
  EXPECT_TRUE(GetUpdateRect(hwnd, &dirty, FALSE));
  EXPECT_EQ(CRect(dirty), CRect(10, 10, 190, 90));
  UpdateWindow(hwnd);

  mouse(WM_LBUTTONDOWN, 50, 35);
  mouse(WM_LBUTTONUP, 50, 35);
  EXPECT_EQ(list->GetRow(1)->state, CXList::ROW_SELECTED);
  MSG msg;
  EXPECT_TRUE(PeekMessageW(&msg, hwnd, 494, 494, PM_REMOVE));
  mouse(WM_MOUSEMOVE, 50, 15);
  EXPECT_EQ(list->GetRow(0)->state, CXList::ROW_HOVER);
  EXPECT_EQ(list->GetRow(1)->state, CXList::ROW_SELECTED);
  DestroyWindow(hwnd);
  while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
  }
}

}  // namespace
