// What the list, its scrollbar and the containers leave on a real memory device context:
// background with alpha, border, separators, state colours, icons, the ellipsis of a long
// text, rows clipped to the list at any offset, and clipped (and nested) container painting.
#include <gtest/gtest.h>

#include "CanvasTestUtil.h"
#include "ListTestUtil.h"
#include "XContainer.h"

using uitest::Canvas;
using uitest::HostedList;
using uitest::Painter;
using uitest::Rgb;

namespace {

const COLORREF kHover = RGB(0, 0, 200);
const COLORREF kSelected = RGB(0, 160, 0);
const COLORREF kFourth = RGB(200, 0, 0);

// A list of rows with empty texts (so that fills are all there is to see).
void AddEmptyRows(CXList& list, int rows) {
  if (list.GetColumnCount() == 0) list.InsertColumn(100, L"c");
  for (int i = 0; i < rows; ++i) list.InsertItem(L"");
}

TEST(ListPaint, BackgroundOpaqueTranslucentOrNone) {
  CXList list;
  list.XUI_SetRect(CRect(10, 10, 60, 40));
  Canvas none(70, 50);
  list.DoPaint(none.Dc());
  EXPECT_EQ(none.CountNot(0xFFFFFF, RECT{0, 0, 70, 50}), 0);

  list.SetBackColor(RGB(0, 64, 128));
  Canvas opaque(70, 50);
  list.DoPaint(opaque.Dc());
  EXPECT_EQ(opaque.CountNot(0x004080, RECT{10, 10, 60, 40}), 0);
  EXPECT_EQ(opaque.At(9, 10), 0xFFFFFFu);
  EXPECT_EQ(opaque.At(60, 39), 0xFFFFFFu);

  // Half alpha over white: each channel halfway to white.
  list.SetBackAlpha(128);
  Canvas half(70, 50);
  list.DoPaint(half.Dc());
  const DWORD px = half.At(30, 20);
  const int r = (px >> 16) & 0xFF, g = (px >> 8) & 0xFF, b = px & 0xFF;
  EXPECT_NEAR(r, 127, 2);
  EXPECT_NEAR(g, 64 + 127 * 191 / 255, 2);
  EXPECT_NEAR(b, 128 + 127 * 127 / 255, 2);
  EXPECT_EQ(half.CountNot(px, RECT{10, 10, 60, 40}), 0);
  EXPECT_EQ(half.At(60, 20), 0xFFFFFFu);
}

TEST(ListPaint, BorderAndSeparators) {
  CXList list;
  list.XUI_SetRect(CRect(10, 10, 110, 80));
  AddEmptyRows(list, 2);
  list.SetListStyle(CXList::LIST_BORDER);
  Canvas framed(120, 90);
  list.DoPaint(framed.Dc());
  const DWORD line = Rgb(CXList::kLineColor);
  for (int x = 10; x < 110; ++x) {
    EXPECT_EQ(framed.At(x, 10), line) << x;
    EXPECT_EQ(framed.At(x, 79), line) << x;
  }
  for (int y = 10; y < 80; ++y) {
    EXPECT_EQ(framed.At(10, y), line) << y;
    EXPECT_EQ(framed.At(109, y), line) << y;
  }
  EXPECT_EQ(framed.CountNot(0xFFFFFF, RECT{11, 11, 109, 79}), 0);
  EXPECT_EQ(framed.CountNot(0xFFFFFF, RECT{0, 0, 120, 10}), 0);
  EXPECT_EQ(framed.CountNot(0xFFFFFF, RECT{0, 80, 120, 90}), 0);

  // Separators: above the first row, and on the last line of every row.
  list.SetListStyle(CXList::LIST_SEPARATOR);
  Canvas lined(120, 90);
  list.DoPaint(lined.Dc());
  for (int y : {11, 30, 50}) {
    EXPECT_EQ(lined.At(11, y), line) << y;
    EXPECT_EQ(lined.At(108, y), line) << y;
    EXPECT_EQ(lined.At(10, y), 0xFFFFFFu) << y;  // inside the content only
    EXPECT_EQ(lined.At(109, y), 0xFFFFFFu) << y;
  }
  EXPECT_EQ(lined.CountNot(0xFFFFFF, RECT{11, 12, 109, 30}), 0);
  EXPECT_EQ(lined.CountNot(0xFFFFFF, RECT{11, 31, 109, 50}), 0);
  EXPECT_EQ(lined.CountNot(0xFFFFFF, RECT{11, 51, 109, 80}), 0);
}

TEST(ListPaint, StateColours) {
  CXList list;
  list.XUI_SetRect(CRect(0, 0, 100, 102));
  AddEmptyRows(list, 5);
  list.SetColor(RGB(1, 1, 1), kHover, kSelected);
  list.SetFourthColor(kFourth);
  list.GetRow(1)->state = CXList::ROW_HOVER;
  list.GetRow(2)->state = CXList::ROW_SELECTED;
  list.GetRow(3)->state = CXList::ROW_FOURTH;
  list.GetRow(4)->state = 7;  // no such state: no fill
  // Rows span y 1 + 20 * i; colour 0 is never used as a fill.
  Canvas plain(100, 102);
  list.DoPaint(plain.Dc());
  EXPECT_EQ(plain.CountNot(0xFFFFFF, RECT{1, 1, 99, 21}), 0);
  EXPECT_EQ(plain.CountNot(Rgb(kHover), RECT{1, 21, 99, 41}), 0);
  EXPECT_EQ(plain.CountNot(0xFFFFFF, RECT{1, 41, 99, 61}), 0);  // selected, but 0x10 is off
  EXPECT_EQ(plain.CountNot(Rgb(kFourth), RECT{1, 61, 99, 81}), 0);
  EXPECT_EQ(plain.CountNot(0xFFFFFF, RECT{1, 81, 99, 101}), 0);
  EXPECT_EQ(plain.At(0, 30), 0xFFFFFFu);  // fills stay inside the content rectangle

  list.SetListStyle(CXList::LIST_HITTEST | CXList::LIST_SELECT);
  Canvas selecting(100, 102);
  list.DoPaint(selecting.Dc());
  EXPECT_EQ(selecting.CountNot(Rgb(kSelected), RECT{1, 41, 99, 61}), 0);
}

TEST(ListPaint, IconsFromTheImageListAndTheTextBesideThem) {
  HIMAGELIST images = ImageList_Create(16, 16, ILC_COLOR32 | ILC_MASK, 1, 1);
  xtest::SolidIcon red(16, RGB(255, 0, 0));
  HICON icon = red.Get();
  {
    CXList list;
    list.XUI_SetRect(CRect(0, 0, 200, 42));
    list.SetImageList(images);
    list.InsertColumn(200, L"c");
    list.InsertItem(L"");
    list.SetItem(0, 0, L"", icon);
    list.InsertItem(L"");
    list.SetItem(0 + 1, 0, L"Text", icon);
    Canvas canvas(200, 42);
    list.DoPaint(canvas.Dc());
    // Row 0 at (1, 1), 20 high: the icon is centred with margin 2 on both axes.
    EXPECT_EQ(canvas.CountNot(0xFF0000, RECT{3, 3, 19, 19}), 0);
    EXPECT_EQ(canvas.CountNot(0xFFFFFF, RECT{0, 0, 200, 3}), 0);
    EXPECT_EQ(canvas.CountNot(0xFFFFFF, RECT{0, 3, 3, 19}), 0);
    EXPECT_EQ(canvas.CountNot(0xFFFFFF, RECT{19, 1, 200, 21}), 0);
    // Row 1: icon at (3, 23), text from x = 1 + 16 + 2 + 5 on.
    EXPECT_EQ(canvas.CountNot(0xFF0000, RECT{3, 23, 19, 39}), 0);
    EXPECT_EQ(canvas.CountNot(0xFFFFFF, RECT{19, 21, 24, 41}), 0);
    EXPECT_GT(canvas.CountNot(0xFFFFFF, RECT{24, 21, 80, 41}), 10);

    // An index the image list does not hold draws nothing.
    list.GetItem(0, 0)->image = 5;
    Canvas missing(200, 42);
    list.DoPaint(missing.Dc());
    EXPECT_EQ(missing.CountNot(0xFFFFFF, RECT{0, 0, 200, 21}), 0);
  }
  ImageList_Destroy(images);
}

// The hint of an empty list: drawn (wrapped, centred, in the middle band) only while there are
// no rows, and never by a list without one.
TEST(ListPaint, AnEmptyListShowsItsHintUntilItHasRows) {
  CXList list;
  list.XUI_SetRect(CRect(0, 0, 200, 120));
  list.InsertColumn(200, L"c");
  Canvas none(200, 120);
  list.DoPaint(none.Dc());
  EXPECT_EQ(none.CountNot(0xFFFFFF, RECT{0, 0, 200, 120}), 0);  // no hint set: nothing

  ASSERT_EQ(list.XUI_SetAttribute(L"emptytext", L"Drop files or folders here, or click + to add a folder"), 1);
  Canvas hint(200, 120);
  list.DoPaint(hint.Dc());
  EXPECT_GT(hint.CountNot(0xFFFFFF, RECT{24, 40, 176, 120}), 40);
  EXPECT_EQ(hint.CountNot(0xFFFFFF, RECT{0, 0, 200, 39}), 0);    // above the middle band
  EXPECT_EQ(hint.CountNot(0xFFFFFF, RECT{0, 0, 23, 120}), 0);    // clear of the edges
  EXPECT_EQ(hint.CountNot(0xFFFFFF, RECT{177, 0, 200, 120}), 0);
  // Wrapped: the text is too wide for one line, so more than one line band has ink.
  EXPECT_GT(hint.CountNot(0xFFFFFF, RECT{24, 58, 176, 76}), 0);

  list.InsertItem(L"");
  Canvas rows(200, 120);
  list.DoPaint(rows.Dc());
  EXPECT_EQ(rows.CountNot(0xFFFFFF, RECT{0, 0, 200, 120}), 0);
}

TEST(ListPaint, ALongTextEndsInAnEllipsis) {
  const CString longText = L"C:\\Program Files\\A Vendor\\A Program With A Long Name\\program.exe";
  // The only column is as wide as the list (80), so its cell runs 2 pixels past the content
  // rectangle (1 .. 79), which clips it.
  const RECT cell = {1, 1, 81, 21};
  // The reference: the default GUI font, black, with and without the ellipsis flags.
  auto reference = [&](Canvas& canvas, const CString& text, UINT extra) {
    IntersectClipRect(canvas.Dc(), 1, 1, 79, 21);
    LOGFONTW lf = {};
    GetObjectW(GetStockObject(DEFAULT_GUI_FONT), sizeof lf, &lf);
    HFONT font = CreateFontIndirectW(&lf);
    HGDIOBJ old = SelectObject(canvas.Dc(), font);
    SetBkMode(canvas.Dc(), TRANSPARENT);
    SetTextColor(canvas.Dc(), 0);
    RECT r = cell;
    DrawTextW(canvas.Dc(), text, text.GetLength(), &r, DT_SINGLELINE | DT_VCENTER | extra);
    SelectObject(canvas.Dc(), old);
    DeleteObject(font);
  };
  const UINT ellipsis = DT_END_ELLIPSIS | DT_EDITCONTROL | DT_WORDBREAK;
  const RECT all = {0, 0, 80, 22};

  CXList list;
  list.XUI_SetRect(CRect(0, 0, 80, 22));
  list.InsertColumn(10, L"c");
  list.Relayout();
  ASSERT_EQ(list.GetColumn(0)->width, 80);
  list.InsertItem(longText);
  Canvas drawn(80, 22), withEllipsis(80, 22), clipped(80, 22);
  list.DoPaint(drawn.Dc());
  reference(withEllipsis, longText, ellipsis);
  reference(clipped, longText, 0);
  EXPECT_GT(drawn.CountNot(0xFFFFFF, all), 20);
  EXPECT_TRUE(drawn.SameAs(withEllipsis, all));
  EXPECT_FALSE(drawn.SameAs(clipped, all));

  // A text that fits is drawn as it is.
  list.GetItem(0, 0)->text[3] = 0;
  Canvas shortDrawn(80, 22), shortPlain(80, 22);
  list.DoPaint(shortDrawn.Dc());
  reference(shortPlain, L"C:\\", 0);
  EXPECT_TRUE(shortDrawn.SameAs(shortPlain, all));
}

TEST(ListPaint, OnlyTheRowsInsideTheListAtAnyOffset) {
  // 10,000 rows; the list at y 10 .. 112 (content 11 .. 111) of a taller canvas.
  HostedList h(CRect(0, 10, 200, 112));
  AddEmptyRows(*h.list, 10000);
  h.list->SetColor(0xFFFFFF, kHover, kSelected);
  h.list->SetFourthColor(kFourth);
  h.list->RecalcScrollbar();
  h.list->SetBias(5000 * 20 + 7);
  ASSERT_EQ(h.list->GetBias(), 100007);
  h.list->GetRow(5000)->state = CXList::ROW_FOURTH;  // y 4 .. 24, cut at 11
  h.list->GetRow(5001)->state = CXList::ROW_HOVER;   // y 24 .. 44
  h.list->GetRow(5005)->state = CXList::ROW_FOURTH;  // y 104 .. 124, cut at 111
  h.list->GetRow(9999)->state = CXList::ROW_FOURTH;  // far below
  Canvas canvas(220, 140);
  h.list->DoPaint(canvas.Dc());
  const RECT rows = {1, 0, 189, 140};  // left of the scrollbar
  EXPECT_EQ(canvas.CountNot(0xFFFFFF, RECT{rows.left, 0, rows.right, 11}), 0);
  EXPECT_EQ(canvas.CountNot(Rgb(kFourth), RECT{rows.left, 11, rows.right, 24}), 0);
  EXPECT_EQ(canvas.CountNot(Rgb(kHover), RECT{rows.left, 24, rows.right, 44}), 0);
  EXPECT_EQ(canvas.CountNot(0xFFFFFF, RECT{rows.left, 44, rows.right, 104}), 0);
  EXPECT_EQ(canvas.CountNot(Rgb(kFourth), RECT{rows.left, 104, rows.right, 111}), 0);
  EXPECT_EQ(canvas.CountNot(0xFFFFFF, RECT{rows.left, 111, rows.right, 140}), 0);
  EXPECT_EQ(canvas.CountNot(0xFFFFFF, RECT{200, 0, 220, 140}), 0);

  // The scrollbar, without pictures, paints its track and its (least) thumb at the offset.
  ASSERT_TRUE(h.bar->XUI_IsVisible());
  const CRect thumb = h.bar->GetScrollbarRect();
  EXPECT_EQ(thumb.Height(), 8);
  EXPECT_EQ(thumb.top, 10 + static_cast<int>(100007LL * (102 - 8) / (200000 - 102)));
  EXPECT_EQ(canvas.At(195, thumb.top), 0xC0C0C0u);
  EXPECT_EQ(canvas.At(195, thumb.top - 1), 0xF0F0F0u);
  EXPECT_EQ(canvas.At(195, 111), 0xF0F0F0u);
}

TEST(ListPaint, ScrollbarPicturesFollowTheState) {
  HostedList h(CRect(10, 10, 210, 50));
  AddEmptyRows(*h.list, 3);
  auto* back = new Painter(L"scrollback", RGB(10, 10, 10));
  auto* normal = new Painter(L"scrollnormal", RGB(20, 20, 20));
  auto* hover = new Painter(L"scrollhover", RGB(30, 30, 30));
  auto* push = new Painter(L"scrollpush", RGB(40, 40, 40));
  for (Painter* p : {back, normal, hover, push}) {
    p->XUI_SetVisible(FALSE);  // resources: painted by the scrollbar alone
    p->XUI_SetParent(h.bar);
    h.bar->XUI_AddChild(p);
  }
  back->XUI_SetRect(CRect(200, 10, 210, 50));
  Canvas canvas(220, 60);
  h.list->DoPaint(canvas.Dc());
  EXPECT_EQ(canvas.At(205, 45), 0x0A0A0Au);
  EXPECT_EQ(canvas.CountNot(0x141414, RECT{200, 10, 210, 36}), 0);
  EXPECT_EQ(normal->XUI_GetRect(), CRect(200, 10, 210, 36));
  EXPECT_EQ(hover->paints + push->paints, 0);

  h.Mouse(WM_MOUSEMOVE, 205, 20);
  h.list->DoPaint(canvas.Dc());
  EXPECT_EQ(canvas.At(205, 20), 0x1E1E1Eu);
  h.Mouse(WM_LBUTTONDOWN, 205, 20);
  h.Mouse(WM_MOUSEMOVE, 205, 27);  // ten content pixels down
  h.list->DoPaint(canvas.Dc());
  EXPECT_EQ(push->XUI_GetRect(), CRect(200, 17, 210, 43));
  EXPECT_EQ(canvas.At(205, 42), 0x282828u);
  h.Mouse(WM_LBUTTONUP, 205, 27);
}

TEST(Containers, PaintTheirChildrenClippedAndRestoreTheClip) {
  CXContainer outer;
  outer.XUI_SetRect(CRect(20, 20, 60, 60));
  auto* red = new Painter(L"red", RGB(255, 0, 0));
  red->XUI_SetRect(CRect(0, 0, 100, 100));
  outer.XUI_AddChild(red);
  Canvas canvas(100, 100);
  outer.DoPaint(canvas.Dc());
  EXPECT_EQ(canvas.CountNot(0xFF0000, RECT{20, 20, 60, 60}), 0);
  EXPECT_EQ(canvas.CountNot(0xFFFFFF, RECT{0, 0, 100, 20}), 0);
  EXPECT_EQ(canvas.CountNot(0xFFFFFF, RECT{0, 60, 100, 100}), 0);
  EXPECT_EQ(canvas.CountNot(0xFFFFFF, RECT{60, 0, 100, 100}), 0);
  HRGN region = CreateRectRgn(0, 0, 0, 0);
  EXPECT_EQ(GetClipRgn(canvas.Dc(), region), 0);  // no clip region left behind
  DeleteObject(region);

  // Nested: an inner container's children are clipped by both; an outer clip survives.
  auto* inner = new CXContainer();
  inner->XUI_SetRect(CRect(40, 40, 100, 100));
  auto* blue = new Painter(L"blue", RGB(0, 0, 255));
  blue->XUI_SetRect(CRect(0, 0, 100, 100));
  inner->XUI_AddChild(blue);
  outer.XUI_AddChild(inner);
  Canvas nested(100, 100);
  IntersectClipRect(nested.Dc(), 0, 0, 50, 100);
  outer.DoPaint(nested.Dc());
  EXPECT_EQ(nested.CountNot(0x0000FF, RECT{40, 40, 50, 60}), 0);
  EXPECT_EQ(nested.CountNot(0xFF0000, RECT{20, 20, 40, 60}), 0);
  EXPECT_EQ(nested.CountNot(0xFF0000, RECT{40, 20, 50, 40}), 0);
  EXPECT_EQ(nested.CountNot(0xFFFFFF, RECT{50, 0, 100, 100}), 0);
  RECT box = {};
  GetClipBox(nested.Dc(), &box);
  EXPECT_EQ(CRect(box), CRect(0, 0, 50, 100));
}

TEST(Containers, RouteMessagesToTheirChildrenAndTheWheelMovesTheList) {
  uitest::HostWindow host;
  uitest::WindowProbe owner(L"owner");
  owner.XUI_SetRect(CRect(0, 0, 300, 200));
  auto* scroller = new CXScrollContainer();
  scroller->SetID(L"list.container");
  scroller->XUI_SetRect(CRect(0, 0, 300, 200));
  owner.XUI_AddChild(scroller);
  auto* list = new CXList();
  list->SetID(L"list");
  list->XUI_SetRect(CRect(10, 10, 110, 60));
  auto* bar = new CXScrollbar();
  bar->SetID(L"list.scrollbar");
  bar->XUI_SetRect(CRect(100, 10, 110, 60));
  list->XUI_AddChild(bar);
  scroller->XUI_AddChild(list);
  auto* probe = new uitest::ProbeUI(L"probe");
  probe->XUI_SetRect(CRect(200, 100, 250, 150));
  scroller->XUI_AddChild(probe);
  owner.XUI_GetControlMgr()->SetAllWnd(host.Get());
  AddEmptyRows(*list, 5);
  list->RecalcScrollbar();

  auto send = [&](UINT msg, int x, int y, WPARAM wp) {
    MESSAGE_EVENT e = uitest::Event(msg, 100 + x, 100 + y, host.Get(), wp, MAKELPARAM(x, y));
    return owner.XUI_GetControlMgr()->DispatchMsg(&e);
  };
  send(WM_LBUTTONDOWN, 210, 110, 0);
  EXPECT_EQ(probe->Count(WM_LBUTTONDOWN), 1);
  // The container takes the wheel wherever it turns: forward rotation moves the list down,
  // with its scrollbar, and the list itself does not scroll.
  send(WM_MOUSEWHEEL, 210, 110, MAKEWPARAM(0, 120));
  EXPECT_EQ(probe->Count(WM_MOUSEWHEEL), 0);
  EXPECT_EQ(list->XUI_GetRect(), CRect(10, 20, 110, 70));
  EXPECT_EQ(bar->XUI_GetRect(), CRect(100, 20, 110, 70));
  EXPECT_EQ(list->GetBias(), 0);
  send(WM_MOUSEWHEEL, 50, 30, MAKEWPARAM(0, static_cast<WORD>(-360)));
  EXPECT_EQ(list->XUI_GetRect(), CRect(10, -10, 110, 40));  // no bounds
  EXPECT_EQ(bar->XUI_GetRect(), CRect(100, -10, 110, 40));
  send(WM_MOUSEWHEEL, 50, 30, MAKEWPARAM(0, 60));
  EXPECT_EQ(list->XUI_GetRect(), CRect(10, -10, 110, 40));
  EXPECT_EQ(probe->XUI_GetRect(), CRect(200, 100, 250, 150));

  // Without a "list" child the wheel does nothing.
  CXScrollContainer empty;
  MESSAGE_EVENT e = uitest::Event(WM_MOUSEWHEEL, 0, 0, host.Get(), MAKEWPARAM(0, 120), 0);
  EXPECT_EQ(empty.MessageHandle(&e), 0);
}

}  // namespace
